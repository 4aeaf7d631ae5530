// The interval statistics picture (interval_pictures.h).
#include "tools/screenshot/interval_pictures.h"

#include <algorithm>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "sim/quote-server/quote_server.h"
#include "tools/screenshot/chart_pictures.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/views/stock/stock_view.h"

namespace {

// 生肖邮资封: the dearest stamp item, whose day's amount once stopped at
// the quote record's limit.
constexpr uint16_t kIntervalMarket = 4119;
constexpr int32_t kIntervalCode = 605001;
// The interval: the last bars shown, today's included.
constexpr int kIntervalBars = 20;

// A click on a visible bar of the K-line pane: the pointer goes there (the
// bar under it becomes the cursor), then a press and a release.
void ClickBar(CStockView& view, CHisTechObj& chart, int bar) {
  const std::vector<int>& xs = chart.XPositions();
  if (bar < 0 || bar >= static_cast<int>(xs.size())) return;
  const RECT plot = chart.Pane(0).GetPic()->GetPlotRect();
  const POINT at{xs[static_cast<size_t>(bar)] + 1, plot.top + (plot.bottom - plot.top) / 2};
  POINT screen = at;
  view.ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

}  // namespace

void PictureIntervalStats(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                          sim::QuoteServer* quoteSim, SIntervalPictures* seen) {
  if (quoteSim) {
    const int left = (sim::kLastMinute + 1 - sim::kMorningDeals) * sim::kStepsPerMinute;
    for (int step = 0; step < left; ++step) quoteSim->Market().Step();
  }
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->OpenChartPage(SCodeInfo{kIntervalMarket, kIntervalCode}, kPageTimeShare);
  auto* view = dynamic_cast<CStockView*>(router->GetActiveView());
  if (!view) return;
  CStatTable& board = view->Panel().Board();
  platform::PumpUntil(
      [&] { return board.GetCellText(15, 1) != "-" && !board.GetCellText(15, 1).empty(); },
      timeoutMs);
  frame.SendMessage(WM_KEYDOWN, VK_F5, 0);
  CHisTechObj& chart = view->Analysis().HisTech();
  platform::PumpUntil(
      [&] {
        // The dear item's bars (its price is far above the last item's).
        return view->Stock().code == kIntervalCode &&
               chart.GetPeriod() == CHisTechObj::kDayPeriod && !chart.IsRequestPending() &&
               !chart.Raw().empty() && chart.Raw().back().fClose > 100.0f;
      },
      timeoutMs);
  platform::PumpMessages(50);
  const int shown = chart.End() - chart.First();
  router->ExecuteCommand(kline_cmd::kIntervalStat);
  ClickBar(*view, chart, std::max(shown - kIntervalBars, 0));
  ClickBar(*view, chart, shown - 1);
  platform::PumpMessages(50);
  CDistractStatTable& table = view->Analysis().IntervalTable();
  if (chart.IntervalState() == 2) {
    seen->bars = table.GetCellText(4, 4).empty()
                     ? 0
                     : std::stoi(table.GetCellText(4, 4)) + std::stoi(table.GetCellText(5, 4)) +
                           std::stoi(table.GetCellText(6, 4));
    seen->average = table.GetCellText(2, 4);
    seen->volume = table.GetCellText(4, 1);
    seen->amount = table.GetCellText(6, 1);
  }
  seen->dayTotal = board.GetCellText(15, 1);
  view->Invalidate(FALSE);
  keep("12-chart-interval-stats.png", nullptr);
  router->ExecuteCommand(kline_cmd::kIntervalStat);
  ReturnToQuoteList(timeoutMs);
}
