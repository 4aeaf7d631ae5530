// ZEB: the program. Everything but this function lives in the shell's and
// the display framework's libraries, so tests can run the same start-up in
// process.
#include "platform/socket.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/views/report/market_views.h"
#include "zeb/views/stock/chart_view_plugin.h"

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  RegisterMarketViews();
  RegisterChartView();
  return RunZebProgram(argc, argv);
}
