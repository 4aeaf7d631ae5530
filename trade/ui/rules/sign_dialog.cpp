#include "trade/ui/rules/sign_dialog.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/core/sha1_digest.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/bank_channels.h"
#include "trade/ui/rules/typed_input.h"

CSignModel::CSignModel(CTradeSession& session) : session_(session) {
  const STradeAccount a = session_.GetAccount();
  channel_ = a.payChannel;
  view_.bankName = PayChannelName(channel_);
  view_.userId = a.userId;
  view_.bankAccount = a.bankAccount;
  view_.bankAccountName = a.bankAccountName;
  view_.idNumber = a.idNumber;
  ShowState(a.signState == 0);
}

void CSignModel::ShowState(bool offersSigning) {
  offersSigning_ = offersSigning;
  view_.stateText = offersSigning ? GBK("未签约") : GBK("已签约");
  view_.buttonText = offersSigning ? GBK("签约") : GBK("解约");
  view_.buttonEnabled =
      offersSigning ? ChannelAllowsSigning(channel_) : ChannelAllowsUnsigning(channel_);
  view_.bankPasswordEnabled = SigningNeedsBankPassword(offersSigning, channel_);
}

bool CSignModel::OnButton(const std::string& bankPassword, const std::string& fundsPassword) {
  const bool signing = offersSigning_;
  if (::MessageBox(nullptr, signing ? GBK("确定要签约吗？") : GBK("确定要解约吗？"), GBK("提醒"),
                   MB_YESNO) != IDYES)
    return false;
  const bool needsBankPassword = SigningNeedsBankPassword(signing, channel_);
  if (!CheckTypedValues({needsBankPassword ? &bankPassword : nullptr})) return false;
  const STradeAccount a = session_.GetAccount();
  COutMoneyInOutApply apply;
  apply.account = a.userId;
  apply.operationType = signing ? "5" : "6";
  apply.bankName = view_.bankName;
  apply.openingAccount = a.bankAccount;
  apply.idNumber = a.idNumber;
  if (needsBankPassword) apply.phoneBankPassword = bankPassword;
  apply.fundsPassword = PasswordDigest(fundsPassword);
  return session_.ApplyMoneyInOut(apply) == 0;
}

void CSignModel::OnApplyResult() {
  switch (session_.GetApplyResult().status) {
    case 0: ::AfxMessageBox(GBK("已受理！"), MB_OK); break;
    case 1: {
      const bool signedNow = offersSigning_;
      ShowState(!offersSigning_);
      ::AfxMessageBox(signedNow ? GBK("已签约！") : GBK("已解约！"), MB_OK);
      break;
    }
    case 2: ::AfxMessageBox(GBK("系统拒绝！"), MB_OK); break;
    case 3: ::AfxMessageBox(GBK("已审核！"), MB_OK); break;
    default: break;
  }
}

bool CSignModel::OnPanelMessage(WPARAM message) {
  if (message != WM_TRADE_APPLY_RESULT) return false;
  OnApplyResult();
  return true;
}
