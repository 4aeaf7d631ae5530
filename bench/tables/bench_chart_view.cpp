// Speed of the chart view's live path: one pushed record (0x0B00) of the
// shown item taken by the information panel (board, ticks, valuation row,
// small charts) and the panel painted into a memory DC, as every push does;
// and a day of 10,000 deals summed by the price-volume table and painted;
// and the heap the deal and tick tables hold after a flood of a million
// pushed deals of the shown item (and after the item changes).
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "common/smoke.h"
#include "platform/testing/app.h"
#include "quote_list_bench_data.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/chart_replies.h"
#include "zeb/tables/deals/deal_table.h"
#include "zeb/tables/deals/price_table.h"
#include "zeb/tables/panel/trace_table.h"
#include "zeb/views/stock/stat_info_obj.h"

namespace {

constexpr uint16_t kMarket = 4114;
constexpr int32_t kCode = 602001;

struct Fixture {
  CPublic store;
  SStockInfo item;
  sim::WalkItem walk;

  Fixture() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::testing::EnsureApplication();
    bench_tables::UseSchemeFolder("bench_chart_view");
    const std::string table = BuildDemoMarketTable();
    store.ParseMarketTable(table.data(), static_cast<int>(table.size()));
    const SCodeInfo key{kMarket, kCode};
    item = *store.FindStock(&key);
    walk.market = kMarket;
    walk.code = kCode;
    walk.preClose = walk.open = walk.high = walk.low = walk.price = item.preClose;
    walk.bid = item.preClose - 10;
    walk.ask = item.preClose;
    walk.bidVolume = walk.askVolume = 100;
  }
};

Fixture& TheFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_PanelPushAndRepaint(benchmark::State& state) {
  Fixture& f = TheFixture();
  CStatInfoObj panel(&f.store);
  panel.InitParts();
  panel.SetRect(0, 0, 250, 760);
  panel.SetStock(&f.item);
  // A morning of ticks already shown.
  std::vector<sim::WalkDeal> morning;
  for (uint16_t m = 0; m < 120; ++m)
    morning.push_back({m, f.walk.price + 10u * (m % 9), 5, f.walk.bid, f.walk.ask});
  const std::string trace = sim::BuildMinuteTrace(1, f.walk, morning);
  panel.OnData(trace.data(), static_cast<int>(trace.size()));
  QImage image(250, 760, QImage::Format_ARGB32_Premultiplied);
  CDC dc(&image);
  sim::WalkItem moving = f.walk;
  for (auto _ : state) {
    state.PauseTiming();
    moving.volume += 7;  // a new deal each time
    moving.lastDeal = 7;
    moving.price += (moving.volume % 3 == 0) ? 10 : 0;
    const std::string push = sim::BuildPushTicks({moving}, 100);
    state.ResumeTiming();
    panel.OnData(push.data(), static_cast<int>(push.size()));
    panel.Draw(&dc);
  }
  state.counters["ticks"] = static_cast<double>(panel.Ticks().Ticks().size());
}
BENCHMARK(BM_PanelPushAndRepaint)->Unit(benchmark::kMicrosecond);

void BM_PriceTableTenThousandDeals(benchmark::State& state) {
  Fixture& f = TheFixture();
  std::vector<sim::WalkDeal> deals;
  for (int i = 0; i < 10000; ++i) {
    const uint32_t price = f.item.preClose - 1000 + 10u * static_cast<uint32_t>((i * 7919) % 200);
    deals.push_back({static_cast<uint16_t>(i / 60), price, 1u + static_cast<uint32_t>(i % 50),
                     price - 10, price});
  }
  const std::string list = sim::BuildDealList(1, deals);
  CPriceTable prices(&f.store);
  prices.SetRect(0, 0, 1670, 760);
  prices.SetStock(&f.item);
  QImage image(1670, 760, QImage::Format_ARGB32_Premultiplied);
  CDC dc(&image);
  for (auto _ : state) {
    prices.UpdateData(list.data(), static_cast<int>(list.size()));
    prices.Draw(&dc);
  }
  state.counters["levels"] = static_cast<double>(prices.Levels().size());
}
BENCHMARK(BM_PriceTableTenThousandDeals)->Unit(benchmark::kMillisecond);

// A runaway quote server: a million pushed deals of the shown item, a
// hundred to a push, with the deal page painted after every push. The
// counters give the heap in use after the flood and after another item is
// shown, each less the heap in use before (MB).
void BM_DealAndTickTablesFlood(benchmark::State& state) {
  Fixture& f = TheFixture();
  const int kDeals = bench_smoke::Scaled(1000000, 20000);
  constexpr int kPerPush = 100;
  QImage image(1670, 760, QImage::Format_ARGB32_Premultiplied);
  CDC dc(&image);
  const auto heapMB = [] { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); };
  for (auto _ : state) {
    const double before = heapMB();
    auto deals = std::make_unique<CDealTable>(&f.store);
    auto ticks = std::make_unique<CTraceTable>(&f.store);
    deals->SetRect(0, 0, 1670, 760);
    deals->SetStock(&f.item);
    ticks->SetRect(0, 0, 250, 300);
    ticks->SetStock(&f.item);
    sim::WalkItem moving = f.walk;
    std::vector<sim::WalkItem> push(kPerPush);
    for (int sent = 0; sent < kDeals; sent += kPerPush) {
      for (sim::WalkItem& record : push) {
        moving.volume += 7;
        moving.lastDeal = 7;
        record = moving;
      }
      const std::string body = sim::BuildPushTicks(push, 100);
      deals->UpdateData(body.data(), static_cast<int>(body.size()));
      ticks->UpdateData(body.data(), static_cast<int>(body.size()));
      deals->Draw(&dc);
    }
    state.counters["flood_MB"] = heapMB() - before;
    SStockInfo other = f.item;
    other.code += 1;
    deals->SetStock(&other);
    ticks->SetStock(&other);
    state.counters["next_item_MB"] = heapMB() - before;
  }
}
BENCHMARK(BM_DealAndTickTablesFlood)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
