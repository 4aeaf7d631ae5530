// The bank transfer form without its widgets: the direction list, which
// rows the pay channel shows, the web deposit (only a web address, values
// percent-encoded) or the application request, and the result box.
#pragma once
#include <functional>
#include <string>

#include "platform/types.h"
#include "trade/core/trade_records.h"
#include "trade/ui/rules/bank_channels.h"

class CTradeSession;

// "交易所转银行" (0), "银行转交易所" (1).
const char* TransferDirectionName(int direction);
// The result box's text for an application's execution status.
const char* TransferResultText(int status);
// The channel's deposit page: link + "accountalias=..&accounttype=..&
// paytype=1&paybank=..", each value percent-encoded; "" when the result is
// not an http or https address.
std::string WebDepositAddress(const std::string& channelLink, const std::string& userId,
                              const std::string& accountType, const std::string& bankName);

struct STransferFormView {
  int direction = kExchangeToBank;
  bool transferEnabled = false;    // "转账"
  bool bankPasswordShown = false;  // 1019 and 6051
  bool amountRowsShown = true;     // 1017, 6049, 1018, 6050
  std::string bankName;            // the bank list's one entry
};

using UrlOpener = std::function<bool(const std::string& url)>;

class CTransferFormModel {
 public:
  // openUrl opens the deposit page in the user's browser (the desktop's
  // handler in the program).
  CTransferFormModel(CTradeSession& session, UrlOpener openUrl);

  const STransferFormView& View() const { return view_; }
  void OnDirectionChanged(int direction);
  // "转账" with the typed amount and passwords: a web deposit opens the page
  // (nothing is sent); otherwise one application (request 2017). True when
  // a page was opened or the request sent.
  bool OnTransfer(const std::string& amount, const std::string& fundsPassword,
                  const std::string& bankPassword);
  // WM_TRADE_APPLY_RESULT: the result box.
  void OnApplyResult();
  bool OnPanelMessage(WPARAM message);

 private:
  bool OpenDepositPage();

  CTradeSession& session_;
  UrlOpener openUrl_;
  char channel_;
  STransferFormView view_;
};
