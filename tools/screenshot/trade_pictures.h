// Pictures of the trading window in the running program. First the window
// in its pane with an item typed into its order entry (name from the
// store, quote from the quote server, limits from the trade server), and
// the order entry alone. Then every panel: two orders placed from the
// order entry (one dealt above the last price, one resting below it) so
// today's lists have rows, then each function of the tree clicked as the
// user clicks it, the panel's rows (or web page) waited for, history
// queries asked for the past week, and the window pictured with the panel
// in it. The trading window lives in the
// run-time loaded trading library, so it is reached through its Qt widgets
// (named by control id) alone.
#pragma once
#include <functional>
#include <string>

#include "tools/screenshot/shell_pictures.h"

// Told each step before it starts (the run's stage watchdog).
using EnterStage = std::function<void(const std::string& stage)>;

void PictureTradingWindow(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                          SShellPictures* seen);
void PictureTradePanels(CMainFrame& frame, const KeepPicture& keep, const EnterStage& enter,
                        int timeoutMs, SShellPictures* seen);
