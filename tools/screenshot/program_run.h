// One run of the real program, offscreen and in process: a temporary
// program folder made from the build's one with "zeb.ini" pointing at the
// given servers (or at simulators started here on free ports), the real
// start-up with its login dialog answered through the modal script
// (account, password and the shown verification code typed in), the main
// frame waited for, screenshots of the screen taken at each stage, and the
// orderly close. Beyond the login and the market pane it pictures the
// quote list on each market tab (market_pictures.h), the shell's own
// windows (shell_pictures.h) and the trading window (trade_pictures.h). Shared by tools/screenshot.sh, the end-to-end test
// and the start-up benchmark.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/screenshot/market_pictures.h"
#include "tools/screenshot/chart_pictures.h"
#include "tools/screenshot/interval_pictures.h"
#include "tools/screenshot/kline_pictures.h"
#include "tools/screenshot/shell_pictures.h"
#include "tools/screenshot/view_focus_pictures.h"

class CMainFrame;

struct SProgramRunOptions {
  std::string binDir;   // the build's program folder; empty: ZEB_BIN_DIR
  std::string quote;    // "HOST:PORT"; empty: a quote simulator started here
  std::string balance;  // "HOST:PORT"; empty: a balance simulator started here
  std::string trade;    // "HOST:PORT"; empty: a trade simulator started here
  std::string outDir;   // where the pictures go; empty: no pictures
  std::string account = "u01";
  std::string password = "pass";
  // The ceiling of one wait for an event (a reply, a window, a page). Only
  // a run that fails waits that long; it holds on a slow, loaded machine
  // under the sanitizers.
  int stageTimeoutMs = 90000;
  // Orders placed and every trading-window panel opened and pictured
  // (trade_pictures.h); runs that look at something else skip it.
  bool tradePanels = true;
  // Each picture and stage, one line each.
  std::function<void(const std::string&)> report;
  // Called with the running program's frame once the pictures are taken,
  // before the close (tests look at the live program here).
  std::function<void(CMainFrame&)> whileRunning;
};

struct SProgramRunResult {
  bool ok = false;
  std::string failedStage;  // the first stage not reached in time
  std::vector<std::string> pictures;
  std::vector<std::string> boxes;  // message boxes shown (UTF-8), answered with their first button
  double startupMs = 0;            // from the application object to the main frame shown
  int loginResult = 0;             // what the login dialog ended with
  bool loginDialogGone = false;
  bool frameShown = false;
  int marketItems = 0;    // items in the store once the frame is up
  int quoteListRows = 0;  // rows the quote list showed in its picture
  // What reached the simulators started here (0 for servers given).
  size_t quoteLogins = 0, quoteInitRequests = 0, balanceQueries = 0, tradeLogons = 0;
  size_t singleQuoteRequests = 0,
         tradePriceRequests = 0;              // the trading window's, 0x0800 and 0x2200
  SShellPictures shell;                       // what the pictures of the shell's own windows saw
  std::vector<SMarketTabPicture> marketTabs;  // the quote list on each market tab
  SChartPictures chart;                       // what the chart view's pictures saw
  SKLinePictures kline;                       // what the K-line chart's pictures saw
  SViewFocusRun viewFocus;     // where the keys went, and the chart view after a resize
  SIntervalPictures interval;  // the interval statistics after a full day
};

SProgramRunResult RunProgramOnce(const SProgramRunOptions& options);

// The program folder of a run made from the build's one: the settings
// files, the formula store, the pane and scheme folders, the libraries.
void CopyProgramFolder(const std::filesystem::path& bin, const std::filesystem::path& prog);
