// Requests, the session store and reply dispatch, with the outside world
// (posts, boxes, the process exit, the connection) replaced by recorders.
#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/gbk.h"
#include "sharecode/mythread.h"
#include "trade/core/list_rows.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade_test_util.h"

using tradetest::Fields;
using tradetest::FieldsOf;
using tradetest::Reply;

namespace {

struct Post {
  HWND wnd;
  UINT msg;
  WPARAM w;
  LPARAM l;
  bool operator==(const Post& o) const {
    return wnd == o.wnd && msg == o.msg && w == o.w && l == o.l;
  }
};

HWND const kNotify = reinterpret_cast<HWND>(0x100);
HWND const kMain = reinterpret_cast<HWND>(0x200);

// Records everything the store does to the outside world, in one sequence.
class Recorder {
 public:
  Recorder()
      : scope_(STradeSinks{[this](HWND wnd, UINT msg, WPARAM w, LPARAM l) {
                             std::lock_guard<std::mutex> g(m_);
                             posts.push_back({wnd, msg, w, l});
                             events.push_back("post " + std::to_string(msg) + " " +
                                              std::to_string(w));
                             return TRUE;
                           },
                           [this](const std::string& text, UINT type) {
                             std::lock_guard<std::mutex> g(m_);
                             boxes.push_back(text);
                             boxTypes.push_back(type);
                             events.push_back("box");
                             return boxAnswer;
                           },
                           [this](int code) {
                             std::lock_guard<std::mutex> g(m_);
                             exits.push_back(code);
                           },
                           [this](const char* data, int len) {
                             std::lock_guard<std::mutex> g(m_);
                             sent.emplace_back(data, len);
                           }}) {}

  std::vector<Post> posts;
  std::vector<std::string> boxes;
  std::vector<UINT> boxTypes;
  std::vector<int> exits;
  std::vector<std::string> sent;
  std::vector<std::string> events;
  int boxAnswer = IDOK;

 private:
  std::mutex m_;
  ScopedTradeSinks scope_;
};

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session.SetNotify(kNotify, WM_TRADE_LOGIN_RESULT);
    session.SetUserId("u01");
    session.SetPasswordDigest(std::string(40, 'f'));
  }
  void Dispatch(const std::string& block) {
    session.DispatchReply(block.data(), static_cast<int>(block.size()));
  }
  void LogIn(const Fields& extra = {}) {
    Fields f{{9001, "0"}, {9103, GBK("张三")}, {9116, "W"}, {9114, "6222"}};
    f.insert(f.end(), extra.begin(), extra.end());
    Dispatch(Reply("1002", f, "SESS"));
  }

  Recorder rec;
  CTradeSession session;
};

struct RequestCase {
  const char* name;
  std::function<int(CTradeSession&)> send;
  const char* msgType;
  Fields body;
};

TEST_F(SessionTest, EveryRequestCarriesItsTypeSessionAndOrderedBody) {
  LogIn();
  COrder order;
  order.productId = "600001";
  order.orderType = "0B";
  order.price = "12.50";
  order.quantity = "100";
  COutMoneyInOutApply apply;
  apply.account = "u01";
  apply.operationType = "1";
  apply.amount = "500.00";
  apply.phone = "139";
  apply.bankName = "not sent";
  apply.openingAccount = "6222";
  apply.idNumber = "ID9";
  apply.fundsPassword = "fp";
  apply.phoneBankPassword = "bp";

  const RequestCase cases[] = {
      {"login",
       [](CTradeSession& s) { return s.SendLogin(); },
       "1001",
       {{1, "u01"}, {91, std::string(40, 'f')}}},
      {"password",
       [](CTradeSession& s) { return s.ChangePassword('4', "old", "new"); },
       "1003",
       {{8131, "4"}, {91, "old"}, {9107, "new"}}},
      {"order",
       [&](CTradeSession& s) { return s.SendOrder(order); },
       "1011",
       {{48, "600001"}, {40, "0B"}, {44, "12.50"}, {132, "100"}}},
      {"cancel", [](CTradeSession& s) { return s.CancelOrder("77"); }, "1015", {{37, "77"}}},
      {"max qty",
       [](CTradeSession& s) { return s.QueryMaxQuantity("600001", "0S"); },
       "1017",
       {{48, "600001"}, {40, "0S"}}},
      {"holdings", [](CTradeSession& s) { return s.QueryHoldings(); }, "1021", {}},
      {"funds", [](CTradeSession& s) { return s.QueryFunds(); }, "1023", {}},
      {"orders", [](CTradeSession& s) { return s.QueryTodayOrders(); }, "1031", {}},
      {"deals", [](CTradeSession& s) { return s.QueryTodayDeals(); }, "1033", {}},
      {"order history",
       [](CTradeSession& s) { return s.QueryOrderHistory("2024-01-01", "2024-02-01"); },
       "1035",
       {{9451, "2024-01-01"}, {9452, "2024-02-01"}}},
      {"deal history",
       [](CTradeSession& s) { return s.QueryDealHistory("a", "b"); },
       "1037",
       {{9451, "a"}, {9452, "b"}}},
      {"issues", [](CTradeSession& s) { return s.QueryIssues(); }, "1041", {}},
      {"allotment 0",
       [](CTradeSession& s) { return s.QueryAllotment(0, "a", "b"); },
       "1081",
       {{9451, "a"}, {9452, "b"}}},
      {"allotment 1",
       [](CTradeSession& s) { return s.QueryAllotment(1, "a", "b"); },
       "1083",
       {{9451, "a"}, {9452, "b"}}},
      {"flow", [](CTradeSession& s) { return s.QueryTodayMoneyFlow(); }, "2007", {}},
      {"flow history",
       [](CTradeSession& s) { return s.QueryMoneyFlowHistory("a", "b"); },
       "2011",
       {{9451, "a"}, {9452, "b"}}},
      {"money apply",
       [&](CTradeSession& s) { return s.ApplyMoneyInOut(apply); },
       "2017",
       {{1, "u01"},
        {9310, "1"},
        {9311, "500.00"},
        {9309, "6222"},
        {9415, "fp"},
        {150, "0"},
        {8107, "139"},
        {8108, "ID9"},
        {9416, "bp"}}},
      {"transfers", [](CTradeSession& s) { return s.QueryTransfers(); }, "2019", {}},
  };
  for (const RequestCase& c : cases) {
    SCOPED_TRACE(c.name);
    rec.sent.clear();
    ASSERT_EQ(c.send(session), 0);
    ASSERT_EQ(rec.sent.size(), 1u);
    const std::string& m = rec.sent[0];
    EXPECT_EQ(VerifyTradeChecksum(m.data(), static_cast<int>(m.size())), 1);
    const Fields f = FieldsOf(m);
    ASSERT_GE(f.size(), 6u);
    EXPECT_EQ(f[0], (std::pair<int, std::string>{1008, "FIX.4.2"}));
    // The body length counts from after its own field to the end of the body.
    const size_t bodyStart = m.find('\x01', m.find("1009=")) + 1;
    EXPECT_EQ(f[1].second, std::to_string(m.size() - 9 - bodyStart));
    EXPECT_EQ(f[2], (std::pair<int, std::string>{1035, c.msgType}));
    EXPECT_EQ(f[3], (std::pair<int, std::string>{1053, "0"}));
    const bool login = std::string(c.msgType) == "1001";
    EXPECT_EQ(f[4], (std::pair<int, std::string>{336, login ? "" : "SESS"}));
    EXPECT_EQ(Fields(f.begin() + 5, f.end() - 1), c.body);
    EXPECT_EQ(f.back().first, 1010);
  }
  EXPECT_EQ(session.GetLoginResult(), -1);  // the login above is outstanding
}

TEST_F(SessionTest, ValuesWithDelimiterOrControlBytesAreNotSent) {
  std::vector<std::string> traces;
  CMyThread::SetTraceSink([&](const std::string& line) { traces.push_back(line); });
  COrder order;
  order.productId =
      "600001\x01"
      "44=0";
  EXPECT_EQ(session.SendOrder(order), -1);
  CMyThread::SetTraceSink(nullptr);
  // The refusal is traced with the library's line head (the file name cut
  // to its 17 columns).
  ASSERT_EQ(traces.size(), 1u);
  EXPECT_TRUE(
      std::regex_match(traces[0], std::regex("<\\d{8} \\d{6}\\.\\d{3}, trade_requests.cp, \\d+>0: "
                                             "request 1011 refused, field 48 .*\n")))
      << traces[0];
  EXPECT_EQ(session.CancelOrder("7\n"), -1);
  EXPECT_EQ(session.QueryOrderHistory("2024\x7f", "b"), -1);
  EXPECT_TRUE(rec.sent.empty());
  EXPECT_EQ(session.CancelOrder(GBK("合同")), 0);  // GBK bytes are fine
}

TEST(SessionRequests, AMessageNoConnectionSentIsNotReportedAsSent) {
  struct FakeConnection : ITradeConnection {
    int result = 0;
    int calls = 0;
    int Send(const char*, int) override { return ++calls, result; }
  };
  ScopedTradeSinks real(STradeSinks{});  // no recorder: requests go to the connection
  CTradeSession session;
  EXPECT_EQ(session.QueryFunds(), -1);  // no connection at all
  FakeConnection conn;
  session.SetConnection(&conn);
  EXPECT_EQ(session.QueryFunds(), 0);
  conn.result = -1;  // the link failed under the send
  EXPECT_EQ(session.CancelOrder("7"), -1);
  EXPECT_EQ(conn.calls, 2);
}

TEST_F(SessionTest, LoginReplyFillsTheStoreAndNotifies) {
  LogIn({{9112, "1"}, {9121, "FORBIDED"}});
  STradeAccount a = session.GetAccount();
  EXPECT_EQ(a.session, "SESS");
  EXPECT_EQ(a.userName, GBK("张三"));
  EXPECT_EQ(a.signState, 1);
  EXPECT_EQ(a.channelLink, "FORBIDED");
  EXPECT_EQ(a.loginResult, 1);
  EXPECT_EQ(a.loginText, GBK("登录成功！"));
  std::string channel;
  session.GetPayChannelName(channel);
  EXPECT_EQ(channel, GBK("微信支付接口"));
  EXPECT_STREQ(PayChannelName('Z'), "");
  EXPECT_EQ(rec.posts, (std::vector<Post>{{kNotify, WM_TRADE_LOGIN_RESULT, 1, 1}}));
  EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(SessionTest, RefusedLoginShowsCodePostsTwiceAndKeepsEarlierFields) {
  LogIn();
  rec.posts.clear();
  Dispatch(Reply("1002", {{9001, "5"}, {9002, "%s%n<b>bad</b>"}}));
  ASSERT_EQ(rec.boxes.size(), 1u);
  // The server text reaches the box as it is, never as a format string.
  EXPECT_EQ(rec.boxes[0],
            std::string(GBK("错误代码=")) + "5" + GBK("，错误信息：") + "%s%n<b>bad</b>");
  EXPECT_EQ(rec.posts, (std::vector<Post>{{kNotify, WM_TRADE_LOGIN_RESULT, 2, 1},
                                          {kNotify, WM_TRADE_LOGIN_RESULT, 1, (LPARAM)-3}}));
  STradeAccount a = session.GetAccount();
  EXPECT_EQ(a.loginText, "%s%n<b>bad</b>");
  EXPECT_EQ(a.userName, GBK("张三"));
  EXPECT_EQ(a.loginResult, -3);
}

TEST_F(SessionTest, UserStatusWarningComesBeforeTheResultPost) {
  LogIn({{9104, "4"}});
  ASSERT_EQ(rec.boxes.size(), 1u);
  EXPECT_EQ(rec.boxes[0], GBK("您的资金账户已处于预警状态中，请注意风险！"));
  EXPECT_EQ(rec.events, (std::vector<std::string>{"box", "post 1124 1"}));
}

TEST_F(SessionTest, ListRepliesRefillTheStoreAndAnnounce) {
  LogIn();
  Dispatch(Reply("1022", {{9001, "0"}}));  // no main window yet: dropped
  EXPECT_TRUE(session.GetHoldings().empty());
  session.SetMainWnd(kMain);
  rec.posts.clear();
  Dispatch(Reply("1022", {{9001, "0"},
                          {9003, "3"},
                          {48, "A"},
                          {31, "1.5"},
                          {48, "B"},
                          {31, "2.25"},
                          {48, "C"},
                          {31, "x"},
                          {9403, "100"}}));
  auto rows = session.GetHoldings();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].productCode, "B");
  EXPECT_DOUBLE_EQ(rows[0].lastPrice, 1.5);
  EXPECT_DOUBLE_EQ(rows[1].lastPrice, 2.25);
  EXPECT_DOUBLE_EQ(rows[2].lastPrice, 0);
  EXPECT_EQ(rows[0].quantity, "100");
  EXPECT_EQ(rows[2].quantity, "");  // fewer values than records: left empty
  EXPECT_EQ(rec.posts, (std::vector<Post>{{kMain, WM_TRADE_SUBSCRIBE, 0, 0},
                                          {kMain, WM_TRADE_REPLY, WM_TRADE_HOLDINGS, 0}}));

  // RecordNum 0 empties the list and still announces; a huge count makes no
  // more rows than there are values.
  rec.posts.clear();
  Dispatch(Reply("1022", {{9001, "0"}, {9003, "0"}, {48, "A"}}));
  EXPECT_TRUE(session.GetHoldings().empty());
  EXPECT_EQ(rec.posts.back(), (Post{kMain, WM_TRADE_REPLY, WM_TRADE_HOLDINGS, 0}));
  Dispatch(Reply("2020", {{9001, "0"}, {9003, "2000000000"}, {8031, "2"}, {150, "3"}}));
  auto transfers = session.GetTransfers();
  ASSERT_EQ(transfers.size(), 1u);
  EXPECT_EQ(transfers[0].operationType, 2);
  EXPECT_EQ(transfers[0].status, 3);
}

// A reply may ask for millions of rows at a few bytes each: a list takes
// kMaxListRows of them, the first ones, and says it was cut; the next
// reply within the bound clears the mark.
TEST_F(SessionTest, AListReplyMakesAtMostTheBoundOfRows) {
  LogIn();
  session.SetMainWnd(kMain);
  const int asked = static_cast<int>(kMaxListRows) + 5;
  Fields many{{9001, "0"}, {9003, std::to_string(asked)}};
  for (int i = 0; i < asked; ++i) many.push_back({37, std::to_string(i)});
  Dispatch(Reply("1032", many));
  bool cut = false;
  const auto orders = session.GetOrders(&cut);
  ASSERT_EQ(orders.size(), kMaxListRows);
  EXPECT_EQ(orders.front().orderNo, "0");
  EXPECT_EQ(orders.back().orderNo, std::to_string(kMaxListRows - 1));
  EXPECT_TRUE(cut);
  EXPECT_EQ(rec.posts.back(), (Post{kMain, WM_TRADE_REPLY, WM_TRADE_ORDERS, 0}));
  // A count above the bound with values within it cuts nothing.
  for (const Fields& within :
       {Fields{{9001, "0"}, {9003, std::to_string(asked)}, {37, "1"}, {37, "2"}},
        Fields{{9001, "0"}, {9003, "2"}, {37, "1"}, {37, "2"}}}) {
    Dispatch(Reply("1032", within));
    EXPECT_EQ(session.GetOrders(&cut).size(), 2u);
    EXPECT_FALSE(cut);
  }
}

// Every field of an order row, in record order, for whole-row comparison.
std::vector<std::string> OrderFields(const COrderDetail& r) {
  return {r.productId, r.orderType, r.price,   r.quantity, r.productName, r.status,
          r.dealtQty,  r.field9210, r.orderNo, r.unused,   r.time};
}
std::vector<std::vector<std::string>> OrderRows(const std::vector<COrderDetail>& rows) {
  std::vector<std::vector<std::string>> out;
  for (const COrderDetail& r : rows) out.push_back(OrderFields(r));
  return out;
}

TEST_F(SessionTest, RefilledListsKeepNothingOfTheRowsBefore) {
  LogIn();
  session.SetMainWnd(kMain);
  const std::string longName(40, 'n');  // beyond the in-place string size
  Fields full{{9001, "0"}, {9003, "3"}};
  for (const char* i : {"1", "2", "3"}) {
    full.insert(full.end(), {{48, i},
                             {40, "0B"},
                             {44, "1.5"},
                             {132, "100"},
                             {9402, longName},
                             {150, "2"},
                             {32, "100"},
                             {9210, "0"},
                             {37, i},
                             {9205, "10:00"}});
  }
  Dispatch(Reply("1032", full));
  ASSERT_EQ(session.GetOrders().size(), 3u);
  // Two records, the second without name, order number or time; then the
  // list again in full, larger, and again smaller: each reply alone decides.
  Dispatch(Reply(
      "1032",
      {{9001, "0"}, {9003, "2"}, {48, "7"}, {37, "70"}, {9205, "11:00"}, {48, "8"}, {9402, "x"}}));
  EXPECT_EQ(
      OrderRows(session.GetOrders()),
      (std::vector<std::vector<std::string>>{{"7", "", "", "", "x", "", "", "", "70", "", "11:00"},
                                             {"8", "", "", "", "", "", "", "", "", "", ""}}));
  for (int round = 0; round < 2; ++round) {
    Dispatch(Reply("1032", full));
    Dispatch(Reply("1032", full));
    auto rows = session.GetOrders();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(OrderFields(rows[2]), (std::vector<std::string>{"3", "0B", "1.5", "100", longName,
                                                              "2", "100", "0", "3", "", "10:00"}));
    Dispatch(Reply("1032", {{9001, "0"}, {9003, "1"}, {9205, "12:00"}}));
    EXPECT_EQ(
        OrderRows(session.GetOrders()),
        (std::vector<std::vector<std::string>>{{"", "", "", "", "", "", "", "", "", "", "12:00"}}));
  }

  // A quoted last price does not outlive the refill.
  Dispatch(Reply("1022", {{9001, "0"}, {9003, "1"}, {48, "A"}, {31, "1.5"}}));
  session.SetHoldingLastPrice("A", 9.75);
  Dispatch(Reply("1022", {{9001, "0"}, {9003, "1"}, {48, "A"}}));
  EXPECT_DOUBLE_EQ(session.GetHoldings().at(0).lastPrice, 0);
}

TEST_F(SessionTest, DispatchAndTheMapParserFillTheSameRows) {
  LogIn();
  session.SetMainWnd(kMain);
  // Tags out of record order, repeated beyond RecordNum, unknown tags
  // between them and a raw-data value holding the delimiter.
  const std::string reply = Reply("1032", {{9001, "0"},
                                           {48, "A"},
                                           {9205, "t1"},
                                           {777, "?"},
                                           {9003, "2"},
                                           {40, "0S"},
                                           {48, "B"},
                                           {90, "3"},
                                           {91,
                                            "a\x01"
                                            "b"},
                                           {9205, "t2"},
                                           {48, "C"},
                                           {37, "n1"},
                                           {132, "5"},
                                           {9402, "p"},
                                           {44, ""}});
  Dispatch(reply);

  TagMap map;
  std::string error;
  ASSERT_EQ(ParseTradeMessage(reply.data(), static_cast<int>(reply.size()), map, nullptr, nullptr,
                              nullptr, nullptr, error),
            0);
  CTradeSession other;
  other.ParseOrders(map);
  const auto rows = OrderRows(session.GetOrders());
  EXPECT_EQ(rows, OrderRows(other.GetOrders()));
  EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                      {"A", "0S", "", "5", "p", "", "", "", "n1", "", "t1"},
                      {"B", "", "", "", "", "", "", "", "", "", "t2"}}));
}

TEST_F(SessionTest, RoutingTablePanelIds) {
  LogIn();
  session.SetMainWnd(kMain);
  const std::pair<const char*, WPARAM> routes[] = {
      {"1042", WM_TRADE_ISSUES},       {"1024", WM_TRADE_FUNDS},     {"1032", WM_TRADE_ORDERS},
      {"1036", WM_TRADE_HIS_ORDERS},   {"1034", WM_TRADE_DEALS},     {"1038", WM_TRADE_DEALS},
      {"1082", WM_TRADE_ALLOTS},       {"1084", WM_TRADE_ALLOTS},    {"1018", WM_TRADE_MAX_QTY},
      {"2018", WM_TRADE_APPLY_RESULT}, {"2020", WM_TRADE_TRANSFERS}, {"2008", WM_TRADE_FLOW_TODAY},
      {"2012", WM_TRADE_FLOW_HISTORY},
  };
  for (const auto& r : routes) {
    SCOPED_TRACE(r.first);
    rec.posts.clear();
    Dispatch(Reply(r.first, {{9001, "0"},
                             {9003, "1"},
                             {48, "X"},
                             {9801, "9"},
                             {9315, "8.00"},
                             {8105, "3"},
                             {150, "2"},
                             {9311, "12.9"},
                             {8116, "f"}}));
    EXPECT_EQ(rec.posts, (std::vector<Post>{{kMain, WM_TRADE_REPLY, r.second, 0}}));
  }
  EXPECT_EQ(session.GetFunds().balance, "8.00");
  EXPECT_EQ(session.GetPreTradeData().maxBuyQty, "9");
  EXPECT_EQ(session.GetApplyResult().field8105, 3);
  EXPECT_DOUBLE_EQ(session.GetApplyResult().amount, 12);
  EXPECT_EQ(session.GetOrders().at(0).productId, "X");
  EXPECT_EQ(session.GetMoneyFlowHistory().size(), 1u);
  EXPECT_TRUE(rec.boxes.empty());
}

TEST_F(SessionTest, OrderReplyShowsStatusAndQueriesTodaysOrders) {
  LogIn();
  session.SetMainWnd(kMain);
  rec.sent.clear();
  Dispatch(Reply("1012", {{9001, "0"}, {150, "1"}, {37, "123"}}));
  Dispatch(Reply("1016", {{9001, "0"}, {150, "4"}, {37, "124"}}));
  Dispatch(Reply("1014", {{9001, "0"}, {37, "125"}}));
  Dispatch(Reply("1004", {{9001, "0"}}));
  // A refused order: the server's reason under the status.
  Dispatch(Reply("1012", {{9001, "0"}, {9002, GBK("可用资金不足")}, {150, "5"}, {37, "126"}}));
  EXPECT_EQ(rec.boxes, (std::vector<std::string>{
                           std::string(GBK("委托")) + GBK("已提交") + GBK(",合同号是") + "123",
                           std::string(GBK("撤单委托")) + GBK("已撤单") + GBK(",合同号是") + "124",
                           std::string(GBK("转账请求已提交,合同号是")) + "125", GBK("密码修改成功"),
                           std::string(GBK("委托")) + GBK("交易所拒绝") + GBK(",合同号是") +
                               "126\n" + GBK("可用资金不足")}));
  ASSERT_EQ(rec.sent.size(), 3u);
  EXPECT_EQ(FieldsOf(rec.sent[0])[2].second, "1031");
  EXPECT_EQ(FieldsOf(rec.sent[1])[4].second, "SESS");
}

TEST_F(SessionTest, ErrorsHeartbeatsAndBadBlocks) {
  LogIn();
  session.SetMainWnd(kMain);
  rec.posts.clear();
  Dispatch(Reply("1022", {{9001, "7"}, {9002, "busy"}}));  // error: box, not parsed
  Dispatch(Reply("HB", {{9001, "9"}}));                    // heartbeat: nothing
  Dispatch(Reply("1022", {}));                             // no code counts as an error
  std::string bad = Reply("1022", {{9001, "0"}});
  bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
  Dispatch(bad);      // bad checksum: silent
  Dispatch("1010=");  // under nine bytes
  EXPECT_EQ(rec.boxes.size(), 2u);
  EXPECT_EQ(rec.boxes[0], std::string(GBK("错误代码=")) + "7" + GBK("，错误信息：") + "busy");
  EXPECT_TRUE(rec.posts.empty());
}

TEST_F(SessionTest, KickOutEndsTheProcessOnlyAfterTheBoxWasAnswered) {
  Dispatch(Reply("1022", {{9001, "1"}}));
  EXPECT_EQ(rec.boxes, (std::vector<std::string>{GBK("您有账户在其他地方登陆，您已被踢出系统")}));
  EXPECT_EQ(rec.boxTypes[0], MB_ICONEXCLAMATION);
  EXPECT_EQ(rec.exits, (std::vector<int>{0}));
  rec.boxAnswer = 0;  // abandoned because the link is being stopped
  Dispatch(Reply("HB", {{9001, "1"}}));
  EXPECT_EQ(rec.exits.size(), 1u);
}

TEST_F(SessionTest, ReadersNeverMeetAHalfRefilledList) {
  LogIn();
  session.SetMainWnd(kMain);
  Fields big{{9001, "0"}, {9003, "200"}};
  for (int i = 0; i < 200; ++i) big.push_back({48, std::to_string(i)});
  const std::string block = Reply("1032", big);
  std::thread writer([&] {
    for (int i = 0; i < 200; ++i) Dispatch(block);
  });
  for (int i = 0; i < 200; ++i) {
    auto rows = session.GetOrders();
    EXPECT_TRUE(rows.empty() || rows.size() == 200u);
  }
  writer.join();
}

}  // namespace
