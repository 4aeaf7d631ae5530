#include "trade/ui/windows/sign_dlg.h"

#include "platform/gbk.h"
#include "trade/ui/windows/panel_controls.h"

namespace {

using S = CSignAndUnsignDlg;

constexpr int kSignLabelX = 20, kSignFieldX = 100, kSignTop = 20, kSignRow = 30, kFieldWidth = 180;

// A label and its field on row i.
constexpr platform::DialogItem Label(int row, const char* text) {
  return {platform::kStatic, IDC_STATIC, text, kSignLabelX, kSignTop + row * kSignRow + 3, 78, 20};
}
constexpr platform::DialogItem Value(int row, int id) {
  return {platform::kStatic,         id,          "", kSignFieldX,
          kSignTop + row * kSignRow, kFieldWidth, 22, SS_CENTERIMAGE};
}

const platform::DialogItem kSignItems[] = {
    Label(0, GBK("选择银行：")),
    {platform::kComboBox, S::kBankId, nullptr, kSignFieldX, kSignTop, kFieldWidth, 120,
     CBS_DROPDOWNLIST},
    Label(1, GBK("会员代码：")),
    Value(1, S::kUserId),
    Label(2, GBK("银行账号：")),
    Value(2, S::kBankAccountId),
    Label(3, GBK("银行密码：")),
    {platform::kEdit, S::kBankPasswordId, nullptr, kSignFieldX, kSignTop + 3 * kSignRow,
     kFieldWidth, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    Label(4, GBK("资金密码：")),
    {platform::kEdit, S::kFundsPasswordId, nullptr, kSignFieldX, kSignTop + 4 * kSignRow,
     kFieldWidth, 22, ES_PASSWORD | ES_AUTOHSCROLL},
    Label(5, GBK("账号名称：")),
    Value(5, S::kAccountNameId),
    Label(6, GBK("证件号码：")),
    Value(6, S::kIdNumberId),
    Label(7, GBK("签约状态：")),
    Value(7, S::kStateId),
    {platform::kButton, S::kButtonId, GBK("确定"), kSignFieldX + 50, kSignTop + 8 * kSignRow + 8,
     80, 25},
};

}  // namespace

CSignAndUnsignDlg::CSignAndUnsignDlg(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(400, 300, kSignItems), env, function), model_(*env.session) {}

BOOL CSignAndUnsignDlg::OnInitDialog() {
  CTradePanel::OnInitDialog();
  const SSignView& v = model_.View();
  SelectOrAddComboString(GetDlgItemT<CComboBox>(kBankId), v.bankName);
  SetDlgItemText(kUserId, v.userId.c_str());
  SetDlgItemText(kBankAccountId, v.bankAccount.c_str());
  SetDlgItemText(kAccountNameId, v.bankAccountName.c_str());
  SetDlgItemText(kIdNumberId, v.idNumber.c_str());
  ShowView();
  return TRUE;
}

void CSignAndUnsignDlg::ShowView() {
  const SSignView& v = model_.View();
  SetDlgItemText(kStateId, v.stateText.c_str());
  SetDlgItemText(kButtonId, v.buttonText.c_str());
  GetDlgItem(kButtonId)->EnableWindow(v.buttonEnabled);
  GetDlgItem(kBankPasswordId)->EnableWindow(v.bankPasswordEnabled);
}

BOOL CSignAndUnsignDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  // The button has the id of OK: in a panel it must not end the dialog.
  if (LOWORD(wParam) == kButtonId) {
    if (HIWORD(wParam) == BN_CLICKED)
      model_.OnButton(GetWindowString(GetDlgItem(kBankPasswordId)),
                      GetWindowString(GetDlgItem(kFundsPasswordId)));
    return TRUE;
  }
  return CTradePanel::OnCommand(wParam, lParam);
}

void CSignAndUnsignDlg::OnPanelMessage(UINT message) {
  if (model_.OnPanelMessage(message)) ShowView();
}
