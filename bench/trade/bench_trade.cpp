// Trade codec speed: a long list reply into the store, building a request,
// and parsing a typical order reply side by side with QuickFIX parsing the
// equivalent FIX execution report.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "trade/core/trade_codec.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "quickfix_parse.h"

namespace {

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

void BM_ListReplyIntoStore(benchmark::State& state) {
  ScopedTradeSinks sinks(STradeSinks{[](HWND, UINT, WPARAM, LPARAM) { return TRUE; },
                                     [](const std::string&, UINT) { return IDOK; }, [](int) {},
                                     [](const char*, int) {}});
  CTradeSession session;
  session.SetMainWnd(reinterpret_cast<HWND>(0x1));
  const std::string reply = OrderListReply(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
    benchmark::ClobberMemory();
  }
  if (session.GetOrders().size() != static_cast<size_t>(state.range(0)))
    state.SkipWithError("the store did not get every record");
  state.SetComplexityN(state.range(0));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_ListReplyIntoStore)
    ->RangeMultiplier(2)
    ->Range(1250, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_BuildNineFieldRequest(benchmark::State& state) {
  const std::string digest(40, 'a');
  for (auto _ : state) {
    TagFieldList body;
    AddStringField(body, 1, "u0001", "a");
    AddStringField(body, 9310, "1", "b");
    AddStringField(body, 9311, "5000.00", "c");
    AddStringField(body, 9309, "6222000011112222", "d");
    AddStringField(body, 9415, digest, "e");
    AddTextField(body, 150, "0", "f");
    AddStringField(body, 8107, "13900000000", "g");
    AddStringField(body, 8108, "110101199001011234", "h");
    AddStringField(body, 9416, "", "i");
    auto m = BuildTradeMessage(0, "2017", 0, false, &body, 2, "SESSION01");
    benchmark::DoNotOptimize(m->Data());
  }
}
BENCHMARK(BM_BuildNineFieldRequest);

// The reply to an order: status 1 and the order number, with the session
// and an empty return info, as the trade server sends it.
std::string OrderReply() {
  TagFieldList body;
  AddTextField(body, 9001, "0");
  AddTextField(body, 9002, "");
  AddTextField(body, 150, "1");
  AddTextField(body, 37, "20240520000123");
  auto m = BuildTradeMessage(0, "1012", 0, false, &body, 2, "SESSION01");
  return std::string(m->Data(), m->Size());
}

// The same ten fields as a FIX 4.2 execution report.
std::string FixOrderReply() {
  const std::string body = std::string("35=8\x01") + "34=0\x01" + "49=SESSION01\x01" +
                           "39=0\x01" + "58=\x01" + "150=1\x01" + "37=20240520000123\x01";
  std::string head = "8=FIX.4.2\x01" "9=" + std::to_string(body.size()) + "\x01";
  std::string m = head + body;
  unsigned sum = 0;
  for (unsigned char c : m) sum += c;
  char trailer[16];
  std::snprintf(trailer, sizeof trailer, "10=%03u\x01", sum % 256);
  return m + trailer;
}

void BM_ParseOrderReply(benchmark::State& state) {
  const std::string reply = OrderReply();
  std::string error;
  for (auto _ : state) {
    TagMap map;
    if (!VerifyTradeChecksum(reply.data(), static_cast<int>(reply.size())) ||
        ParseTradeMessage(reply.data(), static_cast<int>(reply.size()), map, nullptr, nullptr,
                          nullptr, nullptr, error) != 0)
      state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(GetFieldText(map, 37).data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_ParseOrderReply);

void BM_QuickFixParseOrderReply(benchmark::State& state) {
  const std::string reply = FixOrderReply();
  std::string orderId;
  for (auto _ : state) {
    // Checks body length and checksum too, as our parse checks the trailer.
    if (!QuickFixParse(reply, &orderId)) state.SkipWithError("QuickFIX refused the message");
    benchmark::DoNotOptimize(orderId.data());
  }
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_QuickFixParseOrderReply);

}  // namespace

BENCHMARK_MAIN();
