#include "trade/ui/windows/money_flow_dlg.h"

#include "trade/ui/windows/list_fill.h"

CDlgQueryMoneyFlow::CDlgQueryMoneyFlow(const STradeWindowEnv& env, int function, int mode)
    : CDateRangePanel(EButtons::kNone, env, function), model_(mode, *env.session, Clock()) {}

BOOL CDlgQueryMoneyFlow::OnInitDialog() {
  CDateRangePanel::OnInitDialog();
  SetListColumns(list_, model_.Table().columns);
  ShowDateRow(model_.ShowsDateRange());
  model_.OnInit();
  return TRUE;
}

BOOL CDlgQueryMoneyFlow::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kQueryId && HIWORD(wParam) == BN_CLICKED) {
    if (ReadDates()) model_.OnQuery();
    return TRUE;
  }
  return CDateRangePanel::OnCommand(wParam, lParam);
}

void CDlgQueryMoneyFlow::OnPanelMessage(UINT message) {
  if (model_.OnPanelMessage(message)) SetListRows(list_, model_.Table().rows, model_.Table().cut);
}
