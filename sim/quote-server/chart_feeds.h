// What the simulator serves the chart view, per connection: the deal list
// (0x0100), the time-share reply (0x0300) of an item, whose code it then
// keeps as shown, the traced codes of 0x0900 (each answered with its day so
// far in the time-share reply's layout, type 0x0900, and kept as shown), an
// item's information text of a date (0x1100) and the recent big orders of
// a market above a threshold (0x1C00, the latest first), whose market and
// threshold it keeps. After each walk step it pushes the records of the
// shown items (0x0B00) and the big orders made since the last list or push
// (0x1D00, the latest first). Every reply carries its request's tag.
// Everything comes
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
// A big-order list holds the market's latest big deals, as a server's
// "recent big deals" does; pushes then bring the new ones.
constexpr size_t kRecentBigOrders = 50;

class ChartFeeds {
 public:
  explicit ChartFeeds(const MarketWalk& walk) : walk_(walk) {}

  // Whether the type is one of these requests.
  static bool Serves(uint16_t type);
  // The replies to a request of a connection, in order; none for a short
  // body or an unknown code.
  std::vector<std::string> Answer(int connection, const std::string& request);
  // After a walk step: (connection, body) pairs to send.
  std::vector<std::pair<int, std::string>> Pushes();
  void Forget(int connection);

 private:
  struct Feed {
    std::vector<int32_t> shown;  // codes whose records are pushed
    uint16_t bigMarket = 0;      // 0: no big-order list shown
    uint32_t threshold = 0;
    uint64_t bigSeen = 0;  // serial of the last big order sent
  };
  void Show(Feed& feed, int32_t code);

  const MarketWalk& walk_;
  std::mutex mutex_;
  std::map<int, Feed> feeds_;
};

}  // namespace sim
