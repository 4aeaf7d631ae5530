#include "formula/dialogs/FormularDlg.h"

#include <QPlainTextEdit>
#include <utility>

#include "formula/dialogs/DialogIds.h"
#include "formula/dialogs/FormulaImages.h"
#include "formula/dialogs/FuncDlg.h"
#include "formula/dialogs/GroupDlg.h"
#include "formula/dialogs/ParamsDlg.h"
#include "formula/dialogs/ScriptEdit.h"
#include "formula/dialogs/TechNoteDlg.h"
#include "formula/editor/FormulaScriptWords.h"
#include "formula/store/formula_kinds.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/msgbox.h"

namespace formula {

namespace {

using platform::DialogItem;

// Upper-case single-line edits as the names are kept.
constexpr DWORD kNameEdit = ES_UPPERCASE | ES_AUTOHSCROLL;

// The tree on the left; everything else in a column right of it.
constexpr int kTreeWidth = 150;
constexpr int kRight = 4 + kTreeWidth + 6;

// The parameter grid: seven rows of five edits under a header naming the columns.
constexpr int kGridTop = 66, kGridRowHeight = 12, kGridEditHeight = 11;
constexpr int kGridColumnX[kGridColumns] = {kRight + 12, kRight + 84, kRight + 152, kRight + 220,
                                            kRight + 288};
constexpr int kGridColumnWidth[kGridColumns] = {68, 64, 64, 64, 64};

std::vector<DialogItem> FormularItems() {
  std::vector<DialogItem> items = {
      {platform::kTreeCtrl, IDC_FORMULA_TREE, nullptr, 4, 4, kTreeWidth, 354,
       TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER},
      {platform::kStatic, IDC_STATIC, GBK("公式类型"), kRight, 6, 34, 10},
      {platform::kComboBox, IDC_KIND_LIST, nullptr, kRight + 36, 4, 86, 120, CBS_DROPDOWNLIST},
      {platform::kStatic, IDC_STATIC, GBK("公式组类"), kRight + 130, 6, 34, 10},
      {platform::kComboBox, IDC_GROUP_LIST, nullptr, kRight + 166, 4, 86, 120, CBS_DROPDOWNLIST},
      {platform::kStatic, IDC_STATIC, GBK("画图区域"), kRight + 260, 6, 34, 10},
      {platform::kComboBox, IDC_DRAW_AREA, nullptr, kRight + 296, 4, 82, 60, CBS_DROPDOWNLIST},
      {platform::kStatic, IDC_STATIC, GBK("公式名称"), kRight, 22, 34, 10},
      {platform::kEdit, IDC_FORMULA_NAME, nullptr, kRight + 36, 20, 86, 12, kNameEdit},
      {platform::kStatic, IDC_STATIC, GBK("公式中文名称"), kRight + 130, 22, 50, 10},
      {platform::kEdit, IDC_CHINESE_NAME, nullptr, kRight + 182, 20, 110, 12, ES_AUTOHSCROLL},
      {platform::kCheckBox, IDC_ENCRYPT, GBK("加密"), kRight + 298, 21, 28, 10, BS_AUTOCHECKBOX},
      {platform::kEdit, IDC_ENCRYPT_TEXT, nullptr, kRight + 328, 20, 50, 12, kNameEdit},
      {platform::kStatic, IDC_STATIC, GBK("固定Y轴分界线信息(逗号分隔)"), kRight, 38, 118, 10},
      {platform::kEdit, IDC_GRID_LINES, nullptr, kRight + 120, 36, 258, 12, ES_AUTOHSCROLL},
      {platform::kGroupBox, IDC_STATIC, GBK("--参数名--最小----最大----缺省----测试步长"), kRight,
       52, 378, 102},
  };
  static const char* const kRowNumbers[kGridRows] = {"1", "2", "3", "4", "5", "6", "7"};
  for (int r = 0; r < kGridRows; ++r) {
    const int y = kGridTop + r * kGridRowHeight;
    items.push_back({platform::kStatic, IDC_STATIC, kRowNumbers[r], kRight + 4, y + 1, 7, 10});
    for (int c = 0; c < kGridColumns; ++c)
      items.push_back({platform::kEdit, kGridIds[r][c], nullptr, kGridColumnX[c], y,
                       kGridColumnWidth[c], kGridEditHeight,
                       c == GRID_NAME ? kNameEdit : DWORD(ES_AUTOHSCROLL)});
  }
  const std::vector<DialogItem> rest = {
      {CTWScriptEdit::ControlKind(), IDC_SCRIPT, nullptr, kRight, 158, 378, 118,
       ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL},
      {platform::kEdit, IDC_MESSAGES, nullptr, kRight, 280, 378, 46,
       ES_MULTILINE | ES_READONLY | WS_VSCROLL},
      {platform::kStatic, IDC_STATUS, "-->", kRight, 330, 378, 10, SS_CENTERIMAGE},
      {platform::kButton, IDC_IMPORT_FUNCTION, GBK("导入函数"), kRight, 344, 46, 14},
      {platform::kButton, IDC_NOTE, GBK("指标说明"), kRight + 50, 344, 46, 14},
      {platform::kButton, IDC_PARAMS_DESC, GBK("参数精灵"), kRight + 100, 344, 46, 14},
      {platform::kButton, IDC_NEW_FORMULA, GBK("新建"), kRight + 170, 344, 48, 14},
      {platform::kButton, IDC_TEST, GBK("测试"), kRight + 222, 344, 48, 14, BS_DEFPUSHBUTTON},
      {platform::kButton, IDC_SUBMIT, GBK("提交"), kRight + 276, 344, 48, 14},
      {platform::kButton, IDCANCEL, GBK("取消"), kRight + 330, 344, 48, 14},
  };
  items.insert(items.end(), rest.begin(), rest.end());
  return items;
}

platform::DialogTemplate FormularTemplate() {
  static const std::vector<DialogItem> items = FormularItems();
  return {.cx = kRight + 382, .cy = 362, .caption = GBK("公式编辑平台"), .items = items};
}

const platform::MenuEntry kTreeMenuEntries[] = {
    {0, 0, ""},
    {1, ID_NEW_GROUP, GBK("公式分组")},
    {1, ID_DELETE_GROUP, GBK("删除分组")},
    {1, 0, nullptr, MF_SEPARATOR},
    {1, IDC_NEW_FORMULA, GBK("新建公式")},
    {1, ID_DELETE_FORMULA, GBK("删除公式")},
};
const platform::MenuResource kMenus[] = {{IDR_TREE_MENU, kTreeMenuEntries}};

}  // namespace

CFormularDlg::CFormularDlg(CWnd* parent) : CDialog(FormularTemplate(), parent) {}

CFormularDlg::~CFormularDlg() = default;

BOOL CFormularDlg::OnInitDialog() {
  shownMessages_.clear();  // the controls are new
  core_.SetOwner(GetSafeHwnd());
  core_.SetMessageListener([this] { ShowMessages(); });

  script_ = GetDlgItemT<CTWScriptEdit>(IDC_SCRIPT);
  script_->InitFormat();
  script_->SetLimit(kScriptMaxBytes);
  ConfigureFormulaScript(script_->Scanner());
  script_->ColorAll();

  status_.SubclassDlgItem(IDC_STATUS, this);
  status_.SetLabelColor(kStatusBlue);
  status_.SetLabelFontSize(13);
  status_.SetLabelBold(true);

  auto* kinds = GetDlgItemT<CComboBox>(IDC_KIND_LIST);
  for (int kind = 0; kind < FORMULA_KIND_COUNT; ++kind) kinds->AddString(FormulaKindName(kind));
  auto* area = GetDlgItemT<CComboBox>(IDC_DRAW_AREA);
  area->AddString(GBK("主图"));
  area->AddString(GBK("副图"));
  const std::pair<int, int> limits[] = {{IDC_FORMULA_NAME, kFormulaNameMax},
                                        {IDC_ENCRYPT_TEXT, kEncryptTextMax},
                                        {IDC_CHINESE_NAME, kChineseNameMax},
                                        {IDC_GRID_LINES, kGridLinesMax}};
  for (const auto& [id, bytes] : limits) GetDlgItemT<CEdit>(id)->LimitText(bytes);

  tree_ = GetDlgItemT<CTreeCtrl>(IDC_FORMULA_TREE);
  images_ = MakeFormulaTreeImages();
  tree_->SetImageList(images_.get(), TVSIL_NORMAL);
  treeMenu_.LoadMenu(kMenus, IDR_TREE_MENU);

  core_.Open();
  ShowState();
  if (presetItem_) {
    // Open loaded it already: selecting it here only shows it.
    showing_ = true;
    tree_->EnsureVisible(presetItem_);
    tree_->SelectItem(presetItem_);
    showing_ = false;
    tree_->SetFocus();
    return FALSE;
  }
  return TRUE;
}

void CFormularDlg::DoDataExchange(CDataExchange* dx) {
  SEditorFields& f = core_.Fields();
  DDX_CBIndex(dx, IDC_KIND_LIST, f.kindSelection);
  DDX_CBIndex(dx, IDC_GROUP_LIST, f.groupSelection);
  DDX_CBIndex(dx, IDC_DRAW_AREA, f.areaSelection);
  DDX_Text(dx, IDC_FORMULA_NAME, f.name, kFormulaNameMax);
  DDX_Text(dx, IDC_CHINESE_NAME, f.chineseName, kChineseNameMax);
  DDX_Check(dx, IDC_ENCRYPT, f.encrypt);
  DDX_Text(dx, IDC_ENCRYPT_TEXT, f.encryptText, kEncryptTextMax);
  DDX_Text(dx, IDC_GRID_LINES, f.gridLines, kGridLinesMax);
  for (int r = 0; r < kGridRows; ++r)
    for (int c = 0; c < kGridColumns; ++c)
      DDX_Text(dx, kGridIds[r][c], f.grid.cells[size_t(r)][size_t(c)]);
  // The script box is set only when its text differs, so showing the
  // state again keeps the user's cursor, scrolling and undo steps.
  if (dx->m_bSaveAndValidate) {
    GetDlgItemText(IDC_SCRIPT, f.formula);
  } else {
    std::string shown;
    GetDlgItemText(IDC_SCRIPT, shown);
    if (shown != f.formula) SetDlgItemText(IDC_SCRIPT, f.formula.c_str());
    ShowMessages();
  }
}

void CFormularDlg::ReadControls() { UpdateData(TRUE); }

void CFormularDlg::ShowState() {
  showing_ = true;
  if (shownTree_ != core_.TreeGeneration()) RebuildTreeItems();
  auto* groups = GetDlgItemT<CComboBox>(IDC_GROUP_LIST);
  groups->ResetContent();
  for (const std::string& name : core_.GroupList()) groups->AddString(name.c_str());
  UpdateData(FALSE);
  status_.SetWindowText(core_.Status().text.c_str());
  status_.SetLabelColor(core_.Status().colour);
  EnableKeyFields();
  showing_ = false;
}

void CFormularDlg::EnableKeyFields() {
  const BOOL keys = core_.KeyFieldsEnabled();
  GetDlgItem(IDC_FORMULA_NAME)->EnableWindow(keys);
  GetDlgItem(IDC_KIND_LIST)->EnableWindow(keys);
}

void CFormularDlg::ShowMessages() {
  auto* box = GetDlgItemT<QPlainTextEdit>(IDC_MESSAGES);
  if (!box) return;
  const std::string& messages = core_.Fields().messages;
  // Messages arrive one by one while a formula compiles: each is appended
  // rather than the whole text set again.
  if (messages.size() >= shownMessages_.size() &&
      messages.compare(0, shownMessages_.size(), shownMessages_) == 0) {
    if (messages.size() > shownMessages_.size()) {
      box->moveCursor(QTextCursor::End);
      box->insertPlainText(platform::GbkToQString(
          platform::CrLfToLf(std::string_view(messages).substr(shownMessages_.size()))));
    }
  } else {
    SetDlgItemText(IDC_MESSAGES, messages.c_str());
  }
  shownMessages_ = messages;
  // The newest message in sight, at the bottom of the box.
  box->moveCursor(QTextCursor::End);
  box->ensureCursorVisible();
}

template <class Action>
void CFormularDlg::Act(Action&& action) {
  ReadControls();
  action();
  if (IsCreated()) ShowState();
}

void CFormularDlg::RebuildTreeItems() {
  tree_->DeleteAllItems();
  presetItem_ = nullptr;
  // Depth first: each node's item under its parent's, in the node order.
  struct Walk {
    CTreeCtrl* tree;
    const SFormulaTreeNode* preset;
    HTREEITEM& presetItem;
    void Add(const SFormulaTreeNode& node, HTREEITEM parent) {
      HTREEITEM item = tree->InsertItem(node.text.c_str(), node.image, node.image, parent);
      tree->SetItemData(item, reinterpret_cast<DWORD_PTR>(&node));
      if (&node == preset) presetItem = item;
      for (const SFormulaTreeNode& child : node.children) Add(child, item);
    }
  } walk{tree_, core_.PresetNode(), presetItem_};
  for (const SFormulaTreeNode& kind : core_.Tree().kinds) walk.Add(kind, TVI_ROOT);
  shownTree_ = core_.TreeGeneration();
}

const SFormulaTreeNode* CFormularDlg::SelectedNode() const {
  HTREEITEM item = tree_ ? tree_->GetSelectedItem() : nullptr;
  return item ? reinterpret_cast<const SFormulaTreeNode*>(tree_->GetItemData(item)) : nullptr;
}

void CFormularDlg::OnTreeNotify(UINT code) {
  if (showing_) return;
  switch (code) {
    case TVN_SELCHANGED:
      // The user moved the selection (code moves it only while showing).
      loadedByClick_ = tree_->GetSelChangeAction() == TVC_BYMOUSE;
      Act([&] { core_.SelectNode(SelectedNode()); });
      break;
    case NM_CLICK:
      // Any click loads the selected item again, unless the click itself
      // just selected (and so loaded) it.
      if (!std::exchange(loadedByClick_, false)) Act([&] { core_.SelectNode(SelectedNode()); });
      break;
    case NM_RCLICK: ShowTreeMenu(); break;
    default: break;
  }
}

void CFormularDlg::ShowTreeMenu() {
  CMenu* popup = treeMenu_.GetSubMenu(0);
  if (!popup) return;
  POINT at{};
  GetCursorPos(&at);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, this);
}

void CFormularDlg::TestButton() {
  Act([&] { core_.TestButton(); });
}

void CFormularDlg::Submit() {
  ESubmitResult result = ESubmitResult::Refused;
  Act([&] { result = core_.SubmitFormula(); });
  if (result == ESubmitResult::Submitted) EndDialog(IDOK);
}

void CFormularDlg::ImportFunction() {
  Act([&] {
    CFuncDlg picker(this);
    if (picker.DoModal() == IDOK && picker.ChosenRow() >= 0)
      core_.ImportFunction(picker.ChosenRow());
  });
}

void CFormularDlg::ShowNote() {
  ReadControls();
  std::string title, note;
  if (!core_.NoteForName(title, note)) return;
  CTechNoteDlg dialog(this);
  dialog.SetTitle(title);
  dialog.SetNote(note);
  dialog.DoModal();
}

void CFormularDlg::EditParamsDesc() {
  ReadControls();
  std::string text;
  if (!core_.ParamsDescForName(text)) return;
  CParamsDlg dialog(this);
  dialog.SetFormula(core_.Fields().name, core_.CurrentKind());
  dialog.SetText(text);
  if (dialog.DoModal() != IDOK) return;
  char quoted[kParamsDescQuotedSize];
  if (dialog.GetQuotedText(quoted, sizeof quoted)) core_.StoreParamsDesc(quoted);
}

void CFormularDlg::NewGroup() {
  Act([&] {
    CGroupDlg dialog(this);
    if (dialog.DoModal() == IDOK) core_.NewGroup(dialog.GroupName().c_str());
  });
}

BOOL CFormularDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == IDC_SCRIPT && code == EN_CHANGE) {
    if (!showing_) core_.OnFormulaChanged();
    return TRUE;
  }
  if (id == IDC_FORMULA_TREE) {
    OnTreeNotify(code);
    return TRUE;
  }
  if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
  switch (id) {
    case IDC_NEW_FORMULA: Act([&] { core_.NewFormula(); }); return TRUE;
    case IDC_SUBMIT: Submit(); return TRUE;
    case IDC_IMPORT_FUNCTION: ImportFunction(); return TRUE;
    case IDC_NOTE: ShowNote(); return TRUE;
    case IDC_PARAMS_DESC: EditParamsDesc(); return TRUE;
    case ID_NEW_GROUP: NewGroup(); return TRUE;
    case ID_DELETE_GROUP: Act([&] { core_.DeleteGroup(SelectedNode()); }); return TRUE;
    case ID_DELETE_FORMULA: Act([&] { core_.DeleteFormula(SelectedNode()); }); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

void CFormularDlg::OnOK() { TestButton(); }

void CFormularDlg::OnCancel() {
  if (MessageBox(GetSafeHwnd(), GBK("您确定要退出公式平台吗?"), GBK("提示"), MB_OKCANCEL) == IDOK)
    EndDialog(IDCANCEL);
}

BOOL CFormularDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (msg->wParam == VK_F2 || msg->wParam == VK_F7)) {
    if (msg->wParam == VK_F2) Act([&] { core_.NewFormula(); });
    else TestButton();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

void CFormularDlg::OnDestroy() {
  // The drawing area is kept as the window leaves; then the files are written.
  CDataExchange dx(this, TRUE);
  DDX_CBIndex(&dx, IDC_DRAW_AREA, core_.Fields().areaSelection);
  core_.Close();
  CDialog::OnDestroy();
}

}  // namespace formula
