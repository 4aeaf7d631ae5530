#include "trade/ui/rules/custody_pages.h"

#include "trade/ui/rules/url_text.h"

namespace {
const char* const kKeys[kCustodyPageCount] = {
    "CollectionPublishedApplyUrl",
    "CollectionPublishedApplyQueryUrl",
    "TrusteeshipApplyUrl",
    "TrusteeshipApplyQueryUrl",
    "PublishCollectionQueryUrl",
    "SubscribeEntrustQueryUrl",
    "HistorySubscribeBallotQueryUrl",
    "HistoryAddedQueryUrl",
    "PickupOrderRegisterUrl",
    "PickupOrderQueryAndPrintUrl",
    "PickupOrderCancelUrl",
    "PickupOrderCostQueryUrl",
    "TrusteeshipHistoryQueryUrl",
    "QueryPaymentListingFeeListUrl",
};
constexpr int kFirstCustodyFunction = 15;
}  // namespace

const char* CustodyPageKey(int page) {
  return page >= 0 && page < kCustodyPageCount ? kKeys[page] : "";
}

int CustodyPageOfFunction(int functionIndex) {
  const int page = functionIndex - kFirstCustodyFunction;
  return page >= 0 && page < kCustodyPageCount ? page : -1;
}

std::string CustodyAddress(const std::string& base, const std::string& userId,
                           const std::string& sessionId) {
  return base + "/accountname/" + PercentEncode(userId) + "/sessionid/" + PercentEncode(sessionId);
}
