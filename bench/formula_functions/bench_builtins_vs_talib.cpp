// The window built-ins through CallBuiltin next to TA-Lib's functions for
// the same statistic, over the same price series, in the same process, at
// the lengths a chart computes (1,000 to 30,000 bars: every scroll
// recomputes the panes) and at 1,000,000 bars. Each iteration runs ours and
// TA-Lib back to back (the order alternates), so both see the same machine
// load; short series are called many times per timing, so a run times
// about as many bars at every length. The counters give the time per bar of
// each and the ratio ours / TA-Lib. TA-Lib is timed on the
// float series itself (its TA_S_ functions, ratio) and on a double copy
// (its usual entry points, ratio_double). Where TA-Lib writes fewer values
// than we do (EMA: it starts after N-1 bars, we from the first), it is also
// timed given those lead bars, so both write as many values (ratio_equal;
// elsewhere that is the ratio itself). The table printed at the end gives
// the lowest, median and highest ratio of the repetitions per call, by call
// and on equal output. HHV and LLV run on a rising series too (its newest
// bar is always the highest).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include <ta_libc.h>

#include "common/side_by_side.h"
#include "formula/functions/builtin_functions.h"
#include "price_series.h"

namespace {

constexpr int kBars = 1000000;  // the longest series; shorter ones are its first bars
constexpr int kLengths[] = {1000, 5000, 30000, kBars};
constexpr int kRepetitions = 5;
// Bars timed together: a short series is called this many bars' worth of
// times in a row, so the clock's own cost stays small beside it.
constexpr int kBarsPerTiming = 200000;

constexpr int kLongestLead = 999;  // the lead bars TA-Lib's EMA(1000) needs

struct Data {
  std::vector<float> x, rising;
  std::vector<double> xd, risingd;
  std::vector<float> ours;
  std::vector<double> theirs;
  Data()
      : x(RandomWalkPrices(kBars + kLongestLead, 7)),
        rising(x.size()),
        xd(x.begin(), x.end()),
        ours(kBars),
        theirs(kBars + kLongestLead) {
    for (size_t i = 0; i < rising.size(); ++i) rising[i] = 10.0f + 0.01f * static_cast<float>(i);
    risingd.assign(rising.begin(), rising.end());
  }
};
Data& D() {
  static Data data;
  return data;
}

using FloatPeer = TA_RetCode (*)(int, int, const float*, int, int*, int*, double*);
using DoublePeer = TA_RetCode (*)(int, int, const double*, int, int*, int*, double*);

// TA-Lib's standard deviation takes a deviation factor; 1 gives STD's value.
TA_RetCode StdDevFloat(int s, int e, const float* x, int N, int* b, int* c, double* r) {
  return TA_S_STDDEV(s, e, x, N, 1.0, b, c, r);
}
TA_RetCode StdDevDouble(int s, int e, const double* x, int N, int* b, int* c, double* r) {
  return TA_STDDEV(s, e, x, N, 1.0, b, c, r);
}

struct Pair {
  const char* builtin;
  FloatPeer peerFloat;
  DoublePeer peerDouble;
  // Bars we write beyond TA-Lib's count for a window (given to TA-Lib as
  // lead bars for the equal-output timing).
  int (*extraValues)(int window);
};

int None(int) { return 0; }
int EmaLead(int window) { return window - 1; }

const Pair kPairs[] = {
    {"MA", TA_S_SMA, TA_SMA, None},           {"EMA", TA_S_EMA, TA_EMA, EmaLead},
    {"STD", StdDevFloat, StdDevDouble, None}, {"HHV", TA_S_MAX, TA_MAX, None},
    {"LLV", TA_S_MIN, TA_MIN, None},          {"SUM", TA_S_SUM, TA_SUM, None},
};

// Per call in the order first run: ours / TA-Lib float, ours / TA-Lib double
// and ours / TA-Lib float on equal output, of every repetition.
struct RatioRun {
  double byFloat, byDouble, equal;
};
using RatioRuns = std::vector<RatioRun>;
std::vector<std::pair<std::string, RatioRuns>>& Ratios() {
  static std::vector<std::pair<std::string, RatioRuns>> ratios;
  return ratios;
}
RatioRuns& RatiosOf(const std::string& call) {
  for (auto& [name, runs] : Ratios())
    if (name == call) return runs;
  return Ratios().emplace_back(call, RatioRuns{}).second;
}

void Versus(benchmark::State& state, const Pair& pair, int window, int bars, bool rising) {
  Data& d = D();
  const int calls = std::max(1, kBarsPerTiming / bars);
  const SFunctionItem* item = formula::FindBuiltin(pair.builtin);
  const float* x = rising ? d.rising.data() : d.x.data();
  const double* xd = rising ? d.risingd.data() : d.xd.data();
  // the whole series has no lead bars to give
  const int lead = std::min(pair.extraValues(window), static_cast<int>(d.x.size()) - bars);
  SRegPar args[2] = {{REG_SERIES, 0.0f, const_cast<float*>(x), nullptr},
                     {REG_NUMBER, static_cast<float>(window), nullptr, nullptr}};
  using Clock = std::chrono::steady_clock;
  Clock::duration ours{}, peerFloat{}, peerDouble{}, peerEqual{};
  bool failed = false;
  auto runOurs = [&] {
    const Clock::time_point t = Clock::now();
    for (int c = 0; c < calls; ++c) {
      formula::CallBuiltin(*item, args, 2, d.ours.data(), bars, nullptr);
      benchmark::ClobberMemory();
    }
    ours += Clock::now() - t;
  };
  auto runPeers = [&] {
    int begin = 0, count = 0;
    Clock::time_point t = Clock::now();
    for (int c = 0; c < calls; ++c) {
      failed |=
          pair.peerFloat(0, bars - 1, x, window, &begin, &count, d.theirs.data()) != TA_SUCCESS;
      benchmark::ClobberMemory();
    }
    peerFloat += Clock::now() - t;
    t = Clock::now();
    for (int c = 0; c < calls; ++c) {
      failed |=
          pair.peerDouble(0, bars - 1, xd, window, &begin, &count, d.theirs.data()) != TA_SUCCESS;
      benchmark::ClobberMemory();
    }
    peerDouble += Clock::now() - t;
    if (lead == 0) return;
    t = Clock::now();
    for (int c = 0; c < calls; ++c) {
      failed |= pair.peerFloat(0, bars + lead - 1, x, window, &begin, &count, d.theirs.data()) !=
                TA_SUCCESS;
      failed |= lead == pair.extraValues(window) && count != bars;
      benchmark::ClobberMemory();
    }
    peerEqual += Clock::now() - t;
  };
  side_by_side::Alternation order;
  for (auto _ : state) order.Run(runOurs, runPeers);
  if (failed) return state.SkipWithError("TA-Lib refused the call or wrote another count");
  if (lead == 0) peerEqual = peerFloat;
  auto perBar = [&](Clock::duration total) {
    return std::chrono::duration<double, std::nano>(total).count() /
           (static_cast<double>(state.iterations()) * calls * bars);
  };
  state.counters["ours_ns"] = perBar(ours);
  state.counters["talib_ns"] = perBar(peerFloat);
  state.counters["talib_double_ns"] = perBar(peerDouble);
  state.counters["ratio"] = perBar(ours) / perBar(peerFloat);
  state.counters["ratio_double"] = perBar(ours) / perBar(peerDouble);
  state.counters["ratio_equal"] = perBar(ours) / perBar(peerEqual);
  RatiosOf(std::string(pair.builtin) + "(X," + std::to_string(window) + ") " +
           std::to_string(bars) + (rising ? " rising" : ""))
      .push_back({perBar(ours) / perBar(peerFloat), perBar(ours) / perBar(peerDouble),
                  perBar(ours) / perBar(peerEqual)});
}

}  // namespace

int main(int argc, char** argv) {
  if (TA_Initialize() != TA_SUCCESS) {
    std::fprintf(stderr, "TA-Lib did not start\n");
    return 1;
  }
  D();
  auto add = [](const Pair& pair, int window, int bars, bool rising) {
    benchmark::RegisterBenchmark(
        (std::string("Versus/") + pair.builtin + "/" + std::to_string(window) + "/" +
         std::to_string(bars) + (rising ? "/rising" : ""))
            .c_str(),
        Versus, pair, window, bars, rising)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(30)
        ->Repetitions(kRepetitions);
  };
  for (const Pair& pair : kPairs)
    for (int window : {20, 1000})
      for (int bars : kLengths) add(pair, window, bars, false);
  for (const Pair& pair : kPairs)
    if (std::string(pair.builtin) == "HHV" || std::string(pair.builtin) == "LLV")
      for (int window : {20, 1000})
        for (int bars : {1000, 5000}) add(pair, window, bars, true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nours / TA-Lib: lowest, median, highest of the repetitions\n");
  std::printf("%-29s %-20s %-20s %-20s\n", "call, bars", "float input", "double input",
              "equal output, float");
  for (auto& [call, runs] : Ratios()) {
    std::vector<double> floats, doubles, equal;
    for (const RatioRun& run : runs) {
      floats.push_back(run.byFloat);
      doubles.push_back(run.byDouble);
      equal.push_back(run.equal);
    }
    auto range = [](const std::vector<double>& v) {
      const side_by_side::Spread spread = side_by_side::SpreadOf(v);
      char text[32];
      std::snprintf(text, sizeof text, "%.2f %.2f %.2f", spread.low, spread.median, spread.high);
      return std::string(text);
    };
    std::printf("%-29s %-20s %-20s %-20s\n", call.c_str(), range(floats).c_str(),
                range(doubles).c_str(), range(equal).c_str());
  }
  TA_Shutdown();
  return 0;
}
