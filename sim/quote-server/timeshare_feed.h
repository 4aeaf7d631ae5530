// The time-share chart's data as the simulator serves it: the minute
// points of an item's day made of its deals (so the chart, the deal list,
// the quote list and the panel agree: the last point is the last price),
// a seeded day of minutes for pictures and measurements that have no walk,
// the minute-data reply (0x0300: head, embedded quote record, then the
// per-minute points) and a past day's trace (0x0400). Built field by field
// at the offsets the program reads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

constexpr uint16_t kDayTraceType = 0x0400;

struct MinuteBar {
  uint32_t price = 0;  // thousandths
  uint32_t volume = 0;
  uint32_t average = 0;  // thousandths
};

// Minute index (sessions 09:30-11:30 and 13:00-15:00 joined, 242 points)
// to minutes since 09:30 and to minutes of the day.
uint16_t MinuteElapsed(int index);
uint16_t MinuteOfDay(int index);

// One point per trading minute from 09:30 to the last deal's minute:
// the minute's last deal price (a minute without deals keeps the one
// before it, the open before the first), the minute's volume and the
// day's average price so far.
// No deals: no points.
std::vector<MinuteBar> MinuteBarsOfDeals(const WalkItem& item, const std::vector<WalkDeal>& deals);
// count minutes of a seeded path from the previous close to the item's
// last price, inside its low and high, the volumes adding up to its volume.
std::vector<MinuteBar> MinuteBarsOf(const WalkItem& item, int count, uint32_t seed);
// Writes the point count at 16 and appends one 26-byte point per bar (a
// minute-data reply ends with them).
void AppendMinutePoints(std::string& body, const std::vector<MinuteBar>& bars);
// A whole minute-data reply without deal records, the record at the last
// bar's minute.
std::string BuildMinuteData(uint16_t tag, const WalkItem& item, const std::vector<MinuteBar>& bars);
std::string BuildDayTrace(uint16_t tag, uint32_t date, uint32_t preClose,
                          const std::vector<MinuteBar>& bars);

}  // namespace sim
