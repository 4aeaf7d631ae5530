// Order entry: limits, quantity helpers, the checks before an order, what
// an order sends, the holdings list and the quote packet.
#include "trade/ui/rules/order_entry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/gbk.h"
#include "trade/ui/rules/holding_values.h"
#include "trade/ui/rules/quote_packet.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

TEST(OrderEntryRules, FractionAndPriceMaximumTables) {
  struct Fraction {
    int maximum, minimum, divisor, expected;
  } fractions[] = {
      {1000, 100, 3, 300}, {1000, 0, 3, 333}, {1000, -5, 3, 333}, {1000, 100, 2, 500},
      {99, 100, 2, 0},     {4, 1, 5, 0},      {0, 1, 2, 0},       {1000, 300, 4, 0},
  };
  for (const Fraction& f : fractions)
    EXPECT_EQ(FractionQuantity(f.maximum, f.minimum, f.divisor), f.expected)
        << f.maximum << "/" << f.divisor << " lot " << f.minimum;

  struct FromPrice {
    const char* price;
    const char* funds;
    int minimum, expected;
  } prices[] = {
      {"2", "1050", 100, 500},
      {"2", "1050", 1, 525},
      {"", "1050", 100, -1},
      {"2", "", 100, -1},
      {"2", "1050", 0, -1},
      {"0", "1050", 100, -1},
      {"-1", "1050", 100, -1},
      {"abc", "1050", 1, -1},
      {"3", "1000", 1, 333},
      // Funds that would buy more than an int counts: the maximum saturates.
      {"0.001", "1e12", 1, 2147483647},
  };
  for (const FromPrice& p : prices)
    EXPECT_EQ(MaximumFromPrice(p.price, p.funds, p.minimum), p.expected)
        << p.price << " " << p.funds;

  EXPECT_EQ(OrderTypeCode(0, kSideBuy), "0B");
  EXPECT_EQ(OrderTypeCode(1, kSideSell), "XS");
  EXPECT_EQ(OrderTypeCode(2, kSideBuy), "YB");
  EXPECT_TRUE(IsIndexCode("100001"));
  EXPECT_FALSE(IsIndexCode("600001"));
}

// A quote packet of the 0x0800 layout: code, high, low, last, ten levels.
std::string QuotePacket(uint32_t code, uint32_t high, uint32_t low, uint32_t last,
                        int length = 141) {
  std::string p(static_cast<size_t>(length), '\0');
  auto put = [&](size_t at, uint32_t v) {
    if (at + 4 <= p.size()) std::memcpy(&p[at], &v, 4);
  };
  put(0, 0x0800);
  put(6, code);
  put(20, high);
  put(24, low);
  put(28, last);
  for (uint32_t i = 0; i < 10; ++i) {
    put(61 + 8 * i, 10000 + (i < 5 ? (5 - i) * 10 : 0) - (i >= 5 ? (i - 4) * 10 : 0));
    put(65 + 8 * i, 100 * (i + 1));
  }
  return p;
}

class OrderEntryTest : public ::testing::Test {
 protected:
  OrderEntryTest() {
    host_.known = {{600001, 9500}, {600002, 20000}};
    rec_.session.SetMainWnd(reinterpret_cast<HWND>(0x10));
  }
  // The server's maximum-quantity reply and the funds reply.
  void Limits(const char* maxBuy, const char* minBuy, const char* maxSell, const char* minSell,
              const char* funds = "1050") {
    rec_.Feed(MT_QRY_FUNDS_RSP, {{9001, "0"}, {9312, "8000.00"}});
    rec_.Feed(MT_MAX_QTY_RSP, {{9001, "0"},
                               {9801, maxBuy},
                               {9802, minBuy},
                               {9803, maxSell},
                               {9804, minSell},
                               {9805, funds},
                               {9633, "11.00"},
                               {9634, "9.00"}});
  }

  platform::ScopedRecordingBoxes boxes_;
  RecordedSession rec_;
  FakeHost host_;
};

TEST_F(OrderEntryTest, ATypedCodeAsksTheHostAndTheServerOnlyForAKnownItem) {
  COrderEntryModel buy(kSideBuy, rec_.session, host_);
  buy.OnCodeChanged("60000");   // five characters: nothing asked
  buy.OnCodeChanged("100001");  // an index: nothing asked
  EXPECT_TRUE(host_.calls.empty());
  // An unknown code allows nothing: the order is refused.
  buy.OnCodeChanged("600009");
  EXPECT_EQ(host_.calls, std::vector<std::string>{"find 600009"});
  EXPECT_EQ(buy.Maximum(), 0);
  buy.OnPriceChanged("10.00");
  buy.OnQuantityChanged("100");
  EXPECT_FALSE(buy.OnOrderButton());
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("请输入正确的单据信息!")});
  EXPECT_TRUE(rec_.TakeSent().empty());
  host_.calls.clear();
  buy.OnCodeChanged("600001");
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"find 600001", "name 600001", "quote 600001"}));
  EXPECT_EQ(buy.View().price, "");  // a new code clears the entry
  // The host's name line holds at most 60 bytes.
  buy.OnName(std::string(70, 'x').c_str());
  EXPECT_EQ(buy.View().name, std::string(60, 'x'));
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msgType, MT_MAX_QTY);
  EXPECT_EQ(sent[0].body, (Fields{{48, "600001"}, {40, "0B"}}));
}

TEST_F(OrderEntryTest, LimitsFromTheServerReply) {
  Limits("800", "100", "350", "50");
  COrderEntryModel buy(kSideBuy, rec_.session, host_), sell(kSideSell, rec_.session, host_);
  buy.OnLimits();
  sell.OnLimits();
  EXPECT_EQ(buy.Maximum(), 800);
  EXPECT_EQ(buy.Minimum(), 100);
  EXPECT_EQ(buy.View().fundsText, "8000.00");
  EXPECT_EQ(buy.View().priceLabel, GBK("买入价格："));  // the colon stays
  EXPECT_EQ(sell.Maximum(), 350);
  EXPECT_EQ(sell.Minimum(), 50);
  EXPECT_EQ(sell.View().maximumText, "350");
  EXPECT_EQ(sell.View().fundsText, "");
  // A typed price recomputes the buy maximum from the funds: 1050 / 2 = 525,
  // down to a multiple of 100.
  buy.OnPriceChanged("2");
  EXPECT_EQ(buy.Maximum(), 500);
  EXPECT_EQ(buy.View().maximumText, "500");
  // The best-price kinds: funds / limit-up price, the price fixed at the limit.
  buy.OnKindChanged(1);
  buy.OnLimits();
  EXPECT_EQ(buy.Maximum(), 1050 / 11);
  EXPECT_EQ(buy.View().price, "11.00");
  EXPECT_FALSE(buy.View().priceEnabled);
  EXPECT_EQ(buy.View().priceLabel, GBK("涨停价格："));
  sell.OnKindChanged(2);
  sell.OnLimits();
  EXPECT_EQ(sell.View().price, "9.00");
  EXPECT_EQ(sell.View().priceLabel, GBK("跌停价格："));
}

TEST_F(OrderEntryTest, OrderChecksWithEqualBoundsAccepted) {
  // At price 10 the funds buy 1000, the server's maximum too.
  Limits("1000", "100", "500", "100", "10000");
  struct Case {
    int side;
    const char* code;
    const char* price;
    const char* quantity;
    const char* box;  // nullptr: accepted
  } cases[] = {
      {kSideBuy, "100001", "10", "100", "指数不能下单，请输入正确的单据信息"},
      {kSideBuy, "600001", "", "100", "请输入正确的单据信息!"},
      {kSideBuy, "600001", "10", "", "请输入正确的单据信息!"},
      {kSideBuy, "600001", "10", "1001", "数量已超出您所能够买得最大数量!"},
      {kSideBuy, "600001", "10", "99", "数量低于最小买入数量!"},
      {kSideBuy, "600001", "10", "1000", nullptr},
      {kSideBuy, "600001", "10", "100", nullptr},
      {kSideSell, "600001", "10", "501", "数量已超出您所持有的商品数量!"},
      {kSideSell, "600001", "10", "99", "数量低于最小卖出数量!"},
      {kSideSell, "600001", "10", "500", nullptr},
      // A typed value holding a delimiter would forge a field: refused.
      {kSideBuy, "600001",
       "10\x01"
       "44=1",
       "100", "输入内容含有非法字符，请重新输入！"},
  };
  for (const Case& c : cases) {
    boxes_.Clear();
    COrderEntryModel m(c.side, rec_.session, host_);
    m.OnCodeChanged(c.code);
    m.OnLimits();
    m.OnPriceChanged(c.price);
    m.OnQuantityChanged(c.quantity);
    rec_.TakeSent();
    const bool sent = m.OnOrderButton();
    const auto boxes = BoxTexts(boxes_);
    if (c.box) {
      EXPECT_FALSE(sent) << c.quantity;
      EXPECT_EQ(boxes, std::vector<std::string>{GBK(c.box)}) << c.quantity;
      EXPECT_TRUE(rec_.TakeSent().empty());
    } else {
      EXPECT_TRUE(sent) << c.quantity;
      ASSERT_EQ(boxes.size(), 1u);  // the confirmation only
      EXPECT_EQ(rec_.TakeSent().front().msgType, MT_ORDER);
    }
  }
}

TEST_F(OrderEntryTest, ConfirmedOrderSendsItsFourFieldsThenFundsAndHoldings) {
  Limits("1000", "100", "0", "0", "10000");
  COrderEntryModel buy(kSideBuy, rec_.session, host_);
  buy.OnCodeChanged("600001");
  buy.OnLimits();
  buy.OnPriceChanged("9.50");
  buy.OnQuantityChanged("300");
  rec_.TakeSent();
  boxes_.QueueAnswer(IDNO);
  EXPECT_FALSE(buy.OnOrderButton());
  EXPECT_TRUE(rec_.TakeSent().empty());
  EXPECT_EQ(buy.View().code, "600001");  // "No" changes nothing
  EXPECT_TRUE(buy.OnOrderButton());
  const auto boxes = boxes_.Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, GBK("您 限价委托 买入 了600001 数量：300 价格：9.50 ,请确认"));
  EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0].msgType, MT_ORDER);
  EXPECT_EQ(sent[0].body, (Fields{{48, "600001"}, {40, "0B"}, {44, "9.50"}, {132, "300"}}));
  EXPECT_EQ(sent[1].msgType, MT_QRY_FUNDS);
  EXPECT_EQ(sent[2].msgType, MT_QRY_HOLDINGS);
  EXPECT_EQ(buy.View().code, "");
  EXPECT_EQ(buy.View().price, "");
  EXPECT_EQ(buy.View().maximumText, "");
}

TEST_F(OrderEntryTest, BuyMaximumFollowsThePriceTheOrderCarries) {
  // The server worked 11400 out at its own price; the funds are 100000.
  rec_.Feed(MT_QRY_FUNDS_RSP, {{9001, "0"}, {9312, "100000.00"}});
  rec_.Feed(MT_MAX_QTY_RSP, {{9001, "0"}, {9801, "11400"}, {9802, "100"}, {9805, "100000.00"}});
  struct Case {
    const char* priceBefore;  // in the entry when the limits arrive
    const char* priceAfter;   // typed after them (nullptr: none)
    int maximum;
  } cases[] = {
      {"9.20", nullptr, 10800},  // typed before the limits: they take it
      {"8.79", "9.20", 10800},
      {"", nullptr, 11400},  // no price yet: the server's figure
      {"", "10", 10000},
  };
  for (const Case& c : cases) {
    COrderEntryModel buy(kSideBuy, rec_.session, host_);
    buy.OnCodeChanged("600001");
    buy.OnPriceChanged(c.priceBefore);
    buy.OnLimits();
    if (c.priceAfter) buy.OnPriceChanged(c.priceAfter);
    buy.OnAllButton();
    EXPECT_EQ(buy.Maximum(), c.maximum) << c.priceBefore;
    EXPECT_EQ(buy.View().maximumText, std::to_string(c.maximum)) << c.priceBefore;
    EXPECT_EQ(buy.View().quantity, std::to_string(c.maximum)) << c.priceBefore;
  }
}

TEST_F(OrderEntryTest, RefreshedQuotesMoveTheStripsAndKeepTheTypedPrice) {
  COrderEntryModel buy(kSideBuy, rec_.session, host_);
  EXPECT_FALSE(buy.RefreshQuote());  // no item: nothing asked
  buy.OnCodeChanged("600001");
  const std::string first = QuotePacket(600001, 10500, 9800, 10000);
  buy.OnQuotePacket(first.data(), static_cast<int>(first.size()));
  EXPECT_EQ(buy.View().price, "10.00");  // the first quote fills the price
  buy.OnPriceChanged("9.20");
  host_.calls.clear();
  EXPECT_TRUE(buy.RefreshQuote());
  EXPECT_EQ(host_.calls, std::vector<std::string>{"quote 600001"});
  const std::string moved = QuotePacket(600001, 10500, 9800, 10100);
  buy.OnQuotePacket(moved.data(), static_cast<int>(moved.size()));
  SSingleQuote q;
  ASSERT_TRUE(ReadSingleQuote(moved.data(), static_cast<int>(moved.size()), &q));
  EXPECT_EQ(buy.View().levelsText, FiveLevelText(q));
  EXPECT_EQ(buy.View().price, "9.20");
  // A late quote of another item shows nothing.
  const std::string other = QuotePacket(600002, 20500, 19800, 20000);
  buy.OnQuotePacket(other.data(), static_cast<int>(other.size()));
  EXPECT_EQ(buy.View().levelsText, FiveLevelText(q));
  // A new code starts over: its first quote fills the price again.
  buy.OnCodeChanged("600002");
  buy.OnQuotePacket(other.data(), static_cast<int>(other.size()));
  EXPECT_EQ(buy.View().price, "20.00");
}

TEST_F(OrderEntryTest, QuantityButtons) {
  Limits("1000", "100", "0", "0");
  COrderEntryModel buy(kSideBuy, rec_.session, host_);
  buy.OnLimits();
  buy.OnFractionButton(3);
  EXPECT_EQ(buy.View().quantity, "300");
  EXPECT_EQ(buy.View().checkedFraction, 3);
  buy.OnAllButton();
  EXPECT_EQ(buy.View().quantity, "1000");
  buy.OnLimits();
  EXPECT_EQ(buy.View().checkedFraction, 0);  // new limits uncheck the fractions
}

TEST_F(OrderEntryTest, HoldingsListAndTakingAHolding) {
  rec_.Feed(MT_QRY_HOLDINGS_RSP,
            {{9001, "0"},   {9003, "3"},     {48, "600001"},  {9402, "A"},    {9403, "400"},
             {9405, "350"}, {9407, "10.00"}, {31, "12.5"},    {48, "600002"}, {9402, "B"},
             {9403, "100"}, {9405, "100"},   {9407, "20.00"}, {31, "0"},      {48, "600003"},
             {9402, "C"},   {9403, "x1"},    {9405, "0"},     {9407, "0"},    {31, "3"}});
  COrderEntryModel sell(kSideSell, rec_.session, host_);
  sell.OnHoldings();
  const auto& rows = sell.Holdings().rows;
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (PanelRow{"600001", "A", "400", "350", "", "", "10.00", "1000.00", "25.00",
                               "5000.00", "12.50"}));
  // No price yet: valued at cost, no profit.
  EXPECT_EQ(PanelRow(rows[1].begin() + 7, rows[1].end()),
            (PanelRow{"0.00", "0.00", "2000.00", "20.00"}));
  // A quantity that is not a number counts as 0; a cost of 0 gives 0.00 %.
  EXPECT_EQ(PanelRow(rows[2].begin() + 7, rows[2].end()),
            (PanelRow{"0.00", "0.00", "0.00", "3.00"}));
  EXPECT_EQ(sell.Holdings().columns.size(), 11u);
  // Double-click: the code runs the code entry, the sellable quantity is
  // the maximum before the server answers.
  EXPECT_FALSE(sell.OnTakeHolding(3));
  EXPECT_TRUE(sell.OnTakeHolding(0));
  EXPECT_EQ(sell.View().code, "600001");
  EXPECT_EQ(sell.View().name, "A");
  EXPECT_EQ(sell.Maximum(), 350);
  EXPECT_EQ(sell.View().maximumText, "350");
  EXPECT_EQ(rec_.TakeSent().back().body, (Fields{{48, "600001"}, {40, "0S"}}));
}

TEST_F(OrderEntryTest, QuotePacketFillsTheStripsAndThePrice) {
  const std::string packet = QuotePacket(600001, 10500, 9800, 10000);
  SSingleQuote q;
  ASSERT_TRUE(ReadSingleQuote(packet.data(), static_cast<int>(packet.size()), &q));
  EXPECT_EQ(QuoteSummaryText(q, 9500),
            GBK("现价@  10.00@    最高@  10.50~涨跌@  0.50@  最低@  9.80\n"));
  EXPECT_EQ(FiveLevelText(q),
            GBK("卖⑤  @10.05    100~卖④  @10.04    200~卖③  @10.03    300~卖②  @10.02    400~"
                "卖①  @10.01    500\n买①  @9.99    600~买②  @9.98    700~买③  @9.97    800~"
                "买④  @9.96    900~买⑤  @9.95    1000\n"));
  // A fall below the previous close shows negative.
  EXPECT_NE(QuoteSummaryText(q, 10200).find("-0.20"), std::string::npos);

  COrderEntryModel buy(kSideBuy, rec_.session, host_);
  buy.OnCodeChanged("600001");
  buy.OnQuotePacket(packet.data(), static_cast<int>(packet.size()));
  EXPECT_EQ(buy.View().price, "10.00");
  EXPECT_EQ(buy.View().summaryText, QuoteSummaryText(q, 9500));
  EXPECT_EQ(host_.calls.back(), "preclose 600001");
  // A packet shorter than its last level is refused, not read.
  const std::string shortPacket = QuotePacket(600001, 1, 1, 1, 140);
  COrderEntryModel other(kSideBuy, rec_.session, host_);
  other.OnQuotePacket(shortPacket.data(), static_cast<int>(shortPacket.size()));
  other.OnQuotePacket(nullptr, 500);
  EXPECT_EQ(other.View().summaryText, "");
  EXPECT_FALSE(ReadSingleQuote(shortPacket.data(), 140, &q));
}

}  // namespace
