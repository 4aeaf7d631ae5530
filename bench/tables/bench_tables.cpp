// Speed of the quote list: a 2,000-record reply parsed, formatted, stably
// sorted and painted into a memory DC; a full page of the grid painted;
// and the heap after the same reply handled 1,000 times in a row.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <string>

#include "quote_list_bench_data.h"
#include "zeb/tables/report/report_table.h"

namespace {

using bench_tables::kItems;
// A full-screen quote list: 1800 x 912 pixels, 37 data rows of 24.
constexpr int kWidth = 1800;
constexpr int kHeight = 24 * 38;

// The scheme from a scratch program folder, a store of 2,000 items that
// are also the favourites, and the reply that quotes them all.
struct Fixture {
  CPublic* store = nullptr;
  std::string reply;

  Fixture() {
    static int argc = 1;
    static char name[] = "bench_tables";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
    bench_tables::UseSchemeFolder("bench_tables_scheme");
    store = bench_tables::MakeStore();
    reply = bench_tables::MakeReply();
  }
};

Fixture& Setup() {
  static Fixture* fixture = new Fixture();
  return *fixture;
}

// A favourites table the size of the screen, sorted by the last price.
struct Screen {
  CReportTable table{Setup().store};
  CDC memory;
  CBitmap bitmap;

  Screen() {
    table.SetClock([] { return 600; });
    table.InitColumns();
    table.SetRect(0, 0, kWidth, kHeight);
    table.LoadItems(kFavouritesList, "");
    table.SortBy(ReportColumnIndexOfId(kColLast));
    memory.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(kWidth, kHeight);
    memory.SelectObject(&bitmap);
  }
  int Reply() {
    const std::string& reply = Setup().reply;
    return table.UpdateData(reply.data(), static_cast<int>(reply.size()));
  }
};

void BM_Reply2000ParsedFormattedSortedPainted(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    if (screen.Reply() != 1 || screen.table.GetRowCount() != kItems)
      state.SkipWithError("reply not taken");
    screen.table.Draw(&screen.memory);
  }
}
BENCHMARK(BM_Reply2000ParsedFormattedSortedPainted)->Unit(benchmark::kMillisecond);

// The reply alone (parse, format, sort, rows), without the paint.
void BM_Reply2000WithoutPaint(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) benchmark::DoNotOptimize(screen.Reply());
}
BENCHMARK(BM_Reply2000WithoutPaint)->Unit(benchmark::kMillisecond);

void BM_FullPageGridPaint(benchmark::State& state) {
  Screen screen;
  screen.Reply();
  for (auto _ : state) screen.table.Draw(&screen.memory);
  state.counters["cells"] =
      static_cast<double>((screen.table.GetRowsPerPage()) * kReportColumnCount);
}
BENCHMARK(BM_FullPageGridPaint)->Unit(benchmark::kMillisecond);

// The heap in use after 1,000 more of the same reply, against after the first.
void BM_SameReply1000TimesHeap(benchmark::State& state) {
  Screen screen;
  for (auto _ : state) {
    // The first replies size the reused buffers (two record lists swap).
    for (int i = 0; i < 3; ++i) screen.Reply();
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 1000; ++i) screen.Reply();
    const size_t after = mallinfo2().uordblks;
    state.counters["heap_growth_bytes"] = static_cast<double>(after) - static_cast<double>(before);
  }
}
BENCHMARK(BM_SameReply1000TimesHeap)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
