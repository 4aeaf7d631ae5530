// Trading speed without widgets: a request over loopback TLS until its
// reply is announced to the trading window (p50/p99), the communication
// thread's processor use while the link is idle, a 10,000-row order reply
// from receipt to the panel's rows, and sorting 10,000 rows by a numeric
// column.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <mutex>
#include <thread>

#include "order_reply.h"
#include "test_pki.h"
#include "trade/core/comm_thread.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/sock_library.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade/ui/rules/list_sort.h"
#include "trade/ui/rules/query_panels.h"
#include "trade_sim.h"

namespace {

using Clock = std::chrono::steady_clock;

// A logged-in link to an in-process trade simulator over TLS; every
// announcement to the trading window is timed as it is posted.
class Link {
 public:
  Link()
      : sinks_(STradeSinks{[this](HWND, UINT msg, WPARAM w, LPARAM) {
                             if (msg == WM_TRADE_REPLY) {
                               std::lock_guard<std::mutex> g(m_);
                               announced_.push_back({w, Clock::now()});
                               cv_.notify_all();
                             }
                             return TRUE;
                           },
                           [](const std::string&, UINT) { return IDOK; }, [](int) {}, nullptr}) {
    char dir[] = "/tmp/bench_trade_ui_XXXXXX";
    if (!mkdtemp(dir) || !GenerateTestPki(dir, "secret", &pki_)) return;
    if (!GetSockLibrary().IsLoaded() && GetSockLibrary().Load() != 0) return;
    char error[500] = "";
    if (GetSockLibrary().SockInit(1, pki_.caCert.c_str(), pki_.clientCert.c_str(),
                                  pki_.clientKey.c_str(), "secret", error, sizeof error) == 0)
      return;
    STradeSimOptions o;
    o.caFile = pki_.caCert;
    o.certFile = pki_.serverCert;
    o.keyFile = pki_.serverKey;
    o.log = false;
    sim_ = std::make_unique<CTradeSimServer>(o);
    const int port = sim_->Start(0);
    session_.SetNotify(nullptr, 0);
    session_.SetUserId("u01");
    session_.SetPasswordDigest(PasswordDigest("pass"));
    session_.SetMainWnd(reinterpret_cast<HWND>(0x1));
    conn_ = std::make_unique<CCommThread>(&session_);
    conn_->SetServer({"127.0.0.1", port});
    conn_->Start(0);
    const auto end = Clock::now() + std::chrono::seconds(20);
    while (session_.GetLoginResult() != 1 && Clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ready_ = session_.GetLoginResult() == 1;
  }
  ~Link() {
    conn_.reset();
    sim_.reset();
    std::system(("rm -rf " + pki_.dir).c_str());
  }
  bool Ready() const { return ready_; }
  CTradeSession& Session() { return session_; }
  CCommThread& Connection() { return *conn_; }

  // Sends a funds query and waits for its announcement; the time taken.
  double FundsRoundTripMs() {
    std::unique_lock<std::mutex> g(m_);
    announced_.clear();
    const auto start = Clock::now();
    g.unlock();
    session_.QueryFunds();
    g.lock();
    cv_.wait_for(g, std::chrono::seconds(5), [&] {
      return std::any_of(announced_.begin(), announced_.end(),
                         [](const auto& a) { return a.first == WM_TRADE_FUNDS; });
    });
    for (const auto& a : announced_)
      if (a.first == WM_TRADE_FUNDS)
        return std::chrono::duration<double, std::milli>(a.second - start).count();
    return 1e9;
  }

 private:
  ScopedTradeSinks sinks_;
  STestPki pki_;
  std::unique_ptr<CTradeSimServer> sim_;
  CTradeSession session_;
  std::unique_ptr<CCommThread> conn_;
  bool ready_ = false;
  std::mutex m_;
  std::condition_variable cv_;
  std::vector<std::pair<WPARAM, Clock::time_point>> announced_;
};

Link& TheLink() {
  static Link link;
  return link;
}

void BM_RequestToAnnouncement(benchmark::State& state) {
  Link& link = TheLink();
  if (!link.Ready()) {
    state.SkipWithError("no link to the simulator");
    return;
  }
  std::vector<double> ms;
  for (auto _ : state) ms.push_back(link.FundsRoundTripMs());
  std::sort(ms.begin(), ms.end());
  state.counters["p50_ms"] = ms[ms.size() / 2];
  state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
  state.counters["max_ms"] = ms.back();
}
BENCHMARK(BM_RequestToAnnouncement)->Iterations(500)->Unit(benchmark::kMillisecond);

// The processor time a thread has used, from the kernel's scheduler
// statistics (nanoseconds).
long long ThreadCpuNs(int tid) {
  std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/schedstat");
  long long ns = -1;
  in >> ns;
  return ns;
}

void BM_IdleCommunicationThreadCpu(benchmark::State& state) {
  Link& link = TheLink();
  if (!link.Ready()) {
    state.SkipWithError("no link to the simulator");
    return;
  }
  const int tid = link.Connection().GetThreadId();
  double percent = 0;
  for (auto _ : state) {
    const long long cpu0 = ThreadCpuNs(tid);
    const auto wall0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long long cpu1 = ThreadCpuNs(tid);
    const double wallNs = std::chrono::duration<double, std::nano>(Clock::now() - wall0).count();
    percent = 100.0 * static_cast<double>(cpu1 - cpu0) / wallNs;
    state.SetIterationTime(wallNs / 1e9);
  }
  state.counters["cpu_percent"] = percent;
}
BENCHMARK(BM_IdleCommunicationThreadCpu)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_OrderReplyToPanelRows(benchmark::State& state) {
  ScopedTradeSinks sinks(STradeSinks{[](HWND, UINT, WPARAM, LPARAM) { return TRUE; },
                                     [](const std::string&, UINT) { return IDOK; }, [](int) {},
                                     [](const char*, int) {}});
  const std::string reply = OrderReply(10000);
  CTradeSession session;
  session.SetMainWnd(reinterpret_cast<HWND>(0x1));
  for (auto _ : state) {
    session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
    CQueryPanelModel panel(EQueryPanel::kOrders, 6, session);
    panel.OnPanelMessage(WM_TRADE_ORDERS);
    benchmark::DoNotOptimize(panel.Table().rows.size());
  }
}
BENCHMARK(BM_OrderReplyToPanelRows)->Unit(benchmark::kMillisecond);

void BM_SortRowsByNumericColumn(benchmark::State& state) {
  std::vector<PanelRow> rows;
  for (int i = 0; i < 10000; ++i)
    rows.push_back({"A", std::to_string((i * 7919) % 100003), std::to_string(i % 977) + ".50"});
  const int column = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<PanelRow> copy = rows;
    SortRows(copy, column, true);
    benchmark::DoNotOptimize(copy.front());
  }
}
// Column 1 holds digits (compared by value), column 2 prices (as text).
BENCHMARK(BM_SortRowsByNumericColumn)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
