// CSignAndUnsignDlg: the bank signing panel (签约解约). The account's bank
// details from the login, its signing state, and one button that signs or
// unsigns; the signing rules decide what the button offers, whether the
// bank password is asked for, the application (a COutMoneyInOutApply
// record) and what a result changes.
#pragma once
#include "trade/ui/rules/sign_dialog.h"
#include "trade/ui/windows/trade_panel.h"

class CSignAndUnsignDlg : public CTradePanel {
 public:
  static constexpr int kTemplateId = 7007;
  enum : int {
    kBankId = 7037,
    kUserId = 7038,
    kBankAccountId = 7039,
    kAccountNameId = 7040,
    kIdNumberId = 7041,
    kStateId = 7043,
    kBankPasswordId = 7044,
    kFundsPasswordId = 7045,
    kButtonId = IDOK,
  };

  CSignAndUnsignDlg(const STradeWindowEnv& env, int function);

  const CSignModel& Model() const { return model_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPanelMessage(UINT message) override;

 private:
  // The rules' view: the state, the button and the bank-password field.
  void ShowView();

  CSignModel model_;
};
