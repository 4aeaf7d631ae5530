// CScribleDlg: the modal subscription dialog (藏品申购) for one collection
// on issue. It shows the issue and the available funds, computes the
// amount as the quantity is typed, and on 下单 lets the subscription rules
// check the quantity and funds, confirm and send the order ("7B"); the
// dialog closes once it is sent.
#pragma once
#include "platform/dialog.h"
#include "trade/ui/rules/subscription.h"

class CScribleDlg : public CDialog {
 public:
  static constexpr int kTemplateId = 6027;
  enum : int {
    kNameId = 6055,
    kCodeId = 6056,
    kUnitAmountId = 1056,
    kMinimumId = 1055,
    kAvailableId = 7034,
    kQuantityId = 6057,
    kAmountId = 1054,
    kOrderId = 1084,
  };

  CScribleDlg(CTradeSession& session, CWnd* parent = nullptr);

  // The issue the dialog subscribes to (asks the server for its maximum).
  void SetProduct(const CProductInfo& issue);
  const CSubscriptionModel& Model() const { return model_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 private:
  CSubscriptionModel model_;
};
