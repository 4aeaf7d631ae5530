// Speed of the quote list view's paint: the whole view of a full screen
// (a page of 2,000 quoted favourites, the tab strip and the statistics
// strip) drawn off screen and copied to the window in one go, as every
// refresh does.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QImage>
#include <QWidget>
#include <string>

#include "platform/testing/app.h"
#include "quote_list_bench_data.h"
#include "zeb/views/report/price_report_view.h"

namespace {

// The market pane of a maximised frame on a 1920 x 1080 screen.
constexpr int kWidth = 1920;
constexpr int kHeight = 760;

struct Fixture {
  CPublic* store = nullptr;
  CPriceReportView* view = nullptr;

  Fixture() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::testing::EnsureApplication();
    bench_tables::UseSchemeFolder("bench_report_view",
                                  {{"zeb.ini", "[QUOTE]\r\nServerIP=127.0.0.1\r\n"}});
    store = bench_tables::MakeStore();
    view = new CPriceReportView(store);
    view->Create(nullptr, CRect(0, 0, kWidth, kHeight), 0, WS_POPUP | WS_VISIBLE);
    view->OnInitialUpdate();
    view->KillTimer(kReportRefreshTimer);
    SCurItem item;
    item.page = kPageReport;
    item.market = kFavouritesList;
    view->SetCurItem(&item);
    const std::string reply = bench_tables::MakeReply();
    view->OnData(reply.data(), static_cast<int>(reply.size()));
  }
};

void BM_QuoteListViewPaint(benchmark::State& state) {
  static Fixture fixture;
  QImage target(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  if (fixture.view->Table().GetRowCount() != bench_tables::kItems)
    state.SkipWithError("reply not taken");
  for (auto _ : state) fixture.view->GetWidget()->render(&target);
  state.counters["rows_shown"] = fixture.view->Table().GetRowsPerPage();
}
BENCHMARK(BM_QuoteListViewPaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
