#include "trade/ui/rules/transfer_journal.h"

#include <cstdio>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"

const char* TransferOperationText(int operation) {
  switch (operation) {
    case 1: return GBK("银行转交易所");
    case 2: return GBK("交易所转银行");
    case 3: return GBK("红冲");
    case 4: return GBK("蓝补");
    case 5: return GBK("签约");
    case 6: return GBK("解约");
    case 7: return GBK("调账入金");
    case 8: return GBK("调账出金");
    case 9: return GBK("交易所手续费结转");
    default: return nullptr;
  }
}

const char* TransferStateText(int state) {
  switch (state) {
    case 0: return GBK("已受理");
    case 1: return GBK("支付完成");
    case 2: return GBK("系统拒绝");
    case 3: return GBK("已审核");
    default: return GBK("返回数据错误");
  }
}

CTransferJournalModel::CTransferJournalModel(CTradeSession& session) : session_(session) {
  table_.columns = {{"ID", 100},       {"操作类型", 150}, {"转账金额", 150}, {"请求时间", 200},
                    {"审核时间", 200}, {"执行状态", 100}, {"备注", 200}};
}

std::string CTransferJournalModel::BankName() const {
  std::string name;
  session_.GetPayChannelName(name);
  return name;
}

void CTransferJournalModel::OnInit() { session_.QueryTransfers(); }

void CTransferJournalModel::OnTransfers() {
  table_.rows.clear();
  bool unknownSeen = false;
  int firstUnknown = 0;
  for (const STransferInfo& t : session_.GetTransfers(&table_.cut)) {
    const char* operation = TransferOperationText(t.operationType);
    if (!operation) {
      operation = GBK("操作状态异常");
      if (!unknownSeen) firstUnknown = t.operationType;
      unknownSeen = true;
    }
    table_.rows.push_back({t.field8116, operation, t.amount, t.field8106, t.field8117,
                           TransferStateText(t.status), t.text58});
  }
  // One box for the reply, after the rows exist: a reply full of unknown
  // codes must not stack a box per row.
  if (unknownSeen) {
    char text[64];
    std::snprintf(text, sizeof text, GBK("返回操作类型 %d"), firstUnknown);
    ::AfxMessageBox(text, MB_OK);
  }
}

bool CTransferJournalModel::OnPanelMessage(WPARAM message) {
  if (message != WM_TRADE_TRANSFERS) return false;
  OnTransfers();
  return true;
}
