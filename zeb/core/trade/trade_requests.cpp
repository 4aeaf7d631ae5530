// The trading pane's quote requests (trade_requests.h).
#include "zeb/core/trade/trade_requests.h"

#include <algorithm>
#include <cstdlib>

#include "zeb/core/frame/quote_traffic.h"
#include "zeb/store/code_request.h"

uint16_t GetMarketOfCode(int32_t code) {
  switch (code / 1000) {
    case 100: return 4116;
    case 602: return 4114;
    case 605: return 4119;
    case 701: return 4117;
    case 903: return 4115;
    default: return 4118;
  }
}

std::vector<uint8_t> BuildSingleQuoteRequest(int32_t code, uint16_t tag) {
  const SCodeInfo item{GetMarketOfCode(code), code};
  return BuildCodeRequest(PKT_SINGLE_QUOTE, item.market, tag, &item, 1);
}

std::vector<std::vector<uint8_t>> BuildSubscriptionRequests(const TradeCodeList& codes,
                                                            uint16_t tag) {
  std::vector<std::vector<uint8_t>> requests;
  std::vector<SCodeInfo> items;
  items.reserve(std::min(codes.size(), size_t(kMaxCodesPerRequest)));
  for (size_t from = 0; from < codes.size(); from += size_t(kMaxCodesPerRequest)) {
    const size_t to = std::min(codes.size(), from + size_t(kMaxCodesPerRequest));
    items.clear();
    for (size_t i = from; i < to; ++i) {
      const int32_t code = std::atoi(codes[i].c_str());
      items.push_back(SCodeInfo{GetMarketOfCode(code), code});
    }
    requests.push_back(
        BuildCodeRequest(PKT_TRADE_QUOTES, kAllMarketsAlt, tag, items.data(), int(items.size())));
  }
  return requests;
}
