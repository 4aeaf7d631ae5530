// The reader of the quote packets behind the chart view: the deal list
// (0x0100), the time-share reply (0x0300, and the types sharing its
// layout) with its embedded quote record, ticks and per-minute points, the
// pushed quote records (0x0B00, each with a variable number of 8-byte
// levels) and the big-order list and its pushed additions (0x1C00,
// 0x1D00); and the 18-byte one-item requests those tables send.
// The ex-rights records (0x1300) have one reader, in kline_packets.h.
//
// As with the quote-list reader: every count is checked against the body's
// length before a record is touched, records are decoded field by field,
// the lent body is never written to (the pointer slots the bodies reserve
// are not needed to read them), and a body shorter than its head or than
// its counts claim is refused whole. A pushed record whose level count
// runs past the body ends the packet: nothing past the body is read.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zeb/store/store_records.h"
#include "zeb/tables/packets/quote_packets.h"

constexpr uint16_t PKT_PRICE_DISTRIB = 0x0100;  // the day's deal list
constexpr uint16_t PKT_MINUTE_TRACE = 0x0300;   // time-share reply with ticks
constexpr uint16_t PKT_TRACE_LIST = 0x0900;     // the traced codes' minutes
constexpr uint16_t PKT_BIG_ORDER = 0x1C00;      // big orders of a market
constexpr uint16_t PKT_BIG_ORDER_ADD = 0x1D00;  // pushed big orders

// Levels a quote record carries in full: five asks (fifth to first), then
// five bids (first to fifth).
constexpr int kBoardLevels = 10;
constexpr int kBestAskEntry = 4;
constexpr int kBestBidEntry = 5;
constexpr size_t kTickRecordHead = 51;
constexpr size_t kLevelSize = 8;
constexpr size_t kDealRecordSize = 30;
constexpr size_t kBigOrderSize = 16;
constexpr size_t kCodeRequestSize = 18;
// The minute-data layout: the quote record starts here; 26-byte points.
constexpr size_t kMinuteQuoteAt = 22;
constexpr size_t kMinutePointSize = 26;

struct SBoardLevel {
  uint32_t price = 0;  // thousandths
  uint32_t volume = 0;
};

// One pushed or embedded quote record (the wire form is 51 bytes and then
// levelCount 8-byte levels).
struct STickRecord {
  SCodeInfo code;     // market = the packed byte | 0x1000
  uint16_t time = 0;  // minutes of the day
  uint32_t open = 0;
  uint32_t high = 0;
  uint32_t low = 0;
  uint32_t last = 0;
  uint32_t average = 0;
  uint32_t volume = 0;     // total volume of the day
  uint32_t curVolume = 0;  // last deal's volume
  uint32_t amount = 0;     // thousandths
  uint32_t activeBuy = 0;
  uint32_t activeSell = 0;
  uint8_t levelCount = 0;                          // as the record says
  std::array<SBoardLevel, kBoardLevels> levels{};  // the first min(levelCount, 10)

  // Whether entry i exists in the record.
  bool HasLevel(int i) const { return i >= 0 && i < levelCount && i < kBoardLevels; }
  // The entry's price, 0 when the record lacks it.
  uint32_t LevelPrice(int i) const {
    return HasLevel(i) ? levels[static_cast<size_t>(i)].price : 0;
  }
};

// One deal of a deal list or tick (minute record) of a time-share reply;
// both are the same 30-byte record, read by one reader.
struct SDealRecord {
  uint16_t time = 0;   // minutes after the start of the first session
  uint32_t price = 0;  // thousandths
  uint32_t volume = 0;
  uint32_t bid = 0;    // best bid at the time of the deal
  uint32_t ask = 0;    // best ask
  int32_t amount = 0;  // the minute's amount (the K-line's minute merge)
};

// One per-minute point of the minute data (26 bytes).
struct SMinutePoint {
  uint16_t elapsed = 0;  // minutes since the first session's start
  uint32_t price = 0;    // thousandths
  uint32_t volume = 0;
  uint32_t average = 0;  // thousandths
};

struct SBigOrder {
  uint16_t time = 0;  // minutes after the start of the first session
  SCodeInfo code;
  uint32_t price = 0;
  uint32_t volume = 0;
};

// Decoded packets; vectors are reused between reads.
struct SDealListPacket {
  SPacketHead head;
  std::vector<SDealRecord> deals;
};
// Everything a body of the minute-data layout holds (0x0300 and the types
// that share its layout), read once: the item of the head, the embedded
// quote record, the ticks and, when they lie within the body too, the
// per-minute points.
struct SMinuteTracePacket {
  SPacketHead head;
  SCodeInfo code;  // the head's item: market at 4, code at 6
  STickRecord quote;
  std::vector<SDealRecord> ticks;
  bool pointsRead = false;  // false: the points reach past the body (none kept)
  std::vector<SMinutePoint> points;
};
struct SPushTickPacket {
  SPacketHead head;
  std::vector<STickRecord> records;
};
struct SBigOrderPacket {
  SPacketHead head;
  std::vector<SBigOrder> orders;
};

// Each returns false (and an empty result) for a body that is too short,
// of another group (type & 0xFF00), or whose counts reach past it.
bool ReadDealList(const void* body, size_t length, SDealListPacket* out);
bool ReadMinuteTrace(const void* body, size_t length, SMinuteTracePacket* out);
// A record that would reach past the body ends the packet; what was read
// before it is kept (the packet stays true when at least its head was read).
bool ReadPushTicks(const void* body, size_t length, SPushTickPacket* out);
// 0x1C00 or 0x1D00; a count of 0 or less is refused.
bool ReadBigOrders(const void* body, size_t length, SBigOrderPacket* out);

// The same readers for a body whose head the caller has read already (the
// chart view's one decode, chart_view_packet.h): the head given is kept and
// not read again; its group is checked as above.
bool ReadDealList(const SPacketHead& head, const void* body, size_t length, SDealListPacket* out);
bool ReadPushTicks(const SPacketHead& head, const void* body, size_t length, SPushTickPacket* out);
bool ReadBigOrders(const SPacketHead& head, const void* body, size_t length, SBigOrderPacket* out);
// The one reader of the minute-data layout, of whatever type the head says
// (the callers choose the types they take): false, and an empty result,
// when the quote record or the ticks reach past the body; the points are
// kept only when they fit too (pointsRead).
bool ReadMinuteLayout(const SPacketHead& head, const void* body, size_t length,
                      SMinuteTracePacket* out);

// Decodes one record at p of at most avail bytes; 0 when it does not fit,
// else the bytes it takes.
size_t ReadTickRecord(const uint8_t* p, size_t avail, STickRecord* out);

// The 18-byte request of one item: type, market field, tag, count 1, a
// zero word, then the item's market and a 32-bit word (its code, or the
// threshold of the big-order request).
std::string BuildItemRequest(uint16_t type, uint16_t headMarket, uint16_t tag, uint16_t market,
                             uint32_t word);
