// CWelcomeInfoDlg: the server's notice, or its update offer, around an
// HTML control, shown modally by the main frame. Mode 1 offers an update
// ("系 统 升 级" ends with IDOK), mode 2 a forced one (its "退出" closes the
// main window and leaves the dialog open), any other mode is a plain
// notice. The box "一周内不要提醒我" records the choice in "sysset.ini" at
// every click. The dialog ends with its owner: when the main window is
// destroyed while it is open (the forced update's 退出), its loop ends with
// IDCANCEL.
#pragma once
#include <string>

#include "zeb/controls/html_ctrl.h"
#include "platform/dialog.h"

constexpr int IDC_NOTICE_HTML = 1182, IDC_NOTICE_QUIET = 1146;

class CWelcomeInfoDlg : public CDialog {
 public:
  CWelcomeInfoDlg(int mode, const std::string& gbkHtml, CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnCancel() override;
  void OnDestroy() override;

  CHtmlCtrl& Html() { return m_html; }

 private:
  int m_nMode;
  std::string m_strHtml;
  std::string m_strSysset;
  CHtmlCtrl m_html;
};

// The main frame's notice: shows the dialog with no parent; its result.
int ShowNoticeDialog(int mode, const std::string& gbkHtml);
