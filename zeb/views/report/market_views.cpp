// The display framework's views as the shell's plug-ins.
#include "zeb/views/report/market_views.h"

#include "zeb/controls/scroll_ctl_pic.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/views/report/price_report_view.h"

void RegisterMarketViews() {
  ShellPlugins().reportView = [] { return new CPriceReportView(); };
  CScrollCtlPic::SetClipWindowSource([]() -> CWnd* {
    return dynamic_cast<CRoutedView*>(CCmdDispatcher::GetInstance()->GetActiveView());
  });
}
