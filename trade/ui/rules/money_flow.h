// The money-flow panel without its widgets: the booking-type texts and the
// rows of today's or the history's records.
#pragma once
#include <cstdint>
#include <string>

#include "platform/types.h"
#include "trade/ui/rules/panel_table.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/trade_clock.h"

class CTradeSession;

// The text of a flow type by its first character; "类型异常" for any other
// (':' to '@', 'U' and beyond, an empty text).
const char* MoneyFlowTypeText(const std::string& type);

class CMoneyFlowModel {
 public:
  // mode 0 today (function 13), 1 history (function 14).
  CMoneyFlowModel(int mode, CTradeSession& session, const ITradeClock& clock = SystemTradeClock());

  int Mode() const { return mode_; }
  // "查询", the pickers and their labels are shown in the history mode only.
  bool ShowsDateRange() const { return mode_ == 1; }
  const SPanelTable& Table() const { return table_; }
  // The date pickers' range (history mode).
  SDateRange dates;

  // Today's mode asks at once (2007); the history waits for "查询".
  void OnInit();
  // "查询": the history over the range as picked (2011).
  void OnQuery();
  // Either flow message refills from the vector of the panel's own mode.
  bool OnPanelMessage(WPARAM message);

 private:
  int mode_;
  CTradeSession& session_;
  SPanelTable table_;
};
