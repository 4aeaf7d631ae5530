// The keyboard index over a full market: 10,000 items plus the typed
// commands, blocks and formulas. Building it runs at every market table
// (target: under 20 ms); a search with its list of 100 lines runs at every
// keystroke (target: under 1 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "zeb/core/input/input_box.h"
#include "zeb/core/input/input_key.h"
#include "zeb/store/store_records.h"

namespace {

constexpr int kMarkets = 10, kItemsPerMarket = 1000;

// Item names of four to six common characters, some with two readings.
std::vector<std::vector<SStockInfo>> Markets() {
  const std::string chars =
      GBK("中国邮票钱币卡片纪念金银生肖熊猫长城藏品精选封套龙凤虎鼠牛兔马羊猴鸡狗猪行重乐");
  const size_t count = chars.size() / 2;
  std::vector<std::vector<SStockInfo>> markets(kMarkets);
  unsigned seed = 12345;
  for (int m = 0; m < kMarkets; ++m) {
    for (int i = 0; i < kItemsPerMarket; ++i) {
      SStockInfo s;
      s.market = (uint16_t)(4100 + m);
      s.code = 600000 + m * kItemsPerMarket + i;
      std::string name;
      const int length = 4 + i % 3;
      for (int k = 0; k < length; ++k) {
        seed = seed * 1103515245u + 12345u;
        name += chars.substr(((seed >> 16) % count) * 2, 2);
      }
      platform::GbkCopyCut(s.name, sizeof s.name, name.c_str());
      markets[(size_t)m].push_back(s);
    }
  }
  return markets;
}

SKeyInputSources Sources() {
  SKeyInputSources sources;
  sources.blockNames = [] {
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) names.push_back(std::string(GBK("精选板块")) + std::to_string(i));
    return names;
  };
  sources.formulas = [] {
    std::vector<SFormulaKey> formulas;
    for (int i = 0; i < 100; ++i) formulas.push_back({"F" + std::to_string(i), GBK("指标公式")});
    return formulas;
  };
  return sources;
}

// The registry stand-in lives in a scratch folder, not the user's.
void UseScratchConfig() {
  static const std::string dir = [] {
    std::string d = (std::filesystem::temp_directory_path() / "zeb-bench-input").string() + "/";
    std::filesystem::create_directories(d);
    return d;
  }();
  platform::SetConfigDirOverride(dir);
}

void Build(CInputKey& index, const std::vector<std::vector<SStockInfo>>& markets) {
  index.Clear();
  index.Load();
  for (const auto& items : markets)
    index.AddItems(items.front().market, items.data(), (int)items.size());
}

void BM_IndexBuild(benchmark::State& state) {
  UseScratchConfig();
  const auto markets = Markets();
  CInputKey index;
  index.SetSources(Sources());
  for (auto _ : state) {
    Build(index, markets);
    benchmark::DoNotOptimize(index.GetEntryCount());
  }
  state.counters["entries"] = index.GetEntryCount();
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

// One keystroke: search, order the first 100 and build the lines. The
// texts walk through typing a code and typing initials.
void BM_SearchKeystroke(benchmark::State& state) {
  UseScratchConfig();
  CInputKey index;
  index.SetSources(Sources());
  Build(index, Markets());
  CInputList list(&index);
  const std::vector<std::string> typed = {"6",  "60",  "600", "6001", "0", "Z",
                                          "ZG", "ZGY", "C",   "CP",   "F1"};
  size_t k = 0;
  int64_t lines = 0;
  for (auto _ : state) {
    lines += (int64_t)list.Refill(typed[k]).size();
    k = (k + 1) % typed.size();
  }
  state.counters["lines/keystroke"] =
      benchmark::Counter((double)lines / (double)state.iterations());
}
BENCHMARK(BM_SearchKeystroke)->Unit(benchmark::kMicrosecond);

// The widest keystroke: one digit matches nearly every code.
void BM_SearchOneDigit(benchmark::State& state) {
  UseScratchConfig();
  CInputKey index;
  index.SetSources(Sources());
  Build(index, Markets());
  CInputList list(&index);
  for (auto _ : state) benchmark::DoNotOptimize(list.Refill("6").size());
  state.counters["results"] = index.GetResultCount();
}
BENCHMARK(BM_SearchOneDigit)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
