// Ours beside a peer (another library, a bare mechanism, the physical
// limit) in the same process, interleaved. Absolute times on this machine
// move by up to 2x between runs; both sides of one run meet the same load,
// so the ratio of a run is what can be compared, and repetitions show its
// spread. Ratios are ours over the peer, time over time: lower is better.
//
// Two shapes:
// - RunBatches: contenders that take microseconds, timed in alternating
//   batches inside every benchmark iteration; counters per item and the
//   ratio, with Repetitions for the spread.
// - CompareRuns: contenders whose one run is a whole measurement (a burst
//   timed end to end, a median of round trips); several runs, alternating,
//   each pair printed, counters of the medians and the ratio.
// Alternation and SpreadOf serve benchmarks that time their own way.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "smoke.h"

namespace side_by_side {

// Runs a then b, or b then a: the order flips on every call, so neither
// side always meets the state the other leaves behind.
class Alternation {
 public:
  template <class A, class B>
  void Run(A&& a, B&& b) {
    if (aFirst_) {
      a();
      b();
    } else {
      b();
      a();
    }
    aFirst_ = !aFirst_;
  }

 private:
  bool aFirst_ = true;
};

// Lowest, median and highest of a set of runs.
struct Spread {
  double low = 0, median = 0, high = 0;
};

inline Spread SpreadOf(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

struct BatchPlan {
  std::string oursName;   // counter of the first contender, ns per item
  int oursRuns;           // calls per batch
  double oursItems;       // items per call
  std::string otherName;  // counter of the second contender, ns per item
  int otherRuns;
  double otherItems;
};

template <class Ours, class Other>
void RunBatches(benchmark::State& state, const BatchPlan& plan, Ours&& ours, Other&& other) {
  using Clock = std::chrono::steady_clock;
  auto timeBatch = [](auto& run, int calls) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) run();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  };
  double oursNs = 0, otherNs = 0;
  Alternation order;
  for (auto _ : state) {
    order.Run([&] { oursNs += timeBatch(ours, plan.oursRuns); },
              [&] { otherNs += timeBatch(other, plan.otherRuns); });
  }
  const double n = static_cast<double>(state.iterations());
  const double oursPerItem = oursNs / (n * plan.oursRuns * plan.oursItems);
  const double otherPerItem = otherNs / (n * plan.otherRuns * plan.otherItems);
  state.counters[plan.oursName] = oursPerItem;
  state.counters[plan.otherName] = otherPerItem;
  state.counters["ratio"] = oursPerItem / otherPerItem;
}

// Repetitions with the spread of every counter, the ratio included.
inline void Repetitions(benchmark::internal::Benchmark* b) {
  b->Repetitions(bench_smoke::Scaled(6, 1))
      ->ComputeStatistics("min", [](const std::vector<double>& v) { return SpreadOf(v).low; })
      ->ComputeStatistics("max", [](const std::vector<double>& v) { return SpreadOf(v).high; });
}

struct ComparePlan {
  const char* title;
  const char* unit;  // of the shown values
  int runs;
  // What a run returns (a time) as it is shown and counted; the ratio is
  // always of the values returned.
  std::function<double(double)> shown = [](double v) { return v; };
};

// Runs ours and the peer plan.runs times, alternating, and prints every
// pair (shown) and the spread of ours / peer (lowest, quartiles, median,
// highest). Counters: ours and peer (the medians, shown), ratio (the
// median), ratio_min and ratio_max. Call inside a
// benchmark's single iteration. Many short runs rather than a few long
// ones: one lucky or preempted run then moves the median little.
template <class Ours, class Peer>
void CompareRuns(benchmark::State& state, const ComparePlan& plan, Ours&& ours, Peer&& peer) {
  std::vector<double> mine, theirs, ratios;
  Alternation order;
  const int runs = bench_smoke::Scaled(plan.runs, std::min(plan.runs, 2));
  for (int run = 0; run < runs; ++run) {
    double a = 0, b = 0;
    order.Run([&] { a = ours(); }, [&] { b = peer(); });
    mine.push_back(a);
    theirs.push_back(b);
    ratios.push_back(a / b);
  }
  std::printf("%s, %d runs (ours / peer %s):", plan.title, runs, plan.unit);
  for (int i = 0; i < runs; ++i)
    std::printf(" %.2f/%.2f", plan.shown(mine[i]), plan.shown(theirs[i]));
  const Spread ratio = SpreadOf(ratios);
  std::sort(ratios.begin(), ratios.end());
  const size_t quarter = ratios.size() / 4;
  std::printf("\n  ratio ours/peer (time): min %.2f q1 %.2f median %.2f q3 %.2f max %.2f\n",
              ratio.low, ratios[quarter], ratio.median, ratios[ratios.size() - 1 - quarter],
              ratio.high);
  std::fflush(stdout);
  state.counters["ours"] = plan.shown(SpreadOf(mine).median);
  state.counters["peer"] = plan.shown(SpreadOf(theirs).median);
  state.counters["ratio_min"] = ratio.low;
  state.counters["ratio"] = ratio.median;
  state.counters["ratio_max"] = ratio.high;
}

}  // namespace side_by_side
