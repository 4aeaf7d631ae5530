// CAboutDlg: the about box (command cmd::kAppAbout), and (one hidden
// instance kept by the application) the window that turns the login
// dialog's stage messages into creating, showing and closing the main
// window: WM_LOGIN_STAGE with lParam 1 creates it, lParam 2 shows it
// (wParam 1) or closes it (wParam 2).
#pragma once
#include "platform/dialog.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT OnLoginStage(WPARAM wParam, LPARAM lParam);
};
