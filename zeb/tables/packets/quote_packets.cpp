// Reading quote packets by offset, with every count checked against the
// body's length first.
#include "zeb/tables/packets/quote_packets.h"

#include "link/quote_protocol.h"

namespace {

using quotelink::ReadU16;
using quotelink::ReadU32;

constexpr size_t kCountAt = 4;
constexpr size_t kTotalAt = 6;

// 0x3B00: n at 4, its 16-byte entries from 15; the block's count at 4 and
// its records at 12 from the block's start.
constexpr size_t kGroupCountAt = 4;
constexpr size_t kGroupEntriesAt = 15;
constexpr size_t kGroupEntrySize = 16;
constexpr size_t kBlockCountAt = 4;
constexpr size_t kBlockRecordsAt = 12;

bool ReadRecords(const uint8_t* p, size_t length, size_t at, uint16_t count, SQuotePacket* out) {
  if (!RecordsFit(length, at, count, kQuoteUnitSize)) return false;
  out->count = count;
  out->records.resize(count);
  for (uint16_t i = 0; i < count; ++i) out->records[i] = ReadQuoteUnit(p + at + i * kQuoteUnitSize);
  return true;
}

void Clear(SQuotePacket* out) {
  out->head = SPacketHead{};
  out->count = 0;
  out->total = 0;
  out->records.clear();
}

}  // namespace

SQuoteUnit ReadQuoteUnit(const uint8_t* r) {
  SQuoteUnit q;
  q.code.market = ReadU16(r + 0);
  q.code.code = static_cast<int32_t>(ReadU32(r + 2));
  q.open = ReadU32(r + 6);
  q.high = ReadU32(r + 10);
  q.low = ReadU32(r + 14);
  q.last = ReadU32(r + 18);
  q.volume = ReadU32(r + 22);
  q.curVolume = ReadU32(r + 26);
  q.amount = ReadU32(r + 30);
  q.askPrice = ReadU32(r + 34);
  q.bidPrice = ReadU32(r + 38);
  q.askVolume = ReadU32(r + 42);
  q.bidVolume = ReadU32(r + 46);
  q.orderRatio = static_cast<int32_t>(ReadU32(r + 50));
  return q;
}

bool ReadPacketHead(const void* body, size_t length, SPacketHead* head) {
  if (body == nullptr || head == nullptr || length < 4) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  head->type = ReadU16(p);
  head->tag = ReadU16(p + 2);
  return true;
}

bool ReadQuoteList(const void* body, size_t length, SQuotePacket* out) {
  Clear(out);
  if (body == nullptr || length < kQuoteListHeadSize) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  ReadPacketHead(p, length, &out->head);
  out->total = ReadU16(p + kTotalAt);
  if (!ReadRecords(p, length, kQuoteListHeadSize, ReadU16(p + kCountAt), out)) {
    Clear(out);
    return false;
  }
  return true;
}

bool ReadGroupedQuotes(const void* body, size_t length, SQuotePacket* out) {
  Clear(out);
  if (body == nullptr || length < kGroupEntriesAt) return false;
  const uint8_t* p = static_cast<const uint8_t*>(body);
  const size_t block = kGroupEntriesAt + kGroupEntrySize * p[kGroupCountAt];
  if (length < block || length - block < kBlockRecordsAt) return false;
  ReadPacketHead(p, length, &out->head);
  if (!ReadRecords(p, length, block + kBlockRecordsAt, ReadU16(p + block + kBlockCountAt), out)) {
    Clear(out);
    return false;
  }
  return true;
}

bool ReadQuotePacket(const void* body, size_t length, SQuotePacket* out) {
  SPacketHead head;
  if (!ReadPacketHead(body, length, &head)) {
    Clear(out);
    return false;
  }
  switch (PacketGroup(head.type)) {
    case PKT_REPORT:
    case PKT_TRADE_QUOTES:
    case PKT_ALARM_QUOTES:
    case PKT_REPORT_PUSH:
    case PKT_REPORT_PUSH_ALT: return ReadQuoteList(body, length, out);
    case PKT_REPORT_GROUPED: return ReadGroupedQuotes(body, length, out);
    default: Clear(out); return false;
  }
}
