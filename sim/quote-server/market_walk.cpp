#include "sim/quote-server/market_walk.h"

#include <cstring>

#include "link/quote_protocol.h"

namespace sim {

bool MarketWalk::Load(const std::string& table) {
  using quotelink::ReadU16;
  using quotelink::ReadU32;
  const size_t kHead = 18, kBlockHead = 12, kRecord = 96;
  if (table.size() < kHead) return false;
  const char* p = table.data();
  size_t phases = (unsigned char)p[8];
  size_t markets = (unsigned char)p[13];
  size_t at = kHead + 4 * phases;
  std::vector<WalkItem> items;
  for (size_t m = 0; m < markets; ++m) {
    if (at + kBlockHead > table.size()) return false;
    uint16_t count = ReadU16(p + at + 6);
    at += kBlockHead;
    if (at + (size_t)count * kRecord > table.size()) return false;
    for (uint16_t i = 0; i < count; ++i, at += kRecord) {
      WalkItem item;
      item.name.assign(p + at, strnlen(p + at, 60));
      item.code = (int32_t)ReadU32(p + at + 64);
      item.market = ReadU16(p + at + 68);
      item.preClose = ReadU32(p + at + 70);
      item.price = item.high = item.low = item.preClose;
      items.push_back(item);
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  items_ = std::move(items);
  return true;
}

void MarketWalk::Step() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::uniform_int_distribution<int> move(-100, 100);  // hundredths of a percent
  std::uniform_int_distribution<int> deal(0, 50);
  for (WalkItem& item : items_) {
    int64_t step = (int64_t)item.preClose * move(rng_) / 10000;
    int64_t price = (int64_t)item.price + step;
    int64_t top = item.preClose + item.preClose / 10;
    int64_t bottom = item.preClose - item.preClose / 10;
    if (price > top) price = top;
    if (price < bottom) price = bottom;
    item.price = (uint32_t)price;
    if (item.price > item.high) item.high = item.price;
    if (item.price < item.low) item.low = item.price;
    item.volume += (uint32_t)deal(rng_);
  }
}

std::vector<WalkItem> MarketWalk::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_;
}

size_t MarketWalk::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.size();
}

}  // namespace sim
