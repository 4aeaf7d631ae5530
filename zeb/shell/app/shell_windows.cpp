// The shell's own windows (shell_windows.h).
#include "zeb/shell/app/shell_windows.h"

#include "zeb/core/app/shell_plugins.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/dialogs/sys_proty_dlg.h"
#include "zeb/shell/dialogs/user_info_dlg.h"
#include "zeb/shell/dialogs/welcome_info_dlg.h"
#include "zeb/shell/input/input_dlg.h"
#include "zeb/shell/trade/trade_view.h"
#include "zeb/core/update/update_check.h"
#include "zeb/shell/update/update_select_dlg.h"

void InstallShellWindows() {
  SShellPlugins& plugins = ShellPlugins();
  if (!plugins.tradeView) plugins.tradeView = [] { return new CTradeView(); };
  if (!plugins.inputBox) plugins.inputBox = OpenInputBox;
  if (!plugins.noticeDialog) plugins.noticeDialog = ShowNoticeDialog;
  if (!plugins.systemSettingsDialog) plugins.systemSettingsDialog = RunSystemSettings;
  if (!plugins.userInfoDialog) {
    plugins.userInfoDialog = [] {
      CUserInfoDlg dialog([](std::string* fields) {
        CZEBApp* app = CZEBApp::Current();
        if (app && app->Trade().Entries().GetUserInfo) app->Trade().Entries().GetUserInfo(fields);
      });
      dialog.DoModal();
    };
  }
  SetUpdateServerChooser(ChooseUpdateServer);
}
