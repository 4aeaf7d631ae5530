// The chart view through size changes and the item record the router
// reads: a view resized (smaller, larger, as the main window or the split
// bar change it) draws what a view made at that size draws, and the page
// the user turned to is in the record at once.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include "tables/chart_packet_bytes.h"
#include "platform/input.h"
#include "platform/testing/app.h"
#include "tables/tables_test_support.h"
#include "zeb/views/stock/stock_view.h"

using namespace tables_test;

namespace {

constexpr uint16_t kMarket = 4114;
constexpr uint16_t kIndexMarket = 4113;
constexpr int32_t kCode = 602001;

struct WidgetApplicationFirst {
  WidgetApplicationFirst() { platform::testing::EnsureApplication(); }
};

// A time-share day of 30 minutes around 12.40 with its quote record.
std::string ThirtyMinutes() {
  TickBytes quote;
  quote.time = 570 + 29;
  quote.last = 12340;
  quote.volume = 90;
  quote.levels = TenLevels(12330, 12340);
  std::vector<DealBytes> ticks;
  std::vector<PointBytes> points;
  for (int i = 0; i < 30; ++i) {
    const uint32_t price = 12340u + 10u * uint32_t(i % 7);
    ticks.push_back({static_cast<uint16_t>(i), price, 3, 0, 0});
    points.push_back({static_cast<uint16_t>(i), price, 3, 12350});
  }
  return TraceBody(quote, ticks, -1, points);
}

class StockViewSizesTest : public WidgetApplicationFirst, public TablesTest {
 protected:
  StockViewSizesTest() {
    LoadMarket({{kIndexMarket, {Item(399001, "IDX", 2000000)}},
                {kMarket, {Item(kCode, "A", 12340, 100, 50000)}}});
    store.SetMainWnd(frame.GetSafeHwnd());
  }

  // A view shown at the size with the item's day on its time-share page.
  void Open(CStockView& view, int width, int height) {
    view.Create(nullptr, CRect(0, 0, width, height), 0, WS_POPUP | WS_VISIBLE);
    view.OnInitialUpdate();
    view.KillTimer(kCrosshairTimer);
    view.KillTimer(kChartRefreshTimer);
    SCurItem item;
    item.page = kPageChart;
    item.mode = 0x10;
    item.code = SCodeInfo{kMarket, kCode};
    ASSERT_EQ(view.SetCurItem(&item), 1);
    const std::string day = ThirtyMinutes();
    view.OnData(day.data(), int(day.size()));
  }
  static QImage Picture(CStockView& view) { return view.GetWidget()->grab().toImage(); }
};

TEST_F(StockViewSizesTest, AResizedViewDrawsWhatAViewMadeAtThatSizeDraws) {
  CStockView view{&store};
  Open(view, 1000, 600);
  ASSERT_GT(view.Analysis().PriceVol().GetDataCount(), 0);
  Picture(view);
  struct Size {
    int width, height;
  };
  // Smaller (a restored main window, the split bar dragged down), then
  // larger than at first.
  for (const Size size : {Size{700, 420}, Size{1200, 700}}) {
    view.MoveWindow(0, 0, size.width, size.height);
    const QImage resized = Picture(view);
    CStockView fresh{&store};
    Open(fresh, size.width, size.height);
    const QImage made = Picture(fresh);
    fresh.DestroyWindow();
    ASSERT_EQ(resized.size(), made.size());
    int differing = 0;
    for (int y = 0; y < made.height(); ++y)
      for (int x = 0; x < made.width(); ++x) differing += resized.pixel(x, y) != made.pixel(x, y);
    EXPECT_EQ(differing, 0) << size.width << "x" << size.height;
  }
  view.DestroyWindow();
}

// The router asks the view which item and page it shows (a market table
// that arrives again, Esc, an item asked for once more): the answer is
// the page the user turned to, not the one the item was opened on.
TEST_F(StockViewSizesTest, TheRouterReadsThePageTheUserTurnedTo) {
  CStockView view{&store};
  Open(view, 1000, 600);
  CRoutedView& routed = view;
  EXPECT_EQ(routed.GetCurItem()->mode & 0xF0, 0x10);
  view.OnKey(VK_F5, 1, 0);  // to the technical-analysis page
  ASSERT_EQ(view.Analysis().GetPage(), 0x20);
  EXPECT_EQ(+routed.GetCurItem()->mode,
            0x20 + view.Panel().GetPage());  // a packed field: read as a value
  SCurItem timeShare = *routed.GetCurItem();
  timeShare.mode = 0x10;
  EXPECT_EQ(routed.IsCurItem(&timeShare), 0);  // asking for the time-share page is no repeat
  view.DestroyWindow();
}

}  // namespace
