// Throughput of the quote link on loopback, from the simulator to the
// client window's handler, and of the send queue.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstring>
#include <memory>
#include <string>

#include "link/client_data_source.h"
#include "link/link_messages.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/signal_buffer.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "sim/market/market_table_builder.h"
#include "sim/quote-server/quote_server.h"

using namespace quotelink;

namespace {

constexpr UINT kQuotePacket = 0x402;
constexpr uint16_t kBurstType = 0x0200;
constexpr int kBurstFrames = 20000;
constexpr size_t kBodySize = 200;

class CountingWindow : public platform::MsgTarget {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kQuotePacket) {
      ++packets;
      bytes += wParam;
      // Touch the body the way a reader of it would.
      last = ReadU16(reinterpret_cast<const char*>(lParam));
    } else if (message == WM_LINK_PROGRESS) {
      lastProgress = (int)(intptr_t)wParam;
    }
    return 0;
  }
  long packets = 0;
  size_t bytes = 0;
  uint16_t last = 0;
  int lastProgress = 0;
};

// About 1 MB of market table: one market of 10,900 items of 96 bytes.
std::string BigMarketTable() {
  sim::MarketTableBlock block;
  block.market = 4114;
  for (int i = 0; i < 10900; ++i) {
    sim::MarketTableItem item;
    item.name = "item" + std::to_string(i);
    item.code = 600000 + i;
    item.preClose = 10000 + (uint32_t)i;
    block.items.push_back(item);
  }
  return sim::BuildMarketTable(20261210, 2, {{570, 690}, {780, 900}}, {block});
}

struct Rig {
  Rig() {
    static int argc = 1;
    static char name[] = "bench_link";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    sim::QuoteServerOptions options;
    options.port = 0;
    options.walkIntervalMs = 0;
    server = std::make_unique<sim::QuoteServer>(options);
    // A burst of 200-byte replies written in one go.
    std::string body(kBodySize, 'q');
    WriteU16(&body[0], kBurstType);
    WriteU16(&body[2], 5);
    std::string frame = EncodeFrame(body.data(), body.size());
    std::string burst;
    for (int i = 0; i < kBurstFrames; ++i) burst += frame;
    server->RegisterHandler(kBurstType, [burst](sim::QuoteSession& s, const sim::ReceivedRequest&) {
      s.WriteRaw(burst);
    });
    // Every initial-data reply carries a newer version, so each is forwarded.
    table = BigMarketTable();
    server->RegisterHandler(PKT_INIT_DATA, [this](sim::QuoteSession& s, const sim::ReceivedRequest&) {
      WriteU32(&table[4], ++version);
      s.Reply(table);
    });
    server->Start();
    link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
    link.SetIPPortInfo("127.0.0.1", server->Port(), "bench", "bench");
    link.SetOnLine(client.GetSafeHwnd(), 0);
    platform::PumpUntil([this] { return client.lastProgress == 100; }, 10000);
  }
  ~Rig() { link.UnLink(); }

  platform::ScopedRecordingBoxes boxes;
  std::unique_ptr<sim::QuoteServer> server;
  std::string table;
  uint32_t version = 20261210;
  CountingWindow client;
  CClientDataSource link;
};

Rig& TheRig() {
  static Rig* rig = new Rig();
  return *rig;
}

void BM_FramesToClientWindow(benchmark::State& state) {
  Rig& rig = TheRig();
  ShortRequest request = BuildRequestHeader(kBurstType, 0, 5, 0);
  for (auto _ : state) {
    long target = rig.client.packets + kBurstFrames;
    rig.link.AskData(request.data(), (DWORD)request.size());
    if (!platform::PumpUntil([&] { return rig.client.packets >= target; }, 20000)) {
      state.SkipWithError("burst not delivered");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kBurstFrames);
  state.SetBytesProcessed(state.iterations() * kBurstFrames * (int64_t)kBodySize);
}
BENCHMARK(BM_FramesToClientWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InitialData1MB(benchmark::State& state) {
  Rig& rig = TheRig();
  ShortRequest request = BuildInitDataRequest();
  for (auto _ : state) {
    long target = rig.client.packets + 1;
    rig.link.AskData(request.data(), (DWORD)request.size());
    if (!platform::PumpUntil([&] { return rig.client.packets >= target; }, 20000)) {
      state.SkipWithError("initial data not delivered");
      break;
    }
  }
  state.counters["body_bytes"] = (double)rig.table.size();
}
BENCHMARK(BM_InitialData1MB)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SignalBufferMillionPutsAndGets(benchmark::State& state) {
  char record[22];
  std::memset(record, 7, sizeof record);
  for (auto _ : state) {
    SignalBuffer queue;
    for (int i = 0; i < 1000000; ++i) queue.Put(record, sizeof record, -1);
    char out[22];
    long got = 0;
    for (int i = 0; i < 1000000; ++i) got += queue.Get(out, sizeof out, -1);
    benchmark::DoNotOptimize(got);
  }
}
BENCHMARK(BM_SignalBufferMillionPutsAndGets)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
