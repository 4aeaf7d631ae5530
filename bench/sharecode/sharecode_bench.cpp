// Frame checksum throughput (target: at least 1 GB/s) and the cost of one
// monotonic clock read (target: under 100 ns).
#include <benchmark/benchmark.h>

#include <vector>

#include "sharecode/checksum.h"
#include "sharecode/clock.h"

static void BM_CalcFrameChecksum(benchmark::State& state) {
  std::vector<unsigned char> data((size_t)state.range(0));
  for (size_t i = 0; i < data.size(); ++i) data[i] = (unsigned char)(i * 131 + 7);
  unsigned char out[4];
  for (auto _ : state) {
    CalcFrameChecksum(out, data.data(), (unsigned)data.size());
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed((int64_t)state.iterations() * state.range(0));
}
BENCHMARK(BM_CalcFrameChecksum)->Arg(64)->Arg(4096)->Arg(1 << 20);

static void BM_ClockNow(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ClockNow());
}
BENCHMARK(BM_ClockNow);
BENCHMARK(BM_ClockNow)->Threads(4);

BENCHMARK_MAIN();
