// The chart view as the shell's plug-in.
#include "zeb/views/stock/chart_view_plugin.h"

#include "zeb/core/app/shell_plugins.h"
#include "zeb/views/stock/stock_view.h"

void RegisterChartView() {
  ShellPlugins().chartView = [] { return new CStockView(); };
}
