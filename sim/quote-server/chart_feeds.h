// What the simulator serves the chart view, per connection: the deal list
// (0x0100), the time-share reply (0x0300) of an item, whose code it then
// keeps as shown, the traced codes of 0x0900, an item's information text of a date (0x1100) and the big orders of a market above a threshold (0x1C00), whose market
// and threshold it keeps. After each walk step it pushes the records of the
// shown items (0x0B00) and the new big orders (0x1D00). Everything comes
// from the one moving market, so lists, ticks and pushes agree. What it
// keeps per connection is bounded (kMaxShown codes).
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

constexpr size_t kMaxShown = 64;

class ChartFeeds {
 public:
  explicit ChartFeeds(const MarketWalk& walk) : walk_(walk) {}

  // Whether the type is one of these requests.
  static bool Serves(uint16_t type);
  // The reply to a request of a connection; empty when there is none (a
  // short body, an unknown code).
  std::string Answer(int connection, const std::string& request);
  // After a walk step: (connection, body) pairs to send.
  std::vector<std::pair<int, std::string>> Pushes();
  void Forget(int connection);

 private:
  struct Feed {
    std::vector<int32_t> shown;  // codes whose records are pushed
    uint16_t bigMarket = 0;      // 0: no big-order list shown
    uint32_t threshold = 0;
    uint64_t bigSeen = 0;        // serial of the last big order sent
  };
  void Show(Feed& feed, int32_t code);

  const MarketWalk& walk_;
  std::mutex mutex_;
  std::map<int, Feed> feeds_;
};

}  // namespace sim
