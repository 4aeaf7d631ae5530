#include "sim/quote-server/quote_lists.h"

#include <algorithm>

#include "link/quote_protocol.h"
#include "sim/quote-server/quote_replies.h"

namespace sim {

namespace {

constexpr size_t kRequestHead = 12;
constexpr size_t kCodeSize = 6;
constexpr uint16_t kMarketListFlag = 0x1000;

}  // namespace

std::string QuoteLists::Answer(int connection, const std::string& request) {
  using quotelink::ReadU16;
  using quotelink::ReadU32;
  if (request.size() < kRequestHead) return std::string();
  const char* p = request.data();
  const uint16_t market = ReadU16(p + 2);
  const uint16_t tag = ReadU16(p + 4);
  // The count, but never past the items the body holds.
  size_t count = ReadU16(p + 6);
  count = std::min(count, (request.size() - kRequestHead) / kCodeSize);
  std::vector<int32_t> codes;
  codes.reserve(count);
  for (size_t i = 0; i < count; ++i) codes.push_back((int32_t)ReadU32(p + kRequestHead + kCodeSize * i + 2));

  std::string reply = BuildQuoteList(kQuoteListType, tag, walk_.Find(codes), 0);
  if (market & kMarketListFlag) {
    std::lock_guard<std::mutex> lock(mutex_);
    pages_[connection] = Page{market, tag, std::move(codes)};
  }
  return reply;
}

std::vector<std::pair<int, std::string>> QuoteLists::Pushes() {
  std::map<int, Page> pages;
  unsigned round;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pages = pages_;
    round = round_++;
  }
  std::vector<std::pair<int, std::string>> pushes;
  for (const auto& [connection, page] : pages) {
    const std::vector<WalkItem> items = walk_.Find(page.codes);
    if (items.empty()) continue;
    const uint16_t total = (uint16_t)std::min<size_t>(walk_.CountMarket(page.market), 0xFFFF);
    switch (round % 3) {
      case 0: pushes.emplace_back(connection, BuildQuoteList(kMarketPushType, page.tag, items, total)); break;
      case 1: pushes.emplace_back(connection, BuildQuoteList(kMarketPushAltType, page.tag, items, total)); break;
      default: pushes.emplace_back(connection, BuildGroupedPush(page.tag, items)); break;
    }
  }
  return pushes;
}

void QuoteLists::Forget(int connection) {
  std::lock_guard<std::mutex> lock(mutex_);
  pages_.erase(connection);
}

}  // namespace sim
