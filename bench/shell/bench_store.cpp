// Loading a full market table and finding items by code.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "sim/market/market_table_builder.h"
#include "zeb/store/public_store.h"

namespace {

// markets x items, codes unique over the whole table.
std::string BigTable(int markets, int items) {
  std::vector<sim::MarketTableBlock> blocks;
  for (int m = 0; m < markets; ++m) {
    sim::MarketTableBlock block;
    block.market = static_cast<uint16_t>(4100 + m);
    for (int i = 0; i < items; ++i) {
      sim::MarketTableItem item;
      item.name = "item";
      item.code = 100000 + m * 1000 + i;
      item.preClose = 12340;
      block.items.push_back(item);
    }
    blocks.push_back(std::move(block));
  }
  return sim::BuildMarketTable(20261210, 1, {{570, 690}, {780, 900}}, blocks);
}

void BM_ParseMarketTable(benchmark::State& state) {
  const std::string body = BigTable(15, 700);
  CPublic store;
  for (auto _ : state) {
    int r = store.ParseMarketTable(body.data(), static_cast<int>(body.size()));
    benchmark::DoNotOptimize(r);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(body.size()));
}
BENCHMARK(BM_ParseMarketTable)->Unit(benchmark::kMicrosecond);

void BM_FindStock(benchmark::State& state) {
  const std::string body = BigTable(10, 1000);  // 10,000 items
  CPublic store;
  store.ParseMarketTable(body.data(), static_cast<int>(body.size()));
  std::vector<SCodeInfo> keys;
  for (int i = 0; i < 1024; ++i) {
    int m = (i * 7) % 10, n = (i * 389) % 1000;
    keys.push_back(SCodeInfo{static_cast<uint16_t>(4100 + m), 100000 + m * 1000 + n});
  }
  keys[5].code = 999999;  // a miss now and then
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.FindStock(&keys[k]));
    k = (k + 1) & 1023;
  }
}
BENCHMARK(BM_FindStock);

}  // namespace

BENCHMARK_MAIN();
