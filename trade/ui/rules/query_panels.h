// The three record panels (orders with cancellation, deals, allotment
// numbers) without their widgets: which controls a mode shows, what the
// buttons request, the date range sent, the rows of each panel message and
// the cancellation of an order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"
#include "trade/core/trade_records.h"
#include "trade/ui/rules/panel_table.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/trade_clock.h"

class CTradeSession;

enum class EQueryPanel { kOrders, kDeals, kAllotments };

// "1" when the second character of the order type is 'B' (red row), else
// "3" (blue row).
const char* OrderColourCode(const std::string& orderType);
// Today's cancellable orders (mode 2) are those submitted or partly dealt
// (status "1" or "3"); other modes list every order.
bool OrderShownInMode(int mode, const COrderDetail& order);
PanelRow OrderCells(const COrderDetail& order);
PanelRow DealCells(const COrderTurnOver& deal);
PanelRow AllotmentCells(const CSwingOrder& row);

// Which controls a panel shows.
struct SQueryPanelControls {
  bool query = true;     // "查询", the date pickers and their labels
  bool cancel = false;   // "撤单"
  bool refresh = false;  // "刷新"
};

class CQueryPanelModel {
 public:
  // mode: the function that opened the panel (2, 6, 8 orders; 7, 9 deals;
  // ignored for allotments).
  CQueryPanelModel(EQueryPanel kind, int mode, CTradeSession& session,
                   const ITradeClock& clock = SystemTradeClock());

  EQueryPanel Kind() const { return kind_; }
  int Mode() const { return mode_; }
  SQueryPanelControls Controls() const;
  const SPanelTable& Table() const { return table_; }

  // The date pickers' range.
  SDateRange dates;

  // The first request of modes 2, 6 (today's orders) and 7 (today's deals).
  void OnInit();
  // "查询": history of orders or deals over the range as picked; allotments
  // with the end date's next day.
  void OnQuery();
  // "刷新": today's orders or deals.
  void OnRefresh();
  // A panel message: refills the rows when it is this panel's kind.
  bool OnPanelMessage(WPARAM message);
  // "撤单", or a double-click in mode 2, on a row (-1 none selected).
  // Boxes for no selection and subscriptions, then the confirmation; true
  // when the cancel was sent.
  bool OnCancel(int selectedRow);
  // A double-click in the list.
  bool OnDoubleClick(int selectedRow);

 private:
  void Refill();

  EQueryPanel kind_;
  int mode_;
  CTradeSession& session_;
  SPanelTable table_;
  std::vector<COrderDetail> shownOrders_;  // the order of each row
};
