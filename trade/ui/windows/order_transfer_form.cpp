#include "trade/ui/windows/order_transfer_form.h"

#include "platform/desktop.h"
#include "platform/gbk.h"
#include "trade/ui/windows/panel_controls.h"

namespace {

using F = COrderTransferForm;

constexpr int kOrderTransferLabelX = 20, kOrderTransferFieldX = 100, kOrderTransferTop = 20,
              kOrderTransferRow = 30;

const platform::DialogItem kOrderTransferItems[] = {
    {platform::kStatic, F::kDirectionLabelId, GBK("转账方式："), kOrderTransferLabelX,
     kOrderTransferTop + 3, 78, 20},
    {platform::kComboBox, F::kDirectionId, nullptr, kOrderTransferFieldX, kOrderTransferTop, 160,
     120, CBS_DROPDOWNLIST},
    {platform::kStatic, F::kBankLabelId, GBK("选择银行："), kOrderTransferLabelX,
     kOrderTransferTop + kOrderTransferRow + 3, 78, 20},
    {platform::kComboBox, F::kBankId, nullptr, kOrderTransferFieldX,
     kOrderTransferTop + kOrderTransferRow, 160, 120, CBS_DROPDOWNLIST},
    {platform::kStatic, F::kAmountLabelId, GBK("转账金额："), kOrderTransferLabelX,
     kOrderTransferTop + 2 * kOrderTransferRow + 3, 78, 20},
    {platform::kEdit, F::kAmountId, nullptr, kOrderTransferFieldX,
     kOrderTransferTop + 2 * kOrderTransferRow, 160, 22, ES_AUTOHSCROLL},
    {platform::kStatic, F::kFundsPasswordLabelId, GBK("资金密码："), kOrderTransferLabelX,
     kOrderTransferTop + 3 * kOrderTransferRow + 3, 78, 20},
    {platform::kEdit, F::kFundsPasswordId, nullptr, kOrderTransferFieldX,
     kOrderTransferTop + 3 * kOrderTransferRow, 160, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kStatic, F::kBankPasswordLabelId, GBK("银行密码："), kOrderTransferLabelX,
     kOrderTransferTop + 4 * kOrderTransferRow + 3, 78, 20},
    {platform::kEdit, F::kBankPasswordId, nullptr, kOrderTransferFieldX,
     kOrderTransferTop + 4 * kOrderTransferRow, 160, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kButton, F::kTransferId, GBK("转账"), kOrderTransferFieldX + 40,
     kOrderTransferTop + 5 * kOrderTransferRow + 8, 80, 25},
};

// The deposit page opens in the user's browser.
bool OpenInBrowser(const std::string& url) {
  return ShellExecute(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL) > 32;
}

}  // namespace

COrderTransferForm::COrderTransferForm(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(400, 240, kOrderTransferItems), env, function),
      model_(*env.session, OpenInBrowser) {}

BOOL COrderTransferForm::OnInitDialog() {
  CTradePanel::OnInitDialog();
  auto* directions = GetDlgItemT<CComboBox>(kDirectionId);
  for (int d : {kExchangeToBank, kBankToExchange}) directions->AddString(TransferDirectionName(d));
  directions->SetCurSel(model_.View().direction);
  SelectOrAddComboString(GetDlgItemT<CComboBox>(kBankId), model_.View().bankName);
  ShowView();
  return TRUE;
}

void COrderTransferForm::ShowView() {
  const STransferFormView& v = model_.View();
  for (int id : {kBankPasswordLabelId, kBankPasswordId}) ShowCtl(*this, id, v.bankPasswordShown);
  for (int id : {kAmountLabelId, kAmountId, kFundsPasswordLabelId, kFundsPasswordId})
    ShowCtl(*this, id, v.amountRowsShown);
  GetDlgItem(kTransferId)->EnableWindow(v.transferEnabled);
}

BOOL COrderTransferForm::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == kDirectionId && code == CBN_SELCHANGE) {
    model_.OnDirectionChanged(GetDlgItemT<CComboBox>(kDirectionId)->GetCurSel());
    ShowView();
    return TRUE;
  }
  if (id == kTransferId && code == BN_CLICKED) {
    model_.OnTransfer(GetWindowString(GetDlgItem(kAmountId)),
                      GetWindowString(GetDlgItem(kFundsPasswordId)),
                      GetWindowString(GetDlgItem(kBankPasswordId)));
    return TRUE;
  }
  return CTradePanel::OnCommand(wParam, lParam);
}

void COrderTransferForm::OnPanelMessage(UINT message) { model_.OnPanelMessage(message); }
