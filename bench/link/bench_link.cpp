// Throughput of the quote link on loopback, from the simulator to the
// client window's handler, beside the floor for it: the same burst from the
// same simulator read from a raw loopback socket and parsed on one thread,
// interleaved in one process. Also the 1 MB initial data and the send
// queue.
#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <sys/types.h>

#include <QCoreApplication>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "common/side_by_side.h"
#include "link/client_data_source.h"
#include "link/link_messages.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/signal_buffer.h"
#include "platform/msgbox.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "sim/market/market_table_builder.h"
#include "sim/quote-server/quote_server.h"

using namespace quotelink;
using Clock = std::chrono::steady_clock;

namespace {

using namespace side_by_side;

constexpr UINT kQuotePacket = 0x402;
constexpr uint16_t kBurstType = 0x0200;
// 208-byte frames; a burst long enough that the request's way to the
// simulator is a small part of its time, short enough (a few milliseconds)
// that many rounds fit, so the median ratio is not decided by one lucky or
// preempted round of either side.
constexpr int kBurstFrames = 20000;
constexpr size_t kBodySize = 200;
constexpr int kRuns = 41;

// What a client window does with each packet, the same for ours and the peer:
// count it and read its type.
struct PacketCount {
  void Take(const char* body, size_t length) {
    ++packets;
    bytes += length;
    last = ReadU16(body);
    if (packets == until) reached = Clock::now();
  }
  long packets = 0;
  size_t bytes = 0;
  uint16_t last = 0;
  long until = -1;  // the time the count reaches this is kept
  Clock::time_point reached;
};

class CountingWindow : public platform::MsgTarget {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kQuotePacket) {
      count.Take(reinterpret_cast<const char*>(lParam), wParam);
    } else if (message == WM_LINK_PROGRESS) {
      lastProgress = (int)(intptr_t)wParam;
    }
    return 0;
  }
  PacketCount count;
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
    auto burst = std::make_shared<std::string>();
    burst->reserve(frame.size() * kBurstFrames);
    for (int i = 0; i < kBurstFrames; ++i) *burst += frame;
    // Shared, not copied: the simulator copies a handler for every request.
    server->RegisterHandler(kBurstType, [burst](sim::QuoteSession& s, const sim::ReceivedRequest&) {
      s.WriteRaw(*burst);
    });
    // Every initial-data reply carries a newer version, so each is forwarded.
    table = BigMarketTable();
    server->RegisterHandler(PKT_INIT_DATA,
                            [this](sim::QuoteSession& s, const sim::ReceivedRequest&) {
                              WriteU32(&table[4], ++version);
                              s.Reply(table);
                            });
    server->Start();
    link.ChangeReceieveWnd(client.GetSafeHwnd(), kQuotePacket);
    link.SetIPPortInfo("127.0.0.1", server->Port(), "bench", "bench");
    link.SetOnLine(client.GetSafeHwnd(), 0);
    platform::PumpUntil([this] { return client.lastProgress == 100; }, 10000);
    raw = platform::ConnectTcp("127.0.0.1", server->Port(), 10000);
  }
  ~Rig() {
    link.UnLink();
    platform::CloseSocket(raw);
  }

  platform::ScopedRecordingBoxes boxes;
  std::unique_ptr<sim::QuoteServer> server;
  std::string table;
  uint32_t version = 20261210;
  CountingWindow client;
  CClientDataSource link;
  platform::SocketFd raw = platform::kInvalidSocket;  // the peer's own connection
};

Rig& TheRig() {
  static Rig* rig = new Rig();
  return *rig;
}

// Ours: seconds from the request until the client window has handled the
// burst's last packet; 0 when it did not arrive.
double OursBurst(Rig& rig) {
  PacketCount& count = rig.client.count;
  count.until = count.packets + kBurstFrames;
  ShortRequest request = BuildRequestHeader(kBurstType, 0, 5, 0);
  const auto start = Clock::now();
  rig.link.AskData(request.data(), (DWORD)request.size());
  if (!platform::PumpUntil([&] { return count.packets >= count.until; }, 20000)) return 0;
  return std::chrono::duration<double>(count.reached - start).count();
}

// The peer: the same request on a plain connection to the same simulator,
// the replies read into one buffer and parsed where they lie, on this
// thread; each body counted as the window counts it.
double RawSocketBurst(Rig& rig) {
  static char buffer[64 * 1024];
  PacketCount count;
  count.until = kBurstFrames;
  std::string request =
      EncodeFrame(BuildRequestHeader(kBurstType, 0, 5, 0).data(), kRequestHeaderSize);
  const auto start = Clock::now();
  if (!platform::SendAll(rig.raw, request.data(), request.size(), 10000)) return 0;
  size_t have = 0;
  while (count.packets < count.until) {
    const ssize_t got = recv(rig.raw, buffer + have, sizeof buffer - have, 0);
    if (got <= 0) return 0;
    have += (size_t)got;
    size_t at = 0;
    while (have - at >= kFrameHeaderSize) {
      const unsigned char* h = reinterpret_cast<const unsigned char*>(buffer + at);
      const uint32_t length =
          (uint32_t)h[0] << 24 | (uint32_t)h[1] << 16 | (uint32_t)h[2] << 8 | h[3];
      if (std::memcmp(h + 4, "\x0A\x0A\x0A\x0A", 4) != 0 ||
          length > sizeof buffer - kFrameHeaderSize)
        return 0;
      if (have - at - kFrameHeaderSize < length) break;
      count.Take(buffer + at + kFrameHeaderSize, length);
      at += kFrameHeaderSize + length;
    }
    std::memmove(buffer, buffer + at, have - at);
    have -= at;
  }
  return std::chrono::duration<double>(count.reached - start).count();
}

void BM_FramesToClientWindowVsRawSocket(benchmark::State& state) {
  Rig& rig = TheRig();
  if (rig.raw == platform::kInvalidSocket)
    return state.SkipWithError("no connection for the raw socket");
  bool lost = false;
  auto checked = [&](double seconds) {
    lost |= seconds <= 0;
    return seconds > 0 ? seconds : 1.0;
  };
  for (auto _ : state)
    CompareRuns(
        state,
        {"208-byte frames to the window's handler vs raw socket", "M frames/s", kRuns,
         [](double seconds) { return kBurstFrames / seconds / 1e6; }},
        [&] { return checked(OursBurst(rig)); }, [&] { return checked(RawSocketBurst(rig)); });
  if (lost) state.SkipWithError("a burst was not delivered");
}
BENCHMARK(BM_FramesToClientWindowVsRawSocket)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_InitialData1MB(benchmark::State& state) {
  Rig& rig = TheRig();
  ShortRequest request = BuildInitDataRequest();
  for (auto _ : state) {
    long target = rig.client.count.packets + 1;
    rig.link.AskData(request.data(), (DWORD)request.size());
    if (!platform::PumpUntil([&] { return rig.client.count.packets >= target; }, 20000)) {
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
