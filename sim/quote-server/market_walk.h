// The simulator's moving market: every item of the served market table
// takes a seeded random walk around its previous close.
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
  uint32_t price = 0;
  uint32_t high = 0;
  uint32_t low = 0;
  uint32_t volume = 0;
};

class MarketWalk {
 public:
  explicit MarketWalk(uint32_t seed) : rng_(seed) {}
  // Takes the items of a 0x1000 reply body; false when it is malformed.
  bool Load(const std::string& marketTable);
  // One step for every item: a move of at most 1% of the previous close,
  // kept within +-10% of it.
  void Step();
  std::vector<WalkItem> Snapshot() const;
  size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::mt19937 rng_;
  std::vector<WalkItem> items_;
};

}  // namespace sim
