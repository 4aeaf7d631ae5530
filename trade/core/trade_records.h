// One row each of the trade server's replies, as GBK byte strings. Plain
// values: the panels copy the rows they show.
#pragma once
#include <string>

class CBaseInfo {
 public:
  virtual int GetType() const { return 0; }

 protected:
  ~CBaseInfo() = default;  // rows are never deleted through the base
};

// A collection on issue (subscription list).
class CProductInfo final : public CBaseInfo {
 public:
  std::string productCode;   // 48
  std::string productName;   // 9402
  std::string totalPrice;    // 9606
  std::string totalCount;    // 53
  std::string sharePrice;    // 9605
  std::string reservedQty;   // 9608
  std::string issueQty;      // 9609
  std::string minSubscribe;  // 110
  std::string maxSubscribe;  // 111
  std::string field9610;     // 9610
  std::string unused;        // no reply fills it
  std::string account;       // 1
  std::string field9612;     // 9612
  std::string listingDate;   // 9613
  std::string issueDate;     // 59
  std::string issueEndDate;  // 432
  std::string field9616;     // 9616
};

// The four texts of an order request.
class COrder : public CBaseInfo {
 public:
  std::string productId;  // 48
  std::string orderType;  // 40, two-character code
  std::string price;      // 44
  std::string quantity;   // 132
};

// One row of the order lists.
class COrderDetail final : public COrder {
 public:
  std::string productName;  // 9402
  std::string status;       // 150, code 0-7
  std::string dealtQty;     // 32
  std::string field9210;    // 9210
  std::string orderNo;      // 37
  std::string unused;       // no reply fills it
  std::string time;         // 9205
};

// Allotment or winning numbers.
class CSwingOrder final : public CBaseInfo {
 public:
  std::string productCode;  // 48
  std::string productName;  // 9402
  std::string date;         // 9651
  std::string firstNo;      // 9652
  std::string lastNo;       // 9656
  std::string quantity;     // 132
  std::string price;        // 31
  std::string count;        // 9653
  std::string kind;         // 9655
};

// One deal.
class COrderTurnOver final : public CBaseInfo {
 public:
  std::string productCode;  // 48
  std::string productName;  // 9402
  std::string field9502;    // 9502
  std::string field9503;    // 9503
  std::string dealNo;       // 9501
  std::string orderType;    // 40
  std::string quantity;     // 32
  std::string price;        // 31
  std::string amount;       // 384
  std::string unused;       // no reply fills it
  std::string time;         // 60
  std::string account;      // 1
  std::string commission;   // 12
  std::string orderNo;      // 37
};

// Quantities and limits for the order entry.
class CPreTradeData final : public CBaseInfo {
 public:
  std::string maxBuyQty;    // 9801
  std::string minBuyQty;    // 9802
  std::string maxSellQty;   // 9803
  std::string minSellQty;   // 9804
  std::string fundsAvail;   // 9805
  std::string sharesAvail;  // 9806
  std::string limitUp;      // 9633
  std::string limitDown;    // 9634
};

// A bank transfer or signing application, built for one request.
class COutMoneyInOutApply final : public CBaseInfo {
 public:
  std::string account;            // 0: user id (tag 1)
  std::string operationType;      // 1: one character (9310)
  std::string amount;             // 2: (9311)
  std::string phone;              // 3: (8107)
  std::string bankName;           // 4: not sent
  std::string openingAccount;     // 5: account-opening account (9309)
  std::string idNumber;           // 6: (8108)
  std::string extra7;             // 7: not filled
  std::string extra8;             // 8: not filled
  std::string fundsPassword;      // 9: SHA-1 hex digest (9415)
  std::string extra10;            // 10: not filled
  std::string phoneBankPassword;  // 11: (9416)
};

struct SPositionInfo {
  std::string productCode;  // 48
  std::string productName;  // 9402
  std::string quantity;     // 9403
  std::string sellable;     // 9405
  std::string cost;         // 9407
  std::string frozen;       // 9404
  std::string otherFrozen;  // 9406
  double lastPrice = 0;     // 31, later replaced by host quotes
};

struct SMoneyFlowInfo {
  std::string field8116;       // 8116
  std::string account;         // 1
  std::string field8047;       // 8047
  std::string field8057;       // 8057
  std::string operationType;   // 8031, flow type code
  std::string field8058;       // 8058
  std::string relatedOrderNo;  // 8115
  std::string field8059;       // 8059
};

struct STransferInfo {
  std::string field8116;  // 8116
  std::string account;    // 1
  int operationType = 0;  // 8031
  std::string amount;     // 9311
  std::string field8106;  // 8106
  std::string field8117;  // 8117
  int status = 0;         // 150
  std::string text58;     // 58
};

struct SFundsInfo {
  std::string field9301;     // 9301
  std::string userName;      // 9103
  std::string balance;       // 9315
  std::string available;     // 9312
  std::string withdrawable;  // 9316
  std::string frozen;        // 9313
  std::string field9317;     // 9317
  std::string field9314;     // 9314
};

struct SApplyResult {
  int field8105 = 0;      // 8105
  int operationType = 0;  // 8031
  double amount = 0;      // 9311, integer part
  int status = 0;         // 150: the panels act on 0-3
};

struct SServerAddr {
  std::string host;
  int port = 0;
};
