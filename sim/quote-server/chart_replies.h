// The replies behind the chart view, built field by field at the offsets
// the program reads: the 51-byte quote record with its ten 8-byte levels,
// the time-share reply (0x0300: the record, then the day's ticks), the deal
// list (0x0100), pushed records (0x0B00), the big-order list and its pushed
// additions (0x1C00, 0x1D00) and an item's information text (0x1100).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"
#include "sim/quote-server/timeshare_feed.h"

namespace sim {

constexpr uint16_t kDealListType = 0x0100;
constexpr uint16_t kMinuteTraceType = 0x0300;
constexpr uint16_t kTraceListType = 0x0900;
constexpr uint16_t kPushTickType = 0x0B00;
constexpr uint16_t kInfoType = 0x1100;
constexpr uint16_t kBigOrderType = 0x1C00;
constexpr uint16_t kBigOrderAddType = 0x1D00;
// The walk's minutes are trading minutes (0 = 09:30, the lunch break left
// out): records carry them as minutes of the day (MinuteOfDay), deal lists
// as minutes after 09:30 (MinuteElapsed), the way the program reads them.

// The record of an item at a deal minute: packed code (market's low byte
// in bits 24-31), minutes of the day, prices, volumes, then ten levels.
std::string EncodeTickRecord(const WalkItem& item, uint16_t minute);
// Type, tag, market at 4, code at 6, the tick count at 10, a pointer slot
// at 12, the point count at 16, the record at 22 (at the minute given),
// the ticks (30 bytes each) after it, then the per-minute points.
std::string BuildMinuteReply(uint16_t tag, const WalkItem& item, const std::vector<WalkDeal>& deals,
                             uint16_t minute, const std::vector<MinuteBar>& bars);
// The time-share reply of an item's day: its deals as ticks and the
// minute points made of them (MinuteBarsOfDeals), the record at the last
// deal's minute.
std::string BuildMinuteTrace(uint16_t tag, const WalkItem& item,
                             const std::vector<WalkDeal>& deals);
// Type, tag, the count at 10, a pointer slot at 12, deals from 16.
std::string BuildDealList(uint16_t tag, const std::vector<WalkDeal>& deals);
// Type, no 16-byte entries, the record count at 9, records from 15.
std::string BuildPushTicks(const std::vector<WalkItem>& items, uint16_t minute);
// 0x1C00: the tag at 2, the count at 4, records from 10; 0x1D00: the
// count at 19, records from 25. The deals come oldest first and go out
// latest first, at most 32767 of the latest.
std::string BuildBigOrders(uint16_t type, uint16_t tag, const std::vector<WalkBigDeal>& deals);
// An information text of an item for a date: type, tag, the item's market
// at 4, then from 12 the GBK text (lines split by CR LF) and a NUL.
std::string BuildInfoText(uint16_t tag, const WalkItem& item, uint32_t date);
// Two 16-byte records: date (yyyymmdd), circulating shares, the rest zero.

}  // namespace sim
