#include "trade/core/trade_session.h"

#include "platform/gbk.h"
#include "trade/core/trade_sinks.h"

namespace {
std::mutex g_instanceLock;
CTradeSession* g_instance = nullptr;
}  // namespace

CTradeSession::CTradeSession() = default;

CTradeSession* CTradeSession::GetInstance() {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  if (!g_instance) g_instance = new CTradeSession();
  return g_instance;
}

void CTradeSession::ReleaseInstance() {
  std::lock_guard<std::mutex> guard(g_instanceLock);
  delete g_instance;
  g_instance = nullptr;
}

int CTradeSession::SetNotify(HWND wnd, UINT msg) {
  notifyMsg_.store(msg);
  notifyWnd_.store(wnd);
  return 0;
}

void CTradeSession::SetMainWnd(HWND wnd) { mainWnd_.store(wnd); }

void CTradeSession::PostNotify(WPARAM w, LPARAM l) {
  GetTradeSinks().post(notifyWnd_.load(), notifyMsg_.load(), w, l);
}

void CTradeSession::PostMain(UINT msg, WPARAM w, LPARAM l) {
  if (HWND wnd = mainWnd_.load()) GetTradeSinks().post(wnd, msg, w, l);
}

void CTradeSession::SetUserId(const std::string& userId) {
  std::lock_guard<std::mutex> guard(lock_);
  account_.userId = userId;
}

void CTradeSession::SetPasswordDigest(const std::string& digest) {
  std::lock_guard<std::mutex> guard(lock_);
  account_.pwdDigest = digest;
}

void CTradeSession::SetHost(const std::string& host, int port) {
  std::lock_guard<std::mutex> guard(lock_);
  account_.host = host;
  account_.port = port;
}

void CTradeSession::SetServerList(const std::vector<SServerAddr>& servers) {
  std::lock_guard<std::mutex> guard(lock_);
  servers_ = servers;
}

std::vector<SServerAddr> CTradeSession::GetServerList() const {
  std::lock_guard<std::mutex> guard(lock_);
  return servers_;
}

STradeAccount CTradeSession::GetAccount() const {
  std::lock_guard<std::mutex> guard(lock_);
  return account_;
}

bool CTradeSession::GetUserInfo(std::string out[2]) const {
  std::lock_guard<std::mutex> guard(lock_);
  out[0] = account_.userName;
  out[1] = account_.userId;
  return true;
}

void CTradeSession::GetUserId(std::string& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out = account_.userId;
}

void CTradeSession::GetBankAccount(std::string& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out = account_.bankAccount;
}

void CTradeSession::GetBankAccountName(std::string& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out = account_.bankAccountName;
}

void CTradeSession::GetIdNumber(std::string& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out = account_.idNumber;
}

void CTradeSession::GetPayChannelName(std::string& out) const {
  std::lock_guard<std::mutex> guard(lock_);
  out = PayChannelName(account_.payChannel);
}

int CTradeSession::GetLoginResult() const {
  std::lock_guard<std::mutex> guard(lock_);
  return account_.loginResult;
}

#define TRADE_SESSION_COPY(Type, Getter, member) \
  Type CTradeSession::Getter() const {           \
    std::lock_guard<std::mutex> guard(lock_);    \
    return member;                               \
  }
#define TRADE_SESSION_LIST(Row, Getter, member)             \
  std::vector<Row> CTradeSession::Getter(bool* cut) const { \
    std::lock_guard<std::mutex> guard(lock_);               \
    if (cut) *cut = member.cut;                             \
    return member.Copy();                                   \
  }
TRADE_SESSION_LIST(COrderDetail, GetOrders, orders_)
TRADE_SESSION_LIST(COrderTurnOver, GetDeals, deals_)
TRADE_SESSION_LIST(CProductInfo, GetIssues, issues_)
TRADE_SESSION_LIST(CSwingOrder, GetAllotments, allotments_)
TRADE_SESSION_LIST(STransferInfo, GetTransfers, transfers_)
TRADE_SESSION_LIST(SMoneyFlowInfo, GetMoneyFlowToday, moneyFlowToday_)
TRADE_SESSION_LIST(SMoneyFlowInfo, GetMoneyFlowHistory, moneyFlowHistory_)
TRADE_SESSION_LIST(SPositionInfo, GetHoldings, holdings_)
#undef TRADE_SESSION_LIST
TRADE_SESSION_COPY(SFundsInfo, GetFunds, funds_)
TRADE_SESSION_COPY(CPreTradeData, GetPreTradeData, preTrade_)
TRADE_SESSION_COPY(SApplyResult, GetApplyResult, applyResult_)
#undef TRADE_SESSION_COPY

void CTradeSession::SetHoldingLastPrice(const std::string& productCode, double price) {
  std::lock_guard<std::mutex> guard(lock_);
  for (SPositionInfo& row : holdings_.rows)
    if (row.productCode == productCode) row.lastPrice = price;
}

void CTradeSession::EditHoldings(const std::function<void(std::span<SPositionInfo>)>& edit) {
  std::lock_guard<std::mutex> guard(lock_);
  edit(std::span<SPositionInfo>(holdings_.rows.data(), holdings_.rows.size()));
}

void CTradeSession::ConfirmPasswordChange() {
  std::lock_guard<std::mutex> guard(lock_);
  if (!pendingPassword_) return;
  if (pendingPassword_->type == '1') account_.pwdDigest = pendingPassword_->digest;
  if (pendingPassword_->type == '4') account_.fundsPassword = pendingPassword_->digest;
  pendingPassword_.reset();
}

void CTradeSession::DropPasswordChange() {
  std::lock_guard<std::mutex> guard(lock_);
  pendingPassword_.reset();
}

const char* PayChannelName(char code) {
  switch (code) {
    case '1': return GBK("手动");
    case '2': return GBK("财富通");
    case '3': return GBK("易级富");
    case '4': return GBK("建行E商贸通");
    case '5': return GBK("建行银企互联");
    case '6': return GBK("农行B2c");
    case '7': return GBK("通联支付");
    case '8': return GBK("建行外联平台");
    case '9': return GBK("中行股商存管");
    case 'A': return GBK("浦发银行资金存管");
    case 'B': return GBK("通联金融");
    case 'C': return GBK("建行E商贸通(现货)");
    case 'D': return GBK("招商银行-银商系统");
    case 'E': return GBK("工商银行-银证转账");
    case 'F': return GBK("农业银行银商通系统");
    case 'G': return GBK("平安银行");
    case 'H': return GBK("招商银行");
    case 'I': return GBK("华夏银行");
    case 'W': return GBK("微信支付接口");
    default: return "";
  }
}
