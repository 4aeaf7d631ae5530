// Answering and pushing the chart view's data.
#include "sim/quote-server/chart_feeds.h"

#include <algorithm>

#include "link/quote_protocol.h"
#include "sim/quote-server/chart_replies.h"

namespace sim {

using quotelink::ReadU16;
using quotelink::ReadU32;

namespace {
// Requests: 12-byte head (type, market, tag, count), then 6-byte items.
constexpr size_t kHead = 12;
constexpr size_t kItem = 6;
}  // namespace

bool ChartFeeds::Serves(uint16_t type) {
  switch (type & 0xFF00) {
    case kDealListType:
    case kMinuteTraceType:
    case kTraceListType:
    case kBigOrderType:
    case kInfoType: return true;
    default: return false;
  }
}

void ChartFeeds::Show(Feed& feed, int32_t code) {
  if (std::find(feed.shown.begin(), feed.shown.end(), code) != feed.shown.end()) return;
  if (feed.shown.size() >= kMaxShown) feed.shown.erase(feed.shown.begin());
  feed.shown.push_back(code);
}

std::vector<std::string> ChartFeeds::Answer(int connection, const std::string& request) {
  if (request.size() < kHead + kItem) return {};
  const char* p = request.data();
  const uint16_t type = ReadU16(p) & 0xFF00;
  const uint16_t tag = ReadU16(p + 4);
  const uint16_t market = ReadU16(p + kHead);
  const uint32_t word = ReadU32(p + kHead + 2);
  std::lock_guard<std::mutex> lock(mutex_);
  Feed& feed = feeds_[connection];
  if (type == kBigOrderType) {
    feed.bigMarket = market;
    feed.threshold = word;
    feed.bigSeen = walk_.LastSerial();
    std::vector<WalkBigDeal> deals = walk_.BigDeals(market, word, 0);
    if (deals.empty()) return {};  // a count of 0 is not a list
    if (deals.size() > kRecentBigOrders) deals.erase(deals.begin(), deals.end() - kRecentBigOrders);
    return {BuildBigOrders(kBigOrderType, tag, deals)};
  }
  if (type == kTraceListType) {
    // Each traced item's day so far, so a chart that starts tracing late
    // still shows the morning; the pushes then keep it going.
    std::vector<std::string> replies;
    const size_t count = std::min<size_t>(ReadU16(p + 6), (request.size() - kHead) / kItem);
    for (size_t i = 0; i < count; ++i) {
      const int32_t code = (int32_t)ReadU32(p + kHead + kItem * i + 2);
      WalkItem item;
      std::vector<WalkDeal> deals;
      if (!walk_.Day(code, &item, &deals)) continue;
      Show(feed, code);
      std::string body = BuildMinuteTrace(tag, item, deals);
      quotelink::WriteU16(body.data(), kTraceListType);
      replies.push_back(std::move(body));
    }
    return replies;
  }
  WalkItem item;
  std::vector<WalkDeal> deals;
  if (!walk_.Day((int32_t)word, &item, &deals)) return {};
  switch (type) {
    case kDealListType: return {BuildDealList(tag, deals)};
    case kMinuteTraceType: Show(feed, item.code); return {BuildMinuteTrace(tag, item, deals)};
    case kInfoType: {
      // The second item of the request carries the date.
      const uint32_t date = platform::RecordsFit(request.size(), kHead, 2, kItem)
                                ? ReadU32(p + kHead + kItem + 2)
                                : 0;
      return {BuildInfoText(tag, item, date)};
    }
    default: return {};
  }
}

std::vector<std::pair<int, std::string>> ChartFeeds::Pushes() {
  std::vector<std::pair<int, std::string>> out;
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& [connection, feed] : feeds_) {
    if (!feed.shown.empty()) {
      std::vector<WalkItem> items;
      uint16_t minute = 0;
      for (int32_t code : feed.shown) {
        WalkItem item;
        std::vector<WalkDeal> deals;
        if (!walk_.Day(code, &item, &deals)) continue;
        if (!deals.empty()) minute = std::max(minute, deals.back().minute);
        items.push_back(item);
      }
      if (!items.empty()) out.emplace_back(connection, BuildPushTicks(items, minute));
    }
    if (feed.bigMarket != 0) {
      std::vector<WalkBigDeal> fresh = walk_.BigDeals(feed.bigMarket, feed.threshold, feed.bigSeen);
      if (!fresh.empty()) {
        feed.bigSeen = fresh.back().serial;
        // Only what is new: the list already holds the rest.
        out.emplace_back(connection, BuildBigOrders(kBigOrderAddType, 0, fresh));
      }
    }
  }
  return out;
}

void ChartFeeds::Forget(int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  feeds_.erase(connection);
}

}  // namespace sim
