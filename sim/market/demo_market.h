// The demo market that the quote-server simulator serves and the tests load:
// two index markets, the five markets of the quote list's tabs (stamps,
// coins, phone cards, postal covers and cards, and the collectibles'
// indexes), each holding only goods whose code maps to it and named as
// its kind, one empty market block, and the day 09:30-11:30, 13:00-15:00.
#pragma once
#include <string>
#include <vector>
#include "sim/market/market_table_builder.h"

namespace sim {

constexpr int32_t kDemoTradeDate = 20261210;
constexpr uint16_t kDemoRequestTag = 1;
// Generated items per trading market, beside the named ones.
constexpr int kSeriesLength = 60;

std::vector<MarketTablePhase> DemoMarketPhases();
std::vector<MarketTableBlock> DemoMarketBlocks();

}  // namespace sim

// The 0x1000 reply body of the demo market.
std::string BuildDemoMarketTable();
