// The rules of the trading panels: query panels and cancellation, funds and
// holdings, transfers and their journal, bank signing, money flow and
// subscription.
#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "trade/core/sha1_digest.h"
#include "trade/ui/rules/bank_channels.h"
#include "trade/ui/rules/funds_panel.h"
#include "trade/ui/rules/holding_values.h"
#include "trade/ui/rules/money_flow.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/query_panels.h"
#include "trade/ui/rules/sign_dialog.h"
#include "trade/ui/rules/subscription.h"
#include "trade/ui/rules/transfer_form.h"
#include "trade/ui/rules/transfer_journal.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

class PanelsTest : public ::testing::Test {
 protected:
  PanelsTest() : clock_(0, LocalNoon(2024, 2, 29)) {
    rec_.session.SetUserId("8001");
    rec_.session.SetMainWnd(reinterpret_cast<HWND>(0x10));
  }
  Fields OrderRow(const char* no, const char* type, const char* status) {
    return {{48, "600001"}, {40, type}, {44, "10.00"}, {132, "100"},      {9402, "A"},
            {150, status},  {32, "0"},  {37, no},      {9205, "10:00:00"}};
  }
  void FeedOrders(const std::vector<Fields>& rows, const char* type = MT_QRY_ORDERS_RSP) {
    Fields f = {{9001, "0"}, {9003, std::to_string(rows.size())}};
    for (const Fields& r : rows) f.insert(f.end(), r.begin(), r.end());
    rec_.Feed(type, f);
  }

  platform::ScopedRecordingBoxes boxes_;
  RecordedSession rec_;
  CManualTradeClock clock_;
};

TEST_F(PanelsTest, TodaysCancellableOrdersAreSubmittedOrPartlyDealt) {
  FeedOrders({OrderRow("1", "0B", "1"), OrderRow("2", "0S", "2"), OrderRow("3", "0B", "3"),
              OrderRow("4", "0S", "4"), OrderRow("5", "XS", "13")});
  for (int mode : {2, 6, 8}) {
    CQueryPanelModel panel(EQueryPanel::kOrders, mode, rec_.session, clock_);
    EXPECT_TRUE(panel.OnPanelMessage(WM_TRADE_ORDERS));
    EXPECT_FALSE(panel.OnPanelMessage(WM_TRADE_DEALS));
    std::vector<std::string> numbers;
    for (const PanelRow& r : panel.Table().rows) numbers.push_back(r[8]);
    const std::vector<std::string> expected =
        mode == 2 ? std::vector<std::string>{"1", "3"}
                  : std::vector<std::string>{"1", "2", "3", "4", "5"};
    EXPECT_EQ(numbers, expected) << mode;
  }
  CQueryPanelModel all(EQueryPanel::kOrders, 6, rec_.session, clock_);
  all.OnPanelMessage(WM_TRADE_HIS_ORDERS);
  EXPECT_EQ(all.Table().rows[0], (PanelRow{"A", "600001", GBK("限价买"), "10.00", "100", "0",
                                           GBK("已提交"), "10:00:00", "1", "1"}));
  EXPECT_EQ(all.Table().rows[1].back(), "3");  // a sell row is blue
  EXPECT_EQ(all.Table().rows[1][6], GBK("成交"));
  EXPECT_EQ(all.Table().columns.size(), 10u);
}

TEST_F(PanelsTest, CancellationChecksBeforeConfirming) {
  FeedOrders({OrderRow("1", "7B", "1"), OrderRow("2", "0B", "1")});
  CQueryPanelModel panel(EQueryPanel::kOrders, 2, rec_.session, clock_);
  panel.OnPanelMessage(WM_TRADE_ORDERS);
  rec_.TakeSent();
  EXPECT_FALSE(panel.OnCancel(-1));
  EXPECT_FALSE(panel.OnCancel(0));  // a subscription: refused before any question
  boxes_.QueueAnswer(IDNO);
  EXPECT_FALSE(panel.OnCancel(1));
  EXPECT_EQ(BoxTexts(boxes_),
            (std::vector<std::string>{GBK("请选择所要撤销的委托委托"), GBK("新股申购不允许撤单!"),
                                      GBK("您确定要撤消合同号为 2 的委托么?")}));
  EXPECT_TRUE(rec_.TakeSent().empty());
  EXPECT_TRUE(panel.OnDoubleClick(1));
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msgType, MT_CANCEL);
  EXPECT_EQ(sent[0].body, (Fields{{37, "2"}}));
  // Only the cancel mode cancels on a double-click.
  CQueryPanelModel today(EQueryPanel::kOrders, 6, rec_.session, clock_);
  today.OnPanelMessage(WM_TRADE_ORDERS);
  EXPECT_FALSE(today.OnDoubleClick(1));
}

TEST_F(PanelsTest, ModesRequestsAndDateRanges) {
  struct Case {
    EQueryPanel kind;
    int mode;
    std::vector<std::string> atInit;
    bool query, cancel, refresh;
  } cases[] = {
      {EQueryPanel::kOrders, 2, {MT_QRY_ORDERS}, false, true, true},
      {EQueryPanel::kOrders, 6, {MT_QRY_ORDERS}, false, false, true},
      {EQueryPanel::kOrders, 8, {}, true, false, false},
      {EQueryPanel::kDeals, 7, {MT_QRY_DEALS}, false, false, true},
      {EQueryPanel::kDeals, 9, {}, true, false, false},
      {EQueryPanel::kAllotments, 0, {}, true, false, false},
  };
  for (const Case& c : cases) {
    CQueryPanelModel panel(c.kind, c.mode, rec_.session, clock_);
    panel.OnInit();
    EXPECT_EQ(rec_.SentTypes(), c.atInit) << c.mode;
    EXPECT_EQ(panel.Controls().query, c.query) << c.mode;
    EXPECT_EQ(panel.Controls().cancel, c.cancel) << c.mode;
    EXPECT_EQ(panel.Controls().refresh, c.refresh) << c.mode;
  }
  // Both dates start a day before today; history sends the end as picked,
  // the allotments the day after it.
  CQueryPanelModel orders(EQueryPanel::kOrders, 8, rec_.session, clock_);
  CQueryPanelModel deals(EQueryPanel::kDeals, 9, rec_.session, clock_);
  CQueryPanelModel allots(EQueryPanel::kAllotments, 0, rec_.session, clock_);
  EXPECT_EQ(FormatDate(orders.dates.start), "2024-02-28");
  orders.OnQuery();
  deals.dates = {LocalNoon(2023, 12, 1), LocalNoon(2023, 12, 31)};
  deals.OnQuery();
  allots.dates = {LocalNoon(2023, 12, 1), LocalNoon(2023, 12, 31)};
  allots.OnQuery();
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].msgType, MT_QRY_HIS_ORDERS);
  EXPECT_EQ(sent[0].body, (Fields{{9451, "2024-02-28"}, {9452, "2024-02-28"}}));
  EXPECT_EQ(sent[1].msgType, MT_QRY_HIS_DEALS);
  EXPECT_EQ(sent[1].body, (Fields{{9451, "2023-12-01"}, {9452, "2023-12-31"}}));
  EXPECT_EQ(sent[2].msgType, MT_QRY_ALLOT);
  EXPECT_EQ(sent[2].body, (Fields{{9451, "2023-12-01"}, {9452, "2024-01-01"}}));
}

TEST_F(PanelsTest, DealAndAllotmentRows) {
  rec_.Feed(MT_QRY_DEALS_RSP, {{9001, "0"},
                               {9003, "1"},
                               {48, "600001"},
                               {9402, "A"},
                               {9501, "D1"},
                               {40, "0S"},
                               {32, "100"},
                               {31, "10.00"},
                               {384, "1000.00"},
                               {60, "10:01"},
                               {12, "1.00"},
                               {37, "7"}});
  rec_.Feed(MT_QRY_ALLOT_RSP, {{9001, "0"},
                               {9003, "1"},
                               {48, "700001"},
                               {9402, "N"},
                               {9651, "d"},
                               {9652, "1"},
                               {9656, "10"},
                               {132, "1000"},
                               {31, "10.00"},
                               {9653, "10"},
                               {9655, "1"}});
  CQueryPanelModel deals(EQueryPanel::kDeals, 7, rec_.session, clock_);
  deals.OnPanelMessage(WM_TRADE_DEALS);
  EXPECT_EQ(deals.Table().rows.at(0), (PanelRow{"A", "600001", "10:01", GBK("限价卖"), "10.00",
                                                "100", "1000.00", "D1", "1.00", "7", "3"}));
  CQueryPanelModel allots(EQueryPanel::kAllotments, 0, rec_.session, clock_);
  allots.OnPanelMessage(WM_TRADE_ALLOTS);
  EXPECT_EQ(allots.Table().rows.at(0),
            (PanelRow{"N", "700001", "d", "1", "10", "10", "1000", "10.00", GBK("中签")}));
  EXPECT_EQ(allots.Table().columns.size(), 9u);  // no colour-code column
}

TEST_F(PanelsTest, FundsWithHoldingsAndWithout) {
  CFundsPanelModel funds(rec_.session);
  funds.OnInit();
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_FUNDS});
  rec_.Feed(MT_QRY_FUNDS_RSP,
            {{9001, "0"}, {9315, "1000.5"}, {9312, "800"}, {9316, "700"}, {9313, "200"}});
  funds.OnPanelMessage(WM_TRADE_FUNDS);
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_HOLDINGS});
  EXPECT_EQ(funds.View().balance, "1000.5");
  EXPECT_EQ(funds.View().frozen, "200");
  funds.OnPanelMessage(WM_TRADE_HOLDINGS);  // no holdings
  EXPECT_TRUE(funds.Table().rows.empty());
  EXPECT_EQ(funds.View().marketValue, "0.00");
  EXPECT_EQ(funds.View().profit, "0.00");
  EXPECT_EQ(funds.View().assets, "1000.50");
  rec_.Feed(MT_QRY_HOLDINGS_RSP, {{9001, "0"},
                                  {9003, "3"},
                                  {48, "1"},
                                  {9403, "100"},
                                  {9407, "10"},
                                  {31, "0"},  // no price
                                  {48, "2"},
                                  {9403, "10"},
                                  {9407, "5"},
                                  {31, "6"},
                                  {48, "3"},
                                  {9403, "lots"},
                                  {9407, "abc"},
                                  {31, "2"}});  // odd texts
  funds.OnPanelMessage(WM_TRADE_HOLDINGS);
  ASSERT_EQ(funds.Table().rows.size(), 3u);
  EXPECT_EQ(funds.Table().rows[0][10], "10.00");  // the cost price stands in
  EXPECT_EQ(funds.Table().rows[0][7], "0.00");
  EXPECT_EQ(funds.Table().rows[0][8], "0.00");
  EXPECT_EQ(funds.Table().rows[1][8], "20.00");
  EXPECT_EQ(funds.Table().rows[2][7], "0.00");  // a quantity that is not a number counts 0
  EXPECT_EQ(funds.Table().rows[2][8], "0.00");  // cost 0: no division
  EXPECT_EQ(funds.View().marketValue, "1060.00");
  EXPECT_EQ(funds.View().profit, "10.00");
  EXPECT_EQ(funds.View().assets, "2060.50");
  EXPECT_STREQ(FundsHoldingColumns()[8].title, "盈亏(%)");
}

TEST(BankChannels, TransferAndSigningTables) {
  // channel, transfer allowed, web deposit / bank password bank->exchange,
  // signing, unsigning, bank password when signing.
  struct Case {
    char channel;
    bool transfer, web, transferPassword, sign, unsign, signPassword;
  } cases[] = {
      {'1', false, false, false, false, false, false},
      {'4', true, false, false, false, false, false},
      {'7', true, true, false, true, true, false},
      {'8', true, true, false, true, true, false},
      {'9', true, false, true, true, true, true},
      {'A', true, false, false, false, true, false},
      {'B', true, true, false, true, true, false},
      {'C', true, false, false, false, false, false},
      {'E', true, false, false, false, false, false},
      {'F', false, false, true, true, true, true},
      {'G', true, false, false, false, false, false},
      {'W', false, false, false, false, false, false},
      {'\0', false, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.channel));
    EXPECT_EQ(ChannelAllowsTransfer(c.channel), c.transfer);
    EXPECT_EQ(IsWebDeposit(kBankToExchange, c.channel), c.web);
    EXPECT_FALSE(IsWebDeposit(kExchangeToBank, c.channel));
    EXPECT_EQ(TransferNeedsBankPassword(kBankToExchange, c.channel), c.transferPassword);
    EXPECT_FALSE(TransferNeedsBankPassword(kExchangeToBank, c.channel));
    EXPECT_EQ(ChannelAllowsSigning(c.channel), c.sign);
    EXPECT_EQ(ChannelAllowsUnsigning(c.channel), c.unsign);
    EXPECT_EQ(SigningNeedsBankPassword(true, c.channel), c.signPassword);
    EXPECT_FALSE(SigningNeedsBankPassword(false, c.channel));
  }
}

class TransferTest : public PanelsTest {
 protected:
  void LoginWith(const char* channel, const char* link) {
    rec_.Login({{9116, channel},
                {9121, link},
                {9122, "2"},
                {9305, GBK("工商银行")},
                {9114, "6222"},
                {9119, "ID1"},
                {9120, "139"}});
  }
  std::vector<std::string> opened_;
  UrlOpener Opener() {
    return [this](const std::string& url) {
      opened_.push_back(url);
      return true;
    };
  }
};

TEST_F(TransferTest, WebDepositOpensOnlyWebAddressesWithEncodedValues) {
  LoginWith("8", "https://pay.example/in?");
  CTransferFormModel form(rec_.session, Opener());
  EXPECT_TRUE(form.View().amountRowsShown);
  form.OnDirectionChanged(kBankToExchange);
  EXPECT_FALSE(form.View().amountRowsShown);
  EXPECT_TRUE(form.OnTransfer("", "", ""));
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0],
            "https://pay.example/"
            "in?accountalias=8001&accounttype=2&paytype=1&paybank=%B9%A4%C9%CC%D2%F8%D0%D0");
  EXPECT_TRUE(rec_.TakeSent().empty());
  // The other direction applies through the server.
  form.OnDirectionChanged(kExchangeToBank);
  EXPECT_TRUE(form.OnTransfer("500", "fp", "ignored"));
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msgType, MT_MONEY_APPLY);
  EXPECT_EQ(sent[0].body, (Fields{{1, "8001"},
                                  {9310, "2"},
                                  {9311, "500"},
                                  {9309, "6222"},
                                  {9415, PasswordDigest("fp")},
                                  {150, "0"},
                                  {8107, "139"},
                                  {8108, "ID1"},
                                  {9416, ""}}));
  EXPECT_EQ(WebDepositAddress("https://x/?", "a&b=c", "1", ""),
            "https://x/?accountalias=a%26b%3Dc&accounttype=1&paytype=1&paybank=");
}

TEST_F(TransferTest, DepositLinksThatAreNotWebPagesAreRefused) {
  struct Case {
    const char* link;
    const char* box;
  } cases[] = {
      {"FORBIDED", "模拟账户，禁止出入金!"},      {"", "入金网址错误"},
      {"file:///usr/bin/xterm?", "入金网址错误"}, {"/usr/bin/xterm ", "入金网址错误"},
      {"javascript:alert(1)//", "入金网址错误"},  {"http://ok.example/x?", nullptr},
      {"HTTP://ok.example/x?", nullptr},
  };
  for (const Case& c : cases) {
    RecordedSession rec;
    rec.session.SetUserId("8001");
    rec.Login({{9116, "7"}, {9121, c.link}});
    boxes_.Clear();
    opened_.clear();
    CTransferFormModel form(rec.session, Opener());
    form.OnDirectionChanged(kBankToExchange);
    EXPECT_EQ(form.OnTransfer("", "", ""), c.box == nullptr) << c.link;
    if (c.box) {
      ASSERT_EQ(boxes_.Boxes().size(), 1u) << c.link;
      EXPECT_EQ(boxes_.Boxes()[0].text, GBK(c.box));
      EXPECT_EQ(boxes_.Boxes()[0].caption, GBK("系统提示"));
      EXPECT_TRUE(opened_.empty());
    } else {
      EXPECT_EQ(opened_.size(), 1u);
    }
  }
}

TEST_F(TransferTest, BankPasswordTravelsOnlyWhenRequiredAndControlBytesAreRefused) {
  LoginWith("9", "");
  CTransferFormModel form(rec_.session, Opener());
  EXPECT_FALSE(form.View().bankPasswordShown);
  form.OnDirectionChanged(kBankToExchange);
  EXPECT_TRUE(form.View().bankPasswordShown);
  EXPECT_TRUE(form.View().amountRowsShown);
  EXPECT_TRUE(form.OnTransfer("100", "fp", "bankpw"));
  auto sent = rec_.TakeSent();
  EXPECT_EQ(sent.at(0).body.at(1), (std::pair<int, std::string>{9310, "1"}));
  EXPECT_EQ(sent.at(0).body.back(), (std::pair<int, std::string>{9416, "bankpw"}));
  // A typed value with a delimiter or another control byte sends nothing.
  for (const char* bad : {"1\x01"
                          "9310=2",
                          "1\n", "\x7f"}) {
    boxes_.Clear();
    EXPECT_FALSE(form.OnTransfer(bad, "fp", "pw"));
    EXPECT_FALSE(form.OnTransfer("1", "fp", bad));
    EXPECT_EQ(boxes_.Boxes().size(), 2u);
  }
  EXPECT_TRUE(rec_.TakeSent().empty());
  // Channel 1 disables the button from the start.
  RecordedSession manual;
  manual.Login({{9116, "1"}});
  EXPECT_FALSE(CTransferFormModel(manual.session, Opener()).View().transferEnabled);
}

TEST_F(TransferTest, ApplicationResultBoxes) {
  CTransferFormModel form(rec_.session, Opener());
  for (auto [status, text] :
       std::vector<std::pair<const char*, const char*>>{{"0", "银行已受理，稍后请检查资金情况！"},
                                                        {"1", "支付完成(已处理)"},
                                                        {"2", "服务器拒绝受理，请检查资金账户！"},
                                                        {"3", "已审核！"},
                                                        {"9", "服务器返回值异常！"}}) {
    boxes_.Clear();
    rec_.Feed(MT_MONEY_APPLY_RSP, {{9001, "0"}, {150, status}});
    EXPECT_TRUE(form.OnPanelMessage(WM_TRADE_APPLY_RESULT));
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, GBK(text));
    EXPECT_EQ(boxes_.Boxes()[0].caption, GBK("出入金提示"));
  }
}

TEST_F(PanelsTest, TransferJournalTablesAndOneBoxPerReply) {
  for (int op = 1; op <= 9; ++op) EXPECT_NE(TransferOperationText(op), nullptr) << op;
  EXPECT_STREQ(TransferOperationText(5), GBK("签约"));
  EXPECT_STREQ(TransferOperationText(9), GBK("交易所手续费结转"));
  EXPECT_EQ(TransferOperationText(0), nullptr);
  EXPECT_EQ(TransferOperationText(10), nullptr);
  const std::pair<int, const char*> states[] = {{0, "已受理"},       {1, "支付完成"},
                                                {2, "系统拒绝"},     {3, "已审核"},
                                                {4, "返回数据错误"}, {-1, "返回数据错误"}};
  for (auto [state, text] : states) EXPECT_STREQ(TransferStateText(state), GBK(text)) << state;

  auto row = [](const char* op, const char* state) {
    return Fields{{8116, "T"}, {1, "8001"}, {8031, op},   {9311, "5.00"},
                  {8106, "r"}, {8117, "a"}, {150, state}, {58, "m"}};
  };
  Fields reply = {{9001, "0"}, {9003, "4"}};
  for (const Fields& r : {row("1", "1"), row("10", "0"), row("12", "4"), row("x", "9")})
    reply.insert(reply.end(), r.begin(), r.end());
  rec_.Feed(MT_QRY_TRANSFERS_RSP, reply);
  CTransferJournalModel journal(rec_.session);
  journal.OnInit();
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_TRANSFERS});
  EXPECT_TRUE(journal.OnPanelMessage(WM_TRADE_TRANSFERS));
  ASSERT_EQ(journal.Table().rows.size(), 4u);
  EXPECT_EQ(journal.Table().rows[0],
            (PanelRow{"T", GBK("银行转交易所"), "5.00", "r", "a", GBK("支付完成"), "m"}));
  EXPECT_EQ(journal.Table().rows[1][1], GBK("操作状态异常"));
  EXPECT_EQ(journal.Table().rows[2][1], GBK("操作状态异常"));
  EXPECT_EQ(journal.Table().rows[2][5], GBK("返回数据错误"));
  EXPECT_EQ(journal.Table().rows[3][1], GBK("操作状态异常"));  // "x" reads as 0
  // Three unknown codes in one reply: one box, naming the first.
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("返回操作类型 10")});
}

TEST_F(PanelsTest, SigningFollowsTheShownState) {
  rec_.Login({{9112, "0"}, {9116, "9"}, {9114, "6222"}, {9115, "Zhang"}, {9119, "ID1"}});
  CSignModel sign(rec_.session);
  EXPECT_EQ(sign.View().stateText, GBK("未签约"));
  EXPECT_EQ(sign.View().buttonText, GBK("签约"));
  EXPECT_TRUE(sign.View().buttonEnabled);
  EXPECT_TRUE(sign.View().bankPasswordEnabled);
  EXPECT_EQ(sign.View().bankName, GBK("中行股商存管"));
  boxes_.QueueAnswer(IDNO);
  EXPECT_FALSE(sign.OnButton("bpw", "fpw"));
  EXPECT_TRUE(sign.OnButton("bpw", "fpw"));
  auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].body, (Fields{{1, "8001"},
                                  {9310, "5"},
                                  {9311, ""},
                                  {9309, "6222"},
                                  {9415, PasswordDigest("fpw")},
                                  {150, "0"},
                                  {8107, ""},
                                  {8108, "ID1"},
                                  {9416, "bpw"}}));
  EXPECT_EQ(boxes_.Boxes().at(1).text, GBK("确定要签约吗？"));
  EXPECT_EQ(boxes_.Boxes().at(1).caption, GBK("提醒"));
  // Accepted only: nothing changes.
  rec_.Feed(MT_MONEY_APPLY_RSP, {{9001, "0"}, {150, "0"}});
  sign.OnPanelMessage(WM_TRADE_APPLY_RESULT);
  EXPECT_EQ(sign.View().stateText, GBK("未签约"));
  // Completed: the panel shows the signed state and the next press unsigns
  // (without the bank password).
  rec_.Feed(MT_MONEY_APPLY_RSP, {{9001, "0"}, {150, "1"}});
  sign.OnPanelMessage(WM_TRADE_APPLY_RESULT);
  EXPECT_EQ(sign.View().stateText, GBK("已签约"));
  EXPECT_EQ(sign.View().buttonText, GBK("解约"));
  EXPECT_FALSE(sign.View().bankPasswordEnabled);
  boxes_.Clear();
  EXPECT_TRUE(sign.OnButton("bpw", "fpw"));
  EXPECT_EQ(boxes_.Boxes().at(0).text, GBK("确定要解约吗？"));
  sent = rec_.TakeSent();
  EXPECT_EQ(sent.at(0).body.at(1), (std::pair<int, std::string>{9310, "6"}));
  EXPECT_EQ(sent.at(0).body.back(), (std::pair<int, std::string>{9416, ""}));

  // Channel 'A' signed: unsigning possible; unsigned: signing not.
  RecordedSession signedA, unsignedA;
  signedA.Login({{9112, "1"}, {9116, "A"}});
  unsignedA.Login({{9112, "0"}, {9116, "A"}});
  EXPECT_TRUE(CSignModel(signedA.session).View().buttonEnabled);
  EXPECT_FALSE(CSignModel(unsignedA.session).View().buttonEnabled);
}

TEST(MoneyFlow, TypeTable) {
  const std::pair<const char*, const char*> cases[] = {
      {"1", "入金"},       {"9", "冲正处理"},  {"A", "手续费点差"},
      {"E", "递延费结转"}, {"F", "红冲"},      {"P", "交易所手续费划转银行"},
      {"T", "卖出清算"},   {"9x", "冲正处理"}, {":", "类型异常"},
      {"@", "类型异常"},   {"U", "类型异常"},  {"0", "类型异常"},
      {"a", "类型异常"},   {"", "类型异常"},
  };
  for (auto [type, text] : cases) EXPECT_STREQ(MoneyFlowTypeText(type), GBK(text)) << type;
}

TEST_F(PanelsTest, MoneyFlowRowsComeFromThePanelsOwnMode) {
  rec_.Feed(MT_QRY_FLOW_RSP, {{9001, "0"},
                              {9003, "1"},
                              {8057, "today"},
                              {8058, "1.00"},
                              {8059, "9.00"},
                              {8031, "S"},
                              {8115, "77"}});
  rec_.Feed(MT_QRY_HIS_FLOW_RSP, {{9001, "0"}, {9003, "1"}, {8057, "past"}, {8031, "U"}});
  CMoneyFlowModel today(0, rec_.session, clock_), history(1, rec_.session, clock_);
  today.OnInit();
  history.OnInit();
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_FLOW});
  EXPECT_FALSE(today.ShowsDateRange());
  // A today panel that receives the history message shows today's rows.
  today.OnPanelMessage(WM_TRADE_FLOW_HISTORY);
  EXPECT_EQ(today.Table().rows.at(0),
            (PanelRow{"today", "1.00", "9.00", GBK("买入清算"), "77", ""}));
  history.OnPanelMessage(WM_TRADE_FLOW_TODAY);
  EXPECT_EQ(history.Table().rows.at(0)[0], "past");
  EXPECT_EQ(history.Table().rows.at(0)[3], GBK("类型异常"));
  history.dates = {LocalNoon(2024, 1, 1), LocalNoon(2024, 1, 31)};
  history.OnQuery();
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msgType, MT_QRY_HIS_FLOW);
  EXPECT_EQ(sent[0].body, (Fields{{9451, "2024-01-01"}, {9452, "2024-01-31"}}));
}

class SubscriptionTest : public PanelsTest {
 protected:
  SubscriptionTest() {
    rec_.Feed(MT_QRY_ISSUES_RSP, {{9001, "0"},
                                  {9003, "1"},
                                  {48, "700001"},
                                  {9402, "N"},
                                  {9605, "10.00"},
                                  {110, "100"},
                                  {111, "1000"}});
    rec_.Feed(MT_QRY_FUNDS_RSP, {{9001, "0"}, {9312, "5000.00"}});
  }
};

TEST_F(SubscriptionTest, QuantityBoundaryTable) {
  struct Case {
    const char* quantity;
    const char* box;  // nullptr: the confirmation
  } cases[] = {
      {"0", "请输入合法的申请份额！"},
      {"", "请输入合法的申请份额！"},
      {"abc", "请输入合法的申请份额！"},
      {"99999999999", "请输入合法的申请份额！"},  // beyond an int: not a number
      {"150", "申购数量必须是最小申购数量的整数倍！"},
      {"1100", "申购数量不能超过最大申购数量！"},
      {"600", "对不起！您的可用资金不足！"},  // 6000.00 > 5000.00
      {"500", nullptr},                       // funds exactly equal pass
      {"100", nullptr},
  };
  for (const Case& c : cases) {
    boxes_.Clear();
    CSubscriptionModel dialog(rec_.session);
    dialog.SetProduct(rec_.session.GetIssues().at(0));
    EXPECT_EQ(rec_.TakeSent().at(0).body, (Fields{{48, "700001"}, {40, "7B"}}));
    dialog.OnQuantityChanged(c.quantity);
    boxes_.QueueAnswer(IDNO);
    EXPECT_FALSE(dialog.OnOrder());
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << c.quantity;
    if (c.box) {
      EXPECT_EQ(boxes_.Boxes()[0].text, GBK(c.box)) << c.quantity;
      continue;
    }
    EXPECT_EQ(boxes_.Boxes()[0].caption, GBK("确认信息"));
    EXPECT_TRUE(dialog.OnOrder());
    const auto sent = rec_.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].body, (Fields{{48, "700001"}, {40, "7B"}, {44, "10.00"}, {132, c.quantity}}));
  }
  CSubscriptionModel dialog(rec_.session);
  dialog.SetProduct(rec_.session.GetIssues().at(0));
  dialog.OnQuantityChanged("");
  EXPECT_EQ(dialog.View().amount, "0.00");
  dialog.OnQuantityChanged("300");
  EXPECT_EQ(dialog.View().amount, "3000.00");
  EXPECT_EQ(dialog.View().available, "5000.00");
}

TEST_F(SubscriptionTest, OneSubscriptionPerCollection) {
  std::vector<std::string> opened;
  CIssueListModel list(
      rec_.session, [&](const CProductInfo& p) { opened.push_back(p.productCode); }, clock_);
  list.OnInit();
  const auto atInit = rec_.TakeSent();
  ASSERT_EQ(atInit.size(), 2u);
  EXPECT_EQ(atInit[0].msgType, MT_QRY_ISSUES);
  EXPECT_EQ(atInit[1].body, (Fields{{9451, "2024-02-29"}, {9452, "2024-03-01"}}));
  EXPECT_FALSE(list.ButtonEnabled());
  list.OnPanelMessage(WM_TRADE_ISSUES);
  EXPECT_TRUE(list.ButtonEnabled());
  EXPECT_EQ(list.Table().rows.at(0).at(9), "10000.00");  // 10.00 x 1000
  list.OnSubscribe(-1);
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("请选择一支藏品")});
  // Before the first allotment reply nothing is refused.
  list.OnSubscribe(0);
  EXPECT_EQ(opened, std::vector<std::string>{"700001"});
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_QRY_ALLOT});
  rec_.Feed(MT_QRY_ALLOT_RSP, {{9001, "0"}, {9003, "1"}, {48, "700001"}});
  boxes_.Clear();
  list.OnSubscribe(0);
  EXPECT_EQ(opened.size(), 1u);
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("对不起，同一藏品只能申购一次！")});
}

}  // namespace
