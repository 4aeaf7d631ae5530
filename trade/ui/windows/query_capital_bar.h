// CQueryCapitalBar: the funds panel (资金). A line of the account's funds
// on top, the holdings with their profit or loss below. The funds rules
// ask for the funds on opening and for the holdings once the funds are in,
// and recompute the rows and totals on every holdings message (a reply, or
// new prices from the host).
#pragma once
#include "trade/ui/rules/funds_panel.h"
#include "trade/ui/windows/color_list_ctrl.h"
#include "trade/ui/windows/trade_panel.h"

class CQueryCapitalBar : public CTradePanel {
 public:
  static constexpr int kTemplateId = 6022;
  enum : int {
    kListId = 1012,
    kBalanceId = 7026,       // 余额
    kAvailableId = 7027,     // 可用
    kWithdrawableId = 7028,  // 可取
    kMarketValueId = 7029,   // 参考市值
    kProfitId = 7030,        // 盈亏
    kFrozenId = 7031,        // 冻结
    kAssetsId = 7045,        // 资产
  };

  CQueryCapitalBar(const STradeWindowEnv& env, int function);

  const CFundsPanelModel& Model() const { return model_; }
  CMyColorListCtrl& HoldingsList() { return list_; }

  BOOL OnInitDialog() override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;
  void OnPanelMessage(UINT message) override;

 private:
  CFundsPanelModel model_;
  CMyColorListCtrl list_;
};
