// The settings dialog's appearance page (sys_set_dlg.h).
#include "zeb/shell/dialogs/sys_set_dlg.h"

#include <string>

#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "zeb/shell/dialogs/slider_ctrl.h"

namespace {

// The choosers' flags as the framework names them; our choosers take the
// colour or font they are given and ignore the rest.
constexpr DWORD CC_FULLOPEN = 0x2;
constexpr DWORD CF_SCREENFONTS = 0x1, CF_EFFECTS = 0x100;

const platform::DialogTemplate& LookTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, IDC_STATIC, GBK("方案预览"), 4, 6, 36, 10},
      {platform::kStatic, IDC_SCHEME_PREVIEW, nullptr, 2, 17, 152, 183},
      {platform::kStatic, IDC_STATIC, GBK("系统风格："), 165, 6, 41, 10},
      {platform::kComboBox, IDC_STYLE_LIST, nullptr, 209, 4, 92, 57,
       CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL},
      {platform::kGroupBox, IDC_STATIC, GBK("修改颜色"), 159, 17, 141, 135},
      {platform::kListBox, IDC_COLOR_LIST, nullptr, 159, 26, 141, 33,
       LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP},
      {platform::kButton, IDC_STYLE_BUTTON, nullptr, 182, 62, 104, 15},
      {kSlider, IDC_RED_SLIDER, nullptr, 168, 82, 37, 9, WS_TABSTOP},
      {kSlider, IDC_GREEN_SLIDER, nullptr, 168, 101, 37, 9, WS_TABSTOP},
      {kSlider, IDC_BLUE_SLIDER, nullptr, 168, 120, 37, 9, WS_TABSTOP},
      {platform::kStatic, IDC_STATIC, "R:", 160, 83, 8, 8},
      {platform::kStatic, IDC_STATIC, "G:", 161, 102, 8, 8},
      {platform::kStatic, IDC_STATIC, "B:", 161, 121, 8, 8},
      {platform::kEdit, IDC_RED_EDIT, nullptr, 205, 81, 31, 14,
       ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kEdit, IDC_GREEN_EDIT, nullptr, 205, 100, 31, 14,
       ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kEdit, IDC_BLUE_EDIT, nullptr, 205, 119, 31, 14,
       ES_NUMBER | ES_AUTOHSCROLL | WS_TABSTOP},
      {platform::kButton, IDC_CHOOSE_COLOR, GBK("颜色选择..."), 241, 101, 53, 14, WS_TABSTOP},
      {platform::kButton, IDC_RESTORE_COLORS, GBK("恢复缺省颜色"), 241, 134, 53, 14, WS_TABSTOP},
      {platform::kGroupBox, IDC_STATIC, GBK("修改字体"), 161, 154, 139, 46},
      {platform::kComboBox, IDC_FONT_LIST, nullptr, 167, 165, 71, 55,
       CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP},
      {platform::kButton, IDC_CHOOSE_FONT, GBK("字体选择..."), 241, 164, 53, 14, WS_TABSTOP},
      {platform::kButton, IDC_RESTORE_FONTS, GBK("恢复缺省字体"), 241, 184, 53, 14, WS_TABSTOP},
  };
  RegisterSliderKind();
  static const platform::DialogTemplate tpl{302,     205, WS_CHILD, GBK("外观设置"),
                                            nullptr, 9,   true,     items};
  return tpl;
}

constexpr int kEdits[3] = {IDC_RED_EDIT, IDC_GREEN_EDIT, IDC_BLUE_EDIT};
constexpr int kSliders[3] = {IDC_RED_SLIDER, IDC_GREEN_SLIDER, IDC_BLUE_SLIDER};

int* Part(SRgbParts& rgb, int index) {
  return index == 0 ? &rgb.red : index == 1 ? &rgb.green : &rgb.blue;
}

}  // namespace

CSysSetDlg::CSysSetDlg() : CPropertyPage(LookTemplate()) {}

BOOL CSysSetDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_preview.SubclassDlgItem(IDC_SCHEME_PREVIEW, this);
  // Nothing fills the scheme-style list (it stays, greyed, beside its
  // label) and the button without a text has no action (hidden).
  if (CWnd* styles = GetDlgItem(IDC_STYLE_LIST)) styles->EnableWindow(FALSE);
  if (CWnd* button = GetDlgItem(IDC_STYLE_BUTTON)) button->ShowWindow(SW_HIDE);
  if (auto* colors = GetDlgItemT<CListBox>(IDC_COLOR_LIST)) {
    for (const SColorEntry& e : m_preview.Colors()) {
      const int row = colors->AddString(e.label);
      colors->SetItemData(row, DWORD_PTR(e.id));
    }
    colors->SetCurSel(0);
  }
  for (int id : kSliders) SetSliderRange(this, id, 0, 255);
  ShowSelectedColor();
  if (auto* fonts = GetDlgItemT<CComboBox>(IDC_FONT_LIST)) {
    for (const SFontEntry& e : m_preview.Fonts()) {
      const int row = fonts->AddString(e.label);
      fonts->SetItemData(row, DWORD_PTR(e.id));
    }
    fonts->SetCurSel(0);
  }
  return TRUE;
}

BOOL CSysSetDlg::OnSetActive() {
  m_activated = 1;
  return TRUE;
}

BOOL CSysSetDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == IDC_COLOR_LIST && code == LBN_SELCHANGE) {
    ShowSelectedColor();
    return TRUE;
  }
  if (code == EN_CHANGE && (id == IDC_RED_EDIT || id == IDC_GREEN_EDIT || id == IDC_BLUE_EDIT)) {
    if (!m_showing) OnNumberChanged(id);
    return TRUE;
  }
  if (code == kSliderMoved) {
    OnSliderMoved(id);
    return TRUE;
  }
  if (code != BN_CLICKED) return CPropertyPage::OnCommand(wParam, lParam);
  switch (id) {
    case IDC_CHOOSE_COLOR: OnChooseColor(); return TRUE;
    case IDC_RESTORE_COLORS: OnRestoreColors(); return TRUE;
    case IDC_CHOOSE_FONT: OnChooseFont(); return TRUE;
    case IDC_RESTORE_FONTS: OnRestoreFonts(); return TRUE;
    default: return CPropertyPage::OnCommand(wParam, lParam);
  }
}

int CSysSetDlg::SelectedColorId() const {
  const auto* colors = GetDlgItemT<CListBox>(IDC_COLOR_LIST);
  const int row = colors ? colors->GetCurSel() : -1;
  return row < 0 ? -1 : int(colors->GetItemData(row));
}

void CSysSetDlg::ShowSelectedColor() {
  const int id = SelectedColorId();
  if (id < 0) return;
  m_rgb = SplitColor(m_preview.GetColor(id));
  m_preview.Invalidate();
  ShowParts();
}

// Sliders and edits show m_rgb; the edits' changes are not the user's.
void CSysSetDlg::ShowParts() {
  m_showing = true;
  for (int i = 0; i < 3; ++i) {
    SetSliderPos(this, kSliders[i], *Part(m_rgb, i));
    SetDlgItemText(kEdits[i], std::to_string(*Part(m_rgb, i)).c_str());
  }
  m_showing = false;
}

void CSysSetDlg::OnNumberChanged(int editId) {
  SRgbParts typed;
  for (int i = 0; i < 3; ++i) {
    std::string text;
    GetDlgItemText(kEdits[i], text);
    // An edit emptied while its number is retyped takes nothing yet.
    if (text.find_first_not_of(' ') == std::string::npos) return;
    if (!ReadColorComponent(text, Part(typed, i))) {
      AfxMessageBox(ColorComponentMessage(), MB_OK | MB_ICONEXCLAMATION);
      if (CWnd* edit = GetDlgItem(kEdits[i])) GotoDlgCtrl(edit);
      return;
    }
  }
  m_rgb = typed;
  for (int i = 0; i < 3; ++i)
    if (kEdits[i] == editId) SetSliderPos(this, kSliders[i], *Part(m_rgb, i));
  const int id = SelectedColorId();
  if (id >= 0) m_preview.SetColor(id, JoinColor(m_rgb));
}

void CSysSetDlg::OnSliderMoved(int sliderId) {
  // The slider's edit takes its position, which changes the colour.
  for (int i = 0; i < 3; ++i)
    if (kSliders[i] == sliderId)
      SetDlgItemText(kEdits[i], std::to_string(GetSliderPos(this, sliderId)).c_str());
}

void CSysSetDlg::OnChooseColor() {
  CColorDialog dialog(JoinColor(m_rgb), CC_FULLOPEN, this);
  if (dialog.DoModal() != IDOK) return;
  m_rgb = SplitColor(dialog.GetColor());
  ShowParts();
  const int id = SelectedColorId();
  if (id >= 0) m_preview.SetColor(id, JoinColor(m_rgb));
}

void CSysSetDlg::OnRestoreColors() {
  if (::MessageBox(GetSafeHwnd(), GBK("您确定撤销刚才对颜色的修改吗?"), GBK("系统设置"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  m_preview.ReloadColors();
  ShowSelectedColor();
}

void CSysSetDlg::OnChooseFont() {
  const auto* fonts = GetDlgItemT<CComboBox>(IDC_FONT_LIST);
  const int row = fonts ? fonts->GetCurSel() : -1;
  if (row < 0) return;
  const int id = int(fonts->GetItemData(row));
  const SFontEntry* entry = m_preview.FindFont(id);
  if (!entry || !entry->font) return;
  LOGFONT lf;
  entry->font->GetLogFont(&lf);
  CFontDialog dialog(&lf, CF_SCREENFONTS | CF_EFFECTS, nullptr, this);
  if (dialog.DoModal() != IDOK) return;
  dialog.GetCurrentFont(&lf);
  m_preview.SetFont(FontEntryFromChoice(id, lf));
}

void CSysSetDlg::OnRestoreFonts() {
  if (::MessageBox(GetSafeHwnd(), GBK("您确定撤销刚才对字体的修改吗?"), GBK("系统设置"),
                   MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  m_preview.ReloadFonts();
}
