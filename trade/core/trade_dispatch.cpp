// Reply dispatch: every block the communication thread receives is checked,
// parsed into the store and announced to the windows that wait for it.
#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "platform/gbk.h"
#include "trade/core/trade_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade/core/trade_vocab.h"

namespace {

// The number of records a list reply may yield: RecordNum, but never more
// rows than the most frequent of the record's tags has values, so a lying
// count cannot make the store allocate rows that hold nothing.
size_t RecordCount(const TagMap& map, std::initializer_list<int> tags) {
  int n = 0;
  GetIntField(map, TAG_RECORD_NUM, &n, "RecordNum");
  if (n <= 0) return 0;
  size_t present = 0;
  for (int tag : tags) {
    auto it = map.find(tag);
    if (it != map.end()) present = std::max(present, it->second.size());
  }
  return std::min(static_cast<size_t>(n), present);
}

struct RowReader {
  const TagMap& map;
  size_t i;
  const std::string& operator()(int tag) const { return GetFieldTextAt(map, tag, i); }
};

}  // namespace

void CTradeSession::DispatchReply(const char* data, int len) {
  if (!VerifyTradeChecksum(data, len)) return;
  TagMap map;
  std::string error;
  if (ParseTradeMessage(data, len, map, nullptr, nullptr, nullptr, nullptr, error) != 0) return;

  std::string code, info, msgType;
  GetField(map, TAG_RETURN_CODE, code, "Return Code");
  GetField(map, TAG_RETURN_INFO, info, "Return Info");
  GetField(map, TAG_MSG_TYPE, msgType, "MsgType");
  const STradeSinks& sinks = GetTradeSinks();

  if (code == "1") {
    // Logged in elsewhere: the user is told, then the process ends on the
    // user-interface thread. A box abandoned because the link is being
    // stopped ends nothing.
    if (sinks.box(GBK("您有账户在其他地方登陆，您已被踢出系统"), MB_ICONEXCLAMATION) != 0)
      sinks.exitProcess(0);
    return;
  }
  if (code != "0" && msgType != MT_HEARTBEAT) {
    sinks.box(std::string(GBK("错误代码=")) + code + GBK("，错误信息：") + info, MB_OK);
    if (msgType == MT_CHANGE_PWD_RSP) DropPasswordChange();
    if (msgType != MT_LOGIN_RSP) return;
    PostNotify(2, 1);
  }
  if (msgType == MT_LOGIN_RSP) {
    const int result = ParseLoginReply(map);
    PostNotify(1, result);
    return;
  }
  if (!mainWnd_.load()) return;

  auto orderBox = [&](const char* head) {
    sinks.box(std::string(head) + GetOrderStatusText(GetFieldText(map, 150)) + GBK(",合同号是") +
                  GetFieldText(map, 37),
              MB_OK);
    QueryTodayOrders();
  };
  auto announce = [&](WPARAM panel) { PostMain(WM_TRADE_REPLY, panel, 0); };

  if (msgType == MT_QRY_ISSUES_RSP) {
    ParseIssues(map);
    announce(WM_TRADE_ISSUES);
  } else if (msgType == MT_QRY_HOLDINGS_RSP) {
    ParseHoldings(map);
    announce(WM_TRADE_HOLDINGS);
  } else if (msgType == MT_QRY_FUNDS_RSP) {
    ParseFunds(map);
    announce(WM_TRADE_FUNDS);
  } else if (msgType == MT_ORDER_RSP) {
    orderBox(GBK("委托"));
  } else if (msgType == MT_CANCEL_RSP) {
    orderBox(GBK("撤单委托"));
  } else if (msgType == MT_CHANGE_PWD_RSP) {
    ConfirmPasswordChange();
    sinks.box(GBK("密码修改成功"), MB_OK);
  } else if (msgType == MT_QRY_ORDERS_RSP) {
    ParseOrders(map);
    announce(WM_TRADE_ORDERS);
  } else if (msgType == MT_QRY_HIS_ORDERS_RSP) {
    ParseOrders(map);
    announce(WM_TRADE_HIS_ORDERS);
  } else if (msgType == MT_QRY_DEALS_RSP || msgType == MT_QRY_HIS_DEALS_RSP) {
    ParseDeals(map);
    announce(WM_TRADE_DEALS);
  } else if (msgType == MT_QRY_ALLOT_RSP || msgType == MT_QRY_ALLOT_ALT_RSP) {
    ParseAllotments(map);
    announce(WM_TRADE_ALLOTS);
  } else if (msgType == MT_TRANSFER_RSP) {
    sinks.box(std::string(GBK("转账请求已提交,合同号是")) + GetFieldText(map, 37), MB_OK);
  } else if (msgType == MT_MAX_QTY_RSP) {
    ParseMaxQuantity(map);
    announce(WM_TRADE_MAX_QTY);
  } else if (msgType == MT_MONEY_APPLY_RSP) {
    ParseApplyResult(map);
    announce(WM_TRADE_APPLY_RESULT);
  } else if (msgType == MT_QRY_TRANSFERS_RSP) {
    ParseTransfers(map);
    announce(WM_TRADE_TRANSFERS);
  } else if (msgType == MT_QRY_FLOW_RSP) {
    ParseMoneyFlow(map, false);
    announce(WM_TRADE_FLOW_TODAY);
  } else if (msgType == MT_QRY_HIS_FLOW_RSP) {
    ParseMoneyFlow(map, true);
    announce(WM_TRADE_FLOW_HISTORY);
  }
}

int CTradeSession::ParseLoginReply(const TagMap& map) {
  std::string code, info;
  GetField(map, TAG_RETURN_CODE, code, "Return Code");
  GetField(map, TAG_RETURN_INFO, info, "Return Info");
  int result;
  int status;
  {
    std::lock_guard<std::mutex> guard(lock_);
    STradeAccount& a = account_;
    if (code == "0") {
      GetField(map, 336, a.session, "Session");
      GetField(map, 9103, a.userName);
      GetField(map, 9104, a.userStatus);
      GetField(map, 9105, a.lastLoginTime);
      GetField(map, 9111, a.fundsPassword);
      GetIntField(map, 9112, &a.signState);
      GetField(map, 9113, a.bankCode);
      GetField(map, 9114, a.bankAccount);
      GetField(map, 9115, a.bankAccountName);
      const std::string& channel = GetFieldText(map, 9116);
      if (!channel.empty()) a.payChannel = channel[0];
      GetField(map, 9117, a.bankCustomerId);
      GetField(map, 9118, a.phoneBankPassword);
      GetField(map, 9119, a.idNumber);
      GetField(map, 9120, a.phone);
      GetField(map, 9121, a.channelLink);
      GetField(map, 9122, a.accountType);
      GetField(map, 9305, a.bankName);
      a.loginResult = 1;
      a.loginText = GBK("登录成功！");
    } else {
      a.loginResult = -3;
      a.loginText = info;
    }
    result = a.loginResult;
    status = TradeAtoi(a.userStatus);
  }
  const STradeSinks& sinks = GetTradeSinks();
  if (status == 4) sinks.box(GBK("您的资金账户已处于预警状态中，请注意风险！"), MB_OK);
  if (status == 5) sinks.box(GBK("您的份额信息已处于预警状态，请注意风险!"), MB_OK);
  return result;
}

void CTradeSession::ParseIssues(const TagMap& map) {
  std::vector<CProductInfo> rows(RecordCount(
      map, {48, 9402, 9606, 53, 9605, 9608, 9609, 110, 111, 9610, 1, 9612, 9613, 59, 432, 9616}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    CProductInfo& r = rows[i];
    r.productCode = f(48);
    r.productName = f(9402);
    r.totalPrice = f(9606);
    r.totalCount = f(53);
    r.sharePrice = f(9605);
    r.reservedQty = f(9608);
    r.issueQty = f(9609);
    r.minSubscribe = f(110);
    r.maxSubscribe = f(111);
    r.field9610 = f(9610);
    r.account = f(1);
    r.field9612 = f(9612);
    r.listingDate = f(9613);
    r.issueDate = f(59);
    r.issueEndDate = f(432);
    r.field9616 = f(9616);
  }
  std::lock_guard<std::mutex> guard(lock_);
  issues_.swap(rows);
}

void CTradeSession::ParseHoldings(const TagMap& map) {
  std::vector<SPositionInfo> rows(
      RecordCount(map, {48, 9402, 9403, 9405, 9407, 9404, 9406, 31}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    SPositionInfo& r = rows[i];
    r.productCode = f(48);
    r.productName = f(9402);
    r.quantity = f(9403);
    r.sellable = f(9405);
    r.cost = f(9407);
    r.frozen = f(9404);
    r.otherFrozen = f(9406);
    r.lastPrice = std::atof(f(31).c_str());
  }
  {
    std::lock_guard<std::mutex> guard(lock_);
    holdings_.swap(rows);
  }
  PostMain(WM_TRADE_SUBSCRIBE, 0, 0);
}

void CTradeSession::ParseFunds(const TagMap& map) {
  SFundsInfo r;
  r.field9301 = GetFieldText(map, 9301);
  r.userName = GetFieldText(map, 9103);
  r.balance = GetFieldText(map, 9315);
  r.available = GetFieldText(map, 9312);
  r.withdrawable = GetFieldText(map, 9316);
  r.frozen = GetFieldText(map, 9313);
  r.field9317 = GetFieldText(map, 9317);
  r.field9314 = GetFieldText(map, 9314);
  std::lock_guard<std::mutex> guard(lock_);
  funds_ = std::move(r);
}

void CTradeSession::ParseOrders(const TagMap& map) {
  std::vector<COrderDetail> rows(
      RecordCount(map, {48, 40, 44, 132, 9402, 150, 32, 9210, 37, 9205}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    COrderDetail& r = rows[i];
    r.productId = f(48);
    r.orderType = f(40);
    r.price = f(44);
    r.quantity = f(132);
    r.productName = f(9402);
    r.status = f(150);
    r.dealtQty = f(32);
    r.field9210 = f(9210);
    r.orderNo = f(37);
    r.time = f(9205);
  }
  std::lock_guard<std::mutex> guard(lock_);
  orders_.swap(rows);
}

void CTradeSession::ParseDeals(const TagMap& map) {
  std::vector<COrderTurnOver> rows(
      RecordCount(map, {48, 9402, 9502, 9503, 9501, 40, 32, 31, 384, 60, 1, 12, 37}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    COrderTurnOver& r = rows[i];
    r.productCode = f(48);
    r.productName = f(9402);
    r.field9502 = f(9502);
    r.field9503 = f(9503);
    r.dealNo = f(9501);
    r.orderType = f(40);
    r.quantity = f(32);
    r.price = f(31);
    r.amount = f(384);
    r.time = f(60);
    r.account = f(1);
    r.commission = f(12);
    r.orderNo = f(37);
  }
  std::lock_guard<std::mutex> guard(lock_);
  deals_.swap(rows);
}

void CTradeSession::ParseAllotments(const TagMap& map) {
  std::vector<CSwingOrder> rows(
      RecordCount(map, {48, 9402, 9651, 9652, 9656, 132, 31, 9653, 9655}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    CSwingOrder& r = rows[i];
    r.productCode = f(48);
    r.productName = f(9402);
    r.date = f(9651);
    r.firstNo = f(9652);
    r.lastNo = f(9656);
    r.quantity = f(132);
    r.price = f(31);
    r.count = f(9653);
    r.kind = f(9655);
  }
  std::lock_guard<std::mutex> guard(lock_);
  allotments_.swap(rows);
}

void CTradeSession::ParseTransfers(const TagMap& map) {
  std::vector<STransferInfo> rows(
      RecordCount(map, {8116, 1, 8031, 9311, 8106, 8117, 150, 58}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    STransferInfo& r = rows[i];
    r.field8116 = f(8116);
    r.account = f(1);
    r.operationType = TradeAtoi(f(8031));
    r.amount = f(9311);
    r.field8106 = f(8106);
    r.field8117 = f(8117);
    r.status = TradeAtoi(f(150));
    r.text58 = f(58);
  }
  std::lock_guard<std::mutex> guard(lock_);
  transfers_.swap(rows);
}

void CTradeSession::ParseMoneyFlow(const TagMap& map, bool history) {
  std::vector<SMoneyFlowInfo> rows(
      RecordCount(map, {8116, 1, 8047, 8057, 8031, 8058, 8115, 8059}));
  for (size_t i = 0; i < rows.size(); ++i) {
    RowReader f{map, i};
    SMoneyFlowInfo& r = rows[i];
    r.field8116 = f(8116);
    r.account = f(1);
    r.field8047 = f(8047);
    r.field8057 = f(8057);
    r.operationType = f(8031);
    r.field8058 = f(8058);
    r.relatedOrderNo = f(8115);
    r.field8059 = f(8059);
  }
  std::lock_guard<std::mutex> guard(lock_);
  (history ? moneyFlowHistory_ : moneyFlowToday_).swap(rows);
}

void CTradeSession::ParseMaxQuantity(const TagMap& map) {
  CPreTradeData r;
  r.maxBuyQty = GetFieldText(map, 9801);
  r.minBuyQty = GetFieldText(map, 9802);
  r.maxSellQty = GetFieldText(map, 9803);
  r.minSellQty = GetFieldText(map, 9804);
  r.fundsAvail = GetFieldText(map, 9805);
  r.sharesAvail = GetFieldText(map, 9806);
  r.limitUp = GetFieldText(map, 9633);
  r.limitDown = GetFieldText(map, 9634);
  std::lock_guard<std::mutex> guard(lock_);
  preTrade_ = std::move(r);
}

void CTradeSession::ParseApplyResult(const TagMap& map) {
  SApplyResult r;
  GetIntField(map, 8105, &r.field8105);
  r.operationType = TradeAtoi(GetFieldText(map, 8031));
  r.amount = TradeAtoi(GetFieldText(map, 9311));
  r.status = TradeAtoi(GetFieldText(map, 150));
  std::lock_guard<std::mutex> guard(lock_);
  applyResult_ = r;
}
