// The K-line interval statistics after a simulated full day: the
// simulator started in process walks its market to the day's end, a dear
// item opens in the chart view (its board shows the day's 总额), F5 turns
// to its day lines, and the interval of its last bars is marked with the
// mouse as a user marks it ("区间统计", a click on the first and the last
// bar). Reports the figures as drawn, for the picture's reader and the
// end-to-end test.
#pragma once
#include <string>

#include "tools/screenshot/shell_pictures.h"

namespace sim {
class QuoteServer;
}

struct SIntervalPictures {
  int bars = 0;          // periods in the marked interval
  std::string average;   // "均    价"
  std::string volume;    // "成 交 量"
  std::string amount;    // "成交金额"
  std::string dayTotal;  // the board's "总额"
};

// quoteSim: the simulator to walk to the day's end (null: a server given,
// which keeps its own time).
void PictureIntervalStats(CMainFrame& frame, const KeepPicture& keep, int timeoutMs,
                          sim::QuoteServer* quoteSim, SIntervalPictures* seen);
