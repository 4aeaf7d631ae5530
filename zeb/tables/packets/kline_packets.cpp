// Reading the K-line chart's reply bodies by offset, every count checked
// against the body's length first.
#include "zeb/tables/packets/kline_packets.h"

#include "link/quote_protocol.h"
#include "zeb/tables/packets/chart_packets.h"

namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;

const uint8_t* Bytes(const void* body) { return static_cast<const uint8_t*>(body); }

}  // namespace

bool ReadKLineHistory(const void* body, size_t length, SHistoryPacket* out) {
  SPacketHead head;
  ReadPacketHead(body, length, &head);
  return ReadKLineHistory(head, body, length, out);
}

bool ReadKLineHistory(const SPacketHead& head, const void* body, size_t length,
                      SHistoryPacket* out) {
  out->records.clear();
  if (body == nullptr || length < kHistoryRecordsAt) return false;
  const uint8_t* p = Bytes(body);
  out->head = head;
  out->hasData = ReadU16(p + 4);
  out->code.market = ReadU16(p + 10);
  out->code.code = static_cast<int32_t>(ReadU32(p + 12));
  const size_t n = ReadU16(p + 16);
  if (!RecordsFit(length, kHistoryRecordsAt, n, kHistoryRecordSize)) return false;
  out->records.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* r = p + kHistoryRecordsAt + i * kHistoryRecordSize;
    SHistoryRecord& h = out->records[i];
    h.date = ReadU32(r);
    h.open = ReadU32(r + 4);
    h.high = ReadU32(r + 8);
    h.low = ReadU32(r + 12);
    h.close = ReadU32(r + 16);
    h.volume = ReadU32(r + 20);
    h.amount = static_cast<int32_t>(ReadU32(r + 24));
  }
  return true;
}

bool ReadKLineMinutes(const void* body, size_t length, SKLineMinutePacket* out) {
  SPacketHead head;
  SMinuteTracePacket read;
  if (!ReadPacketHead(body, length, &head) || !ReadMinuteLayout(head, body, length, &read)) {
    KLineMinutesOf(SMinuteTracePacket{}, out);
    return false;
  }
  return KLineMinutesOf(read, out);
}

bool KLineMinutesOf(const SMinuteTracePacket& body, SKLineMinutePacket* out) {
  out->minutes.clear();
  out->pointCount = 0;
  out->newestPointMinute = 0;
  out->head = body.head;
  out->code = body.code;
  if (!body.pointsRead) return false;
  out->minutes.reserve(body.ticks.size());
  for (const SDealRecord& d : body.ticks)
    out->minutes.push_back(SKLineMinute{d.time, d.price, d.volume, d.amount});
  out->pointCount = static_cast<uint16_t>(body.points.size());
  if (!body.points.empty()) out->newestPointMinute = body.points.back().elapsed;
  return true;
}

bool KLineTickOf(const SPushTickPacket& push, SCodeInfo item, SKLineTick* out) {
  *out = SKLineTick{};
  for (const STickRecord& r : push.records) {
    if (!(r.code == item)) continue;
    *out =
        SKLineTick{r.code, r.time, r.open, r.high, r.low, r.last, r.volume, r.curVolume, r.amount};
    return true;
  }
  return false;
}

bool ReadExRights(const void* body, size_t length, std::vector<SExRightsRecord>* out) {
  out->clear();
  if (body == nullptr || length < kExRightsAt) return false;
  const uint8_t* p = Bytes(body);
  const int16_t count = static_cast<int16_t>(ReadU16(p + 4));
  if (count < 0 ||
      !RecordsFit(length, kExRightsAt, static_cast<size_t>(count), kExRightsRecordSize))
    return false;
  out->resize(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const uint8_t* r = p + kExRightsAt + static_cast<size_t>(i) * kExRightsRecordSize;
    SExRightsRecord& e = (*out)[static_cast<size_t>(i)];
    e.date = static_cast<int32_t>(ReadU32(r));
    e.dividend = static_cast<int16_t>(ReadU16(r + 4));
    e.shares = ReadU16(r + 6);
    e.rightsPrice = static_cast<int32_t>(ReadU32(r + 8));
    e.dividendFlag = static_cast<int32_t>(ReadU32(r + 12));
  }
  return true;
}

bool ReadInfoTitles(const void* body, size_t length, std::map<uint32_t, std::string>* out) {
  out->clear();
  constexpr size_t kEntriesAt = 18, kEntryHead = 9;
  if (body == nullptr || length < kEntriesAt) return false;
  const uint8_t* p = Bytes(body);
  const uint32_t count = ReadU32(p + 10);
  size_t at = kEntriesAt;
  for (uint32_t i = 0; i < count; ++i) {
    if (length - at < kEntryHead) {
      out->clear();
      return false;
    }
    const uint32_t key = ReadU32(p + at);
    const size_t len = p[at + 4];
    at += kEntryHead;
    if (length - at < len) {
      out->clear();
      return false;
    }
    (*out)[key] = std::string(reinterpret_cast<const char*>(p + at), len);
    at += len;
  }
  return true;
}
