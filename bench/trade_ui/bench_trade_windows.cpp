// Speed of the trading window's colour list where it counts: a panel
// refilling its list with 10,000 rows on a reply, up to the repainted list
// (target under 100 ms offscreen; the first fill of a new panel's empty
// list is measured too), and sorting those rows by a numeric column after a
// heading click (target under 50 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <string>
#include <vector>

#include "platform/wnd.h"
#include "trade/ui/windows/color_list_ctrl.h"

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

}  // namespace

BENCHMARK_MAIN();
