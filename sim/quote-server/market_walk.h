// The simulator's moving market: every item of the served market table
// takes a seeded random walk around its previous close, a step whenever it
// trades, and keeps the figures a quote record carries (open, high, low,
// last, volume, last deal, amount, the best bid and ask with their
// volumes, the order ratio).
// Thread-safe: the walk thread steps it while clients are answered.
#pragma once
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace sim {

struct WalkItem {
  uint16_t market = 0;
  int32_t code = 0;
  std::string name;  // GBK
  uint32_t preClose = 0;  // thousandths
  uint32_t open = 0;
  uint32_t price = 0;     // last
  uint32_t high = 0;
  uint32_t low = 0;
  uint64_t volume = 0;
  uint32_t lastDeal = 0;  // volume of the last deal
  uint64_t amount = 0;    // thousandths of the currency unit
  uint32_t bid = 0;
  uint32_t ask = 0;
  uint32_t bidVolume = 0;
  uint32_t askVolume = 0;
  int32_t orderRatio = 0;  // hundredths of a percent
};

class MarketWalk {
 public:
  explicit MarketWalk(uint32_t seed) : rng_(seed) {}
  // Takes the items of a 0x1000 reply body; false when it is malformed.
  bool Load(const std::string& marketTable);
  // One step: about one item in eight trades, with a move of at most 1%
  // of the previous close, kept within +-10% of it, and one deal at the
  // bid or the ask; the others keep every figure.
  void Step();
  std::vector<WalkItem> Snapshot() const;
  size_t Size() const;
  // The items with these codes, in the order asked, leaving out codes the
  // market does not list (the first item of a code, as the store finds it).
  std::vector<WalkItem> Find(const std::vector<int32_t>& codes) const;
  // Items of a market; 0x1000 and 0x3000 count every item.
  size_t CountMarket(uint16_t market) const;

 private:
  mutable std::mutex mutex_;
  std::mt19937 rng_;
  std::vector<WalkItem> items_;
};

}  // namespace sim
