#include "sim/quote-server/market_walk.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "link/quote_protocol.h"

namespace sim {

namespace {

// Prices move in whole cents (10 thousandths), as the lists print them.
constexpr int64_t kCent = 10;
// One item in this many trades in a step: collectibles do not all trade
// every second, and a quote list marks the few that moved.
constexpr int kTradeOdds = 8;
// Items dearer than this trade less often, in proportion.
constexpr uint32_t kDearPrice = 250000;
// What a lot of a deal is worth, in thousandths.
constexpr uint64_t kLotValue = 10000;

int64_t RoundToCent(int64_t price) { return (price + kCent / 2) / kCent * kCent; }

// The spread between bid and ask: 0.2% of the previous close in whole
// cents, at least 0.01.
uint32_t Tick(uint32_t preClose) {
  return std::max<uint32_t>(preClose / 500 / kCent * kCent, kCent);
}

void SetBook(WalkItem& item, bool dealAtAsk, uint32_t bidVolume, uint32_t askVolume) {
  const uint32_t tick = Tick(item.preClose);
  item.bid = dealAtAsk ? (item.price > tick ? item.price - tick : 0) : item.price;
  item.ask = item.bid + tick;
  item.bidVolume = bidVolume;
  item.askVolume = askVolume;
  const int64_t sum = static_cast<int64_t>(bidVolume) + askVolume;
  item.orderRatio =
      sum ? static_cast<int32_t>((static_cast<int64_t>(bidVolume) - askVolume) * 10000 / sum) : 0;
}

}  // namespace

uint32_t RecordAmount(uint64_t thousandths) {
  return (uint32_t)std::min<uint64_t>(thousandths, UINT32_MAX);
}

int32_t BarAmount(uint64_t thousandths) {
  return (int32_t)std::min<uint64_t>(thousandths / 10, INT32_MAX);
}

int32_t BarAmountOf(uint32_t price, uint64_t volume) {
  // Both factors below 2^32 but the product may not fit: divide first
  // when it would not.
  const uint64_t limit = UINT64_MAX / std::max<uint64_t>(price, 1);
  return volume > limit ? INT32_MAX : BarAmount(volume * price);
}

int32_t AddBarAmounts(int32_t a, int32_t b) {
  return (int32_t)std::clamp<int64_t>((int64_t)a + b, 0, INT32_MAX);
}

int TradeOdds(uint32_t preClose) {
  return kTradeOdds * (int)std::max<uint32_t>(1, preClose / kDearPrice);
}

uint32_t DealPieces(uint32_t lots, uint32_t price) {
  if (price == 0) return std::max<uint32_t>(lots, 1);
  return (uint32_t)std::max<uint64_t>(1, (lots * kLotValue + price / 2) / price);
}

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
      item.circulating = (int32_t)ReadU32(p + at + 86);
      // The day opens at the previous close.
      item.open = item.price = item.high = item.low = item.preClose;
      SetBook(item, false, 0, 0);
      items.push_back(item);
    }
  }
  std::lock_guard<std::mutex> lock(mutex_);
  items_ = std::move(items);
  deals_.assign(items_.size(), {});
  bigDeals_.clear();
  steps_ = 0;
  // The morning so far: its own seeded moves, so the live walk's stream
  // stays what it was.
  std::mt19937 morning(rng_() ^ 0x5bd1e995u);
  for (int minute = 0; minute < kMorningDeals; ++minute)
    for (size_t i = 0; i < items_.size(); ++i) StepItem(i, morning, (uint16_t)minute);
  for (size_t i = 0; i < items_.size(); ++i)
    if (!deals_[i].empty()) items_[i].open = deals_[i].front().price;
  return true;
}

void MarketWalk::Step() {
  std::lock_guard<std::mutex> lock(mutex_);
  const uint16_t minute =
      (uint16_t)std::min<long>(kMorningDeals + steps_ / kStepsPerMinute, kLastMinute);
  ++steps_;
  for (size_t i = 0; i < items_.size(); ++i) {
    std::uniform_int_distribution<int> trades(1, TradeOdds(items_[i].preClose));
    if (trades(rng_) == 1) StepItem(i, rng_, minute);  // no deal: every figure stays
  }
}

void MarketWalk::StepItem(size_t index, std::mt19937& rng, uint16_t minute) {
  std::uniform_int_distribution<int> move(-100, 100);  // hundredths of a percent
  std::uniform_int_distribution<int> deal(1, 50);      // a deal is at least one piece
  std::uniform_int_distribution<int> side(0, 1);
  std::uniform_int_distribution<int> book(1, 500);
  // Now and then a big deal, for the big-order lists.
  std::uniform_int_distribution<int> big(0, 39);
  std::uniform_int_distribution<int> bigSize(400, 1500);
  WalkItem& item = items_[index];
  int64_t step = (int64_t)item.preClose * move(rng) / 10000;
  int64_t price = RoundToCent((int64_t)item.price + step);
  // Within 10% of the previous close, in whole cents.
  int64_t top = (item.preClose + item.preClose / 10) / kCent * kCent;
  int64_t bottom = (item.preClose - item.preClose / 10 + kCent - 1) / kCent * kCent;
  if (price > top) price = top;
  if (price < bottom) price = bottom;
  item.price = (uint32_t)price;
  if (item.price > item.high) item.high = item.price;
  if (item.price < item.low) item.low = item.price;
  item.lastDeal = DealPieces((uint32_t)deal(rng), item.price);
  item.volume += item.lastDeal;
  item.amount += (uint64_t)item.lastDeal * item.price;
  const bool atAsk = side(rng) == 1;
  const uint32_t bidVolume = (uint32_t)book(rng);
  SetBook(item, atAsk, bidVolume, (uint32_t)book(rng));
  if (big(dealRng_) == 0) {
    const uint32_t extra = DealPieces((uint32_t)bigSize(dealRng_), item.price);
    item.volume += extra;
    item.amount += (uint64_t)extra * item.price;
    item.lastDeal += extra;
  }
  (atAsk ? item.activeBuy : item.activeSell) += item.lastDeal;
  if (item.lastDeal == 0) return;
  WalkDeal d{minute, item.price, item.lastDeal, item.bid, item.ask};
  std::vector<WalkDeal>& day = deals_[index];
  if (day.size() >= kKeptDeals) day.erase(day.begin(), day.begin() + kKeptDeals / 4);
  day.push_back(d);
  if (d.volume >= 400) {
    bigDeals_.push_back(WalkBigDeal{item.market, item.code, d, ++serial_});
    if (bigDeals_.size() > kKeptDeals)
      bigDeals_.erase(bigDeals_.begin(), bigDeals_.begin() + kKeptDeals / 4);
  }
}

bool MarketWalk::Day(int32_t code, WalkItem* item, std::vector<WalkDeal>* deals) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].code != code) continue;
    if (item) *item = items_[i];
    if (deals) *deals = deals_[i];
    return true;
  }
  return false;
}

std::vector<WalkBigDeal> MarketWalk::BigDeals(uint16_t market, uint32_t minVolume,
                                              uint64_t after) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<WalkBigDeal> found;
  const bool all = market == 0x1000 || market == 0x3000;
  for (const WalkBigDeal& b : bigDeals_)
    if (b.serial > after && b.deal.volume >= minVolume && (all || b.market == market))
      found.push_back(b);
  return found;
}

uint64_t MarketWalk::LastSerial() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return serial_;
}

std::vector<WalkItem> MarketWalk::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_;
}

size_t MarketWalk::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return items_.size();
}

std::vector<WalkItem> MarketWalk::Find(const std::vector<int32_t>& codes) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::unordered_map<int32_t, const WalkItem*> byCode;
  byCode.reserve(items_.size());
  for (const WalkItem& item : items_) byCode.emplace(item.code, &item);
  std::vector<WalkItem> found;
  found.reserve(codes.size());
  for (int32_t code : codes) {
    auto it = byCode.find(code);
    if (it != byCode.end()) found.push_back(*it->second);
  }
  return found;
}

size_t MarketWalk::CountMarket(uint16_t market) const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (market == 0x1000 || market == 0x3000) return items_.size();
  return (size_t)std::count_if(items_.begin(), items_.end(),
                               [&](const WalkItem& i) { return i.market == market; });
}

}  // namespace sim
