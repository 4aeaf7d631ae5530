// The funds panel without its widgets: the four received fund values, the
// holdings with profit and loss, and the totals (market value, assets,
// profit).
#pragma once
#include <string>

#include "platform/types.h"
#include "trade/ui/rules/panel_table.h"

class CTradeSession;

struct SFundsView {
  std::string balance;       // 7026 余额 (9315), as received
  std::string available;     // 7027 可用 (9312)
  std::string withdrawable;  // 7028 可取 (9316)
  std::string frozen;        // 7031 冻结 (9313)
  std::string marketValue;   // 7029 参考市值, "%.2f" of the holdings' sum
  std::string assets;        // 7045 资产, balance + market value
  std::string profit;        // 7030 盈亏, the holdings' sum
};

class CFundsPanelModel {
 public:
  explicit CFundsPanelModel(CTradeSession& session);

  const SFundsView& View() const { return view_; }
  const SPanelTable& Table() const { return table_; }

  // Panel start: the funds request.
  void OnInit();
  // WM_TRADE_FUNDS: the four values, then the holdings request.
  void OnFunds();
  // WM_TRADE_HOLDINGS (a reply or new prices): rows and totals.
  void OnHoldings();
  // Dispatches a panel message; false when it is not one of the panel's.
  bool OnPanelMessage(WPARAM message);

 private:
  CTradeSession& session_;
  SFundsView view_;
  SPanelTable table_;
};
