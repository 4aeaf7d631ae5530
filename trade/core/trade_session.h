// The process-wide store of one trading login: who is logged in where, what
// the login reply said, the record lists of the latest query replies and the
// windows that hear about them. The communication thread refills it while
// the user-interface thread reads it, so every field is behind one lock:
// writers replace whole lists under it and readers get copies.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"
#include "trade/core/byte_buffer.h"
#include "trade/core/large_block_allocator.h"
#include "trade/core/trade_codec.h"
#include "trade/core/trade_connection.h"
#include "trade/core/trade_records.h"

class CListReply;
template <class Row>
struct SListColumn;

// A record list that replies refill. Readers see rows, under the store's
// lock; a reply is filled into spare, which then swaps places with rows.
// The spare keeps the previous rows, so refilling a long list overwrites
// memory already in use rather than returning it to the system and
// faulting fresh pages in.
template <class Row>
struct SRefilledList {
  using Rows = std::vector<Row, SLargeBlockAllocator<Row>>;
  Rows rows;
  Rows spare;
  bool cut = false;  // the last reply held more rows than it made
  std::mutex fill;   // one refill of the list at a time

  std::vector<Row> Copy() const { return std::vector<Row>(rows.begin(), rows.end()); }
};

// The login and account fields of the store, copied out as a whole.
struct STradeAccount {
  std::string host;  // single-server link
  int port = 0;
  std::string userId;             // tag 1 of the login
  std::string userName;           // 9103
  std::string lastLoginTime;      // 9105
  std::string pwdDigest;          // 40 lower-case hex digits, tag 91 of the login
  std::string userStatus;         // 9104
  std::string session;            // 336, sent in every request
  std::string fundsPassword;      // 9111
  int signState = 0;              // 9112
  std::string bankCode;           // 9113
  std::string bankAccount;        // 9114
  std::string bankAccountName;    // 9115
  char payChannel = 0;            // 9116, first character
  std::string bankCustomerId;     // 9117
  std::string phoneBankPassword;  // 9118
  std::string idNumber;           // 9119
  std::string phone;              // 9120
  std::string channelLink;        // 9121; "FORBIDED" marks a simulated account
  std::string accountType;        // 9122
  std::string bankName;           // 9305
  int loginResult = 0;            // -1 while a login is outstanding, 1 in, -3 refused
  std::string loginText;          // "登录成功！" or the server's return info
};

class CTradeSession {
 public:
  static CTradeSession* GetInstance();
  static void ReleaseInstance();

  // --- windows -----------------------------------------------------------
  int SetNotify(HWND wnd, UINT msg);
  // Posts the notify message with (w, l) to the notify window.
  void PostNotify(WPARAM w, LPARAM l);
  void SetMainWnd(HWND wnd);
  HWND GetMainWnd() const { return mainWnd_.load(); }

  // --- the connection requests go through (one per process) --------------
  void SetConnection(ITradeConnection* conn) { connection_.store(conn); }
  ITradeConnection* GetConnection() const { return connection_.load(); }

  // --- fields the exports and forms write ----------------------------------
  void SetUserId(const std::string& userId);
  void SetPasswordDigest(const std::string& digest);
  void SetHost(const std::string& host, int port);
  void SetServerList(const std::vector<SServerAddr>& servers);
  std::vector<SServerAddr> GetServerList() const;

  // --- readers (copies) ------------------------------------------------------
  STradeAccount GetAccount() const;
  bool GetUserInfo(std::string out[2]) const;
  void GetUserId(std::string& out) const;
  void GetBankAccount(std::string& out) const;
  void GetBankAccountName(std::string& out) const;
  void GetIdNumber(std::string& out) const;
  void GetPayChannelName(std::string& out) const;
  int GetLoginResult() const;

  // The lists as the last reply of each left them; *cut, when asked, is
  // set when that reply held more rows than a list takes (kMaxListRows).
  std::vector<COrderDetail> GetOrders(bool* cut = nullptr) const;
  std::vector<COrderTurnOver> GetDeals(bool* cut = nullptr) const;
  std::vector<CProductInfo> GetIssues(bool* cut = nullptr) const;
  std::vector<CSwingOrder> GetAllotments(bool* cut = nullptr) const;
  std::vector<STransferInfo> GetTransfers(bool* cut = nullptr) const;
  std::vector<SMoneyFlowInfo> GetMoneyFlowToday(bool* cut = nullptr) const;
  std::vector<SMoneyFlowInfo> GetMoneyFlowHistory(bool* cut = nullptr) const;
  std::vector<SPositionInfo> GetHoldings(bool* cut = nullptr) const;
  SFundsInfo GetFunds() const;
  CPreTradeData GetPreTradeData() const;
  SApplyResult GetApplyResult() const;
  // Holdings' last prices are replaced by host quotes.
  void SetHoldingLastPrice(const std::string& productCode, double price);
  // Runs edit on the holding rows under the store's lock (a whole update
  // the reply thread cannot interleave with).
  void EditHoldings(const std::function<void(std::span<SPositionInfo>)>& edit);

  // --- requests; each returns 0 when the connection took the message, -1
  // when a value would carry a delimiter or control byte into the message
  // or when no connection could send it ---------------------------------------
  int SendLogin();
  // Sends the change and keeps it pending: the stored digest of that type
  // ('1' trading, '4' funds) is replaced only when the server confirms.
  int ChangePassword(char type, const std::string& oldDigest, const std::string& newDigest);
  int SendOrder(const COrder& order);
  int CancelOrder(const std::string& orderNo);
  int QueryMaxQuantity(const std::string& productCode, const std::string& orderType);
  int QueryHoldings();
  int QueryFunds();
  int QueryTodayOrders();
  int QueryTodayDeals();
  int QueryOrderHistory(const std::string& startDate, const std::string& endDate);
  int QueryDealHistory(const std::string& startDate, const std::string& endDate);
  int QueryIssues();
  int QueryAllotment(int flag, const std::string& startDate, const std::string& endDate);
  int QueryTodayMoneyFlow();
  int QueryMoneyFlowHistory(const std::string& startDate, const std::string& endDate);
  int ApplyMoneyInOut(const COutMoneyInOutApply& apply);
  int QueryTransfers();
  // Hands the message to the connection; -1 (the message dropped) when
  // there is none or it could not send.
  int Send(std::unique_ptr<CByteBuffer> message);

  // --- replies (communication thread) ---------------------------------------
  void DispatchReply(const char* data, int len);
  int ParseLoginReply(const TagMap& map);
  void ParseIssues(const TagMap& map);
  void ParseHoldings(const TagMap& map);
  void ParseFunds(const TagMap& map);
  void ParseOrders(const TagMap& map);
  void ParseDeals(const TagMap& map);
  void ParseAllotments(const TagMap& map);
  void ParseTransfers(const TagMap& map);
  void ParseMoneyFlow(const TagMap& map, bool history);
  void ParseMaxQuantity(const TagMap& map);
  void ParseApplyResult(const TagMap& map);
  // Reply 1004: a confirmed change replaces the stored digest of its type;
  // a refused one is forgotten and the old digest stays.
  void ConfirmPasswordChange();
  void DropPasswordChange();

  CTradeSession();

 private:
  int SendRequest(const char* msgType, const TagFieldList& body, bool login);
  // The list parsers on a parsed or a scanned reply (list_rows.h).
  void ParseIssues(const CListReply& reply);
  void ParseHoldings(const CListReply& reply);
  void ParseOrders(const CListReply& reply);
  void ParseDeals(const CListReply& reply);
  void ParseAllotments(const CListReply& reply);
  void ParseTransfers(const CListReply& reply);
  void ParseMoneyFlow(const CListReply& reply, bool history);
  template <class Row, size_t N>
  void Refill(SRefilledList<Row>& list, const SListColumn<Row> (&columns)[N],
              const CListReply& reply);
  void PostMain(UINT msg, WPARAM w, LPARAM l);

  mutable std::mutex lock_;
  STradeAccount account_;
  SRefilledList<COrderDetail> orders_;
  SRefilledList<COrderTurnOver> deals_;
  SRefilledList<CProductInfo> issues_;
  SRefilledList<CSwingOrder> allotments_;
  SRefilledList<STransferInfo> transfers_;
  SRefilledList<SMoneyFlowInfo> moneyFlowToday_;
  SRefilledList<SMoneyFlowInfo> moneyFlowHistory_;
  SRefilledList<SPositionInfo> holdings_;
  SFundsInfo funds_;
  CPreTradeData preTrade_;
  SApplyResult applyResult_;
  std::vector<SServerAddr> servers_;
  struct SPendingPassword {
    char type = 0;
    std::string digest;
  };
  std::optional<SPendingPassword> pendingPassword_;

  std::atomic<HWND> mainWnd_{nullptr};
  std::atomic<HWND> notifyWnd_{nullptr};
  std::atomic<UINT> notifyMsg_{0};
  std::atomic<ITradeConnection*> connection_{nullptr};
};

// The name of a pay-channel code; "" for a code not in the table.
const char* PayChannelName(char code);
// True when the value can travel as a plain field: no delimiter, no other
// control byte.
bool IsSafeFieldValue(std::string_view value);
