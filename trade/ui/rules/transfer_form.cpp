#include "trade/ui/rules/transfer_form.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/core/sha1_digest.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/typed_input.h"
#include "trade/ui/rules/url_text.h"

const char* TransferDirectionName(int direction) {
  return direction == kBankToExchange ? GBK("银行转交易所") : GBK("交易所转银行");
}

const char* TransferResultText(int status) {
  switch (status) {
    case 0: return GBK("银行已受理，稍后请检查资金情况！");
    case 1: return GBK("支付完成(已处理)");
    case 2: return GBK("服务器拒绝受理，请检查资金账户！");
    case 3: return GBK("已审核！");
    default: return GBK("服务器返回值异常！");
  }
}

std::string WebDepositAddress(const std::string& channelLink, const std::string& userId,
                              const std::string& accountType, const std::string& bankName) {
  const std::string url = channelLink + "accountalias=" + PercentEncode(userId) +
                          "&accounttype=" + PercentEncode(accountType) +
                          "&paytype=1&paybank=" + PercentEncode(bankName);
  return IsWebAddress(url) ? url : std::string();
}

CTransferFormModel::CTransferFormModel(CTradeSession& session, UrlOpener openUrl)
    : session_(session), openUrl_(std::move(openUrl)), channel_(session.GetAccount().payChannel) {
  view_.transferEnabled = ChannelAllowsTransfer(channel_);
  view_.bankName = PayChannelName(channel_);
  OnDirectionChanged(kExchangeToBank);
}

void CTransferFormModel::OnDirectionChanged(int direction) {
  view_.direction = direction == kBankToExchange ? kBankToExchange : kExchangeToBank;
  view_.bankPasswordShown = TransferNeedsBankPassword(view_.direction, channel_);
  view_.transferEnabled = ChannelAllowsTransfer(channel_);
  view_.amountRowsShown = !IsWebDeposit(view_.direction, channel_);
}

bool CTransferFormModel::OpenDepositPage() {
  const STradeAccount a = session_.GetAccount();
  if (a.channelLink == "FORBIDED") {
    ::MessageBox(nullptr, GBK("模拟账户，禁止出入金!"), GBK("系统提示"),
                 MB_OK | MB_ICONINFORMATION);
    return false;
  }
  // Only a web page is opened: a link that is not an http or https address
  // could start a program.
  const std::string url =
      a.channelLink.empty() ? std::string()
                            : WebDepositAddress(a.channelLink, a.userId, a.accountType, a.bankName);
  if (url.empty()) {
    ::MessageBox(nullptr, GBK("入金网址错误"), GBK("系统提示"), MB_OK | MB_ICONINFORMATION);
    return false;
  }
  return openUrl_ && openUrl_(url);
}

bool CTransferFormModel::OnTransfer(const std::string& amount, const std::string& fundsPassword,
                                    const std::string& bankPassword) {
  if (IsWebDeposit(view_.direction, channel_)) return OpenDepositPage();
  const bool needsBankPassword = TransferNeedsBankPassword(view_.direction, channel_);
  if (!CheckTypedValues({&amount, needsBankPassword ? &bankPassword : nullptr})) return false;
  const STradeAccount a = session_.GetAccount();
  COutMoneyInOutApply apply;
  apply.account = a.userId;
  apply.operationType = view_.direction == kBankToExchange ? "1" : "2";
  apply.amount = amount;
  apply.phone = a.phone;
  apply.openingAccount = a.bankAccount;
  apply.idNumber = a.idNumber;
  apply.fundsPassword = PasswordDigest(fundsPassword);
  if (needsBankPassword) apply.phoneBankPassword = bankPassword;
  return session_.ApplyMoneyInOut(apply) == 0;
}

void CTransferFormModel::OnApplyResult() {
  ::MessageBox(nullptr, TransferResultText(session_.GetApplyResult().status), GBK("出入金提示"),
               MB_OK | MB_ICONINFORMATION);
}

bool CTransferFormModel::OnPanelMessage(WPARAM message) {
  if (message != WM_TRADE_APPLY_RESULT) return false;
  OnApplyResult();
  return true;
}
