// A list reply into the store: time per record of the longest reply a list
// takes whole (kMaxListRows records) beside a 1,000-record one, interleaved
// in one process. The ratio counter (large over small) is 1 when the cost
// per record does not grow with the size of the reply. And single 100,000-record replies timed one by one:
// the slowest beside the median, as a user waits for each.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/side_by_side.h"
#include "trade/core/list_rows.h"
#include "trade/core/trade_codec.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"

namespace {

using namespace side_by_side;

std::string OrderListReply(int records) {
  TagFieldList body;
  AddTextField(body, 9001, "0");
  AddTextField(body, 9002, "");
  AddIntField(body, 9003, records);
  for (int i = 0; i < records; ++i) {
    AddTextField(body, 48, "600001");
    AddTextField(body, 40, "0B");
    AddTextField(body, 44, "12.50");
    AddIntField(body, 132, 100 + i);
    AddTextField(body, 9402, "\xC8\xC9\xB3\xBD\xC1\xFA\xC4\xEA\xD3\xCA\xC6\xB1");
    AddTextField(body, 150, "2");
    AddTextField(body, 32, "100");
    AddTextField(body, 9210, "0");
    AddIntField(body, 37, 100000 + i);
    AddTextField(body, 9205, "10:00:00");
  }
  auto m = BuildTradeMessage(0, "1032", 0, false, &body, 2, "SESSION01");
  return std::string(m->Data(), m->Size());
}

void BM_ListReplyPerRecord_Longest_vs_1k(benchmark::State& state) {
  ScopedTradeSinks sinks(STradeSinks{[](HWND, UINT, WPARAM, LPARAM) { return TRUE; },
                                     [](const std::string&, UINT) { return IDOK; }, [](int) {},
                                     [](const char*, int) {}});
  // A longer reply is cut to this many rows: its records beyond them cost
  // no row, and per record it would look cheaper than it is.
  constexpr int kLarge = static_cast<int>(kMaxListRows), kSmall = 1000;
  const std::string large = OrderListReply(kLarge);
  const std::string small = OrderListReply(kSmall);
  // Each list lives in its own store, as a session receives one size of
  // reply after another of the same size.
  CTradeSession largeStore, smallStore;
  largeStore.SetMainWnd(reinterpret_cast<HWND>(0x1));
  smallStore.SetMainWnd(reinterpret_cast<HWND>(0x1));
  RunBatches(
      state, {"per_record_longest_ns", 1, kLarge, "per_record_1k_ns", kLarge / kSmall, kSmall},
      [&] {
        largeStore.DispatchReply(large.data(), static_cast<int>(large.size()));
        benchmark::ClobberMemory();
      },
      [&] {
        smallStore.DispatchReply(small.data(), static_cast<int>(small.size()));
        benchmark::ClobberMemory();
      });
  bool cut = true;
  if (largeStore.GetOrders(&cut).size() != kLarge || cut || smallStore.GetOrders().size() != kSmall)
    state.SkipWithError("the store did not get every record");
}
BENCHMARK(BM_ListReplyPerRecord_Longest_vs_1k)->Unit(benchmark::kMillisecond)->Apply(Repetitions);

// Single 100,000-record replies into one store, each timed alone, with a
// 1,000-record reply into another store between them (a session receives
// other replies meanwhile). The first two write fresh memory (the list,
// then its spare) and are shown apart; the twenty after them give the
// counters: the median and the slowest reply, and slowest over median.
void BM_SingleListReplies100k(benchmark::State& state) {
  ScopedTradeSinks sinks(STradeSinks{[](HWND, UINT, WPARAM, LPARAM) { return TRUE; },
                                     [](const std::string&, UINT) { return IDOK; }, [](int) {},
                                     [](const char*, int) {}});
  constexpr int kFresh = 2, kReplies = 20;
  const std::string large = OrderListReply(100000);
  const std::string small = OrderListReply(1000);
  CTradeSession largeStore, smallStore;
  largeStore.SetMainWnd(reinterpret_cast<HWND>(0x1));
  smallStore.SetMainWnd(reinterpret_cast<HWND>(0x1));
  std::vector<double> ms;
  for (auto _ : state) {
    for (int i = 0; i < kFresh + kReplies; ++i) {
      const auto start = std::chrono::steady_clock::now();
      largeStore.DispatchReply(large.data(), static_cast<int>(large.size()));
      benchmark::ClobberMemory();
      ms.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
      smallStore.DispatchReply(small.data(), static_cast<int>(small.size()));
    }
  }
  const Spread spread = SpreadOf(std::vector<double>(ms.begin() + kFresh, ms.end()));
  std::printf("single 100k-record replies (ms): into fresh memory %.1f %.1f; then", ms[0], ms[1]);
  for (size_t i = kFresh; i < ms.size(); ++i) std::printf(" %.1f", ms[i]);
  std::printf(
      "\n  lowest %.1f median %.1f slowest %.1f (slowest / median %.2f; first / median %.2f)\n",
      spread.low, spread.median, spread.high, spread.high / spread.median, ms[0] / spread.median);
  std::fflush(stdout);
  state.counters["median_ms"] = spread.median;
  state.counters["slowest_ms"] = spread.high;
  state.counters["slowest_over_median"] = spread.high / spread.median;
  state.counters["first_over_median"] = ms[0] / spread.median;
}
BENCHMARK(BM_SingleListReplies100k)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
