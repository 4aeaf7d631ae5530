// The settings dialog (sys_proty_dlg.h).
#include "zeb/shell/dialogs/sys_proty_dlg.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"

namespace {

const platform::DialogTemplate& SettingsTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kButton, IDOK, GBK("确定"), 208, 230, 46, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {platform::kButton, IDCANCEL, GBK("取消"), 264, 230, 46, 14, WS_TABSTOP},
  };
  static const platform::DialogTemplate tpl{
      316, 247, WS_POPUP | WS_CAPTION | WS_SYSMENU, GBK("系统设置"), nullptr, 9, true, items};
  return tpl;
}

// The sheet's height: the dialog's, less the button row.
constexpr int kSheetBottomUnits = 226;

}  // namespace

CSysProtyDlg::CSysProtyDlg(CWnd* parent) : CDialog(SettingsTemplate(), parent) {
  m_sheet.AddPage(&m_look);
  m_sheet.AddPage(&m_params);
}

BOOL CSysProtyDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_strAppDir = CPublic::GetInstance()->GetAppDir();
  CRect client;
  GetClientRect(&client);
  CRect sheet(0, 0, 316, kSheetBottomUnits);
  MapDialogRect(&sheet);
  sheet.right = client.right;
  if (!m_sheet.Create(this, sheet, IDC_SETTINGS_SHEET, WS_CHILD | WS_VISIBLE)) return TRUE;
  m_sheet.SetFont(GetFont());
  m_sheet.SetActivePage(m_nStartPage == kSettingsPageParams ? kSettingsPageParams
                                                            : kSettingsPageLook);
  return TRUE;
}

void CSysProtyDlg::OnOK() {
  bool saved = true;
  if (m_params.IsActivated()) {
    const SSysParamTexts texts = m_params.Texts();
    if (!IsBigOrderAccepted(texts.bigOrder)) {
      AfxMessageBox(GBK("主力大单阀值规定在400到100000之间。"), MB_OK);
      return;
    }
    saved = SaveSysParams(texts, m_strAppDir);
  }
  if (m_look.IsActivated() && HasCurrentScheme()) {
    const bool colors = m_look.Preview().SaveColors() != 0;
    const bool fonts = m_look.Preview().SaveFonts() != 0;
    saved = colors && fonts && saved;
  }
  CCmdDispatcher::GetInstance()->RepaintViews();
  // A file not written has been named in a box; the dialog stays with what
  // the user chose, to try again or to cancel.
  if (saved) EndDialog(IDOK);
}

bool CSysProtyDlg::HasCurrentScheme() {
  CSysStyle* scheme = CSysStyle::GetInstance();
  std::string name;
  return scheme->GetSchemeName(scheme->GetCurrentScheme(), name) != 0;
}

void RunSystemSettings(int startPage) {
  CSysProtyDlg dialog;
  dialog.SetStartPage(startPage);
  dialog.DoModal();
}
