// Speed of the quote list view's paint: the whole view of a full screen
// (a page of 2,000 quoted favourites, the tab strip and the statistics
// strip) drawn off screen and copied to the window in one go, as every
// refresh does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QImage>
#include <QWidget>
#include <filesystem>
#include <string>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "sim/market/market_table_builder.h"
#include "ui/sys_style.h"
#include "zeb/shell/store/public_store.h"
#include "zeb/tables/views/price_report_view.h"

namespace {

constexpr uint16_t kMarket = 4116;
constexpr int kItems = 2000;
// The market pane of a maximised frame on a 1920 x 1080 screen.
constexpr int kWidth = 1920;
constexpr int kHeight = 760;

struct Fixture {
  CPublic* store = nullptr;
  CPriceReportView* view = nullptr;

  Fixture() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::testing::EnsureApplication();
    static platform::ScopedRecordingBoxes boxes;  // no thumb bitmap: recorded, not shown
    const std::string dir = (std::filesystem::temp_directory_path() / "bench_report_view").string();
    std::filesystem::create_directories(dir + "/INTERFACE");
    platform::WriteFileAtomic(dir + "/INTERFACE/COLORSCHEME.ini", std::string("[") + GBK("配色方案") + "]\r\n0=s\r\n");
    platform::WriteFileAtomic(dir + "/zeb.ini", "[QUOTE]\r\nServerIP=127.0.0.1\r\n");
    platform::SetProgramDirOverride(dir + "/");
    CSysStyle::GetInstance()->LoadScheme();

    sim::MarketTableBlock block{kMarket, {}};
    for (int i = 0; i < kItems; ++i) {
      sim::MarketTableItem item;
      item.code = 200000 + i;
      item.name = std::string(GBK("纪念钞精品")) + std::to_string(i);
      item.preClose = 10000 + 7 * i;
      block.items.push_back(item);
    }
    const std::string table = sim::BuildMarketTable(20260105, 1, {{570, 690}, {780, 900}}, {block});
    store = new CPublic();
    store->ParseMarketTable(table.data(), static_cast<int>(table.size()));
    for (int i = 0; i < kItems; ++i) store->GetSelectedStocks().push_back(SCodeInfo{kMarket, 200000 + i});

    view = new CPriceReportView(store);
    view->Create(nullptr, CRect(0, 0, kWidth, kHeight), 0, WS_POPUP | WS_VISIBLE);
    view->OnInitialUpdate();
    view->KillTimer(kReportRefreshTimer);
    SCurItem item;
    item.page = kPageReport;
    item.market = kFavouritesList;
    view->SetCurItem(&item);

    std::string reply(kQuoteListHeadSize + kQuoteUnitSize * kItems, '\0');
    char* p = reply.data();
    quotelink::WriteU16(p, PKT_REPORT);
    quotelink::WriteU16(p + 2, 1);
    quotelink::WriteU16(p + 4, kItems);
    for (int i = 0; i < kItems; ++i) {
      char* r = p + kQuoteListHeadSize + kQuoteUnitSize * i;
      const uint32_t last = 10000 + 7 * i + (i % 21) * 50 - 500;  // rises, falls and ties
      quotelink::WriteU16(r, kMarket);
      quotelink::WriteU32(r + 2, 200000 + i);
      for (int f = 0; f < 4; ++f) quotelink::WriteU32(r + 6 + 4 * f, last);
      quotelink::WriteU32(r + 22, 1000 + 137 * i);
      quotelink::WriteU32(r + 30, (1000 + 137 * i) * 10);
    }
    view->OnData(reply.data(), static_cast<int>(reply.size()));
  }
};

void BM_QuoteListViewPaint(benchmark::State& state) {
  static Fixture fixture;
  QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  if (fixture.view->Table().GetRowCount() != kItems) state.SkipWithError("reply not taken");
  for (auto _ : state) fixture.view->GetWidget()->render(&target);
  state.counters["rows_shown"] = fixture.view->Table().GetRowsPerPage();
}
BENCHMARK(BM_QuoteListViewPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
