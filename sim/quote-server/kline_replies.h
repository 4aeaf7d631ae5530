// The quote simulator's K-line data: for every item of the market a seeded
// history of about three years of daily bars ending at its previous close,
// today's bar taken from the moving market (so the last bar is the live
// price the quote list shows), and intraday minutes for the last days from
// which the 5- to 60-minute bars are made. It answers the K-line history
// requests (0x0500/0x0600 + period, the stretch asked counted back from the
// newest bar, fewer bars at the start of history), the day trace (0x0400),
// the ex-rights records (0x1300, the one layout the chart and the chip
// distribution read) and the information titles (0x1E00, the entries of
// the information window). A first history request (0x0500) is answered
// with the history, then the ex-rights records and the titles.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

class QuoteServer;

struct SimBar {
  uint32_t date = 0;                                // yyyymmdd, or mmddhhmm for minute bars
  uint32_t open = 0, high = 0, low = 0, close = 0;  // thousandths
  uint32_t volume = 0;
  int32_t amount = 0;
};

class KLineReplies {
 public:
  // tradeDate yyyymmdd: today; history ends on the weekday before it.
  KLineReplies(const MarketWalk& walk, uint32_t tradeDate);

  // Bars of the item and period (5, 15, 30, 60, 61, 62, 63), oldest first.
  std::vector<SimBar> Bars(const WalkItem& item, int period) const;
  // One minute of a day's path: price and volume for minutes 1..240.
  std::vector<SimBar> Minutes(const WalkItem& item, uint32_t date) const;

  // Reply bodies; empty for a request that is too short or names no item.
  std::string History(const std::string& request) const;
  std::string DayTrace(const std::string& request) const;
  std::string ExRights(const std::string& request) const;
  std::string InfoTitles(const std::string& request) const;

  static constexpr int kHistoryDays = 750;  // about three years of weekdays
  static constexpr int kMinuteDays = 20;    // days with intraday minutes

 private:
  bool FindItem(const std::string& request, WalkItem* out) const;
  std::vector<SimBar> Daily(const WalkItem& item) const;

  const MarketWalk& walk_;
  uint32_t tradeDate_;
};

// Answers the history, day-trace, ex-rights and title requests on the server.
void RegisterKLineReplies(QuoteServer& server, uint32_t tradeDate);

}  // namespace sim
