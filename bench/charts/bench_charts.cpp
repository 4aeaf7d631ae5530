// Speed of the charts of this issue: a pushed tick taken by the time-share
// chart and the chart repainted; the chip distribution recomputed on a
// cursor move over 1,000 bars and 300 bins; and the time-share page with a
// full day (242 minutes) and its volume pane repainted into a memory DC.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <random>
#include <string>
#include <vector>

#include "sim/quote-server/timeshare_feed.h"
#include "tables/quote_list_bench_data.h"
#include "zeb/charts/chips/chip_distrib_pic.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace {

constexpr int kWidth = 1200;
constexpr int kHeight = 600;

struct Fixture {
  CPublic* store = nullptr;
  Fixture() {
    static int argc = 1;
    static char name[] = "bench_charts";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
    bench_tables::UseSchemeFolder("bench_charts_scheme");
    store = bench_tables::MakeStore();
  }
};

Fixture& Setup() {
  static Fixture* fixture = new Fixture();
  return *fixture;
}

// A time-share page of the screen's size with `minutes` minutes of data.
struct Page {
  CPriceVolObj chart{Setup().store};
  SStockInfo* item = nullptr;
  CDC memory;
  CBitmap bitmap;
  sim::WalkItem walk;

  explicit Page(int minutes) {
    SCodeInfo key{bench_tables::kMarket, 200000};
    item = Setup().store->FindStock(&key);
    chart.SetStyle(0);
    chart.SetRect(0, 0, kWidth, kHeight);
    chart.SetStock(item);
    walk.market = item->market;
    walk.code = item->code;
    walk.preClose = item->preClose;
    walk.open = walk.preClose;
    walk.price = walk.preClose + 120;
    walk.high = walk.preClose + 300;
    walk.low = walk.preClose - 250;
    walk.volume = 500000;
    const std::string body = sim::BuildMinuteData(1, walk, sim::MinuteBarsOf(walk, minutes, 3));
    chart.OnData(body.data(), static_cast<int>(body.size()));
    memory.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(kWidth, kHeight);
    memory.SelectObject(&bitmap);
  }
};

// One pushed tick record of the item at minute of the day `time`.
std::string TickBody(const SStockInfo& item, uint16_t time, uint32_t price, uint32_t total) {
  std::string b(15 + 51, '\0');
  quotelink::WriteU16(b.data(), PKT_PUSH_TICK);
  quotelink::WriteU16(b.data() + 9, 1);
  char* r = b.data() + 15;
  quotelink::WriteU32(
      r, (static_cast<uint32_t>(item.market - 0x1000) << 24) | static_cast<uint32_t>(item.code));
  quotelink::WriteU16(r + 4, time);
  quotelink::WriteU32(r + 18, price);
  quotelink::WriteU32(r + 22, price);
  quotelink::WriteU32(r + 26, total);
  quotelink::WriteU32(r + 30, 10);
  return b;
}

void BM_PushedTickUpdatesAndRepaints(benchmark::State& state) {
  Page page(180);
  uint32_t total = 600000;
  uint32_t price = page.walk.price;
  for (auto _ : state) {
    total += 10;
    price += (total / 10) % 2 ? 10 : -10;
    const std::string body = TickBody(*page.item, 812, price, total);
    benchmark::DoNotOptimize(page.chart.OnData(body.data(), static_cast<int>(body.size())));
    page.chart.Draw(&page.memory);
  }
}
BENCHMARK(BM_PushedTickUpdatesAndRepaints)->Unit(benchmark::kMicrosecond);

void BM_ChipRecomputeOnCursorMove(benchmark::State& state) {
  std::vector<SHistoryUnit> bars;
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> move(-0.2f, 0.21f);
  float close = 10;
  for (int i = 0; i < 1000; ++i) {
    const float open = close;
    close = std::max(1.0f, close + move(rng));
    bars.push_back(SHistoryUnit{20220101 + i, open, std::max(open, close) + 0.1f,
                                std::min(open, close) - 0.1f, close,
                                30000u + static_cast<uint32_t>(i % 97) * 100, 0});
  }
  CChipDistribPic pic;
  pic.SetTradeDate(20260105);
  pic.SetCapitalInfo(5000000, {});
  pic.SetRect(0, 0, 250, 600);
  pic.SetPriceRect(0, 0, 250, 600);  // 300 bins
  pic.SetBars(bars.data(), 1000);
  int cursor = 998;
  for (auto _ : state) {
    cursor = cursor == 998 ? 999 : 998;
    pic.SetCurIndex(cursor);
    benchmark::DoNotOptimize(pic.LineEnds().data());
  }
  state.counters["bins"] = pic.GetLineCount();
}
BENCHMARK(BM_ChipRecomputeOnCursorMove)->Unit(benchmark::kMicrosecond);

void BM_FullDayPageRepaint(benchmark::State& state) {
  Page page(242);
  for (auto _ : state) page.chart.Draw(&page.memory);
  state.counters["minutes"] = page.chart.GetDataCount();
}
BENCHMARK(BM_FullDayPageRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
