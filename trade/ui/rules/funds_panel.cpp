#include "trade/ui/rules/funds_panel.h"

#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/holding_values.h"
#include "trade/ui/rules/panel_values.h"

CFundsPanelModel::CFundsPanelModel(CTradeSession& session) : session_(session) {
  table_.columns = FundsHoldingColumns();
}

void CFundsPanelModel::OnInit() { session_.QueryFunds(); }

void CFundsPanelModel::OnFunds() {
  const SFundsInfo funds = session_.GetFunds();
  view_.balance = funds.balance;
  view_.available = funds.available;
  view_.withdrawable = funds.withdrawable;
  view_.frozen = funds.frozen;
  session_.QueryHoldings();
}

void CFundsPanelModel::OnHoldings() {
  table_.rows.clear();
  double marketValue = 0, profit = 0;
  for (const SPositionInfo& h : session_.GetHoldings(&table_.cut)) {
    const SHoldingValues v = ValueHolding(h);
    marketValue += v.marketValue;
    profit += v.profit;
    table_.rows.push_back(HoldingCells(h));
  }
  // The balance of the latest funds reply (a price update may come first).
  const double balance = TextToNumber(session_.GetFunds().balance);
  view_.marketValue = FormatMoney(marketValue);
  view_.assets = FormatMoney(balance + marketValue);
  view_.profit = FormatMoney(profit);
}

bool CFundsPanelModel::OnPanelMessage(WPARAM message) {
  if (message == WM_TRADE_FUNDS) {
    OnFunds();
    return true;
  }
  if (message == WM_TRADE_HOLDINGS) {
    OnHoldings();
    return true;
  }
  return false;
}
