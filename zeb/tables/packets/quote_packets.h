// The one reader of the quote packets that carry 54-byte quote records:
// the quote list (0x0200), the pushed market lists (0x7000, 0x7100), the
// grouped push (0x3B00), and the trading-window (0x2200) and alarm (0x3300)
// quotes that share the quote list's layout.
//
// A body is lent by the link and comes from the network: every count is
// checked against the body's length before a record is touched, records
// are decoded field by field from their offsets (never by casting a
// struct over the bytes), and the body is never written to (the pointer
// slots some bodies reserve are not needed to read them). A body that is
// shorter than its head or than its count claims is refused whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/le_bytes.h"
#include "zeb/store/store_records.h"

// Packet types (the 16-bit field at offset 0; receivers match type & 0xFF00).
constexpr uint16_t PKT_REPORT = 0x0200;           // quote list of requested items
constexpr uint16_t PKT_TRADE_QUOTES = 0x2200;     // prices for the trading window
constexpr uint16_t PKT_ALARM_QUOTES = 0x3300;     // quotes of the alarm list
constexpr uint16_t PKT_REPORT_PUSH = 0x7000;      // a market list pushed by the server
constexpr uint16_t PKT_REPORT_PUSH_ALT = 0x7100;  // the same, second kind
constexpr uint16_t PKT_REPORT_GROUPED = 0x3B00;   // grouped head, then a block of quotes
constexpr uint16_t PKT_PUSH_TICK = 0x0B00;        // pushed quote records of shown items

constexpr uint16_t PacketGroup(uint16_t type) { return static_cast<uint16_t>(type & 0xFF00); }

// The check of every count against its body (platform/le_bytes.h).
using platform::RecordsFit;

// One quote record as decoded from the wire (the wire form is 54 packed
// little-endian bytes; this is the program's own copy of it).
struct SQuoteUnit {
  SCodeInfo code;
  uint32_t open = 0;  // thousandths
  uint32_t high = 0;
  uint32_t low = 0;
  uint32_t last = 0;
  uint32_t volume = 0;
  uint32_t curVolume = 0;  // last deal volume (现量)
  uint32_t amount = 0;     // thousandths of the currency unit
  uint32_t askPrice = 0;   // 卖价
  uint32_t bidPrice = 0;   // 买价
  uint32_t askVolume = 0;
  uint32_t bidVolume = 0;
  int32_t orderRatio = 0;  // 委比, hundredths of a percent
};

constexpr size_t kQuoteUnitSize = 54;
// Head of the quote-list layout: type, tag, count u16 at 4, u16 at 6,
// a 4-byte pointer slot at 8; records from 12.
constexpr size_t kQuoteListHeadSize = 12;

// Decodes the 54 bytes at record; the caller has checked they exist.
SQuoteUnit ReadQuoteUnit(const uint8_t* record);

struct SPacketHead {
  uint16_t type = 0;
  uint16_t tag = 0;
};

// The type and request tag; false for a body shorter than 4 bytes.
bool ReadPacketHead(const void* body, size_t length, SPacketHead* head);

// A decoded quote packet. The record vector is reused between reads, so
// reading the same kind of packet over and over does not allocate.
struct SQuotePacket {
  SPacketHead head;
  uint16_t count = 0;  // records in the packet
  uint16_t total = 0;  // the u16 at offset 6: the market's item count in a push
  std::vector<SQuoteUnit> records;
};

// The quote-list layout (0x0200, 0x2200, 0x3300, 0x7000, 0x7100): the
// 16-bit count at offset 4, records from offset 12. False (and no
// records) when the body is shorter than the head or than the count says.
bool ReadQuoteList(const void* body, size_t length, SQuotePacket* out);

// The grouped push 0x3B00: u8 n at 4, n 16-byte entries from 15, then a
// block with a 16-bit count at 4 and records from 12. total is 0.
bool ReadGroupedQuotes(const void* body, size_t length, SQuotePacket* out);

// Either layout, chosen by type & 0xFF00; false for any other type.
bool ReadQuotePacket(const void* body, size_t length, SQuotePacket* out);
