// The window built-ins through CallBuiltin next to TA-Lib's functions for
// the same statistic, over the same price series, in the same process, at
// the lengths a chart computes (1,000 to 30,000 bars: every scroll
// recomputes the panes) and at 1,000,000 bars. Each iteration runs ours and
// TA-Lib back to back (the order alternates), so both see the same machine
// load; short series are called many times per timing, so a run times
// about as many bars at every length. The counters give the time per bar of
// each and the ratio ours / TA-Lib. TA-Lib is timed on the
// float series itself (its TA_S_ functions, ratio) and on a double copy
// (its usual entry points, ratio_double). The table printed at the end gives
// the lowest, median and highest ratio of the repetitions per call.
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

struct Data {
  std::vector<float> x;
  std::vector<double> xd;
  std::vector<float> ours;
  std::vector<double> theirs;
  Data() : x(RandomWalkPrices(kBars, 7)), xd(x.begin(), x.end()), ours(kBars), theirs(kBars) {}
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
};

const Pair kPairs[] = {
    {"MA", TA_S_SMA, TA_SMA},   {"EMA", TA_S_EMA, TA_EMA}, {"STD", StdDevFloat, StdDevDouble},
    {"HHV", TA_S_MAX, TA_MAX},  {"LLV", TA_S_MIN, TA_MIN}, {"SUM", TA_S_SUM, TA_SUM},
};

// Per call in the order first run: (ours / TA-Lib float, ours / TA-Lib double)
// of every repetition.
using RatioRuns = std::vector<std::pair<double, double>>;
std::vector<std::pair<std::string, RatioRuns>>& Ratios() {
  static std::vector<std::pair<std::string, RatioRuns>> ratios;
  return ratios;
}
RatioRuns& RatiosOf(const std::string& call) {
  for (auto& [name, runs] : Ratios())
    if (name == call) return runs;
  return Ratios().emplace_back(call, RatioRuns{}).second;
}

void Versus(benchmark::State& state, const Pair& pair, int window, int bars) {
  Data& d = D();
  const int calls = std::max(1, kBarsPerTiming / bars);
  const SFunctionItem* item = formula::FindBuiltin(pair.builtin);
  SRegPar args[2] = {{REG_SERIES, 0.0f, d.x.data(), nullptr}, {REG_NUMBER, static_cast<float>(window), nullptr, nullptr}};
  using Clock = std::chrono::steady_clock;
  Clock::duration ours{}, peerFloat{}, peerDouble{};
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
      failed |= pair.peerFloat(0, bars - 1, d.x.data(), window, &begin, &count, d.theirs.data()) != TA_SUCCESS;
      benchmark::ClobberMemory();
    }
    peerFloat += Clock::now() - t;
    t = Clock::now();
    for (int c = 0; c < calls; ++c) {
      failed |= pair.peerDouble(0, bars - 1, d.xd.data(), window, &begin, &count, d.theirs.data()) != TA_SUCCESS;
      benchmark::ClobberMemory();
    }
    peerDouble += Clock::now() - t;
  };
  side_by_side::Alternation order;
  for (auto _ : state) order.Run(runOurs, runPeers);
  if (failed) return state.SkipWithError("TA-Lib refused the call");
  auto perBar = [&](Clock::duration total) {
    return std::chrono::duration<double, std::nano>(total).count() /
           (static_cast<double>(state.iterations()) * calls * bars);
  };
  state.counters["ours_ns"] = perBar(ours);
  state.counters["talib_ns"] = perBar(peerFloat);
  state.counters["talib_double_ns"] = perBar(peerDouble);
  state.counters["ratio"] = perBar(ours) / perBar(peerFloat);
  state.counters["ratio_double"] = perBar(ours) / perBar(peerDouble);
  RatiosOf(std::string(pair.builtin) + "(X," + std::to_string(window) + ") " + std::to_string(bars))
      .emplace_back(
      perBar(ours) / perBar(peerFloat), perBar(ours) / perBar(peerDouble));
}

}  // namespace

int main(int argc, char** argv) {
  if (TA_Initialize() != TA_SUCCESS) {
    std::fprintf(stderr, "TA-Lib did not start\n");
    return 1;
  }
  D();
  for (const Pair& pair : kPairs)
    for (int window : {20, 1000})
      for (int bars : kLengths)
        benchmark::RegisterBenchmark((std::string("Versus/") + pair.builtin + "/" +
                                      std::to_string(window) + "/" + std::to_string(bars)).c_str(),
                                     Versus, pair, window, bars)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(30)
            ->Repetitions(kRepetitions);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  std::printf("\nours / TA-Lib: lowest, median, highest of the repetitions\n");
  std::printf("%-22s %-20s %-20s\n", "call, bars", "float input", "double input");
  for (auto& [call, runs] : Ratios()) {
    std::vector<double> floats, doubles;
    for (const auto& [f, d] : runs) {
      floats.push_back(f);
      doubles.push_back(d);
    }
    auto range = [](const std::vector<double>& v) {
      const side_by_side::Spread spread = side_by_side::SpreadOf(v);
      char text[32];
      std::snprintf(text, sizeof text, "%.2f %.2f %.2f", spread.low, spread.median, spread.high);
      return std::string(text);
    };
    std::printf("%-22s %-20s %-20s\n", call.c_str(), range(floats).c_str(), range(doubles).c_str());
  }
  TA_Shutdown();
  return 0;
}
