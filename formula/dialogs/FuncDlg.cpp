#include "formula/dialogs/FuncDlg.h"

#include "formula/dialogs/DialogIds.h"
#include "formula/dialogs/FormulaImages.h"
#include "formula/editor/FieldText.h"
#include "formula/functions/builtin_functions.h"
#include "platform/gbk.h"

namespace formula {

namespace {

const platform::DialogItem kFuncItems[] = {
    {platform::kTreeCtrl, IDC_FUNCTION_TREE, nullptr, 6, 6, 208, 150,
     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT |
         TVS_INFOTIP},
    {platform::kEdit, IDC_FUNCTION_DESC, nullptr, 6, 160, 208, 56,
     ES_MULTILINE | ES_READONLY | WS_VSCROLL},
    {platform::kButton, IDOK, GBK("确认"), 112, 222, 48, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, GBK("取消"), 166, 222, 48, 14},
};

platform::DialogTemplate FuncTemplate() {
  return {.cx = 220, .cy = 242, .caption = GBK("函数表"), .items = kFuncItems};
}

// The categories at the top of the tree, in the order shown.
struct SCategory {
  const char* text;
  int code;
};
const SCategory kCategories[] = {
    {"行情函数", FUNC_QUOTE},     {"日期函数", FUNC_DATE},    {"引用函数", FUNC_REFERENCE},
    {"几何函数", FUNC_GEOMETRY},  {"逻辑函数", FUNC_LOGIC},   {"数学函数", FUNC_MATH},
    {"大盘函数", FUNC_MARKET},    {"财务函数", FUNC_FINANCE}, {"动态行情", FUNC_DYNAMIC},
    {"统计函数", FUNC_STATISTIC},
};
constexpr int kCategorySlots = 20;

}  // namespace

CFuncDlg::CFuncDlg(CWnd* parent) : CDialog(FuncTemplate(), parent) {}

CFuncDlg::~CFuncDlg() = default;

BOOL CFuncDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* tree = GetDlgItemT<CTreeCtrl>(IDC_FUNCTION_TREE);
  images_ = MakeFormulaTreeImages();
  tree->SetImageList(images_.get(), TVSIL_NORMAL);

  HTREEITEM branches[kCategorySlots] = {};
  for (const SCategory& category : kCategories) {
    HTREEITEM item = tree->InsertItem(GBK(category.text), kCategoryImage, kCategoryImage);
    tree->SetItemData(item, DWORD_PTR(category.code));
    branches[category.code] = item;
  }
  const auto table = BuiltinTable();
  for (size_t row = 0; row < table.size() && table[row].szName[0] != '\0'; ++row) {
    const SFunctionItem& function = table[row];
    const int code = function.nCategory;
    if (code < 0 || code >= kCategorySlots || !branches[code])
      continue;  // no branch to show it under
    const std::string text = FieldText(function.szName) + "   " + FieldText(function.szLabel);
    HTREEITEM item = tree->InsertItem(text.c_str(), kFunctionImage, kFunctionImage, branches[code]);
    tree->SetItemData(item, DWORD_PTR(row));
  }
  return TRUE;
}

int CFuncDlg::RowOf(HTREEITEM item) const {
  const auto* tree = GetDlgItemT<CTreeCtrl>(IDC_FUNCTION_TREE);
  if (!item || !tree->GetParentItem(item)) return -1;
  return int(tree->GetItemData(item));
}

BOOL CFuncDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_FUNCTION_TREE && HIWORD(wParam) == TVN_SELCHANGED) {
    const int row = RowOf(GetDlgItemT<CTreeCtrl>(IDC_FUNCTION_TREE)->GetSelectedItem());
    if (row >= 0)
      SetDlgItemText(IDC_FUNCTION_DESC,
                     FieldText(BuiltinTable()[size_t(row)].szDescription).c_str());
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CFuncDlg::OnOK() {
  const int row = RowOf(GetDlgItemT<CTreeCtrl>(IDC_FUNCTION_TREE)->GetSelectedItem());
  if (row < 0) return;
  chosenRow_ = row;
  EndDialog(IDOK);
}

}  // namespace formula
