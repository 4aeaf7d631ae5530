// The simulated trading account behind the trade simulator: products and
// issues, funds, holdings, orders, deals, subscriptions with their
// allotment numbers, bank transfers and signing, and the money flow they
// leave. Every operation keeps them consistent with each other (funds and
// holdings frozen by open orders are given back by a cancel; deals move
// money and holdings; each booking leaves a flow record with the balance
// after it), and a few days of history are seeded so every query has rows.
// Plain data under the simulator's lock: no networking here.
#pragma once
#include <map>
#include <string>
#include <vector>

// The items of the quote simulator's demo market, so the program knows
// every code the simulator trades; the price is the previous close.
struct SSimProduct {
  std::string code;
  std::string name;  // GBK
  double price = 0;
};

struct SSimIssue {
  std::string code, name;  // name GBK
  double unitPrice = 0;
  long totalCount = 0, reserved = 0, issueQty = 0;
  int minQty = 0, maxQty = 0;
  std::string listingDate, issueDate, endDate;
};

struct SSimOrder {
  std::string no, code, type, price, date, time;
  long qty = 0, dealt = 0;
  std::string status;  // 1 submitted, 2 dealt, 3 partly dealt, 4 cancelled, 5 refused
};

struct SSimDeal {
  std::string no, orderNo, code, type, date, time;
  double price = 0, commission = 0;
  long qty = 0;
};

struct SSimHolding {
  long qty = 0;
  long frozen = 0;  // held by open sell orders
  double cost = 0;
};

struct SSimFlow {
  std::string id, date;
  char type = '1';  // the money-flow type code
  double amount = 0, balance = 0;
  std::string related;
};

struct SSimTransfer {
  std::string id, date, requestTime, auditTime, remark;
  int op = 0, status = 1;
  double amount = 0;
};

struct SSimAllotment {
  std::string code, name, date;  // name GBK
  long first = 0, last = 0, qty = 0;
  double price = 0;
  char kind = '0';  // '0' allotment numbers, '1' winning numbers
};

// A refusal: the return code and text (GBK) the reply carries; code "0"
// is success.
struct SSimResult {
  std::string code = "0";
  std::string info;
  bool ok() const { return code == "0"; }
};

// Dates are "YYYY-MM-DD" texts.
std::string SimLocalToday();
std::string SimShiftDate(const std::string& date, int days);
bool IsSimDate(const std::string& text);
std::string SimMoney(double v);

class CTradeSimAccount {
 public:
  // today "" takes the local date.
  CTradeSimAccount(const std::string& today, const std::string& fundsPassword, char payChannel);

  const std::string& Today() const { return today_; }
  static const SSimProduct* FindProduct(const std::string& code);
  static const std::vector<SSimProduct>& Products();
  const SSimIssue* FindIssue(const std::string& code) const;
  const std::vector<SSimIssue>& Issues() const { return issues_; }

  double Available() const { return funds_; }
  double Frozen() const { return frozen_; }
  const std::map<std::string, SSimHolding>& Holdings() const { return holdings_; }
  int SignState() const { return signState_; }
  const std::string& FundsDigest() const { return fundsDigest_; }
  void SetFundsDigest(const std::string& digest) { fundsDigest_ = digest; }

  // Orders (limit "0", best price "X"/"Y", subscription "7B"); the placed
  // order comes back in placed (also a refused one, status "5").
  SSimResult PlaceOrder(const std::string& code, const std::string& type,
                        const std::string& priceText, const std::string& qtyText,
                        SSimOrder* placed);
  SSimResult Cancel(const std::string& orderNo, SSimOrder* cancelled);
  // Bank transfers (1 in, 2 out) and signing (5 sign, 6 unsign).
  SSimResult Apply(int op, const std::string& amountText, const std::string& fundsDigest,
                   const std::string& bankPassword, SSimTransfer* done);

  // Records dated from..to inclusive (an empty bound is open).
  std::vector<SSimOrder> Orders(const std::string& from, const std::string& to) const;
  std::vector<SSimDeal> Deals(const std::string& from, const std::string& to) const;
  std::vector<SSimFlow> Flows(const std::string& from, const std::string& to) const;
  // Allotment records of a kind dated from (inclusive) to until (exclusive).
  std::vector<SSimAllotment> Allotments(char kind, const std::string& from,
                                        const std::string& until) const;
  const std::vector<SSimTransfer>& Transfers() const { return transfers_; }

 private:
  std::string NextNumber();
  void Book(char type, double amount, const std::string& related, const std::string& date);
  void Fill(SSimOrder& order, const SSimProduct& product, long qty, const std::string& date);
  SSimResult Subscribe(const std::string& code, const std::string& qtyText, SSimOrder* placed);

  std::string today_;
  char payChannel_;
  std::string fundsDigest_;
  double funds_ = 0;   // available
  double frozen_ = 0;  // held by open buy orders and subscriptions
  int signState_ = 1;
  int nextNumber_ = 1000;
  long nextAllotment_ = 10000001;
  std::map<std::string, SSimHolding> holdings_;
  std::vector<SSimIssue> issues_;
  std::vector<SSimOrder> orders_;
  std::vector<SSimDeal> deals_;
  std::vector<SSimFlow> flows_;
  std::vector<SSimTransfer> transfers_;
  std::vector<SSimAllotment> allotments_;
};
