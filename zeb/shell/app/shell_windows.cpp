// The shell's own windows (shell_windows.h).
#include "zeb/shell/app/shell_windows.h"

#include "zeb/shell/app/shell_plugins.h"
#include "zeb/shell/input/input_dlg.h"
#include "zeb/shell/trade/trade_view.h"
#include "zeb/shell/update/update_check.h"
#include "zeb/shell/update/update_select_dlg.h"

void InstallShellWindows() {
  SShellPlugins& plugins = ShellPlugins();
  if (!plugins.tradeView) plugins.tradeView = [] { return new CTradeView(); };
  if (!plugins.inputBox) plugins.inputBox = OpenInputBox;
  SetUpdateServerChooser(ChooseUpdateServer);
}
