// CDateRangePanel: the skeleton of the trading window's record panels
// (orders, deals, allotment numbers, money flow): a row with the date range
// (起始日期, 结束日期), 查询 and, for some, 撤单 and 刷新, and one list
// below it. The date range is the panel's rules' own; the pickers show it
// and are read back into it before a query. Derived panels say which
// buttons their template holds, make their list and handle the buttons.
#pragma once
#include <span>

#include "platform/controls.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/windows/trade_panel.h"

class CDateRangePanel : public CTradePanel {
 public:
  enum : int {
    kQueryId = 1020,
    kCancelId = 1080,
    kRefreshId = 1027,
    kStartId = 1021,
    kEndId = 1019,
    kStartLabelId = 1023,
    kEndLabelId = 1024,
    kListId = 1012,
  };
  // The buttons of a template besides 查询.
  enum class EButtons { kNone, kRefresh, kCancelAndRefresh };

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;

 protected:
  CDateRangePanel(EButtons buttons, const STradeWindowEnv& env, int function);

  // The range the pickers show (the panel's rules hold it).
  virtual SDateRange& Dates() = 0;
  // The panel's list (made by OnInitDialog under the date row).
  virtual CListCtrl& List() = 0;
  // Shows or hides 查询, the two pickers and their labels.
  void ShowDateRow(bool show);
  // The pickers' values into Dates(); false when they could not be read.
  bool ReadDates() { return UpdateData(TRUE) != FALSE; }
  const ITradeClock& Clock() const;

 private:
  static std::span<const platform::DialogItem> Items(EButtons buttons);
};
