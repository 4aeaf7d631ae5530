// Pictures of the chart view (chart_pictures.h).
#include "tools/screenshot/chart_pictures.h"

#include <string>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/views/stock/stock_view.h"

namespace {

// The time-share page with its crosshair on a minute two thirds into the
// day so far and the information box beside it, the panel showing the
// item's small chart: "14-timeshare.png". The crosshair is put away after.
void PictureCursorBox(CStockView& view, const KeepPicture& keep) {
  CAnalisysObj& analysis = view.Analysis();
  CPriceVolObj& chart = analysis.PriceVol();
  view.Panel().SelectTab(1);
  if (chart.GetDataCount() > 0) {
    const RECT price = chart.PriceRect();
    const int target = chart.GetDataCount() * 2 / 3;
    const int y = (price.top * 2 + price.bottom) / 3;
    int x = price.left;
    while (x < price.right - 1 && chart.GetCursorIndex() < target) analysis.OnMouseMove(++x, y);
    if (!chart.IsCrosshairOn()) analysis.OnLButtonDown(x, y);
    analysis.OnMouseMove(x, y);
  }
  view.Invalidate(FALSE);
  keep("14-timeshare.png", nullptr);
  analysis.OnKey(VK_ESCAPE);
  view.Invalidate(FALSE);
}

}  // namespace

CStockView* FindChartView(CMainFrame& frame) {
  for (int i = 0; i < frame.Splitter().GetViewCount(0); ++i)
    if (auto* view = dynamic_cast<CStockView*>(frame.Splitter().GetView(0, i))) return view;
  return nullptr;
}

bool ReturnToQuoteList(int timeoutMs) {
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  IRoutedView* active = router->GetActiveView();
  if (!active || active->GetViewPage() != kPageChart) return active != nullptr;
  const auto listShown = [&] {
    return router->GetActiveView() && router->GetActiveView()->GetViewPage() == kPageReport;
  };
  // As a user presses it: Esc first closes what the chart shows over its
  // bars (the interval statistics, the crosshair), then leaves the view.
  for (int press = 0; press < 3; ++press) {
    router->OnKey(VK_ESCAPE);
    platform::PumpMessages(50);
    if (listShown()) return true;
  }
  return platform::PumpUntil(listShown, timeoutMs);
}

void PictureChartView(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                      SChartPictures* seen) {
  CStockView* view = FindChartView(frame);
  if (!view) return;
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->OpenChartPage(SCodeInfo{kPictureMarket, kPictureCode}, 0x10);
  CStatInfoObj& panel = view->Panel();
  CAnalisysObj& analysis = view->Analysis();
  CPriceVolObj& chart = analysis.PriceVol();
  platform::PumpUntil(
      [&] {
        return panel.Board().GetCellText(5, 1) != "-" && !panel.Ticks().Ticks().empty() &&
               chart.GetDataCount() > 0;
      },
      timeoutMs);
  seen->boardFilled = panel.Board().GetCellText(5, 1) != "-";
  seen->ticks = static_cast<int>(panel.Ticks().Ticks().size());
  seen->timeShareMinutes = chart.GetDataCount();
  if (chart.GetDataCount() > 0)
    seen->timeShareLast = TextPrintf("%.2f", chart.Prices()[chart.GetDataCount() - 1] / kPriceUnit);
  seen->boardLast = panel.Board().GetCellText(5, 1);
  keep("11-chart-view.png", nullptr);

  for (int kind = 0; kind < 4; ++kind) {
    view->SetAnalysisKind(kind);
    if (kind == 1)
      platform::PumpUntil([&] { return !analysis.HisTech().Raw().empty(); }, timeoutMs);
    if (kind == 2) platform::PumpUntil([&] { return analysis.Deals().DealCount() > 0; }, timeoutMs);
    if (kind == 3)
      platform::PumpUntil([&] { return !analysis.Prices().Levels().empty(); }, timeoutMs);
    view->Invalidate(FALSE);
    keep("11-chart-view-page-" + std::to_string((kind + 1) * 16) + ".png", nullptr);
  }
  seen->deals = analysis.Deals().DealCount();
  seen->priceLevels = static_cast<int>(analysis.Prices().Levels().size());
  view->SetAnalysisKind(0);

  // The panel's six pages; page 1 (the valuation row) has no tab of its own.
  for (int page = kPanelTicks; page <= kPanelBigOrders; ++page) {
    if (page == kPanelValues) panel.ShowPage(page);
    else panel.SelectTab(page == kPanelTicks ? 0 : page - 1);
    if (page == kPanelBigOrders)
      platform::PumpUntil([&] { return panel.BigOrders().GetRowCount() > 0; }, timeoutMs);
    if (page == kPanelItemChart)
      platform::PumpUntil([&] { return panel.ItemChart().GetDataCount() > 0; }, timeoutMs);
    // The index chart has no day of its own: it draws the index's pushes.
    if (page == kPanelIndexChart)
      platform::PumpUntil([&] { return panel.IndexChart().GetDataCount() > 0; }, timeoutMs);
    platform::PumpMessages(50);
    view->Invalidate(FALSE);
    keep("12-chart-panel-" + std::to_string(page + 1) + ".png", nullptr);
  }
  seen->bigOrders = panel.BigOrders().GetRowCount();
  seen->itemChartMinutes = panel.ItemChart().GetDataCount();
  seen->indexChartMinutes = panel.IndexChart().GetDataCount();
  PictureCursorBox(*view, keep);
  panel.SelectTab(0);

  // Keys reach the view as a user types them: through the main frame.
  frame.SendMessage(WM_KEYDOWN, VK_TAB, 0);
  seen->tabTurnedPage = analysis.GetPage() == kPageTechnical;
  view->SetAnalysisKind(0);
  const int32_t shown = view->Stock().code;
  // PageDown steps the quote list from its own selection, which a chart
  // opened by its code leaves where it was: when the row after it holds the
  // item shown, that item opens again, and only a second PageDown moves on.
  constexpr int kSameItemMs = 3000;
  frame.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
  seen->pageDownStepped =
      platform::PumpUntil([&] { return view->Stock().code != shown; }, kSameItemMs);
  if (!seen->pageDownStepped) {
    frame.SendMessage(WM_KEYDOWN, VK_NEXT, 0);
    seen->pageDownStepped =
        platform::PumpUntil([&] { return view->Stock().code != shown; }, timeoutMs);
  }
  seen->backToList = ReturnToQuoteList(timeoutMs);
}
