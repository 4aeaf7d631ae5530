// The display framework's views as the shell's plug-ins.
#include "zeb/tables/views/market_views.h"

#include "controls/scroll_ctl_pic.h"
#include "zeb/shell/app/shell_plugins.h"
#include "zeb/shell/router/cmd_dispatcher.h"
#include "zeb/tables/views/price_report_view.h"

void RegisterMarketViews() {
  ShellPlugins().reportView = [] { return new CPriceReportView(); };
  CScrollCtlPic::SetClipWindowSource([]() -> CWnd* { return CCmdDispatcher::GetInstance()->GetActiveView(); });
}
