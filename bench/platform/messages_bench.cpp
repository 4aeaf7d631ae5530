// Cross-thread message costs: how many posts per second the user-interface
// thread drains, and the round trip of a worker's send.
#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/window.h"

namespace {

class Counter : public platform::MsgTarget {
 public:
  std::atomic<long> count{0};
  LRESULT WindowProc(UINT, WPARAM w, LPARAM) override {
    count.fetch_add(1, std::memory_order_relaxed);
    return (LRESULT)w;
  }
};

void BM_PostFromWorkerDrained(benchmark::State& state) {
  Counter target;
  HWND h = target.GetSafeHwnd();
  const long n = state.range(0);
  for (auto _ : state) {
    target.count = 0;
    std::thread worker([&] {
      for (long i = 0; i < n; ++i) PostMessage(h, WM_USER, (WPARAM)i, 0);
    });
    platform::PumpUntil([&] { return target.count.load() == n; }, 60000);
    worker.join();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PostFromWorkerDrained)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Median round trip of a send from a worker while the UI thread runs its loop.
void BM_SendRoundTripFromWorker(benchmark::State& state) {
  Counter target;
  HWND h = target.GetSafeHwnd();
  for (auto _ : state) {
    std::vector<double> micros;
    micros.reserve(20000);
    std::atomic<bool> done{false};
    std::thread worker([&] {
      for (int i = 0; i < 20000; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        SendMessage(h, WM_USER, 1, 0);
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
      }
      done = true;
    });
    platform::PumpUntil([&] { return done.load(); }, 60000);
    worker.join();
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
  }
}
BENCHMARK(BM_SendRoundTripFromWorker)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
