// The bank signing panel without its widgets: the account's bank details,
// the state and button it shows, the application it sends and what a
// result changes.
#pragma once
#include <string>

#include "platform/types.h"

class CTradeSession;

struct SSignView {
  std::string bankName;         // 7037's one entry
  std::string userId;           // 7038
  std::string bankAccount;      // 7039
  std::string bankAccountName;  // 7040
  std::string idNumber;         // 7041
  std::string stateText;        // 7043 "已签约" / "未签约"
  std::string buttonText;       // "解约" / "签约"
  bool buttonEnabled = false;
  bool bankPasswordEnabled = false;
};

class CSignModel {
 public:
  explicit CSignModel(CTradeSession& session);

  const SSignView& View() const { return view_; }
  // True while the button offers signing.
  bool OffersSigning() const { return offersSigning_; }

  // The button: confirmation, then one application (request 2017). The
  // action follows what the panel shows, so after a completed signing the
  // next press unsigns. True when the request was sent.
  bool OnButton(const std::string& bankPassword, const std::string& fundsPassword);
  // WM_TRADE_APPLY_RESULT.
  void OnApplyResult();
  bool OnPanelMessage(WPARAM message);

 private:
  void ShowState(bool offersSigning);

  CTradeSession& session_;
  char channel_;
  bool offersSigning_;
  SSignView view_;
};
