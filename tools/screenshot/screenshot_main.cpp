// zeb_screenshot OUTDIR [--quote HOST:PORT] [--balance HOST:PORT] [--trade HOST:PORT]
// Runs the real start-up offscreen against the given servers (simulators
// started on free ports for those not given), logs in through the login
// dialog and saves pictures of the login dialog, the main frame (also on
// each market tab and on a sorted page) and each view of the market pane,
// the chart view, the trading window and its order entry, each panel of the
// trading window, the keyboard-input box, the menu bar's pop-ups, the
// formula dialogs, the shell's dialogs and the charts into OUTDIR, one line
// per picture. Exits non-zero when a stage is not reached in time.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gbk.h"
#include "platform/socket.h"
#include "platform/testing/app.h"
#include "tools/screenshot/program_run.h"

int main(int argc, char** argv) {
  // It runs the simulators in process, a TLS server among them.
  platform::IgnoreBrokenPipe();
  if (argc < 2 || argv[1][0] == '-') {
    std::fprintf(
        stderr,
        "usage: zeb_screenshot OUTDIR [--quote HOST:PORT] [--balance HOST:PORT] [--trade HOST:PORT]\n");
    return 2;
  }
  SProgramRunOptions options;
  options.outDir = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "zeb_screenshot: %s needs HOST:PORT\n", arg.c_str());
      return 2;
    }
    if (arg == "--quote") options.quote = argv[++i];
    else if (arg == "--balance") options.balance = argv[++i];
    else if (arg == "--trade") options.trade = argv[++i];
    else {
      std::fprintf(stderr, "zeb_screenshot: unknown option %s\n", arg.c_str());
      return 2;
    }
  }
  options.report = [](const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  };
  // As the program does: the trading library's web pages share the
  // application's graphics contexts.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  platform::testing::EnsureApplication();
  const SProgramRunResult result = RunProgramOnce(options);
  for (const std::string& box : result.boxes) std::fprintf(stderr, "box: %s\n", box.c_str());
  for (const std::string& name : result.shell.tradePanelsWithout)
    std::fprintf(stderr, "trading panel without rows or page: %s\n", name.c_str());
  if (!result.ok) {
    std::fprintf(stderr, "stage not reached: %s (login ended with %d)\n",
                 result.failedStage.c_str(), result.loginResult);
    return 1;
  }
  std::fprintf(stderr, "main frame shown %.0f ms after start; %d items\n", result.startupMs,
               result.marketItems);
  const SIntervalPictures& interval = result.interval;
  std::fprintf(
      stderr,
      "interval statistics of %d bars after a full day: average %s, volume %s, amount %s; day total %s\n",
      interval.bars, interval.average.c_str(), platform::GbkToUtf8(interval.volume).c_str(),
      platform::GbkToUtf8(interval.amount).c_str(), platform::GbkToUtf8(interval.dayTotal).c_str());
  return 0;
}
