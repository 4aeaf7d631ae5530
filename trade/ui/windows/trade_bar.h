// CTradeBar: the subscription panel (申购). The collections on issue in a
// list and a 申购 button that opens the subscription dialog for the chosen
// one; the issue-list rules refuse a second subscription to a collection
// and ask for the allotments again after the dialog.
#pragma once
#include "platform/controls.h"
#include "trade/ui/rules/subscription.h"
#include "trade/ui/windows/button_xp.h"
#include "trade/ui/windows/trade_panel.h"

class CTradeBar : public CTradePanel {
 public:
  static constexpr int kTemplateId = 135;
  enum : int { kListId = 7012, kSubscribeId = 1028 };

  CTradeBar(const STradeWindowEnv& env, int function);

  const CIssueListModel& Model() const { return model_; }
  CListCtrl& IssueList() { return list_; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;
  void OnPanelMessage(UINT message) override;

 private:
  // Shows the subscription dialog for the issue, modally.
  void OpenSubscription(const CProductInfo& issue);

  CIssueListModel model_;
  CListCtrl list_;
  CButtonXP subscribe_;
  CBrush white_;
};
