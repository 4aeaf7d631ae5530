// The transfer journal panel without its widgets: operation and state
// texts, the rows of a reply, and one box per reply for operation codes
// the table does not know.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"
#include "trade/core/trade_records.h"
#include "trade/ui/rules/panel_table.h"

// The text of an operation type; nullptr for a code the table lacks.
const char* TransferOperationText(int operation);
// The text of an execution state ("返回数据错误" for one the table lacks).
const char* TransferStateText(int state);

class CTradeSession;

class CTransferJournalModel {
 public:
  explicit CTransferJournalModel(CTradeSession& session);

  const SPanelTable& Table() const { return table_; }
  // The bank list's one entry: the pay channel's name.
  std::string BankName() const;
  // Panel start: the journal request (2019).
  void OnInit();
  // WM_TRADE_TRANSFERS: the rows; an unknown operation shows "操作状态异常"
  // in its row and one box "返回操作类型 %d" (the first unknown code) for
  // the whole reply.
  void OnTransfers();
  bool OnPanelMessage(WPARAM message);

 private:
  CTradeSession& session_;
  SPanelTable table_;
};
