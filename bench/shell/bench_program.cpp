// The program's start-up to the main frame shown (offscreen, against the
// local simulators, login included) and the routing of received packets
// through the main frame's dispatcher and the command router to the view
// in the market pane: by the window message the link sends, and by the
// dispatcher's call alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/smoke.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "tools/screenshot/program_run.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"

namespace {

// The first start-up in a process is cold (libraries, fonts and plugins
// loaded for the first time); the later ones are warm. Counters: the first,
// and the median of the others.
void BM_StartupToMainFrame(benchmark::State& state) {
  platform::testing::EnsureApplication();
  std::vector<double> ms;
  for (auto _ : state) {
    SProgramRunOptions options;
    options.tradePanels = false;  // the start-up alone
    const SProgramRunResult r = RunProgramOnce(options);
    if (!r.ok) {
      std::string why = "stage not reached: " + r.failedStage;
      for (const std::string& box : r.boxes) why += "; box: " + box;
      state.SkipWithError(why.c_str());
      return;
    }
    state.SetIterationTime(r.startupMs / 1000.0);
    ms.push_back(r.startupMs);
  }
  if (ms.empty()) return;
  state.counters["first_ms"] = ms.front();
  std::vector<double> warm(ms.begin() + 1, ms.end());
  std::sort(warm.begin(), warm.end());
  if (!warm.empty()) state.counters["warm_median_ms"] = warm[warm.size() / 2];
}
// A smoke run starts the program twice: the cold start and one warm one.
BENCHMARK(BM_StartupToMainFrame)
    ->UseManualTime()
    ->Iterations(bench_smoke::Scaled(5, 2))
    ->Unit(benchmark::kMillisecond);

// The view in the market pane: counts what reaches it.
class CountingView : public CRoutedView {
 public:
  int GetViewPage() const override { return kPageReport; }
  int OnData(const void* body, int length) override {
    received += length > 0;
    return 1;
  }
  void OnDraw(CDC*) override {}
  int64_t received = 0;
};

CountingView* g_view = nullptr;

// A main frame with the counting view, in a program folder of its own.
struct FrameUnderTest {
  std::filesystem::path folder;
  platform::ScopedRecordingBoxes boxes;
  std::unique_ptr<CZEBApp> app;
  CMainFrame* frame = nullptr;
  FrameUnderTest() {
    platform::testing::EnsureApplication();
    char tmpl[] = "/tmp/zebbench_XXXXXX";
    folder = mkdtemp(tmpl);
    std::ofstream(folder / "zeb.ini") << "[SYSTEM]\r\nSHOWTOOLBAR=0\r\n";
    platform::SetProgramDirOverride(folder.string() + "/");
    platform::SetAppDataDirOverride(folder.string() + "/");
    platform::SetConfigDirOverride(folder.string() + "/");
    ShellPlugins().reportView = [] { return g_view = new CountingView(); };
    SZebAppOptions options;
    options.skipTradeLibrary = true;
    app = std::make_unique<CZEBApp>(options);
    CPublic::GetInstance()->SetLoginMode(1);
    app->CreateMainFrame();
    frame = app->GetMainFrame();
    CCmdDispatcher::GetInstance()->ShowAllMarkets();
  }
  ~FrameUnderTest() {
    frame->CloseWithoutAsking();
    app.reset();
    ShellPlugins() = SShellPlugins();
    platform::SetProgramDirOverride("");
    platform::SetAppDataDirOverride("");
    platform::SetConfigDirOverride("");
    std::filesystem::remove_all(folder);
  }
};

// A quote-list reply of two records.
std::string QuoteListBody() {
  std::string body(12 + 2 * 54, '\0');
  body[0] = 0x00, body[1] = 0x02, body[2] = 0x05, body[4] = 2;
  return body;
}

void BM_RoutePacketsByMessage(benchmark::State& state) {
  FrameUnderTest under;
  const std::string body = QuoteListBody();
  const HWND frame = under.frame->GetSafeHwnd();
  const int64_t before = g_view->received;
  for (auto _ : state) {
    for (int i = 0; i < 1000000; ++i)
      ::SendMessage(frame, WM_QUOTE_PACKET, body.size(), reinterpret_cast<LPARAM>(body.data()));
  }
  if (g_view->received - before != int64_t(state.iterations()) * 1000000)
    state.SkipWithError("packets were lost on the way to the view");
  state.SetItemsProcessed(int64_t(state.iterations()) * 1000000);
}
BENCHMARK(BM_RoutePacketsByMessage)->Unit(benchmark::kMillisecond);

void BM_RoutePacketsByCall(benchmark::State& state) {
  FrameUnderTest under;
  const std::string body = QuoteListBody();
  CQuoteTraffic& traffic = under.frame->Traffic();
  for (auto _ : state) {
    for (int i = 0; i < 1000000; ++i)
      benchmark::DoNotOptimize(traffic.OnQuotePacket(body.data(), int(body.size())));
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * 1000000);
}
BENCHMARK(BM_RoutePacketsByCall)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
