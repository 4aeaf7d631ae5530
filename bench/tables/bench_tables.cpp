// Speed of the quote list: a 2,000-record reply parsed, formatted, stably
// sorted and painted into a memory DC; a full page of the grid painted;
// and the heap after the same reply handled 1,000 times in a row.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>
#include <vector>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sim/market/market_table_builder.h"
#include "ui/sys_style.h"
#include "zeb/shell/store/public_store.h"
#include "zeb/tables/report/report_table.h"

namespace {

constexpr uint16_t kMarket = 4116;
constexpr int kItems = 2000;
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
    static platform::ScopedRecordingBoxes boxes;  // no thumb bitmap: recorded, not shown
    const std::string dir = (std::filesystem::temp_directory_path() / "bench_tables_scheme").string();
    std::filesystem::create_directories(dir + "/INTERFACE");
    platform::WriteFileAtomic(dir + "/INTERFACE/COLORSCHEME.ini", std::string("[") + GBK("配色方案") + "]\r\n0=s\r\n");
    platform::SetProgramDirOverride(dir + "/");
    CSysStyle::GetInstance()->LoadScheme();

    sim::MarketTableBlock block{kMarket, {}};
    for (int i = 0; i < kItems; ++i) {
      sim::MarketTableItem item;
      item.code = 200000 + i;
      item.name = std::string(GBK("纪念钞精品")) + std::to_string(i);
      item.preClose = 10000 + 7 * i;
      item.refVolume = 500 + i;
      item.circulating = 100000;
      block.items.push_back(item);
    }
    const std::string table = sim::BuildMarketTable(20260105, 1, {{570, 690}, {780, 900}}, {block});
    store = new CPublic();
    store->ParseMarketTable(table.data(), static_cast<int>(table.size()));
    for (int i = 0; i < kItems; ++i) store->GetSelectedStocks().push_back(SCodeInfo{kMarket, 200000 + i});

    reply.assign(kQuoteListHeadSize + kQuoteUnitSize * kItems, '\0');
    char* p = reply.data();
    quotelink::WriteU16(p, PKT_REPORT);
    quotelink::WriteU16(p + 2, 1);
    quotelink::WriteU16(p + 4, kItems);
    for (int i = 0; i < kItems; ++i) {
      char* r = p + kQuoteListHeadSize + kQuoteUnitSize * i;
      const uint32_t close = 10000 + 7 * i;
      const uint32_t last = close + (i % 21) * 50 - 500;  // rises, falls and ties
      quotelink::WriteU16(r, kMarket);
      quotelink::WriteU32(r + 2, 200000 + i);
      for (int f = 0; f < 4; ++f) quotelink::WriteU32(r + 6 + 4 * f, last);
      quotelink::WriteU32(r + 22, 1000 + 137 * i);        // volume
      quotelink::WriteU32(r + 26, 3 + i % 50);            // last deal volume
      quotelink::WriteU32(r + 30, (1000 + 137 * i) * 10); // amount
      quotelink::WriteU32(r + 34, last + 10);
      quotelink::WriteU32(r + 38, last - 10);
      quotelink::WriteU32(r + 42, 20);
      quotelink::WriteU32(r + 46, 30);
      quotelink::WriteU32(r + 50, static_cast<uint32_t>((i % 200) - 100));
    }
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
    if (screen.Reply() != 1 || screen.table.GetRowCount() != kItems) state.SkipWithError("reply not taken");
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
  state.counters["cells"] = static_cast<double>((screen.table.GetRowsPerPage()) * kReportColumnCount);
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
