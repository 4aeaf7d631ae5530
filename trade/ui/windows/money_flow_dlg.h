// CDlgQueryMoneyFlow: the money-flow panel, today's bookings (mode 0,
// 今日流水) or those of a date range (mode 1, 历史流水), in a plain list
// without row colours. The money-flow rules give the requests, the rows
// and the booking-type texts.
#pragma once
#include "trade/ui/rules/money_flow.h"
#include "trade/ui/windows/date_range_panel.h"

class CDlgQueryMoneyFlow : public CDateRangePanel {
 public:
  static constexpr int kTemplateId = 7005;

  CDlgQueryMoneyFlow(const STradeWindowEnv& env, int function, int mode);

  const CMoneyFlowModel& Model() const { return model_; }
  CListCtrl& FlowList() { return list_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPanelMessage(UINT message) override;

 protected:
  SDateRange& Dates() override { return model_.dates; }
  CListCtrl& List() override { return list_; }

 private:
  CMoneyFlowModel model_;
  CListCtrl list_;
};
