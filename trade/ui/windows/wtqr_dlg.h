// CWtqrDlg: the order entry panel (买入 or 卖出, fixed when it is made).
// The order-entry rules (COrderEntryModel) decide everything: what a typed
// code asks of the host and the server, the limits, the quantity helpers,
// the quote strips, the checks and the order itself. This window feeds
// them what the user types and clicks and shows their view; texts it
// writes itself never count as typing.
#pragma once
#include <memory>

#include "trade/ui/rules/order_entry.h"
#include "trade/ui/windows/show_market.h"
#include "trade/ui/windows/trade_panel.h"

class CMyColorListCtrl;

class CWtqrDlg : public CTradePanel {
 public:
  static constexpr int kTemplateId = 6020;
  enum : int {
    kCodeLabelId = 7019,
    kCodeId = 6061,
    kNameLabelId = 7025,
    kNameId = 7033,
    kKindLabelId = 7020,
    kKindId = 6033,
    kPriceLabelId = 7021,
    kPriceId = 1036,
    kYuanId = 7057,
    kFundsLabelId = 7050,
    kFundsId = 7034,
    kMaximumLabelId = 7023,
    kMaximumId = 7032,
    kAllId = 7052,
    kUnitId = 7058,
    kUnit2Id = 7059,
    kHalfId = 7053,  // 1/2; 1/3, 1/4 and 1/5 follow
    kFifthId = 7056,
    kQuantityLabelId = 7022,
    kQuantityId = 1035,
    kOrderId = 6031,
    kLevelsId = 7013,
    kSummaryId = 7018,
    kHoldingsLabelId = 7016,
    kHoldingsId = 7014,
  };
  // Asks the host for the entered item's quote again, so the strips move
  // with the market.
  static constexpr UINT_PTR kQuoteTimerId = 1;

  CWtqrDlg(const STradeWindowEnv& env, int function, int side);
  ~CWtqrDlg() override;

  const COrderEntryModel& Model() const { return model_; }
  CShowMarket& Levels() { return levels_; }
  CShowMarket& Summary() { return summary_; }
  CMyColorListCtrl& HoldingsList() { return *holdings_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;
  void OnPanelMessage(UINT message) override;
  LRESULT OnTradeQuote(WPARAM kind, LPARAM data) override;
  void OnTimer(UINT_PTR id) override;

 private:
  // The model's view into the controls (only what changed is written).
  void ShowView();
  void FillHoldings();
  void SetTextQuietly(int id, const std::string& text);
  std::string ItemText(int id) const;

  COrderEntryModel model_;
  CShowMarket levels_;
  CShowMarket summary_;
  std::unique_ptr<CMyColorListCtrl> holdings_;
  CBrush white_;
  int writing_ = 0;  // inside ShowView: notifications are our own
};
