// COrderTransferForm: the bank transfer panel (银证转账). The direction,
// the bank (the account's pay channel), the amount and the passwords; the
// transfer rules decide which rows the channel shows, whether money goes
// in through the channel's web page or as an application to the server
// (a COutMoneyInOutApply record), and the box for the server's answer.
#pragma once
#include "trade/ui/rules/transfer_form.h"
#include "trade/ui/windows/trade_panel.h"

class COrderTransferForm : public CTradePanel {
 public:
  static constexpr int kTemplateId = 6025;
  enum : int {
    kDirectionLabelId = 1015,
    kBankLabelId = 1016,
    kAmountLabelId = 1017,
    kFundsPasswordLabelId = 1018,
    kBankPasswordLabelId = 1019,
    kDirectionId = 6052,
    kBankId = 1161,
    kAmountId = 6049,
    kFundsPasswordId = 6050,
    kBankPasswordId = 6051,
    kTransferId = 1022,
  };

  COrderTransferForm(const STradeWindowEnv& env, int function);

  const CTransferFormModel& Model() const { return model_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnPanelMessage(UINT message) override;

 private:
  // The rules' view: which rows show, the button.
  void ShowView();

  CTransferFormModel model_;
};
