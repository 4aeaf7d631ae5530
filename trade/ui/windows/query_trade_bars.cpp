#include "trade/ui/windows/query_trade_bars.h"

#include "trade/ui/windows/panel_controls.h"

CRecordQueryBar::CRecordQueryBar(EQueryPanel kind, int mode, EButtons buttons,
                                 const STradeWindowEnv& env, int function)
    : CDateRangePanel(buttons, env, function), model_(kind, mode, *env.session, Clock()) {}

BOOL CRecordQueryBar::OnInitDialog() {
  CDateRangePanel::OnInitDialog();
  list_.SetColumns(model_.Table().columns);
  const SQueryPanelControls shown = model_.Controls();
  ShowDateRow(shown.query);
  ShowCtl(*this, kCancelId, shown.cancel);
  ShowCtl(*this, kRefreshId, shown.refresh);
  model_.OnInit();
  return TRUE;
}

BOOL CRecordQueryBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == kListId && code == NM_DBLCLK) {
    model_.OnDoubleClick(PickedRow());
    return TRUE;
  }
  if (code != BN_CLICKED) return CDateRangePanel::OnCommand(wParam, lParam);
  switch (id) {
    case kQueryId:
      if (ReadDates()) model_.OnQuery();
      return TRUE;
    case kRefreshId: model_.OnRefresh(); return TRUE;
    case kCancelId: model_.OnCancel(PickedRow()); return TRUE;
    default: return CDateRangePanel::OnCommand(wParam, lParam);
  }
}

void CRecordQueryBar::OnPanelMessage(UINT message) {
  if (model_.OnPanelMessage(message)) list_.SetRows(model_.Table().rows, model_.Table().cut);
}

CQueryTradeBar::CQueryTradeBar(const STradeWindowEnv& env, int function, int mode)
    : CRecordQueryBar(EQueryPanel::kOrders, mode, EButtons::kCancelAndRefresh, env, function) {}

CQueryDealTradeBar::CQueryDealTradeBar(const STradeWindowEnv& env, int function, int mode)
    : CRecordQueryBar(EQueryPanel::kDeals, mode, EButtons::kRefresh, env, function) {}

CQueryPhTradeBar::CQueryPhTradeBar(const STradeWindowEnv& env, int function)
    : CRecordQueryBar(EQueryPanel::kAllotments, 0, EButtons::kNone, env, function) {}
