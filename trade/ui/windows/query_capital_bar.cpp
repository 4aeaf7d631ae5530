#include "trade/ui/windows/query_capital_bar.h"

#include "platform/gbk.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/ui/windows/panel_controls.h"

namespace {

using B = CQueryCapitalBar;

// Two lines above the list: the received values, then the computed ones.
// Labels are 40 pixels wide (64 for the long one), values 110.
constexpr int kLine1 = 12, kLine2 = 40, kHigh = 20, kValueWidth = 110;

const platform::DialogItem kQueryCapitalItems[] = {
    {platform::kStatic, IDC_STATIC, GBK("人民币:"), 10, kLine1, 56, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("余额:"), 70, kLine1, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kBalanceId, "", 110, kLine1, kValueWidth, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("可用："), 230, kLine1, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kAvailableId, "", 270, kLine1, kValueWidth, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("可取："), 390, kLine1, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kWithdrawableId, "", 430, kLine1, kValueWidth, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("冻结："), 550, kLine1, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kFrozenId, "", 590, kLine1, kValueWidth, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("参考市值："), 70, kLine2, 64, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kMarketValueId, "", 134, kLine2, kValueWidth - 24, kHigh,
     SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("资产："), 230, kLine2, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kAssetsId, "", 270, kLine2, kValueWidth, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, IDC_STATIC, GBK("盈亏："), 390, kLine2, 40, kHigh, SS_CENTERIMAGE},
    {platform::kStatic, B::kProfitId, "", 430, kLine2, kValueWidth, kHigh, SS_CENTERIMAGE},
};

}  // namespace

CQueryCapitalBar::CQueryCapitalBar(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(800, 400, kQueryCapitalItems), env, function),
      model_(*env.session) {}

BOOL CQueryCapitalBar::OnInitDialog() {
  CTradePanel::OnInitDialog();
  CreatePanelList(list_, *this, kListId);
  list_.SetColumns(model_.Table().columns);
  model_.OnInit();
  return TRUE;
}

void CQueryCapitalBar::OnPanelMessage(UINT message) {
  if (!model_.OnPanelMessage(message)) return;
  const SFundsView& v = model_.View();
  if (message == WM_TRADE_FUNDS) {
    const std::pair<int, const std::string*> received[] = {{kBalanceId, &v.balance},
                                                           {kAvailableId, &v.available},
                                                           {kWithdrawableId, &v.withdrawable},
                                                           {kFrozenId, &v.frozen}};
    for (const auto& [id, text] : received) {
      SetDlgItemText(id, text->c_str());
      if (CWnd* field = GetDlgItem(id)) field->RedrawWindow();  // at once
    }
    return;
  }
  list_.SetRows(model_.Table().rows, model_.Table().cut);
  SetDlgItemText(kMarketValueId, v.marketValue.c_str());
  SetDlgItemText(kAssetsId, v.assets.c_str());
  SetDlgItemText(kProfitId, v.profit.c_str());
}

void CQueryCapitalBar::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  PlaceCtl(*this, kListId, 5, 70, cx - 10, cy - 80);
}

HBRUSH CQueryCapitalBar::OnCtlColor(CDC*, CWnd*, UINT) { return &TradePanelBrush(); }
