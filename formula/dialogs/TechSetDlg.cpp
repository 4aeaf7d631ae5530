#include "formula/dialogs/TechSetDlg.h"

#include "formula/dialogs/DialogIds.h"
#include "formula/dialogs/FormulaImages.h"
#include "formula/dialogs/ParamRows.h"
#include "platform/gbk.h"

namespace formula {

namespace {

constexpr int kListWidth = 236;
constexpr int kTechSetFrameX = 6 + kListWidth + 6, kTechSetFrameY = 7;

std::vector<platform::DialogItem> TechSetItems() {
  std::vector<platform::DialogItem> items = {
      {platform::kListCtrl, IDC_INDICATOR_LIST, nullptr, 6, 7, kListWidth, kParamFrameHeight,
       LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER},
  };
  const std::vector<platform::DialogItem> rows =
      ParamRowItems(kTechSetFrameX, kTechSetFrameY, GBK("无参数需要设置。"));
  items.insert(items.end(), rows.begin(), rows.end());
  return items;
}

platform::DialogTemplate TechSetTemplate() {
  static const std::vector<platform::DialogItem> items = TechSetItems();
  return {.cx = kTechSetFrameX + kParamFrameWidth + 6,
          .cy = kTechSetFrameY + kParamRowsHeight,
          .caption = GBK("请选择指标参数"),
          .items = items};
}

}  // namespace

CTechSetDlg::CTechSetDlg(CWnd* parent) : CDialog(TechSetTemplate(), parent) {}

CTechSetDlg::~CTechSetDlg() = default;

CListCtrl* CTechSetDlg::List() const { return GetDlgItemT<CListCtrl>(IDC_INDICATOR_LIST); }

BOOL CTechSetDlg::OnInitDialog() {
  PrepareParamRows(*this);
  CListCtrl* list = List();
  images_ = MakeIndicatorImages();
  list->SetImageList(images_.get(), LVSIL_SMALL);
  list->SetExtendedStyle(list->GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  list->InsertColumn(0, GBK("名称"), LVCFMT_LEFT, 120);
  list->InsertColumn(1, GBK("说明"), LVCFMT_LEFT, 220);
  const std::vector<SIndicatorRow> rows = IndicatorRows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int item = list->InsertItem(int(i), rows[i].code.c_str(), kIndicatorIcon);
    list->SetItemText(item, 1, rows[i].chineseName.c_str());
  }
  Edit(PresetIndicatorRow(preset_.empty() ? nullptr : preset_.c_str()));
  return TRUE;
}

void CTechSetDlg::Edit(int row) {
  CListCtrl* list = List();
  row_ = row;
  name_ = row < list->GetItemCount() ? list->GetItemText(row, 0) : std::string();
  layout_ = LayoutParamRows(name_.c_str());
  GetDlgItem(IDC_NO_PARAMS)->ShowWindow(layout_.paramCount == 0 ? SW_SHOW : SW_HIDE);
  PlaceParamRows(*this, layout_);
  SelectRow(row);
}

void CTechSetDlg::SelectRow(int row) {
  CListCtrl* list = List();
  if (row >= list->GetItemCount()) return;
  selecting_ = true;
  list->SetItemState(-1, 0, LVIS_SELECTED);
  list->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list->SetSelectionMark(row);
  list->EnsureVisible(row, FALSE);
  selecting_ = false;
}

bool CTechSetDlg::ApplyShown() {
  // An indicator without parameters has nothing to store.
  if (name_.empty() || layout_.paramCount == 0) return true;
  return ApplyParams(name_.c_str(), ParamRowValues(*this), false) == 1;
}

BOOL CTechSetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_INDICATOR_LIST && HIWORD(wParam) == LVN_ITEMCHANGED) {
    const int selected = List()->GetNextItem(-1, LVNI_SELECTED);
    if (selecting_ || selected < 0 || selected == row_) return TRUE;
    // The values shown belong to the indicator left; a refused one keeps
    // it selected with the values as typed.
    if (!ApplyShown()) {
      SelectRow(row_);
      return TRUE;
    }
    Edit(selected);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CTechSetDlg::OnOK() {
  if (ApplyShown()) EndDialog(IDOK);
}

}  // namespace formula
