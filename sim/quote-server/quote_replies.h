// The quote replies the simulator sends, built field by field at the
// documented offsets: 54-byte quote records, the quote list (0x0200) and
// the pushed market lists (0x7000, 0x7100) with their 12-byte head, and
// the grouped push (0x3B00) with its entries and record block.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

constexpr uint16_t kQuoteListType = 0x0200;
constexpr uint16_t kMarketPushType = 0x7000;
constexpr uint16_t kMarketPushAltType = 0x7100;
constexpr uint16_t kGroupedPushType = 0x3B00;
constexpr size_t kQuoteRecordSize = 54;

// One record; volume and amount stop at the largest 32-bit value.
std::string EncodeQuoteRecord(const WalkItem& item);

// type, tag, u16 count at 4, u16 total at 6 (the market's item count in a
// push, 0 in a reply), a zero pointer slot, the records from 12.
std::string BuildQuoteList(uint16_t type, uint16_t tag, const std::vector<WalkItem>& items, uint16_t total);

// 0x3B00: u8 entry count at 4, a pointer slot, 6 bytes, 16-byte entries
// from 15 (one per market: id, item count), then a block with its u16
// count at 4, a pointer slot at 8 and the records from 12.
std::string BuildGroupedPush(uint16_t tag, const std::vector<WalkItem>& items);

}  // namespace sim
