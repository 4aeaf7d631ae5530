#include "trade/ui/rules/holding_values.h"

#include <cmath>

#include "trade/ui/rules/panel_values.h"

SHoldingValues ValueHolding(const SPositionInfo& h) {
  SHoldingValues v;
  v.cost = TextToNumber(h.cost);
  v.price = h.lastPrice == 0 || !std::isfinite(h.lastPrice) ? v.cost : h.lastPrice;
  v.quantity = TextToInt(h.quantity);
  v.profit = (v.price - v.cost) * v.quantity;
  v.profitPercent = v.cost == 0 ? 0 : (v.price - v.cost) * 100 / std::fabs(v.cost);
  v.marketValue = v.quantity * v.price;
  return v;
}

PanelRow HoldingCells(const SPositionInfo& h) {
  const SHoldingValues v = ValueHolding(h);
  return {h.productCode,
          h.productName,
          h.quantity,
          h.sellable,
          h.frozen,
          h.otherFrozen,
          h.cost,
          FormatMoney(v.profit),
          FormatMoney(v.profitPercent),
          FormatMoney(v.marketValue),
          FormatMoney(v.price)};
}

namespace {
std::vector<SColumnSpec> HoldingColumns(const char* percentTitle) {
  return {{"藏品代码", 80},    {"藏品名称", 100}, {"藏品数量", 100}, {"可卖数量", 100},
          {"冻结数量", 100},   {"其他冻结", 100}, {"成本价", 100},   {"浮动盈亏", 100},
          {percentTitle, 100}, {"最新市值", 100}, {"当前价", 100}};
}
}  // namespace

const std::vector<SColumnSpec>& OrderEntryHoldingColumns() {
  static const std::vector<SColumnSpec> columns = HoldingColumns("盈亏比例(%)");
  return columns;
}

const std::vector<SColumnSpec>& FundsHoldingColumns() {
  static const std::vector<SColumnSpec> columns = HoldingColumns("盈亏(%)");
  return columns;
}
