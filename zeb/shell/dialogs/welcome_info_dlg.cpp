// The notice and update dialog (welcome_info_dlg.h).
#include "zeb/shell/dialogs/welcome_info_dlg.h"

#include <ctime>

#include "platform/gbk.h"
#include "zeb/core/dialogs/notice_choice.h"
#include "zeb/store/public_store.h"

namespace {

const platform::DialogTemplate& NoticeTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, IDC_NOTICE_HTML, nullptr, 7, 7, 286, 150, SS_SUNKEN},
      {platform::kCheckBox, IDC_NOTICE_QUIET, GBK("一周内不要提醒我"), 7, 166, 100, 10,
       BS_AUTOCHECKBOX | WS_TABSTOP},
      {platform::kButton, IDOK, GBK("系 统 升 级"), 179, 163, 54, 14,
       BS_DEFPUSHBUTTON | WS_TABSTOP},
      {platform::kButton, IDCANCEL, GBK("关闭"), 239, 163, 54, 14, WS_TABSTOP},
  };
  static const platform::DialogTemplate tpl{
      300, 184, WS_POPUP | WS_CAPTION | WS_SYSMENU, GBK("通知消息"), nullptr, 9, true, items};
  return tpl;
}

}  // namespace

CWelcomeInfoDlg::CWelcomeInfoDlg(int mode, const std::string& gbkHtml, CWnd* parent)
    : CDialog(NoticeTemplate(), parent), m_nMode(mode), m_strHtml(gbkHtml) {}

BOOL CWelcomeInfoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_strSysset = CPublic::GetInstance()->GetAppDir() + "sysset.ini";
  const SNoticeLook look = NoticeLook(m_nMode);
  SetWindowText(look.caption);
  if (CWnd* ok = GetDlgItem(IDOK)) ok->ShowWindow(look.okShown ? SW_SHOW : SW_HIDE);
  SetDlgItemText(IDCANCEL, look.cancelText);
  if (CWnd* check = GetDlgItem(IDC_NOTICE_QUIET))
    check->ShowWindow(look.checkShown ? SW_SHOW : SW_HIDE);
  if (!look.okShown) SetDefID(IDCANCEL);
  m_html.SetHtmlText(m_strHtml.c_str(), TRUE);
  m_html.CreateInPlace(IDC_NOTICE_HTML, this);
  return TRUE;
}

BOOL CWelcomeInfoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == IDC_NOTICE_QUIET && HIWORD(wParam) == BN_CLICKED) {
    const bool checked = IsDlgButtonChecked(IDC_NOTICE_QUIET) == BST_CHECKED;
    // Not recorded (a box has named the file): the check goes back, so it
    // never shows a choice that will not hold.
    if (!WriteNoticeChoice(m_strSysset, checked, std::time(nullptr)))
      CheckDlgButton(IDC_NOTICE_QUIET, checked ? BST_UNCHECKED : BST_CHECKED);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CWelcomeInfoDlg::OnCancel() {
  if (m_nMode != 2) {
    CDialog::OnCancel();
    return;
  }
  // A forced update leaves no way on but the update: 退出 ends the program.
  if (CWnd* main = AfxGetMainWnd(); main && main != this)
    ::PostMessage(main->GetSafeHwnd(), WM_CLOSE, 0, 0);
}

void CWelcomeInfoDlg::OnDestroy() {
  // Destroyed with its owner while it runs: the loop must not outlive it.
  if (IsInModalLoop()) EndDialog(IDCANCEL);
  CDialog::OnDestroy();
}

int ShowNoticeDialog(int mode, const std::string& gbkHtml) {
  CWelcomeInfoDlg dialog(mode, gbkHtml);
  return int(dialog.DoModal());
}
