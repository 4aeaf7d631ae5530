// Reading the time-share packets by offset, every count checked against
// the body's length first.
#include "zeb/tables/packets/timeshare_packets.h"

#include <algorithm>
#include <cstring>

#include "link/quote_protocol.h"

namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;

void PutU16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::string RequestHead(uint16_t type, uint16_t market, uint16_t tag, uint16_t count) {
  std::string s;
  PutU16(s, type);
  PutU16(s, market);
  PutU16(s, tag);
  PutU16(s, count);
  PutU32(s, 0);
  return s;
}

void PutCode(std::string& s, SCodeInfo code) {
  PutU16(s, code.market);
  PutU32(s, static_cast<uint32_t>(code.code));
}

}  // namespace

bool ReadMinuteData(const void* body, size_t length, SMinuteData* out) {
  *out = SMinuteData{};
  const auto* p = static_cast<const uint8_t*>(body);
  if (!p || length < kMinuteHeadSize) return false;
  const uint16_t type = ReadU16(p);
  if (type != kMinuteTraceType && type != PKT_MINUTE_TRACE_A && type != PKT_MINUTE_TRACE_D)
    return false;
  const size_t levels = p[68];
  const size_t deals = ReadU16(p + 10);
  const size_t points = ReadU16(p + 16);
  const size_t pointsAt = kMinuteHeadSize + levels * kMinuteLevelSize + deals * kMinuteDealSize;
  if (pointsAt > length || (length - pointsAt) / kMinutePointSize < points) return false;
  out->head = SPacketHead{type, ReadU16(p + 2)};
  out->code = SCodeInfo{ReadU16(p + 4), static_cast<int32_t>(ReadU32(p + 6))};
  out->time = ReadU16(p + 26);
  out->last = ReadU32(p + 40);
  out->totalVolume = ReadU32(p + 48);
  out->points.resize(points);
  for (size_t i = 0; i < points; ++i) {
    const uint8_t* r = p + pointsAt + i * kMinutePointSize;
    out->points[i] = SMinutePoint{ReadU16(r), ReadU32(r + 2), ReadU32(r + 6), ReadU32(r + 14)};
  }
  return true;
}

bool ReadDayTrace(const void* body, size_t length, SDayTrace* out) {
  *out = SDayTrace{};
  const auto* p = static_cast<const uint8_t*>(body);
  if (!p || length < kDayTraceHeadSize || ReadU16(p) != PKT_DAY_TRACE) return false;
  const size_t count = ReadU16(p + 12);
  if ((length - kDayTraceHeadSize) / kDayTracePointSize < count) return false;
  out->head = SPacketHead{ReadU16(p), ReadU16(p + 2)};
  out->date = ReadU32(p + 4);
  out->preClose = ReadU32(p + 8);
  out->points.resize(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* r = p + kDayTraceHeadSize + i * kDayTracePointSize;
    out->points[i] = SDayTracePoint{ReadU32(r), ReadU32(r + 4), ReadU32(r + 8)};
  }
  return true;
}

bool ReadTimeShareTicks(const void* body, size_t length, STimeShareTicks* out) {
  out->head = SPacketHead{};
  out->ticks.clear();
  const auto* p = static_cast<const uint8_t*>(body);
  if (!p || length < kTickHeadSize || ReadU16(p) != PKT_PUSH_TICK) return false;
  const size_t entries = p[4];
  const size_t count = ReadU16(p + 9);
  out->head = SPacketHead{ReadU16(p), ReadU16(p + 2)};
  size_t at = kTickHeadSize + entries * kTickEntrySize;
  for (size_t i = 0; i < count; ++i) {
    if (at > length || length - at < kTickRecordSize) break;
    const uint8_t* r = p + at;
    const size_t size = kTickRecordSize + r[46] * kTickLevelSize;
    if (length - at < size) break;
    const uint32_t word = ReadU32(r);
    STimeShareTick t;
    t.code = SCodeInfo{static_cast<uint16_t>(0x1000 + (word >> 24)),
                       static_cast<int32_t>(word & 0xFFFFFF)};
    t.time = ReadU16(r + 4);
    t.last = ReadU32(r + 18);
    t.average = ReadU32(r + 22);
    t.totalVolume = ReadU32(r + 26);
    t.volumeStep = ReadU32(r + 30);
    out->ticks.push_back(t);
    at += size;
  }
  return true;
}

std::string BuildMinuteTraceRequest(uint16_t tag, SCodeInfo item) {
  std::string s = RequestHead(kMinuteTraceType, item.market, tag, 1);
  PutCode(s, item);
  return s;
}

std::string BuildListTraceRequest(uint16_t tag, const std::vector<SCodeInfo>& codes) {
  // The count is 16 bits: a longer list sends its first 65535 codes, so
  // the count always matches the codes that follow.
  const size_t n = std::min<size_t>(codes.size(), 0xFFFF);
  std::string s = RequestHead(kListTraceType, 0, tag, static_cast<uint16_t>(n));
  for (size_t i = 0; i < n; ++i) PutCode(s, codes[i]);
  return s;
}
