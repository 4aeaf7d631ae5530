// The window layer's dispatch: posted WM_COMMAND messages drained by the
// user-interface thread through a window's WindowProc to its OnCommand.
#include <QApplication>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include "platform/wnd.h"

namespace {

class CountingWnd : public CWndImpl<QWidget> {
 public:
  long count = 0;
  BOOL OnCommand(WPARAM, LPARAM) override {
    ++count;
    return TRUE;
  }
};

void BM_PostedCommandsThroughWindowProc(benchmark::State& state) {
  CountingWnd wnd;
  wnd.Create(nullptr, CRect(0, 0, 10, 10), 0, WS_POPUP);
  const long n = state.range(0);
  for (auto _ : state) {
    wnd.count = 0;
    for (long i = 0; i < n; ++i) wnd.PostMessage(WM_COMMAND, MAKEWPARAM(0x6001, 0), 0);
    platform::PumpUntil([&] { return wnd.count == n; }, 60000);
    if (wnd.count != n) state.SkipWithError("messages lost");
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PostedCommandsThroughWindowProc)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
