// Every request the trading library sends: one message per member, built
// on the caller's thread and written through the connection at once.
#include "trade/core/trade_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "platform/gbk.h"
#include "sharecode/mythread.h"

bool IsSafeFieldValue(std::string_view value) {
  for (unsigned char c : value)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

int CTradeSession::SendRequest(const char* msgType, const TagFieldList& body, bool login) {
  // A typed value with a delimiter or control byte would split or corrupt
  // the message on the wire; such a request is not sent.
  for (const STagField& field : body) {
    if (!IsSafeFieldValue(field.value)) {
      WriteTraceLine(TRACE_HERE, 0, "request %s refused, field %d holds a control byte\n", msgType,
                     field.tag);
      return -1;
    }
  }
  std::string session;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (login) {
      account_.loginResult = -1;
    } else {
      session = account_.session;
    }
  }
  return Send(BuildTradeMessage(0, msgType, 0, false, &body, 2, session.c_str()));
}

int CTradeSession::Send(std::unique_ptr<CByteBuffer> message) {
  if (!message) return -1;
  const STradeSinks& sinks = GetTradeSinks();
  if (sinks.send) {
    sinks.send(message->Data(), message->Size());
    return 0;
  }
  // Without a connection, or when it could not write, the message is lost:
  // say so rather than report it as sent.
  ITradeConnection* conn = connection_.load();
  return conn && conn->Send(message->Data(), message->Size()) == 0 ? 0 : -1;
}

int CTradeSession::SendLogin() {
  TagFieldList body;
  body.reserve(2);
  {
    std::lock_guard<std::mutex> guard(lock_);
    AddStringField(body, 1, account_.userId, GBK("用户ID"));
    AddStringField(body, 91, account_.pwdDigest, GBK("用户密码"));
  }
  return SendRequest(MT_LOGIN, body, true);
}

int CTradeSession::ChangePassword(char type, const std::string& oldDigest,
                                  const std::string& newDigest) {
  TagFieldList body;
  body.reserve(3);
  AddCharField(body, 8131, type, GBK("密码类型"));
  AddStringField(body, 91, oldDigest, GBK("旧密码"));
  AddStringField(body, 9107, newDigest, GBK("新密码"));
  const int r = SendRequest(MT_CHANGE_PWD, body, false);
  std::lock_guard<std::mutex> guard(lock_);
  if (r == 0) pendingPassword_ = SPendingPassword{type, newDigest};
  else pendingPassword_.reset();
  return r;
}

int CTradeSession::SendOrder(const COrder& order) {
  TagFieldList body;
  body.reserve(4);
  AddStringField(body, 48, order.productId, GBK("藏品ID"));
  AddStringField(body, 40, order.orderType, GBK("订单类型"));
  AddStringField(body, 44, order.price, GBK("委托价格"));
  AddStringField(body, 132, order.quantity, GBK("申请数量"));
  return SendRequest(MT_ORDER, body, false);
}

int CTradeSession::CancelOrder(const std::string& orderNo) {
  TagFieldList body;
  AddStringField(body, 37, orderNo, GBK("订单编号"));
  return SendRequest(MT_CANCEL, body, false);
}

int CTradeSession::QueryMaxQuantity(const std::string& productCode, const std::string& orderType) {
  TagFieldList body;
  body.reserve(2);
  AddStringField(body, 48, productCode, GBK("藏品代码"));
  AddStringField(body, 40, orderType, GBK("委托"));
  return SendRequest(MT_MAX_QTY, body, false);
}

int CTradeSession::QueryHoldings() { return SendRequest(MT_QRY_HOLDINGS, {}, false); }
int CTradeSession::QueryFunds() { return SendRequest(MT_QRY_FUNDS, {}, false); }
int CTradeSession::QueryTodayOrders() { return SendRequest(MT_QRY_ORDERS, {}, false); }
int CTradeSession::QueryTodayDeals() { return SendRequest(MT_QRY_DEALS, {}, false); }
int CTradeSession::QueryIssues() { return SendRequest(MT_QRY_ISSUES, {}, false); }
int CTradeSession::QueryTodayMoneyFlow() { return SendRequest(MT_QRY_FLOW, {}, false); }
int CTradeSession::QueryTransfers() { return SendRequest(MT_QRY_TRANSFERS, {}, false); }

namespace {
TagFieldList DateRange(const std::string& start, const std::string& end, bool named) {
  TagFieldList body;
  body.reserve(2);
  AddStringField(body, 9451, start, named ? GBK("起始日期") : nullptr);
  AddStringField(body, 9452, end, named ? GBK("结束日期") : nullptr);
  return body;
}
}  // namespace

int CTradeSession::QueryOrderHistory(const std::string& startDate, const std::string& endDate) {
  return SendRequest(MT_QRY_HIS_ORDERS, DateRange(startDate, endDate, true), false);
}

int CTradeSession::QueryDealHistory(const std::string& startDate, const std::string& endDate) {
  return SendRequest(MT_QRY_HIS_DEALS, DateRange(startDate, endDate, true), false);
}

int CTradeSession::QueryAllotment(int flag, const std::string& startDate,
                                  const std::string& endDate) {
  return SendRequest(flag == 0 ? MT_QRY_ALLOT : MT_QRY_ALLOT_ALT,
                     DateRange(startDate, endDate, false), false);
}

int CTradeSession::QueryMoneyFlowHistory(const std::string& startDate, const std::string& endDate) {
  return SendRequest(MT_QRY_HIS_FLOW, DateRange(startDate, endDate, true), false);
}

int CTradeSession::ApplyMoneyInOut(const COutMoneyInOutApply& apply) {
  TagFieldList body;
  body.reserve(9);
  AddStringField(body, 1, apply.account, GBK("账户ID"));
  AddStringField(body, 9310, apply.operationType, GBK("操作类型"));
  AddStringField(body, 9311, apply.amount, GBK("入出金金额"));
  AddStringField(body, 9309, apply.openingAccount, GBK("开户账户"));
  AddStringField(body, 9415, apply.fundsPassword, GBK("资金密码"));
  AddTextField(body, 150, "0", GBK("执行状态"));
  AddStringField(body, 8107, apply.phone, GBK("电话"));
  AddStringField(body, 8108, apply.idNumber, GBK("身份证号"));
  AddStringField(body, 9416, apply.phoneBankPassword, GBK("银行电话密码"));
  return SendRequest(MT_MONEY_APPLY, body, false);
}
