// Subscription to new issues without widgets: the list of collections on
// issue (and the one-subscription-per-collection rule), and the
// subscription dialog's amount, limits, confirmation and order ("7B").
#pragma once
#include <functional>
#include <string>

#include "platform/types.h"
#include "trade/core/trade_records.h"
#include "trade/ui/rules/panel_table.h"
#include "trade/ui/rules/trade_clock.h"

class CTradeSession;

PanelRow IssueCells(const CProductInfo& issue);

class CIssueListModel {
 public:
  // openDialog shows the subscription dialog for an issue modally.
  CIssueListModel(CTradeSession& session, std::function<void(const CProductInfo&)> openDialog,
                  const ITradeClock& clock = SystemTradeClock());

  const SPanelTable& Table() const { return table_; }
  bool ButtonEnabled() const { return !table_.rows.empty(); }

  // Panel start: the issues, and today's allotments (today to tomorrow).
  void OnInit();
  // WM_TRADE_ISSUES: the rows.
  bool OnPanelMessage(WPARAM message);
  // "申购" on a row (-1 none selected). A collection that already has an
  // allotment record is refused before the dialog; the allotments are asked
  // for again after it.
  void OnSubscribe(int selectedRow);

 private:
  void QueryTodayAllotments();

  CTradeSession& session_;
  std::function<void(const CProductInfo&)> openDialog_;
  const ITradeClock& clock_;
  SPanelTable table_;
  std::vector<CProductInfo> issues_;
};

// The subscription dialog ("藏品申购").
struct SSubscriptionView {
  std::string name, code, unitAmount, minimum, available;
  std::string amount;  // 1054, "%0.2f" of quantity x unit amount
};

class CSubscriptionModel {
 public:
  explicit CSubscriptionModel(CTradeSession& session) : session_(session) {}

  // The issue: texts, and the server's maximum for "7B".
  void SetProduct(const CProductInfo& issue);
  const SSubscriptionView& View() const { return view_; }
  int Quantity() const { return quantity_; }

  // The quantity edit changed: a whole number, else 0.
  void OnQuantityChanged(const std::string& text);
  // "下单": the checks (boxes), the confirmation and the order. True when
  // it was sent (the dialog then closes).
  bool OnOrder();

 private:
  CTradeSession& session_;
  CProductInfo issue_;
  SSubscriptionView view_;
  int quantity_ = 0;
};
