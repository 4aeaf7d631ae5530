// Reply dispatch: every block the communication thread receives is checked,
// parsed into the store and announced to the windows that wait for it.

#include "platform/gbk.h"
#include "trade/core/list_rows.h"
#include "trade/core/trade_messages.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade/core/trade_vocab.h"

namespace {

// The fields of each record type in the order of its record (tag, where it
// goes); the list reply's i-th value of each tag fills the i-th row.
template <class Row, auto Member>
constexpr SListColumn<Row> Text(int tag) {
  return {tag, &StoreText<Row, Member>};
}

using P = CProductInfo;
const SListColumn<P> kIssueColumns[] = {
    Text<P, &P::productCode>(48),   Text<P, &P::productName>(9402), Text<P, &P::totalPrice>(9606),
    Text<P, &P::totalCount>(53),    Text<P, &P::sharePrice>(9605),  Text<P, &P::reservedQty>(9608),
    Text<P, &P::issueQty>(9609),    Text<P, &P::minSubscribe>(110), Text<P, &P::maxSubscribe>(111),
    Text<P, &P::field9610>(9610),   Text<P, &P::account>(1),        Text<P, &P::field9612>(9612),
    Text<P, &P::listingDate>(9613), Text<P, &P::issueDate>(59),     Text<P, &P::issueEndDate>(432),
    Text<P, &P::field9616>(9616)};

using H = SPositionInfo;
const SListColumn<H> kHoldingColumns[] = {
    Text<H, &H::productCode>(48),   Text<H, &H::productName>(9402),
    Text<H, &H::quantity>(9403),    Text<H, &H::sellable>(9405),
    Text<H, &H::cost>(9407),        Text<H, &H::frozen>(9404),
    Text<H, &H::otherFrozen>(9406), {31, &StoreDouble<H, &H::lastPrice>}};

using O = COrderDetail;
const SListColumn<O> kOrderColumns[] = {
    Text<O, &O::productId>(48), Text<O, &O::orderType>(40),     Text<O, &O::price>(44),
    Text<O, &O::quantity>(132), Text<O, &O::productName>(9402), Text<O, &O::status>(150),
    Text<O, &O::dealtQty>(32),  Text<O, &O::field9210>(9210),   Text<O, &O::orderNo>(37),
    Text<O, &O::time>(9205)};

using D = COrderTurnOver;
const SListColumn<D> kDealColumns[] = {
    Text<D, &D::productCode>(48), Text<D, &D::productName>(9402), Text<D, &D::field9502>(9502),
    Text<D, &D::field9503>(9503), Text<D, &D::dealNo>(9501),      Text<D, &D::orderType>(40),
    Text<D, &D::quantity>(32),    Text<D, &D::price>(31),         Text<D, &D::amount>(384),
    Text<D, &D::time>(60),        Text<D, &D::account>(1),        Text<D, &D::commission>(12),
    Text<D, &D::orderNo>(37)};

using A = CSwingOrder;
const SListColumn<A> kAllotColumns[] = {
    Text<A, &A::productCode>(48), Text<A, &A::productName>(9402), Text<A, &A::date>(9651),
    Text<A, &A::firstNo>(9652),   Text<A, &A::lastNo>(9656),      Text<A, &A::quantity>(132),
    Text<A, &A::price>(31),       Text<A, &A::count>(9653),       Text<A, &A::kind>(9655)};

using T = STransferInfo;
const SListColumn<T> kTransferColumns[] = {Text<T, &T::field8116>(8116),
                                           Text<T, &T::account>(1),
                                           {8031, &StoreInt<T, &T::operationType>},
                                           Text<T, &T::amount>(9311),
                                           Text<T, &T::field8106>(8106),
                                           Text<T, &T::field8117>(8117),
                                           {150, &StoreInt<T, &T::status>},
                                           Text<T, &T::text58>(58)};

using F = SMoneyFlowInfo;
const SListColumn<F> kFlowColumns[] = {
    Text<F, &F::field8116>(8116),      Text<F, &F::account>(1),
    Text<F, &F::field8047>(8047),      Text<F, &F::field8057>(8057),
    Text<F, &F::operationType>(8031),  Text<F, &F::field8058>(8058),
    Text<F, &F::relatedOrderNo>(8115), Text<F, &F::field8059>(8059)};

// A list keeps its previous rows for reuse only while they are not much
// larger than the new ones, so one long reply does not pin its memory.
constexpr size_t kKeptSpareRows = 4096;

}  // namespace

void CTradeSession::DispatchReply(const char* data, int len) {
  if (!VerifyTradeChecksum(data, len)) return;
  // Replies are dispatched on the communication thread, which keeps its
  // scan from reply to reply.
  thread_local CScannedReply reply;
  std::string error;
  if (reply.Scan(data, len, error) != 0) return;
  const CListReply list(reply);

  const std::string code(reply.First(TAG_RETURN_CODE));
  const std::string info(reply.First(TAG_RETURN_INFO));
  const std::string msgType(reply.First(TAG_MSG_TYPE));
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
    const int result = ParseLoginReply(reply.ToMap());
    PostNotify(1, result);
    return;
  }
  if (!mainWnd_.load()) return;

  // The server's own text, when it gives one, says why an order was
  // refused: the user reads it under the status.
  auto orderBox = [&](const char* head) {
    std::string text = std::string(head) + GetOrderStatusText(std::string(reply.First(150))) +
                       GBK(",合同号是") + std::string(reply.First(37));
    if (!info.empty()) text += "\n" + info;
    sinks.box(text, MB_OK);
    QueryTodayOrders();
  };
  auto announce = [&](WPARAM panel) { PostMain(WM_TRADE_REPLY, panel, 0); };

  if (msgType == MT_QRY_ISSUES_RSP) {
    ParseIssues(list);
    announce(WM_TRADE_ISSUES);
  } else if (msgType == MT_QRY_HOLDINGS_RSP) {
    ParseHoldings(list);
    announce(WM_TRADE_HOLDINGS);
  } else if (msgType == MT_QRY_FUNDS_RSP) {
    ParseFunds(reply.ToMap());
    announce(WM_TRADE_FUNDS);
  } else if (msgType == MT_ORDER_RSP) {
    orderBox(GBK("委托"));
  } else if (msgType == MT_CANCEL_RSP) {
    orderBox(GBK("撤单委托"));
  } else if (msgType == MT_CHANGE_PWD_RSP) {
    ConfirmPasswordChange();
    sinks.box(GBK("密码修改成功"), MB_OK);
  } else if (msgType == MT_QRY_ORDERS_RSP) {
    ParseOrders(list);
    announce(WM_TRADE_ORDERS);
  } else if (msgType == MT_QRY_HIS_ORDERS_RSP) {
    ParseOrders(list);
    announce(WM_TRADE_HIS_ORDERS);
  } else if (msgType == MT_QRY_DEALS_RSP || msgType == MT_QRY_HIS_DEALS_RSP) {
    ParseDeals(list);
    announce(WM_TRADE_DEALS);
  } else if (msgType == MT_QRY_ALLOT_RSP || msgType == MT_QRY_ALLOT_ALT_RSP) {
    ParseAllotments(list);
    announce(WM_TRADE_ALLOTS);
  } else if (msgType == MT_TRANSFER_RSP) {
    sinks.box(std::string(GBK("转账请求已提交,合同号是")) + std::string(reply.First(37)), MB_OK);
  } else if (msgType == MT_MAX_QTY_RSP) {
    ParseMaxQuantity(reply.ToMap());
    announce(WM_TRADE_MAX_QTY);
  } else if (msgType == MT_MONEY_APPLY_RSP) {
    ParseApplyResult(reply.ToMap());
    announce(WM_TRADE_APPLY_RESULT);
  } else if (msgType == MT_QRY_TRANSFERS_RSP) {
    ParseTransfers(list);
    announce(WM_TRADE_TRANSFERS);
  } else if (msgType == MT_QRY_FLOW_RSP) {
    ParseMoneyFlow(list, false);
    announce(WM_TRADE_FLOW_TODAY);
  } else if (msgType == MT_QRY_HIS_FLOW_RSP) {
    ParseMoneyFlow(list, true);
    announce(WM_TRADE_FLOW_HISTORY);
  }
}

template <class Row, size_t N>
void CTradeSession::Refill(SRefilledList<Row>& list, const SListColumn<Row> (&columns)[N],
                           const CListReply& reply) {
  std::lock_guard<std::mutex> fill(list.fill);
  const bool cut = FillRows(list.spare, columns, reply);
  {
    std::lock_guard<std::mutex> guard(lock_);
    list.rows.swap(list.spare);
    list.cut = cut;
  }
  if (list.spare.capacity() > 2 * list.rows.size() + kKeptSpareRows)
    typename SRefilledList<Row>::Rows().swap(list.spare);
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

void CTradeSession::ParseIssues(const TagMap& map) { ParseIssues(CListReply(map)); }
void CTradeSession::ParseHoldings(const TagMap& map) { ParseHoldings(CListReply(map)); }
void CTradeSession::ParseOrders(const TagMap& map) { ParseOrders(CListReply(map)); }
void CTradeSession::ParseDeals(const TagMap& map) { ParseDeals(CListReply(map)); }
void CTradeSession::ParseAllotments(const TagMap& map) { ParseAllotments(CListReply(map)); }
void CTradeSession::ParseTransfers(const TagMap& map) { ParseTransfers(CListReply(map)); }
void CTradeSession::ParseMoneyFlow(const TagMap& map, bool history) {
  ParseMoneyFlow(CListReply(map), history);
}

void CTradeSession::ParseIssues(const CListReply& reply) { Refill(issues_, kIssueColumns, reply); }
void CTradeSession::ParseHoldings(const CListReply& reply) {
  Refill(holdings_, kHoldingColumns, reply);
  PostMain(WM_TRADE_SUBSCRIBE, 0, 0);
}
void CTradeSession::ParseOrders(const CListReply& reply) { Refill(orders_, kOrderColumns, reply); }
void CTradeSession::ParseDeals(const CListReply& reply) { Refill(deals_, kDealColumns, reply); }
void CTradeSession::ParseAllotments(const CListReply& reply) {
  Refill(allotments_, kAllotColumns, reply);
}
void CTradeSession::ParseTransfers(const CListReply& reply) {
  Refill(transfers_, kTransferColumns, reply);
}
void CTradeSession::ParseMoneyFlow(const CListReply& reply, bool history) {
  Refill(history ? moneyFlowHistory_ : moneyFlowToday_, kFlowColumns, reply);
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
