// Readers of the reply bodies the K-line chart takes: the K-line history
// (0x0500, 0x0600, 0x1F00), the ex-rights records (0x1300) and the
// information titles (0x1E00); and the K-line's views of the minute data
// (0x0300) and of the pushed ticks (0x0B00), which chart_packets.h reads.
//
// As the quote-list reader: a body is lent, never written to (the pointer
// slots the bodies reserve are skipped and every offset is computed), every
// count is checked against the body's length before a record is read, and
// a body that is shorter than its head or its counts claim is refused whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zeb/tables/packets/timeshare_packets.h"

constexpr uint16_t PKT_HIS_KLINE = 0x0500;       // history of the period in the low byte
constexpr uint16_t PKT_HIS_KLINE_MORE = 0x0600;  // older bars than those held
constexpr uint16_t PKT_HIS_KLINE_EXT = 0x1F00;   // extended history
constexpr uint16_t PKT_EXRIGHTS = 0x1300;        // ex-rights records
constexpr uint16_t PKT_INFO_TITLES = 0x1E00;     // information titles by date
// Two types the chart view routes to the K-line chart, which accepts them
// and takes nothing of them.
constexpr uint16_t PKT_KLINE_SPARE_A = 0x4100;
constexpr uint16_t PKT_KLINE_SPARE_B = 0x4C00;

// One history record as it travels: prices in thousandths.
struct SHistoryRecord {
  uint32_t date = 0;
  uint32_t open = 0, high = 0, low = 0, close = 0;
  uint32_t volume = 0;
  int32_t amount = 0;
};
constexpr size_t kHistoryRecordSize = 28;
constexpr size_t kHistoryRecordsAt = 22;

// Whether the type's group is one of the three history replies.
constexpr bool IsKLineHistoryGroup(uint16_t type) {
  const uint16_t group = PacketGroup(type);
  return group == PKT_HIS_KLINE || group == PKT_HIS_KLINE_MORE || group == PKT_HIS_KLINE_EXT;
}

struct SHistoryPacket {
  SPacketHead head;
  uint16_t hasData = 0;  // the u16 at 4: 0 means no data
  SCodeInfo code{};
  std::vector<SHistoryRecord> records;
};
// 0x0500/0x0600/0x1F00: +4 u16 data flag, +10 market, +12 code, +16 count,
// records from +22. A body without the head or shorter than its count is
// refused (false, no records).
bool ReadKLineHistory(const void* body, size_t length, SHistoryPacket* out);
// The same for a body whose head the caller has read (chart_packets.h).
bool ReadKLineHistory(const SPacketHead& head, const void* body, size_t length,
                      SHistoryPacket* out);

// What the K-line takes of a 0x0300 body: the item, the 30-byte minute
// records and the newest of the 26-byte points.
struct SKLineMinute {
  uint16_t minute = 0;  // minutes since 09:30
  uint32_t price = 0;   // thousandths
  uint32_t volume = 0;
  int32_t amount = 0;
};
struct SKLineMinutePacket {
  SPacketHead head;
  SCodeInfo code{};
  std::vector<SKLineMinute> minutes;  // the 30-byte records in order
  uint16_t pointCount = 0;            // k, 26-byte points
  uint16_t newestPointMinute = 0;     // minute of the last 26-byte point
};
// The time-share reply's layout, read by ReadMinuteLayout (chart_packets.h):
// the n 8-byte levels start at kMinuteHeadSize (73), the records at 73 + 8n
// and the points at 73 + 8n + 30m. Of any type.
bool ReadKLineMinutes(const void* body, size_t length, SKLineMinutePacket* out);
// What the K-line takes of a body ReadMinuteLayout read: false when its
// points reach past the body.
bool KLineMinutesOf(const SMinuteTracePacket& body, SKLineMinutePacket* out);

// One pushed quote of 0x0B00 as the K-line reads it.
struct SKLineTick {
  SCodeInfo code{};  // market 0x1000 + top byte of the item word
  uint16_t minuteOfDay = 0;
  uint32_t open = 0, high = 0, low = 0, last = 0;
  uint32_t dayVolume = 0, volumeIncrement = 0, amount = 0;
};
// A push lists the records of every item the client shows, each item
// where the server put it: the K-line looks for its own, the first of the
// push read by ReadPushTicks (chart_packets.h). False when the push holds
// no whole record of the item.
bool KLineTickOf(const SPushTickPacket& push, SCodeInfo item, SKLineTick* out);

// One ex-rights record: the 16 bytes kept as received and their fields.
struct SExRightsRecord {
  int32_t date = 0;         // yyyymmdd
  int16_t dividend = 0;     // cash per 10 shares, thousandths
  uint16_t shares = 0;      // bonus or rights shares per 10, thousandths (read as the field's bits)
  int32_t rightsPrice = 0;  // ten-thousandths; 0: the shares are a bonus
  int32_t dividendFlag = 0;
};
constexpr size_t kExRightsRecordSize = 16;
constexpr size_t kExRightsAt = 10;
// 0x1300: s16 count at +4, records from +10. A negative count is refused.
bool ReadExRights(const void* body, size_t length, std::vector<SExRightsRecord>* out);

// 0x1E00: u32 count at +10, entries from +18: u32 key, u8 L, a 4-byte slot,
// L bytes of text.
bool ReadInfoTitles(const void* body, size_t length, std::map<uint32_t, std::string>* out);
