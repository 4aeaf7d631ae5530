// Speed of the chart view in the running program: the real main frame
// (offscreen) with the chart view on its K-line page of 2,000 bars and the
// VOL, MACD and KDJ panes, 1920 x 1080. Each iteration is what the user
// waits for: a pushed tick delivered through the frame's packet message
// and the paints it asked for; a mouse move of the crosshair and its
// paints; a repaint of the whole page. Counters: the share of the chart
// view's area the paints covered, per iteration.
#include <benchmark/benchmark.h>

#include <QWidget>
#include <chrono>
#include <memory>

#include "bench/common/kline_bodies.h"
#include "formula/face/FormulaAccess.h"
#include "platform/window.h"
#include "sim/quote-server/chart_replies.h"
#include "tools/screenshot/chart_frame_run.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/views/stock/stock_view.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080, kBars = 2000;

std::unique_ptr<CChartFrameRun> KLinePage(benchmark::State& state) {
  auto run = std::make_unique<CChartFrameRun>(kWidth, kHeight);
  if (!run->ok() || !run->ShowKLine(kline_bodies::History(CChartFrameRun::kMarket,
                                                          CChartFrameRun::kCode, kBars))) {
    state.SkipWithError("the chart view did not show the K-line page of 2,000 bars");
    return nullptr;
  }
  // Without the program folder's formula store the panes compute nothing,
  // and the figures would be those of a page without indicators.
  if (!FormulaAccess().Calc(0, "MACD", nullptr, 0)) {
    state.SkipWithError("no standard indicators in the program folder (build zeb_run first)");
    return nullptr;
  }
  return run;
}

double ViewArea(CChartFrameRun& run) {
  const QWidget* w = run.View().GetWidget();
  return double(w->width()) * w->height();
}

void BM_FrameTickRepaint(benchmark::State& state) {
  auto run = KLinePage(state);
  if (!run) return;
  // The item as the quote server pushes it: a deal of one more hand each
  // time, at one of two prices.
  sim::WalkItem item;
  item.market = CChartFrameRun::kMarket;
  item.code = CChartFrameRun::kCode;
  item.preClose = item.open = item.high = item.low = item.price = 20000;
  item.high = 20050;
  item.bid = 19990;
  item.ask = 20000;
  item.bidVolume = item.askVolume = 100;
  item.volume = 1000;
  item.lastDeal = 1;
  using Clock = std::chrono::steady_clock;
  double taking = 0, painting = 0;  // seconds
  const auto push = [&] {
    ++item.volume;
    item.price = item.price == 20000 ? 20010 : 20000;
    const std::string body = sim::BuildPushTicks({item}, 100);
    const Clock::time_point start = Clock::now();
    run->Deliver(body);
    const Clock::time_point taken = Clock::now();
    const int64_t area = RegionArea(run->PaintPending());
    taking += std::chrono::duration<double>(taken - start).count();
    painting += std::chrono::duration<double>(Clock::now() - taken).count();
    return area;
  };
  // The first tick makes the chart keep what lies under it.
  push();
  taking = painting = 0;
  double painted = 0;
  for (auto _ : state) painted += double(push());
  const double n = double(state.iterations());
  state.counters["painted_share"] = painted / n / ViewArea(*run);
  // Of the time: the packet taken by the view's parts, and the paint.
  state.counters["take_ms"] = taking / n * 1e3;
  state.counters["paint_ms"] = painting / n * 1e3;
}
BENCHMARK(BM_FrameTickRepaint)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_FrameCrosshairMove(benchmark::State& state) {
  auto run = KLinePage(state);
  if (!run) return;
  const RECT plot = run->Chart().Pane(0).GetPic()->GetPlotRect();
  const int y = (plot.top + plot.bottom) / 2;
  // A click shows the cursor; the mouse then moves between two bars.
  const POINT at[] = {{plot.left + (plot.right - plot.left) * 3 / 5, y},
                      {plot.left + (plot.right - plot.left) * 3 / 5 + 7, y + 11}};
  run->Click(at[0]);
  run->PaintPending();
  if (!run->Chart().IsCursorShown()) {
    state.SkipWithError("the click showed no cursor");
    return;
  }
  double painted = 0;
  int next = 1;
  for (auto _ : state) {
    run->MouseTo(at[next]);
    painted += double(RegionArea(run->PaintPending()));
    next ^= 1;
  }
  state.counters["painted_share"] = painted / double(state.iterations()) / ViewArea(*run);
}
BENCHMARK(BM_FrameCrosshairMove)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_FrameFullPage(benchmark::State& state) {
  auto run = KLinePage(state);
  if (!run) return;
  for (auto _ : state) {
    run->View().Repaint();
    run->PaintPending();
  }
}
BENCHMARK(BM_FrameFullPage)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
