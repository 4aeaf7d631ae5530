// The standard indicators as a chart computes them, through CFormulaFace
// (select, compile, evaluate over 5,000 bars, read the lines), next to
// TA-Lib's functions for the same indicators over the same bars: MACD and
// MACD, MA (four windows) and four SMA, RSI (three windows) and three RSI,
// KDJ and STOCH, BOLL and BBANDS. TA-Lib takes the float series (its TA_S_
// entry points). Each iteration times a batch of ours and a batch of
// TA-Lib's, alternating; the table printed at the end gives the lowest,
// median and highest ratio ours / TA-Lib over the repetitions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <ta_libc.h>

#include "common/side_by_side.h"
#include "formula/face/FormulaFace.h"
#include "formula/store/formula_store.h"
#include "link/code_info.h"
#include "price_series.h"
#include "zeb/charts/indicators/standard_indicators.h"

namespace {

constexpr int kBars = 5000;
constexpr int kCallsPerBatch = 20;

struct Bars {
  std::vector<SHistoryUnit> units;
  std::vector<float> open, high, low, close;
  std::vector<double> out[6];
  Bars() {
    const std::vector<float> walk = RandomWalkPrices(kBars + 1, 11);
    for (int i = 0; i < kBars; ++i) {
      const float o = walk[size_t(i)], c = walk[size_t(i) + 1];
      const float spread = 0.2f + 0.1f * float(i % 7);
      const float h = std::max(o, c) + spread, l = std::max(0.5f, std::min(o, c) - spread);
      units.push_back(
          SHistoryUnit{i, o, h, l, c, uint32_t(1000 + (i * 7919) % 5000), uint32_t(100000 + i)});
      open.push_back(o);
      high.push_back(h);
      low.push_back(l);
      close.push_back(c);
    }
    for (auto& o : out) o.resize(kBars);
  }
};
Bars& B() {
  static Bars bars;
  return bars;
}

long NoData(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

void LoadStandardIndicators() {
  std::ifstream in(std::string(ZEB_SOURCE_DIR) + "/zeb/charts/indicators/standard_indicators.txt");
  std::deque<SFormulaRecord> records;
  std::string error;
  if (!ParseIndicatorList(std::string(std::istreambuf_iterator<char>(in), {}), &records, &error)) {
    std::fprintf(stderr, "standard indicators: %s\n", error.c_str());
    std::exit(1);
  }
  auto& list = formula::TheFormulaStore().Formulas(0);
  for (const SFormulaRecord& r : records) list.push_back(r);
}

// What a chart does for one pane: compute, then take every line.
bool Ours(const char* name) {
  CFormulaFace face;
  if (!face.Calc(0, name, B().units.data(), short(kBars))) return false;
  for (int i = 0; i < face.GetOutVarSize(); ++i) benchmark::DoNotOptimize(face[i]);
  return true;
}

struct Case {
  const char* indicator;
  const char* peer;
  bool (*theirs)();
};

bool Ok(TA_RetCode code) { return code == TA_SUCCESS; }

bool PeerMacd() {
  Bars& b = B();
  int begin = 0, count = 0;
  return Ok(TA_S_MACD(0, kBars - 1, b.close.data(), 12, 26, 9, &begin, &count, b.out[0].data(),
                      b.out[1].data(), b.out[2].data()));
}
bool PeerMa() {
  Bars& b = B();
  int begin = 0, count = 0;
  bool ok = true;
  int k = 0;
  for (int window : {5, 10, 20, 60})
    ok &= Ok(TA_S_SMA(0, kBars - 1, b.close.data(), window, &begin, &count, b.out[k++].data()));
  return ok;
}
bool PeerRsi() {
  Bars& b = B();
  int begin = 0, count = 0;
  bool ok = true;
  int k = 0;
  for (int window : {6, 12, 24})
    ok &= Ok(TA_S_RSI(0, kBars - 1, b.close.data(), window, &begin, &count, b.out[k++].data()));
  return ok;
}
bool PeerStoch() {
  Bars& b = B();
  int begin = 0, count = 0;
  return Ok(TA_S_STOCH(0, kBars - 1, b.high.data(), b.low.data(), b.close.data(), 9, 3,
                       TA_MAType_EMA, 3, TA_MAType_EMA, &begin, &count, b.out[0].data(),
                       b.out[1].data()));
}
bool PeerBbands() {
  Bars& b = B();
  int begin = 0, count = 0;
  return Ok(TA_S_BBANDS(0, kBars - 1, b.close.data(), 20, 2.0, 2.0, TA_MAType_SMA, &begin, &count,
                        b.out[0].data(), b.out[1].data(), b.out[2].data()));
}

const Case kCases[] = {
    {"MACD", "MACD", PeerMacd},  {"MA", "SMA x4", PeerMa},       {"RSI", "RSI x3", PeerRsi},
    {"KDJ", "STOCH", PeerStoch}, {"BOLL", "BBANDS", PeerBbands},
};

std::vector<std::pair<std::string, std::vector<double>>>& Ratios() {
  static std::vector<std::pair<std::string, std::vector<double>>> ratios;
  return ratios;
}
std::vector<double>& RatiosOf(const std::string& name) {
  for (auto& [n, runs] : Ratios())
    if (n == name) return runs;
  return Ratios().emplace_back(name, std::vector<double>{}).second;
}

void Versus(benchmark::State& state, const Case& c) {
  bool failed = false;
  side_by_side::RunBatches(
      state, {"ours_us", kCallsPerBatch, 1.0, "talib_us", kCallsPerBatch, 1.0},
      [&] { failed |= !Ours(c.indicator); }, [&] { failed |= !c.theirs(); });
  if (failed) return state.SkipWithError("a computation failed");
  state.counters["ours_us"] = state.counters["ours_us"] / 1000.0;
  state.counters["talib_us"] = state.counters["talib_us"] / 1000.0;
  RatiosOf(std::string(c.indicator) + " vs " + c.peer).push_back(state.counters["ratio"]);
}

}  // namespace

int main(int argc, char** argv) {
  if (TA_Initialize() != TA_SUCCESS) {
    std::fprintf(stderr, "TA-Lib did not start\n");
    return 1;
  }
  LoadStandardIndicators();
  CFormulaFace().RegisterDataIO(NoData);
  B();
  for (const Case& c : kCases)
    benchmark::RegisterBenchmark((std::string("Indicator/") + c.indicator + "/5000").c_str(),
                                 Versus, c)
        ->Unit(benchmark::kMillisecond)
        ->Apply(side_by_side::Repetitions);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nours / TA-Lib over %d bars: lowest, median, highest of the repetitions\n", kBars);
  for (auto& [name, runs] : Ratios()) {
    const side_by_side::Spread s = side_by_side::SpreadOf(runs);
    std::printf("%-20s %.2f %.2f %.2f\n", name.c_str(), s.low, s.median, s.high);
  }
  TA_Shutdown();
  return 0;
}
