// The chart view inside the real main frame, where the K-line chart's chip
// notices go up to the frame and come back to the view: a pushed tick
// repaints a small part of the chart (the last bar's column, the titles,
// the date axis) and of the panel (the board's rows it moved, the tick
// list), never the whole view, and leaves the very pixels a repaint of
// everything gives; with the panel on its chip page the notices repaint
// the panel alone; the crosshair moves over the chart's kept picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "platform/window.h"
#include "tables/chart_packet_bytes.h"
#include "tools/screenshot/chart_frame_run.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/views/stock/stock_view.h"

namespace {

using tables_test::PacketBytes;
using tables_test::PushBody;
using tables_test::TickBytes;

constexpr int kBars = 300;

// Day bars with a peak in the middle: the last bar holds no extreme.
std::string History() {
  PacketBytes b;
  b.U16(0, 0x0500 + 61).U16(2, 1).U16(4, 1).U16(10, CChartFrameRun::kMarket);
  b.U32(12, uint32_t(CChartFrameRun::kCode)).U16(16, kBars);
  for (int i = 0; i < kBars; ++i) {
    const size_t at = 22 + 28 * size_t(i);
    const uint32_t close = 10000 + 20 * uint32_t(std::min(i, kBars - 1 - i));
    const uint32_t date = 20200000 + 10000 * uint32_t(i / 200) + 100 * uint32_t(1 + i / 20 % 10) +
                          uint32_t(1 + i % 20);
    b.U32(at, date).U32(at + 4, close - 50).U32(at + 8, close + 80).U32(at + 12, close - 90);
    b.U32(at + 16, close).U32(at + 20, 1000).U32(at + 24, 100000);
  }
  return b.Bytes();
}

std::string Tick(uint32_t price, uint32_t volume = 1000) {
  TickBytes t;
  t.market = CChartFrameRun::kMarket;
  t.code = CChartFrameRun::kCode;
  t.open = 10000, t.high = std::max(10100u, price), t.low = 9950, t.last = price, t.volume = volume;
  return PushBody({t});
}

QRect Q(const RECT& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// What the window shows of a widget: its pixels as the paints left them
// (a grab would paint the widget anew).
QImage WindowPixels(QWidget* w) {
  QWidget* top = w->window();
  const QPoint at = w->mapTo(top, QPoint(0, 0));
  return w->screen()->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height()).toImage();
}

class ChartFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(run.ok());
    ASSERT_TRUE(run.ShowKLine(History()));
    // The first tick makes the chart keep what lies under it.
    run.Deliver(Tick(10020));
    run.PaintPending();
  }
  // What a paint covered of a part of the view.
  static int64_t AreaIn(const QRegion& painted, const RECT& part) {
    return RegionArea(painted.intersected(Q(part)));
  }
  static int64_t Area(const RECT& r) { return int64_t(r.right - r.left) * (r.bottom - r.top); }

  CChartFrameRun run{1280, 800};
};

TEST_F(ChartFrameTest, APushedTickRepaintsLessThanAThirdOfTheChart) {
  const RECT chart = run.Chart().GetRect();
  const RECT panel = run.View().Panel().GetRect();
  const std::vector<int>& x = run.Chart().XPositions();
  ASSERT_FALSE(x.empty());
  const RECT lastBar{x.back(), chart.top, x.back() + run.Chart().CandleWidth(), chart.bottom};
  // Below the history's volumes: the volume pane keeps its range.
  uint32_t volume = 900;
  for (uint32_t price : {10050u, 10000u, 10080u}) {
    // A deal: the board's price and volume rows and the tick list move.
    run.Deliver(Tick(price, volume += 7));
    ASSERT_TRUE(run.View().IsPartialRepaintPending()) << price;
    // The paint of the tick, then the same picture painted whole, as the
    // window shows them.
    const QRegion painted = run.PaintPending();
    const QImage got = WindowPixels(run.View().GetWidget());
    EXPECT_LT(AreaIn(painted, chart) * 3, Area(chart)) << price;
    EXPECT_GT(AreaIn(painted, lastBar), 0) << price;
    // The panel's rows the tick moved, not the whole panel.
    EXPECT_GT(AreaIn(painted, panel), 0) << price;
    EXPECT_LT(AreaIn(painted, panel), Area(panel)) << price;
    run.View().Repaint();
    run.PaintPending();
    const QImage want = WindowPixels(run.View().GetWidget());
    ASSERT_EQ(got.size(), want.size());
    ASSERT_FALSE(got.isNull());
    int differing = 0;
    for (int y = 0; y < want.height(); ++y)
      for (int x = 0; x < want.width(); ++x) differing += got.pixel(x, y) != want.pixel(x, y);
    EXPECT_EQ(differing, 0) << price;
  }
}

TEST_F(ChartFrameTest, ChipNoticesRepaintThePanelAloneWhileItShowsTheChips) {
  CStockView& view = run.View();
  view.SetPanelPage(3);  // the chip page
  run.PaintPending();
  ASSERT_EQ(view.Panel().GetPage(), kPanelChips);
  const RECT chart = run.Chart().GetRect();
  const RECT panel = view.Panel().GetRect();
  // A change of the page's bars (the chart recomputed for a reason of its
  // own) reaches the chips through the frame.
  run.Chart().Recompute();
  QRegion painted = run.PaintPending();
  EXPECT_EQ(AreaIn(painted, chart), 0);
  EXPECT_EQ(AreaIn(painted, panel), Area(panel));
  // Another panel page takes no chip repaint.
  view.SetPanelPage(0);
  run.PaintPending();
  run.Chart().Recompute();
  painted = run.PaintPending();
  EXPECT_EQ(RegionArea(painted), 0);
}

// With a cursor shown, the crosshair follows the mouse over the kept
// picture of the chart: a move repaints a few narrow areas (the old and the
// new crosshair, the titles, the cursor box), and the window then shows the
// very pixels a repaint of everything gives, in lower panes too, and when
// the mouse leaves the chart.
TEST_F(ChartFrameTest, TheCrosshairMovesOverTheKeptPictureWithTheSamePixels) {
  CStockView& view = run.View();
  CHisTechObj& chart = run.Chart();
  const RECT price = chart.Pane(0).GetPic()->GetPlotRect();
  // The crosshair follows the mouse over the first three panes.
  const RECT lower = chart.Pane(std::min(2, chart.GetPaneCount() - 1)).GetPic()->GetPlotRect();
  const auto at = [](const RECT& r, int fx, int fy) {
    return POINT{r.left + (r.right - r.left) * fx / 100, r.top + (r.bottom - r.top) * fy / 100};
  };
  const POINT first = at(price, 40, 50);
  run.Click(first);
  run.PaintPending();
  ASSERT_TRUE(chart.IsCursorShown());
  const RECT area = chart.GetRect();
  const POINT moves[] = {at(price, 41, 50), at(price, 41, 30),
                         at(price, 70, 80), at(lower, 20, 50),
                         at(lower, 21, 10), POINT{view.Panel().GetRect().left + 20, first.y}};
  for (const POINT& to : moves) {
    run.MouseTo(to);
    ASSERT_TRUE(view.IsPartialRepaintPending()) << to.x << "," << to.y;
    // The paint of the move (which asks for nothing more: it did not fall
    // back to a repaint of everything), then the same picture painted whole.
    const QImage got = view.GetWidget()->grab().toImage();
    EXPECT_LT(AreaIn(run.PaintPending(), area) * 4, Area(area)) << to.x << "," << to.y;
    view.Repaint();
    const QImage want = view.GetWidget()->grab().toImage();
    run.PaintPending();
    ASSERT_EQ(got.size(), want.size());
    int differing = 0;
    for (int y = 0; y < want.height(); ++y)
      for (int x = 0; x < want.width(); ++x) differing += got.pixel(x, y) != want.pixel(x, y);
    EXPECT_EQ(differing, 0) << to.x << "," << to.y;
  }
  // What a move asks to repaint: a small part of the chart.
  const POINT to = at(price, 60, 40);
  run.MouseTo(to);
  const QRegion painted = run.PaintPending();
  EXPECT_GT(AreaIn(painted, area), 0);
  EXPECT_LT(AreaIn(painted, area) * 4, Area(area));
}

}  // namespace
