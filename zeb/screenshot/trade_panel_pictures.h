// Pictures of every panel of the trading window in the running program:
// two orders placed from its order entry first (one dealt above the last
// price, one resting below it) so today's lists have rows, then each
// function of its tree clicked as the user clicks it, the panel's rows (or
// web page) waited for, history queries asked for the past week, and the
// window pictured with the panel in it. The trading window lives in the
// run-time loaded trading library, so it is reached through its Qt widgets
// (named by control id) alone.
#pragma once
#include <functional>
#include <string>

#include "zeb/screenshot/shell_pictures.h"

// Told each step before it starts (the run's stage watchdog).
using EnterStage = std::function<void(const std::string& stage)>;

void PictureTradePanels(CMainFrame& frame, const KeepPicture& keep, const EnterStage& enter, int timeoutMs,
                        SShellPictures* seen);
