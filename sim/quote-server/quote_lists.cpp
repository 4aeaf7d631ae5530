#include "sim/quote-server/quote_lists.h"

#include <algorithm>

#include "link/quote_protocol.h"
#include "sim/quote-server/quote_replies.h"

namespace sim {

namespace {

constexpr size_t kRequestHead = 12;
constexpr size_t kCodeSize = 6;
constexpr uint16_t kMarketListFlag = 0x1000;

struct Request {
  uint16_t market = 0;
  uint16_t tag = 0;
  std::vector<int32_t> codes;
};

// The request's head and codes; false for a body shorter than its head.
bool ReadRequest(const std::string& body, Request* out) {
  using quotelink::ReadU16;
  using quotelink::ReadU32;
  if (body.size() < kRequestHead) return false;
  const char* p = body.data();
  out->market = ReadU16(p + 2);
  out->tag = ReadU16(p + 4);
  // The count, but never past the items the body holds.
  const size_t count = std::min<size_t>(ReadU16(p + 6), (body.size() - kRequestHead) / kCodeSize);
  out->codes.clear();
  out->codes.reserve(count);
  for (size_t i = 0; i < count; ++i)
    out->codes.push_back((int32_t)ReadU32(p + kRequestHead + kCodeSize * i + 2));
  return true;
}

}  // namespace

std::string QuoteLists::AnswerList(uint16_t type, const std::string& request) const {
  Request r;
  if (!ReadRequest(request, &r)) return std::string();
  return BuildQuoteList(type, r.tag, walk_.Find(r.codes), 0);
}

std::string QuoteLists::AnswerSingle(const std::string& request) const {
  Request r;
  if (!ReadRequest(request, &r) || r.codes.empty()) return std::string();
  const std::vector<WalkItem> found = walk_.Find({r.codes.front()});
  return found.empty() ? std::string() : BuildSingleQuote(r.tag, found.front());
}

std::string QuoteLists::Answer(int connection, const std::string& request) {
  Request r;
  if (!ReadRequest(request, &r)) return std::string();
  const uint16_t market = r.market, tag = r.tag;
  std::vector<int32_t> codes = std::move(r.codes);
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
      case 0:
        pushes.emplace_back(connection, BuildQuoteList(kMarketPushType, page.tag, items, total));
        break;
      case 1:
        pushes.emplace_back(connection, BuildQuoteList(kMarketPushAltType, page.tag, items, total));
        break;
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
