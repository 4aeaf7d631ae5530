// The simulator's quote lists: it answers each quote-list request (0x0200)
// with the moving quotes of the items it names - a market's page, the
// favourites or a block alike, since the request lists its items - and
// remembers, per connection, the last page of a market list (market id
// with bit 0x1000), to which it pushes updates: 0x7000, 0x7100 and 0x3B00
// in turn. What it remembers is bounded by the connections served and the
// longest request. The trading window's price (0x2200) and single-quote
// (0x0800) requests and the alarm-quote request (0x3300) are answered
// from the same moving market.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "sim/quote-server/market_walk.h"

namespace sim {

class QuoteLists {
 public:
  explicit QuoteLists(const MarketWalk& walk) : walk_(walk) {}

  // The reply to a 0x0200 request body of a connection; empty for a body
  // too short to be a request.
  std::string Answer(int connection, const std::string& request);
  // The reply of the request's own type (0x2200, 0x3300) in the quote-list
  // layout, for the items it names; nothing remembered.
  std::string AnswerList(uint16_t type, const std::string& request) const;
  // The 0x0800 reply for the first item the request names; empty when the
  // body is too short or the market does not list the item.
  std::string AnswerSingle(const std::string& request) const;
  // One push per connection that shows a market list: (connection, body).
  std::vector<std::pair<int, std::string>> Pushes();
  // The connection has ended.
  void Forget(int connection);

 private:
  struct Page {
    uint16_t market = 0;
    uint16_t tag = 0;
    std::vector<int32_t> codes;
  };

  const MarketWalk& walk_;
  std::mutex mutex_;
  std::map<int, Page> pages_;
  unsigned round_ = 0;
};

}  // namespace sim
