// CQueryTransfer: the transfer journal panel (转账查询). The account's bank
// journal as the server lists it, asked for once when the panel opens, in
// a plain list; the journal rules give the operation and state texts and
// the one box for unknown operation codes.
#pragma once
#include "platform/controls.h"
#include "trade/ui/rules/transfer_journal.h"
#include "trade/ui/windows/trade_panel.h"

class CQueryTransfer : public CTradePanel {
 public:
  static constexpr int kTemplateId = 6026;
  enum : int { kListId = 1004, kBankLabelId = 1006, kBankId = 6053, kQueryId = 6054 };

  CQueryTransfer(const STradeWindowEnv& env, int function);

  const CTransferJournalModel& Model() const { return model_; }
  CListCtrl& JournalList() { return list_; }

  BOOL OnInitDialog() override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;
  void OnPanelMessage(UINT message) override;

 private:
  CTransferJournalModel model_;
  CListCtrl list_;
  CBrush white_;
};
