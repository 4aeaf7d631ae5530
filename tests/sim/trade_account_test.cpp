// The trade simulator's account stays consistent across orders, cancels,
// deals, subscriptions and transfers, and its history queries honour their
// date ranges.
#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "trade/core/sha1_digest.h"
#include "trade_sim_account.h"

namespace {

const char* kToday = "2024-05-20";

class SimAccountTest : public ::testing::Test {
 protected:
  SimAccountTest() : account_(kToday, "fund", '9') {}

  // Funds the account holds in any form: what a deal or booking moved is
  // visible here, what an order only froze is not.
  double Total() const { return account_.Available() + account_.Frozen(); }
  long Held(const std::string& code) const {
    auto it = account_.Holdings().find(code);
    return it == account_.Holdings().end() ? 0 : it->second.qty;
  }
  long Frozen(const std::string& code) const {
    auto it = account_.Holdings().find(code);
    return it == account_.Holdings().end() ? 0 : it->second.frozen;
  }
  // The last flow's balance is the account's total after it.
  void ExpectFlowsBalance() {
    const auto flows = account_.Flows("", "");
    ASSERT_FALSE(flows.empty());
    EXPECT_NEAR(flows.back().balance, Total(), 0.005);
  }

  CTradeSimAccount account_;
};

TEST_F(SimAccountTest, SeededHistoryAddsUp) {
  EXPECT_NEAR(account_.Available(), 100000.00, 0.001);
  EXPECT_EQ(Held("602002"), 500);
  EXPECT_EQ(account_.Orders("2024-05-15", "2024-05-15").size(), 0u);
  EXPECT_EQ(account_.Orders("2024-05-17", "2024-05-17").size(), 1u);  // the bought holding
  EXPECT_EQ(account_.Orders("2024-05-19", "2024-05-19").at(0).status, "4");
  EXPECT_EQ(account_.Orders(kToday, kToday).size(), 0u);
  EXPECT_EQ(account_.Deals("2024-05-01", kToday).size(), 1u);
  EXPECT_EQ(account_.Flows("2024-05-15", "2024-05-15").at(0).type, '1');
  EXPECT_EQ(account_.Transfers().size(), 1u);
  // Allotment ranges end before their last day.
  EXPECT_EQ(account_.Allotments('0', "2024-05-19", "2024-05-20").size(), 1u);
  EXPECT_EQ(account_.Allotments('0', "2024-05-19", "2024-05-19").size(), 0u);
  EXPECT_EQ(account_.Allotments('1', "2024-05-19", "2024-05-20").at(0).first, 20000003);
  ExpectFlowsBalance();
}

TEST_F(SimAccountTest, OrdersDealRestAndCancelConsistently) {
  const double price = CTradeSimAccount::FindProduct("602001")->price;  // 12.34
  SSimOrder o;
  // Crossing, within one fill: dealt at once at the market price.
  ASSERT_TRUE(account_.PlaceOrder("602001", "0B", "12.34", "300", &o).ok());
  EXPECT_EQ(o.status, "2");
  EXPECT_EQ(Held("602001"), 300);
  const double dealt = 300 * price + 300 * price * 0.001;
  EXPECT_NEAR(account_.Available(), 100000 - dealt, 0.01);
  ExpectFlowsBalance();
  // Resting buy: the money is frozen, the total unchanged; a cancel gives it back.
  const double before = Total();
  ASSERT_TRUE(account_.PlaceOrder("602001", "0B", "12.00", "200", &o).ok());
  EXPECT_EQ(o.status, "1");
  EXPECT_NEAR(account_.Frozen(), 2400, 0.001);
  EXPECT_NEAR(Total(), before, 0.001);
  SSimOrder cancelled;
  ASSERT_TRUE(account_.Cancel(o.no, &cancelled).ok());
  EXPECT_EQ(cancelled.status, "4");
  EXPECT_NEAR(account_.Frozen(), 0, 0.001);
  EXPECT_FALSE(account_.Cancel(o.no, &cancelled).ok());  // once only
  // Resting sell: the holding is frozen and cannot be sold twice.
  ASSERT_TRUE(account_.PlaceOrder("602001", "0S", "20.00", "300", &o).ok());
  EXPECT_EQ(Frozen("602001"), 300);
  SSimOrder again;
  const SSimResult refused = account_.PlaceOrder("602001", "0S", "12.00", "1", &again);
  ASSERT_TRUE(refused.ok());
  EXPECT_EQ(again.status, "5");
  EXPECT_EQ(refused.info, GBK("可卖数量不足"));  // the reply says why
  ASSERT_TRUE(account_.Cancel(o.no, &cancelled).ok());
  EXPECT_EQ(Frozen("602001"), 0);
  // Crossing above one fill: partly dealt, the rest open and cancellable.
  ASSERT_TRUE(account_.PlaceOrder("602003", "0B", "30.00", "1500", &o).ok());
  EXPECT_EQ(o.status, "3");
  EXPECT_EQ(o.dealt, 1000);
  EXPECT_EQ(Held("602003"), 1000);
  EXPECT_NEAR(account_.Frozen(), 500 * 30.0, 0.001);
  ASSERT_TRUE(account_.Cancel(o.no, &cancelled).ok());
  EXPECT_NEAR(account_.Frozen(), 0, 0.001);
  ExpectFlowsBalance();
  // Selling what is held returns money; more than held is refused.
  ASSERT_TRUE(account_.PlaceOrder("602002", "0S", "1.00", "500", &o).ok());
  EXPECT_EQ(o.status, "2");
  EXPECT_EQ(Held("602002"), 0);
  ASSERT_TRUE(account_.PlaceOrder("602002", "0S", "1.00", "1", &o).ok());
  EXPECT_EQ(o.status, "5");
  // Today's orders and deals are listed by today's date.
  EXPECT_EQ(account_.Orders(kToday, kToday).size(), 7u);
  EXPECT_EQ(account_.Deals(kToday, kToday).size(), 3u);
}

TEST_F(SimAccountTest, RefusedOrdersChangeNothing) {
  const double before = account_.Available();
  SSimOrder o;
  struct Case {
    const char* code;
    const char* type;
    const char* price;
    const char* qty;
  } cases[] = {
      {"999999", "0B", "1", "1"},    {"602001", "0C", "1", "1"},      {"602001", "0B", "0", "1"},
      {"602001", "0B", "1", "-5"},   {"602001", "0B", "1", "1e3"},    {"602001", "0B", "x", "1"},
      {"700001", "7B", "10", "150"}, {"700001", "7B", "10", "20000"}, {"700009", "7B", "1", "100"}};
  for (const Case& c : cases)
    EXPECT_FALSE(account_.PlaceOrder(c.code, c.type, c.price, c.qty, &o).ok()) << c.code << c.qty;
  // Buying more than the funds allow is a refused order ("5"), with why.
  const SSimResult refused = account_.PlaceOrder("602001", "0B", "12.34", "100000", &o);
  ASSERT_TRUE(refused.ok());
  EXPECT_EQ(o.status, "5");
  EXPECT_EQ(refused.info, GBK("可用资金不足"));
  EXPECT_NEAR(account_.Available(), before, 0.001);
}

TEST_F(SimAccountTest, SubscriptionFreezesFundsGivesNumbersAndOnlyOnce) {
  SSimOrder o;
  ASSERT_TRUE(account_.PlaceOrder("700001", "7B", "", "300", &o).ok());
  EXPECT_EQ(o.status, "1");
  EXPECT_NEAR(account_.Frozen(), 3000, 0.001);
  const auto numbers = account_.Allotments('0', kToday, "2024-05-21");
  ASSERT_EQ(numbers.size(), 1u);
  EXPECT_EQ(numbers[0].last - numbers[0].first + 1, 3);  // one number per minimum lot
  EXPECT_FALSE(account_.PlaceOrder("700001", "7B", "", "100", &o).ok());
  SSimOrder cancelled;
  EXPECT_FALSE(account_.Cancel(account_.Orders(kToday, kToday).back().no, &cancelled).ok());
}

TEST_F(SimAccountTest, TransfersAndSigning) {
  const std::string funds = PasswordDigest("fund");
  SSimTransfer t;
  EXPECT_FALSE(account_.Apply(1, "100", PasswordDigest("wrong"), "pw", &t).ok());
  EXPECT_FALSE(account_.Apply(1, "100", funds, "", &t).ok());  // channel 9 needs the bank password
  EXPECT_FALSE(account_.Apply(2, "1000000", funds, "", &t).ok());
  EXPECT_FALSE(account_.Apply(1, "abc", funds, "pw", &t).ok());
  ASSERT_TRUE(account_.Apply(1, "500.5", funds, "pw", &t).ok());
  EXPECT_NEAR(account_.Available(), 100500.50, 0.001);
  ASSERT_TRUE(account_.Apply(2, "0.5", funds, "", &t).ok());
  EXPECT_NEAR(account_.Available(), 100500.00, 0.001);
  ExpectFlowsBalance();
  EXPECT_EQ(account_.SignState(), 1);
  EXPECT_FALSE(account_.Apply(5, "", funds, "", &t).ok());  // signed already
  ASSERT_TRUE(account_.Apply(6, "", funds, "", &t).ok());
  EXPECT_EQ(account_.SignState(), 0);
  ASSERT_TRUE(account_.Apply(5, "", funds, "", &t).ok());
  EXPECT_EQ(account_.Transfers().size(), 5u);
  EXPECT_FALSE(account_.Apply(3, "1", funds, "", &t).ok());
}

TEST(SimDates, ShiftAcrossMonthsAndYears) {
  EXPECT_EQ(SimShiftDate("2024-03-01", -1), "2024-02-29");
  EXPECT_EQ(SimShiftDate("2023-12-31", 1), "2024-01-01");
  EXPECT_TRUE(IsSimDate("2024-01-01"));
  EXPECT_FALSE(IsSimDate("2024-1-01"));
  EXPECT_FALSE(IsSimDate("2024/01/01"));
}

}  // namespace
