#include "sim/quote-server/quote_replies.h"

#include <algorithm>
#include <limits>
#include <map>

#include "link/quote_protocol.h"

namespace sim {

using quotelink::WriteU16;
using quotelink::WriteU32;

namespace {

constexpr size_t kListHead = 12;
constexpr size_t kGroupEntries = 15;
constexpr size_t kGroupEntrySize = 16;
constexpr size_t kBlockHead = 12;

void AppendRecords(std::string& body, const std::vector<WalkItem>& items) {
  for (const WalkItem& item : items) body += EncodeQuoteRecord(item);
}

}  // namespace

uint32_t Clamp32(uint64_t v) {
  return (uint32_t)std::min<uint64_t>(v, std::numeric_limits<uint32_t>::max());
}

std::string EncodeQuoteRecord(const WalkItem& item) {
  std::string r(kQuoteRecordSize, '\0');
  char* p = r.data();
  WriteU16(p + 0, item.market);
  WriteU32(p + 2, (uint32_t)item.code);
  WriteU32(p + 6, item.open);
  WriteU32(p + 10, item.high);
  WriteU32(p + 14, item.low);
  WriteU32(p + 18, item.price);
  WriteU32(p + 22, Clamp32(item.volume));
  WriteU32(p + 26, item.lastDeal);
  WriteU32(p + 30, RecordAmount(item.amount));
  WriteU32(p + 34, item.ask);
  WriteU32(p + 38, item.bid);
  WriteU32(p + 42, item.askVolume);
  WriteU32(p + 46, item.bidVolume);
  WriteU32(p + 50, (uint32_t)item.orderRatio);
  return r;
}

std::string BuildQuoteList(uint16_t type, uint16_t tag, const std::vector<WalkItem>& items,
                           uint16_t total) {
  const size_t count = std::min<size_t>(items.size(), 0xFFFF);
  std::string body(kListHead, '\0');
  WriteU16(&body[0], type);
  WriteU16(&body[2], tag);
  WriteU16(&body[4], (uint16_t)count);
  WriteU16(&body[6], total);
  AppendRecords(body, std::vector<WalkItem>(items.begin(), items.begin() + (std::ptrdiff_t)count));
  return body;
}

void BookLevels(const WalkItem& item, BookLevel (&levels)[10]) {
  constexpr int kDepth = 5;
  const uint32_t spread = item.ask > item.bid ? item.ask - item.bid : 1;
  for (int level = 0; level < kDepth; ++level) {
    const uint32_t out = spread * (uint32_t)level;
    levels[kDepth - 1 - level] = {item.ask + out,
                                  item.askVolume + 100 * (uint32_t)level};  // 卖① fifth
    levels[kDepth + level] = {item.bid > out ? item.bid - out : 0,
                              item.bidVolume + 100 * (uint32_t)level};
  }
}

std::string BuildSingleQuote(uint16_t tag, const WalkItem& item) {
  constexpr size_t kLevels = 61;
  std::string body(kSingleQuoteSize, '\0');
  char* p = body.data();
  WriteU16(p + 0, kSingleQuoteType);
  WriteU16(p + 2, tag);
  WriteU16(p + 4, item.market);
  WriteU32(p + 6, (uint32_t)item.code);
  WriteU32(p + 20, item.high);
  WriteU32(p + 24, item.low);
  WriteU32(p + 28, item.price);
  BookLevel levels[10];
  BookLevels(item, levels);
  for (int i = 0; i < 10; ++i) {
    WriteU32(p + kLevels + 8 * i, levels[i].price);
    WriteU32(p + kLevels + 8 * i + 4, levels[i].volume);
  }
  return body;
}

std::string BuildGroupedPush(uint16_t tag, const std::vector<WalkItem>& items) {
  // One entry per market of the records: market id and how many it has.
  std::map<uint16_t, uint16_t> markets;
  for (const WalkItem& item : items) ++markets[item.market];
  const size_t entries = std::min<size_t>(markets.size(), 0xFF);
  const size_t count = std::min<size_t>(items.size(), 0xFFFF);
  std::string body(kGroupEntries + kGroupEntrySize * entries + kBlockHead, '\0');
  WriteU16(&body[0], kGroupedPushType);
  WriteU16(&body[2], tag);
  body[4] = (char)entries;
  size_t at = kGroupEntries;
  for (auto it = markets.begin();
       it != markets.end() && at < kGroupEntries + kGroupEntrySize * entries;
       ++it, at += kGroupEntrySize) {
    WriteU16(&body[at], it->first);
    WriteU16(&body[at + 2], it->second);
  }
  WriteU16(&body[at + 4], (uint16_t)count);
  AppendRecords(body, std::vector<WalkItem>(items.begin(), items.begin() + (std::ptrdiff_t)count));
  return body;
}

}  // namespace sim
