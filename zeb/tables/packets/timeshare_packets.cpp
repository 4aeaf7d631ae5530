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
  const uint16_t group = PacketGroup(type);
  if (group != PKT_MINUTE_TRACE && group != PKT_MINUTE_TRACE_A && group != PKT_MINUTE_TRACE_D &&
      group != PKT_TRACE_LIST)
    return false;
  STickRecord quote;
  const size_t taken = ReadTickRecord(p + kMinuteQuoteAt, length - kMinuteQuoteAt, &quote);
  if (taken == 0) return false;
  const size_t deals = ReadU16(p + 10);
  const size_t points = ReadU16(p + 16);
  const size_t dealsAt = kMinuteQuoteAt + taken;
  if (!RecordsFit(length, dealsAt, deals, kDealRecordSize)) return false;
  const size_t pointsAt = dealsAt + deals * kDealRecordSize;
  if (!RecordsFit(length, pointsAt, points, kMinutePointSize)) return false;
  out->head = SPacketHead{type, ReadU16(p + 2)};
  out->code = SCodeInfo{ReadU16(p + 4), static_cast<int32_t>(ReadU32(p + 6))};
  out->time = quote.time;
  out->last = quote.last;
  out->totalVolume = quote.volume;
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
  if (!p || length < kDayTraceHeadSize || PacketGroup(ReadU16(p)) != PKT_DAY_TRACE) return false;
  const size_t count = ReadU16(p + 12);
  if (!RecordsFit(length, kDayTraceHeadSize, count, kDayTracePointSize)) return false;
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

std::string BuildMinuteTraceRequest(uint16_t tag, SCodeInfo item) {
  return BuildItemRequest(PKT_MINUTE_TRACE, item.market, tag, item.market,
                          static_cast<uint32_t>(item.code));
}

std::string BuildListTraceRequest(uint16_t tag, const std::vector<SCodeInfo>& codes) {
  // The count is 16 bits: a longer list sends its first 65535 codes, so
  // the count always matches the codes that follow.
  const size_t n = std::min<size_t>(codes.size(), 0xFFFF);
  std::string s = RequestHead(PKT_TRACE_LIST, 0, tag, static_cast<uint16_t>(n));
  for (size_t i = 0; i < n; ++i) PutCode(s, codes[i]);
  return s;
}
