// CChangePswdForm: the panel of 修改密码. The type list chooses the trading
// or the funds password; 确认 hands the three typed passwords to the
// password rules, which check them against the stored digest and each
// other and send the change.
#pragma once
#include "trade/ui/rules/password_rules.h"
#include "trade/ui/windows/trade_panel.h"

class CChangePswdForm : public CTradePanel {
 public:
  static constexpr int kTemplateId = 152;
  enum : int {
    kTypeId = 7046,
    kCurrentLabelId = 7047,
    kCurrentId = 1094,
    kNewLabelId = 7048,
    kNewId = 1095,
    kConfirmLabelId = 7049,
    kConfirmId = 1036,
    kChangeId = 1096,
  };

  CChangePswdForm(const STradeWindowEnv& env, int function);

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  int SelectedType() const;

  CPasswordChangeModel model_;
};
