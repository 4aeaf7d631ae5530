// The quote replies the simulator sends, built field by field at the
// documented offsets: 54-byte quote records, the quote list (0x0200), the
// trading window's prices (0x2200), the alarm quotes (0x3300) and the
// pushed market lists (0x7000, 0x7100) with their 12-byte head, the
// grouped push (0x3B00) with its entries and record block, and the
// trading window's five-level quote of one item (0x0800).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

// A figure wider than its u32 field goes out saturated, never wrapped.
uint32_t Clamp32(uint64_t v);

constexpr uint16_t kQuoteListType = 0x0200;
constexpr uint16_t kMarketPushType = 0x7000;
constexpr uint16_t kMarketPushAltType = 0x7100;
constexpr uint16_t kGroupedPushType = 0x3B00;
constexpr uint16_t kSingleQuoteType = 0x0800;
constexpr uint16_t kTradeQuotesType = 0x2200;
constexpr uint16_t kAlarmQuotesType = 0x3300;
constexpr size_t kQuoteRecordSize = 54;
constexpr size_t kSingleQuoteSize = 141;

// The five-level book around the item's best bid and ask, in display
// order: asks from the fifth to the best, then bids from the best to the
// fifth; deeper levels lie one spread further out and hold more.
struct BookLevel {
  uint32_t price = 0;
  uint32_t volume = 0;
};
void BookLevels(const WalkItem& item, BookLevel (&levels)[10]);

// One record; volume and amount stop at the largest 32-bit value.
std::string EncodeQuoteRecord(const WalkItem& item);

// type, tag, u16 count at 4, u16 total at 6 (the market's item count in a
// push, 0 in a reply), a zero pointer slot, the records from 12.
std::string BuildQuoteList(uint16_t type, uint16_t tag, const std::vector<WalkItem>& items,
                           uint16_t total);

// 0x3B00: u8 entry count at 4, a pointer slot, 6 bytes, 16-byte entries
// from 15 (one per market: id, item count), then a block with its u16
// count at 4, a pointer slot at 8 and the records from 12.
std::string BuildGroupedPush(uint16_t tag, const std::vector<WalkItem>& items);

// 0x0800, 141 bytes: type, tag, u16 market at 4, u32 code at 6, high at
// 20, low at 24, last at 28 (thousandths), then from 61 ten levels of
// price and volume in display order: asks from the fifth to the best, then
// bids from the best to the fifth, one spread apart. Bytes nothing reads
// are zero.
std::string BuildSingleQuote(uint16_t tag, const WalkItem& item);

}  // namespace sim
