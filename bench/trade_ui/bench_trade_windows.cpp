// Speed of the trading window's colour list where it counts: a panel
// refilling its list with 10,000 rows on a reply, up to the repainted list
// (target under 100 ms offscreen; the first fill of a new panel's empty
// list is measured too), and sorting those rows by a numeric column after a
// heading click (target under 50 ms). And the whole way of a 10,000-row
// order reply through the trading window: received by the session, parsed,
// announced to the main dialog, relayed to today's orders panel and shown
// in its list, repainted (target under 150 ms offscreen). And the longest
// list a message can carry, a million records, shown in a panel just
// opened (target under 2 s and a peak of the process under 300 MB).
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <QApplication>
#include <fstream>
#include <string>
#include <vector>

#include "common/smoke.h"
#include "order_reply.h"
#include "platform/window.h"
#include "platform/wnd.h"
#include "trade/core/trade_session.h"
#include "trade/ui/windows/color_list_ctrl.h"
#include "trade/ui/windows/main_dlg.h"
#include "trade/ui/windows/query_trade_bars.h"

namespace {

QApplication* App() {
  static int argc = 1;
  static char name[] = "bench_trade_windows";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return app;
}

// Rows as the order lists carry them: ten texts and the colour code.
std::vector<PanelRow> Rows(int count) {
  std::vector<PanelRow> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const int quantity = (i * 7919) % 100000;
    rows.push_back({"2026-12-10", "09:" + std::to_string(10 + i % 50) + ":00",
                    std::to_string(600000 + i % 900), "ITEM" + std::to_string(i % 900),
                    i % 2 ? "0S" : "0B", std::to_string(10 + i % 90) + ".25",
                    std::to_string(quantity), std::to_string(quantity / 2), "OK",
                    std::to_string(100000 + i), i % 2 ? "3" : "1"});
  }
  return rows;
}

// The application exists before any widget.
struct SApplicationFirst {
  SApplicationFirst() { App(); }
};

struct SListWindow : SApplicationFirst {
  CWndImpl<QWidget> host;
  CMyColorListCtrl list;
  SListWindow() {
    host.Create(nullptr, CRect(0, 0, 1000, 600), 0, WS_POPUP | WS_VISIBLE);
    list.Create(&host, CRect(0, 0, 1000, 600), 7014, WS_CHILD | WS_VISIBLE | LVS_REPORT);
    std::vector<SColumnSpec> columns;
    for (int c = 0; c < 10; ++c) columns.push_back({"列", 90});
    columns.push_back({"", 0});
    list.SetColumns(columns);
  }
  ~SListWindow() { host.DestroyWindow(); }
};

void BM_ColourListRefill10000(benchmark::State& state) {
  SListWindow w;
  const std::vector<PanelRow> rows = Rows(10000);
  for (auto _ : state) {
    w.list.SetRows(rows);
    w.list.GetWidget()->repaint();
  }
  state.counters["rows"] = w.list.GetItemCount();
}
BENCHMARK(BM_ColourListRefill10000)->Unit(benchmark::kMillisecond);

// The first fill of an empty list (a panel just made), emptied again.
void BM_ColourListFirstFill10000(benchmark::State& state) {
  SListWindow w;
  const std::vector<PanelRow> rows = Rows(10000);
  for (auto _ : state) {
    w.list.SetRows(rows);
    w.list.GetWidget()->repaint();
    state.PauseTiming();
    w.list.SetRows({});
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ColourListFirstFill10000)->Unit(benchmark::kMillisecond);

void BM_ColourListSortNumeric10000(benchmark::State& state) {
  SListWindow w;
  w.list.SetRows(Rows(10000));
  bool ascending = true;
  for (auto _ : state) {
    w.list.SortByColumn(6, ascending);  // the quantity column
    ascending = !ascending;
  }
}
BENCHMARK(BM_ColourListSortNumeric10000)->Unit(benchmark::kMillisecond);

// A host pane that knows nothing (the orders panel asks it nothing).
class CSilentHost : public ITradeHostPane {
 public:
  bool FindCode(int) override { return false; }
  void AskName(int) override {}
  void AskQuote(int) override {}
  uint32_t GetPreClose(int) override { return 0; }
  void Subscribe(const std::vector<std::string>&) override {}
  void Leave() override {}
};

// The trading window in a pane, over a session without a connection (the
// panels' requests go nowhere; the replies are handed to the session).
struct STradingWindow : SApplicationFirst {
  CTradeSession session;
  CSilentHost host;
  CManualTradeClock clock;
  STradeWindowEnv env;
  CWndImpl<QWidget> pane;
  std::unique_ptr<CMainDlg> dlg;
  STradingWindow() {
    env.session = &session;
    env.host = &host;
    env.clock = &clock;
    pane.Create(nullptr, CRect(0, 0, 1000, 640), 0, WS_POPUP | WS_VISIBLE);
    dlg = std::make_unique<CMainDlg>(env);
    dlg->CreateIn(pane.GetSafeHwnd());
    dlg->MoveWindow(0, 0, 1000, 640);
    session.SetMainWnd(dlg->GetSafeHwnd());
  }
  ~STradingWindow() {
    dlg->DestroyWindow();
    dlg.reset();
    pane.DestroyWindow();
  }
  // Today's orders, on a panel made now.
  CMyColorListCtrl& OpenOrders() {
    dlg->Core().ShowFunction(6);
    platform::PumpMessages(0);
    return dynamic_cast<CRecordQueryBar&>(*dlg->GetPanel()).RecordList();
  }
  // The reply received until its rows are in the list, repainted.
  bool Receive(const std::string& reply, CMyColorListCtrl& list, int rows) {
    session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
    if (!platform::PumpUntil([&] { return list.GetItemCount() == rows; }, 10000)) return false;
    list.GetWidget()->repaint();
    return true;
  }
};

// A reply reaching a panel just opened (its list empty).
void BM_OrderReplyToRowsShownNewPanel(benchmark::State& state) {
  STradingWindow w;
  const std::string reply = OrderReply(10000);
  for (auto _ : state) {
    state.PauseTiming();
    CMyColorListCtrl& list = w.OpenOrders();
    state.ResumeTiming();
    if (!w.Receive(reply, list, 10000)) state.SkipWithError("the rows never showed");
  }
}
BENCHMARK(BM_OrderReplyToRowsShownNewPanel)->Unit(benchmark::kMillisecond);

// A reply refilling the panel's list (the next reply of about the same
// length: one row fewer each other time, so its arrival shows).
void BM_OrderReplyToRowsShownRefill(benchmark::State& state) {
  STradingWindow w;
  const std::string replies[] = {OrderReply(10000), OrderReply(9999)};
  CMyColorListCtrl& list = w.OpenOrders();
  int next = 0;
  for (auto _ : state) {
    if (!w.Receive(replies[next], list, 10000 - next)) state.SkipWithError("the rows never showed");
    next = 1 - next;
  }
}
BENCHMARK(BM_OrderReplyToRowsShownRefill)->Unit(benchmark::kMillisecond);

// The process's peak resident memory in MB since ResetPeakRss (Linux keeps
// it as VmHWM and resets it on request); 0 when unknown.
double PeakRssMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}
void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The longest lists a message of 16 MiB can carry, reaching today's orders
// just opened: a million records of type and number only (0), or 160,000
// records of every field (1); shown when the list has its rows, repainted.
// The peak counts the whole process from just before the first reply.
void BM_LongestReplyShown(benchmark::State& state) {
  const std::string reply = state.range(0) == 0 ? ShortOrderReply(1000000) : OrderReply(160000);
  if (reply.size() > (16u << 20)) state.SkipWithError("the reply does not fit a message");
  STradingWindow w;
  w.OpenOrders();
  // The peak of the showing, not of making the reply (whose scraps go
  // back to the system first).
  malloc_trim(0);
  ResetPeakRss();
  state.counters["peak_before_mb"] = PeakRssMb();
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CMyColorListCtrl& list = w.OpenOrders();
    state.ResumeTiming();
    w.session.DispatchReply(reply.data(), static_cast<int>(reply.size()));
    if (!platform::PumpUntil([&] { return list.GetItemCount() > 0; }, 120000))
      state.SkipWithError("the rows never showed");
    list.GetWidget()->repaint();
    rows = list.GetItemCount();
  }
  state.counters["rows"] = rows;
  state.counters["reply_mb"] = static_cast<double>(reply.size()) / (1 << 20);
  state.counters["peak_rss_mb"] = PeakRssMb();
}
BENCHMARK(BM_LongestReplyShown)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(bench_smoke::Scaled(3, 1))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
