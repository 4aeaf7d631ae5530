#include "trade/ui/windows/trade_bar.h"

#include "platform/gbk.h"
#include "trade/ui/windows/list_fill.h"
#include "trade/ui/windows/panel_controls.h"
#include "trade/ui/windows/scrible_dlg.h"

namespace {

const platform::DialogItem kTradeBarItems[] = {
    {platform::kButton, CTradeBar::kSubscribeId, GBK("申购"), 10, 270, 100, 25},
};

constexpr COLORREF kTradeBarEntryText = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

CTradeBar::CTradeBar(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(400, 300, kTradeBarItems), env, function),
      model_(
          *env.session, [this](const CProductInfo& issue) { OpenSubscription(issue); },
          env.clock ? *env.clock : SystemTradeClock()) {
  white_.CreateSolidBrush(kWhite);
}

BOOL CTradeBar::OnInitDialog() {
  CTradePanel::OnInitDialog();
  subscribe_.SubclassDlgItem(kSubscribeId, this);
  CreatePanelList(list_, *this, kListId);
  SetListColumns(list_, model_.Table().columns);
  model_.OnInit();
  subscribe_.EnableWindow(FALSE);
  return TRUE;
}

void CTradeBar::OnPanelMessage(UINT message) {
  if (!model_.OnPanelMessage(message)) return;
  SetListRows(list_, model_.Table().rows, model_.Table().cut);
  subscribe_.EnableWindow(model_.ButtonEnabled());
}

BOOL CTradeBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kSubscribeId && HIWORD(wParam) == BN_CLICKED) {
    model_.OnSubscribe(list_.GetSelectionMark());
    return TRUE;
  }
  return CTradePanel::OnCommand(wParam, lParam);
}

void CTradeBar::OpenSubscription(const CProductInfo& issue) {
  CScribleDlg dialog(Session(), this);
  dialog.SetProduct(issue);
  dialog.DoModal();
}

void CTradeBar::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  if (cx < 100 || cy < 70) return;
  PlaceCtl(*this, kListId, 5, 0, cx - 10, cy - 30);
  PlaceCtl(*this, kSubscribeId, 10, cy - 30, 100, 25);
}

HBRUSH CTradeBar::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  if (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) {
    dc->SetTextColor(kTradeBarEntryText);
    dc->SetBkColor(kWhite);
    return &white_;
  }
  return &TradePanelBrush();
}
