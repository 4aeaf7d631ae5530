// Reading the chart view's quote packets by offset, every count checked
// against the body's length first.
#include "zeb/tables/packets/chart_packets.h"

#include "link/quote_protocol.h"

namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;

// 0x0100: tag at 2, count at 10, records from 16.
constexpr size_t kDealCountAt = 10;
constexpr size_t kDealsAt = 16;
// 0x0300: the item at 4 (market) and 6 (code), tick count at 10, point
// count at 16, the quote record at kMinuteQuoteAt; ticks after it, then
// the points.
constexpr size_t kTraceMarketAt = 4;
constexpr size_t kTraceCodeAt = 6;
constexpr size_t kTraceCountAt = 10;
constexpr size_t kTracePointCountAt = 16;
// 0x0B00: u8 entries at 4, record count at 9, entries of 16 bytes from 15.
constexpr size_t kPushEntriesAt = 4;
constexpr size_t kPushCountAt = 9;
constexpr size_t kPushHead = 15;
constexpr size_t kPushEntrySize = 16;
// 0x1C00: count at 4, records from 10; 0x1D00: count at 19, records from 25.
constexpr size_t kBigCountAt = 4;
constexpr size_t kBigAt = 10;
constexpr size_t kBigAddCountAt = 19;
constexpr size_t kBigAddAt = 25;

// The group check of a reader given the head; the body must be as long as
// the layout's fixed part.
bool OfGroup(const SPacketHead& head, const void* body, size_t length, size_t need,
             uint16_t group) {
  return body != nullptr && length >= need && PacketGroup(head.type) == group;
}

SDealRecord ReadDeal(const uint8_t* r) {
  SDealRecord d;
  d.time = ReadU16(r);
  d.price = ReadU32(r + 2);
  d.volume = ReadU32(r + 6);
  d.bid = ReadU32(r + 18);
  d.ask = ReadU32(r + 22);
  d.amount = static_cast<int32_t>(ReadU32(r + 26));
  return d;
}

void ReadDeals(const uint8_t* p, size_t at, size_t count, std::vector<SDealRecord>* out) {
  out->resize(count);
  for (size_t i = 0; i < count; ++i) (*out)[i] = ReadDeal(p + at + i * kDealRecordSize);
}

// Each public reader reads the head, then hands it to its form that takes it.
template <class Packet>
bool WithHead(const void* body, size_t length, Packet* out,
              bool (*read)(const SPacketHead&, const void*, size_t, Packet*)) {
  SPacketHead head;
  if (!ReadPacketHead(body, length, &head)) {
    *out = Packet{};
    return false;
  }
  return read(head, body, length, out);
}

}  // namespace

size_t ReadTickRecord(const uint8_t* p, size_t avail, STickRecord* out) {
  if (avail < kTickRecordHead) return 0;
  const uint8_t m = p[46];
  if (!RecordsFit(avail, kTickRecordHead, m, kLevelSize)) return 0;
  const uint32_t packed = ReadU32(p);
  out->code.market = static_cast<uint16_t>((packed >> 24) | 0x1000);
  out->code.code = static_cast<int32_t>(packed & 0xFFFFFF);
  out->time = ReadU16(p + 4);
  out->open = ReadU32(p + 6);
  out->high = ReadU32(p + 10);
  out->low = ReadU32(p + 14);
  out->last = ReadU32(p + 18);
  out->average = ReadU32(p + 22);
  out->volume = ReadU32(p + 26);
  out->curVolume = ReadU32(p + 30);
  out->amount = ReadU32(p + 34);
  out->activeBuy = ReadU32(p + 38);
  out->activeSell = ReadU32(p + 42);
  out->levelCount = m;
  out->levels = {};
  for (size_t i = 0; i < m && i < static_cast<size_t>(kBoardLevels); ++i) {
    out->levels[i].price = ReadU32(p + kTickRecordHead + i * kLevelSize);
    out->levels[i].volume = ReadU32(p + kTickRecordHead + i * kLevelSize + 4);
  }
  return kTickRecordHead + kLevelSize * m;
}

bool ReadDealList(const void* body, size_t length, SDealListPacket* out) {
  return WithHead(body, length, out, &ReadDealList);
}

bool ReadDealList(const SPacketHead& head, const void* body, size_t length, SDealListPacket* out) {
  out->deals.clear();
  out->head = head;
  if (!OfGroup(head, body, length, kDealsAt, PKT_PRICE_DISTRIB)) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const size_t n = ReadU16(p + kDealCountAt);
  if (!RecordsFit(length, kDealsAt, n, kDealRecordSize)) return false;
  ReadDeals(p, kDealsAt, n, &out->deals);
  return true;
}

bool ReadMinuteTrace(const void* body, size_t length, SMinuteTracePacket* out) {
  SPacketHead head;
  if (!ReadPacketHead(body, length, &head) || PacketGroup(head.type) != PKT_MINUTE_TRACE) {
    *out = SMinuteTracePacket{};
    out->head = head;
    return false;
  }
  return ReadMinuteLayout(head, body, length, out);
}

bool ReadMinuteLayout(const SPacketHead& head, const void* body, size_t length,
                      SMinuteTracePacket* out) {
  out->ticks.clear();
  out->points.clear();
  out->pointsRead = false;
  out->quote = STickRecord{};
  out->code = SCodeInfo{};
  out->head = head;
  if (body == nullptr || length < kMinuteQuoteAt) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const size_t taken = ReadTickRecord(p + kMinuteQuoteAt, length - kMinuteQuoteAt, &out->quote);
  const size_t at = kMinuteQuoteAt + taken;
  const size_t n = ReadU16(p + kTraceCountAt);
  if (taken == 0 || !RecordsFit(length, at, n, kDealRecordSize)) {
    out->quote = STickRecord{};
    return false;
  }
  out->code =
      SCodeInfo{ReadU16(p + kTraceMarketAt), static_cast<int32_t>(ReadU32(p + kTraceCodeAt))};
  ReadDeals(p, at, n, &out->ticks);
  const size_t pointsAt = at + n * kDealRecordSize;
  const size_t k = ReadU16(p + kTracePointCountAt);
  if (!RecordsFit(length, pointsAt, k, kMinutePointSize)) return true;
  out->pointsRead = true;
  out->points.resize(k);
  for (size_t i = 0; i < k; ++i) {
    const uint8_t* r = p + pointsAt + i * kMinutePointSize;
    out->points[i] = SMinutePoint{ReadU16(r), ReadU32(r + 2), ReadU32(r + 6), ReadU32(r + 14)};
  }
  return true;
}

bool ReadPushTicks(const void* body, size_t length, SPushTickPacket* out) {
  return WithHead(body, length, out, &ReadPushTicks);
}

bool ReadPushTicks(const SPacketHead& head, const void* body, size_t length, SPushTickPacket* out) {
  out->records.clear();
  out->head = head;
  if (!OfGroup(head, body, length, kPushHead, PKT_PUSH_TICK)) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  size_t at = kPushHead + kPushEntrySize * p[kPushEntriesAt];
  if (at > length) return false;
  const size_t n = ReadU16(p + kPushCountAt);
  STickRecord record;
  for (size_t i = 0; i < n; ++i) {
    const size_t taken = ReadTickRecord(p + at, length - at, &record);
    if (taken == 0) break;
    out->records.push_back(record);
    at += taken;
  }
  return true;
}

bool ReadBigOrders(const void* body, size_t length, SBigOrderPacket* out) {
  return WithHead(body, length, out, &ReadBigOrders);
}

bool ReadBigOrders(const SPacketHead& head, const void* body, size_t length, SBigOrderPacket* out) {
  out->orders.clear();
  out->head = head;
  const uint16_t group = PacketGroup(head.type);
  if (body == nullptr || (group != PKT_BIG_ORDER && group != PKT_BIG_ORDER_ADD)) return false;
  const size_t countAt = group == PKT_BIG_ORDER ? kBigCountAt : kBigAddCountAt;
  const size_t at = group == PKT_BIG_ORDER ? kBigAt : kBigAddAt;
  if (length < at) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const int16_t n = static_cast<int16_t>(ReadU16(p + countAt));
  if (n <= 0 || !RecordsFit(length, at, static_cast<size_t>(n), kBigOrderSize)) return false;
  out->orders.resize(static_cast<size_t>(n));
  for (size_t i = 0; i < out->orders.size(); ++i) {
    const uint8_t* r = p + at + i * kBigOrderSize;
    SBigOrder& o = out->orders[i];
    o.time = ReadU16(r);
    o.code.market = ReadU16(r + 2);
    o.code.code = static_cast<int32_t>(ReadU32(r + 4));
    o.price = ReadU32(r + 8);
    o.volume = ReadU32(r + 12);
  }
  return true;
}

std::string BuildItemRequest(uint16_t type, uint16_t headMarket, uint16_t tag, uint16_t market,
                             uint32_t word) {
  std::string r(kCodeRequestSize, '\0');
  quotelink::WriteU16(&r[0], type);
  quotelink::WriteU16(&r[2], headMarket);
  quotelink::WriteU16(&r[4], tag);
  quotelink::WriteU16(&r[6], 1);
  quotelink::WriteU16(&r[12], market);
  quotelink::WriteU32(&r[14], word);
  return r;
}
