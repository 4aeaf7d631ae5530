#include "zeb/shell/app/stage_dlg.h"

#include "platform/gbk.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/messages.h"

namespace {

const platform::DialogTemplate& AboutTemplate() {
  static const platform::DialogItem items[] = {
      {platform::kStatic, -1, GBK("ZEB 藏品行情交易系统"), 40, 14, 150, 10},
      {platform::kStatic, -1, GBK("行情、图表与交易，一个窗口。"), 40, 28, 150, 10},
      {platform::kButton, IDOK, GBK("确定"), 150, 46, 50, 14, BS_DEFPUSHBUTTON},
  };
  static const platform::DialogTemplate tpl{
      210, 68, WS_POPUP | WS_CAPTION | WS_SYSMENU, GBK("关于 ZEB"), nullptr, 9, true, items};
  return tpl;
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(AboutTemplate()) {}

LRESULT CAboutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LOGIN_STAGE) return OnLoginStage(wParam, lParam);
  return CDialog::WindowProc(message, wParam, lParam);
}

LRESULT CAboutDlg::OnLoginStage(WPARAM wParam, LPARAM lParam) {
  CZEBApp* app = CZEBApp::Current();
  if (!app) return 0;
  if (lParam == 1) app->CreateMainFrame();
  else if (lParam == 2) app->ShowMainFrame(int(wParam));
  return 0;
}
