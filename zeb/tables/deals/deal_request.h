// The one request of an item's deal list (packet 0x0100, 18 bytes), shared
// by the price-volume distribution and the deal-details tables: both keep a
// copy of the item and ask for its deals through this function.
#pragma once
#include "zeb/store/store_records.h"

class CPublic;

// Sends the request for the item's market and code; 1 when the store took it.
int RequestDeals(CPublic* store, const SStockInfo& item);
