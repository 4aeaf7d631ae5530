// Profit and loss of one holding at its latest price, as the order entry's
// holdings list and the funds panel show it. A holding without a price is
// valued at its cost (profit 0); a quantity or cost that does not parse
// counts as 0; a cost of 0 gives a percentage of 0 instead of a division
// by zero.
#pragma once
#include <vector>

#include "trade/core/trade_records.h"
#include "trade/ui/rules/panel_table.h"

struct SHoldingValues {
  double price = 0;  // the latest price, or the cost when none is known
  double cost = 0;
  int quantity = 0;
  double profit = 0;         // (price - cost) x quantity
  double profitPercent = 0;  // (price - cost) x 100 / |cost|; 0 when the cost is 0
  double marketValue = 0;    // quantity x price
};

SHoldingValues ValueHolding(const SPositionInfo& holding);

// The 11 cells of a holding row: code, name, quantity, sellable, frozen,
// other frozen and cost as received, then profit, percentage, market value
// and price ("%.2f").
PanelRow HoldingCells(const SPositionInfo& holding);

// The columns of the two holdings lists (the order entry's "盈亏比例(%)",
// the funds panel's "盈亏(%)").
const std::vector<SColumnSpec>& OrderEntryHoldingColumns();
const std::vector<SColumnSpec>& FundsHoldingColumns();
