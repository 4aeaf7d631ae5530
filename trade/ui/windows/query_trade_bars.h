// The record panels of the trading window: CQueryTradeBar (today's,
// cancellable or past orders, with cancellation), CQueryDealTradeBar
// (today's or past deals) and CQueryPhTradeBar (allotment numbers of
// subscriptions). One skeleton (CRecordQueryBar over CDateRangePanel); the
// query-panel rules decide what each mode shows, what each button asks of
// the server, the rows of each reply and the cancellation.
#pragma once
#include "trade/ui/rules/query_panels.h"
#include "trade/ui/windows/color_list_ctrl.h"
#include "trade/ui/windows/date_range_panel.h"

class CRecordQueryBar : public CDateRangePanel {
 public:
  const CQueryPanelModel& Model() const { return model_; }
  CMyColorListCtrl& RecordList() { return list_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPanelMessage(UINT message) override;

 protected:
  CRecordQueryBar(EQueryPanel kind, int mode, EButtons buttons, const STradeWindowEnv& env,
                  int function);
  SDateRange& Dates() override { return model_.dates; }
  CListCtrl& List() override { return list_; }

 private:
  // The row the user picked, as the rules number their rows.
  int PickedRow() const { return list_.SourceRow(list_.GetSelectionMark()); }

  CQueryPanelModel model_;
  CMyColorListCtrl list_;
};

// Orders: mode 2 (委托撤单), 6 (今日委托) or 8 (历史委托).
class CQueryTradeBar : public CRecordQueryBar {
 public:
  static constexpr int kTemplateId = 137;
  CQueryTradeBar(const STradeWindowEnv& env, int function, int mode);
};

// Deals: mode 7 (今日成交) or 9 (历史成交).
class CQueryDealTradeBar : public CRecordQueryBar {
 public:
  static constexpr int kTemplateId = 6023;
  CQueryDealTradeBar(const STradeWindowEnv& env, int function, int mode);
};

// Allotment numbers (配号查询) over a date range.
class CQueryPhTradeBar : public CRecordQueryBar {
 public:
  static constexpr int kTemplateId = 6021;
  CQueryPhTradeBar(const STradeWindowEnv& env, int function);
};
