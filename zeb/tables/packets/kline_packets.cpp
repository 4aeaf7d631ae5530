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
  out->records.clear();
  if (body == nullptr || length < kHistoryRecordsAt) return false;
  const uint8_t* p = Bytes(body);
  ReadPacketHead(p, length, &out->head);
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
  out->minutes.clear();
  out->pointCount = 0;
  out->newestPointMinute = 0;
  if (body == nullptr || length < kMinuteHeadSize) return false;
  const uint8_t* p = Bytes(body);
  ReadPacketHead(p, length, &out->head);
  out->code.market = ReadU16(p + 4);
  out->code.code = static_cast<int32_t>(ReadU32(p + 6));
  const size_t m = ReadU16(p + 10);
  const size_t k = ReadU16(p + 16);
  const size_t n = p[68];
  const size_t records = kMinuteHeadSize + n * kLevelSize;
  if (!RecordsFit(length, kMinuteHeadSize, n, kLevelSize) ||
      !RecordsFit(length, records, m, kDealRecordSize))
    return false;
  const size_t points = records + m * kDealRecordSize;
  if (!RecordsFit(length, points, k, kMinutePointSize)) return false;
  out->minutes.resize(m);
  for (size_t i = 0; i < m; ++i) {
    const uint8_t* r = p + records + i * kDealRecordSize;
    out->minutes[i] = SKLineMinute{ReadU16(r), ReadU32(r + 2), ReadU32(r + 6),
                                   static_cast<int32_t>(ReadU32(r + 26))};
  }
  out->pointCount = static_cast<uint16_t>(k);
  if (k > 0) out->newestPointMinute = ReadU16(p + points + (k - 1) * kMinutePointSize);
  return true;
}

bool ReadKLineTick(const void* body, size_t length, SCodeInfo item, SKLineTick* out) {
  *out = SKLineTick{};
  constexpr size_t kEntriesAt = 4, kCountAt = 9, kEntries = 15, kEntrySize = 16;
  if (body == nullptr || length < kEntries) return false;
  const uint8_t* p = Bytes(body);
  size_t at = kEntries + kEntrySize * p[kEntriesAt];
  const size_t count = ReadU16(p + kCountAt);
  STickRecord r;
  for (size_t i = 0; i < count && at <= length; ++i) {
    const size_t taken = ReadTickRecord(p + at, length - at, &r);
    if (taken == 0) return false;
    at += taken;
    if (!(r.code == item)) continue;
    *out = SKLineTick{r.code, r.time, r.open, r.high, r.low, r.last, r.volume, r.curVolume, r.amount};
    return true;
  }
  return false;
}

bool ReadExRights(const void* body, size_t length, std::vector<SExRightsRecord>* out) {
  out->clear();
  if (body == nullptr || length < kExRightsAt) return false;
  const uint8_t* p = Bytes(body);
  const int16_t count = static_cast<int16_t>(ReadU16(p + 4));
  if (count < 0 || !RecordsFit(length, kExRightsAt, static_cast<size_t>(count), kExRightsRecordSize))
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
