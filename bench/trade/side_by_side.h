// Two contenders timed in alternating batches inside every benchmark
// iteration, so both meet the same machine load (absolute times here move
// by up to 2x between runs; the ratio of one run is what can be compared).
// Reports each contender's time per item and their ratio as counters; run
// with repetitions to see the spread.
#pragma once
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

struct SideBySideSpec {
  std::string oursName;   // counter of the first contender, ns per item
  int oursRuns;           // calls per batch
  double oursItems;       // items per call
  std::string otherName;  // counter of the second contender, ns per item
  int otherRuns;
  double otherItems;
};

template <class Ours, class Other>
void RunSideBySide(benchmark::State& state, const SideBySideSpec& spec, Ours&& ours,
                   Other&& other) {
  using Clock = std::chrono::steady_clock;
  auto timeBatch = [](auto& run, int calls) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) run();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  };
  double oursNs = 0, otherNs = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    if (oursFirst) {
      oursNs += timeBatch(ours, spec.oursRuns);
      otherNs += timeBatch(other, spec.otherRuns);
    } else {
      otherNs += timeBatch(other, spec.otherRuns);
      oursNs += timeBatch(ours, spec.oursRuns);
    }
    oursFirst = !oursFirst;
  }
  const double n = static_cast<double>(state.iterations());
  const double oursPerItem = oursNs / (n * spec.oursRuns * spec.oursItems);
  const double otherPerItem = otherNs / (n * spec.otherRuns * spec.otherItems);
  state.counters[spec.oursName] = oursPerItem;
  state.counters[spec.otherName] = otherPerItem;
  state.counters["ratio"] = oursPerItem / otherPerItem;
}

// Repetitions with the spread of every counter, the ratio included.
inline void SideBySideRepetitions(benchmark::internal::Benchmark* b) {
  b->Repetitions(6)
      ->ComputeStatistics(
          "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
      ->ComputeStatistics("max", [](const std::vector<double>& v) {
        return *std::max_element(v.begin(), v.end());
      });
}
