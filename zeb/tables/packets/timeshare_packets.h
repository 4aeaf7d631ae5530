// The reader of the packets only the time-share chart takes: the minute
// data of the day (0x0300 and its two variants 0x0A00, 0x0D00, and the
// trace-list reply 0x0900 in the same layout) as far as its per-minute
// points, and a past day's trace (0x0400); and the two
// requests the chart sends (0x0300 for one item, 0x0900 for the whole
// trace list). The minute-data layout itself (the embedded quote record,
// the deal records, the points) and the pushed tick records (0x0B00) are
// read by the chart view's reader (chart_packets.h), the one decoder of
// those records; ReadMinuteData is that reader's answer as the time-share
// chart takes it.
//
// As with the quote-list reader: every count is checked against the body's
// length before a record is touched, records are decoded field by field,
// and the lent body is never written to (the pointer slots the bodies
// reserve are not needed to read them). A minute or day-trace body that is
// shorter than its head or than its counts claim is refused whole.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "zeb/store/store_records.h"
#include "zeb/tables/packets/chart_packets.h"

constexpr uint16_t PKT_MINUTE_TRACE_A = 0x0A00;  // minute data, second form
constexpr uint16_t PKT_MINUTE_TRACE_D = 0x0D00;  // minute data, third form
constexpr uint16_t PKT_DAY_TRACE = 0x0400;       // a past day's trace

// Minute-data body (chart_packets.h reads it): the quote record at
// kMinuteQuoteAt (51 bytes and its 8-byte levels), then m 30-byte deal
// records (m at 10), then k 26-byte per-minute points (k at 16).
constexpr size_t kMinuteHeadSize = kMinuteQuoteAt + kTickRecordHead;
// Day trace: records of 12 bytes from 18.
constexpr size_t kDayTraceHeadSize = 18;
constexpr size_t kDayTracePointSize = 12;

struct SMinuteData {
  SPacketHead head;
  SCodeInfo code;
  uint16_t time = 0;  // minutes of the day of the latest data
  uint32_t last = 0;  // thousandths
  uint32_t totalVolume = 0;
  std::vector<SMinutePoint> points;
};

struct SDayTracePoint {
  uint32_t price = 0;
  uint32_t volume = 0;
  uint32_t average = 0;
};

struct SDayTrace {
  SPacketHead head;
  uint32_t date = 0;      // yyyymmdd
  uint32_t preClose = 0;  // thousandths
  std::vector<SDayTracePoint> points;
};

// Each returns false (and an empty result) for a body that is too short,
// of another type, or whose counts reach past it. ReadMinuteData takes
// 0x0300, 0x0A00, 0x0D00 and 0x0900 (exact types).
bool ReadMinuteData(const void* body, size_t length, SMinuteData* out);
bool ReadDayTrace(const void* body, size_t length, SDayTrace* out);
// Whether the type's group is one of the four of the minute-data layout.
bool IsMinuteDataGroup(uint16_t type);
// The day trace of a body whose head the caller has read (chart_packets.h).
bool ReadDayTrace(const SPacketHead& head, const void* body, size_t length, SDayTrace* out);

// The 18-byte minute-data request of one item (type 0x0300, the item's
// market in the head, count 1).
std::string BuildMinuteTraceRequest(uint16_t tag, SCodeInfo item);
// The trace-list request: type 0x0900, market 0, n codes.
std::string BuildListTraceRequest(uint16_t tag, const std::vector<SCodeInfo>& codes);
