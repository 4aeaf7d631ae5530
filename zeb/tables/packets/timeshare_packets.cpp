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

bool MinuteDataOf(const SMinuteTracePacket& body, SMinuteData* out) {
  *out = SMinuteData{};
  if (!IsMinuteDataGroup(body.head.type) || !body.pointsRead) return false;
  out->head = body.head;
  out->code = body.code;
  out->time = body.quote.time;
  out->last = body.quote.last;
  out->totalVolume = body.quote.volume;
  out->points = body.points;
  return true;
}

}  // namespace

bool IsMinuteDataGroup(uint16_t type) {
  const uint16_t group = PacketGroup(type);
  return group == PKT_MINUTE_TRACE || group == PKT_MINUTE_TRACE_A || group == PKT_MINUTE_TRACE_D ||
         group == PKT_TRACE_LIST;
}

bool ReadMinuteData(const void* body, size_t length, SMinuteData* out) {
  SPacketHead head;
  SMinuteTracePacket read;
  if (!ReadPacketHead(body, length, &head) || !IsMinuteDataGroup(head.type) ||
      !ReadMinuteLayout(head, body, length, &read)) {
    *out = SMinuteData{};
    return false;
  }
  return MinuteDataOf(read, out);
}

bool ReadDayTrace(const void* body, size_t length, SDayTrace* out) {
  SPacketHead head;
  if (!ReadPacketHead(body, length, &head)) {
    *out = SDayTrace{};
    return false;
  }
  return ReadDayTrace(head, body, length, out);
}

bool ReadDayTrace(const SPacketHead& head, const void* body, size_t length, SDayTrace* out) {
  out->points.clear();
  out->head = SPacketHead{};
  out->date = out->preClose = 0;
  const auto* p = static_cast<const uint8_t*>(body);
  if (!p || length < kDayTraceHeadSize || PacketGroup(head.type) != PKT_DAY_TRACE) return false;
  const size_t count = ReadU16(p + 12);
  if (!RecordsFit(length, kDayTraceHeadSize, count, kDayTracePointSize)) return false;
  out->head = head;
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
