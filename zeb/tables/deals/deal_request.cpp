// Building and sending the deal-list request.
#include "zeb/tables/deals/deal_request.h"

#include "zeb/store/public_store.h"
#include "zeb/tables/packets/chart_packets.h"

int RequestDeals(CPublic* store, const SStockInfo& item) {
  if (!store) return 0;
  const std::string request =
      BuildItemRequest(PKT_PRICE_DISTRIB, 0, static_cast<uint16_t>(CPublic::GetRequestTag()),
                       item.market, static_cast<uint32_t>(item.code));
  return store->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}
