// Look-ups over the loaded markets, the quote list state and the code
// remapping of the chart view.
#include "store_test_support.h"

using namespace store_test;

namespace {

class LookupTest : public StoreTest {
 protected:
  void SetUp() override {
    // 600001 sits in two trading markets and an index market; 1 and 399001
    // are the index items.
    ASSERT_EQ(Load(Table({{4097, {Item(1, "idx")}},
                          {4100, {Item(600001, "first"), Item(600002)}},
                          {4113, {Item(399001, "idx2"), Item(600001, "in-index")}},
                          {4101, {Item(600001, "second"), Item(160001)}}})),
              0);
  }
};

}  // namespace

TEST_F(LookupTest, FindStockTakesTheFirstMatchByCodeOnly) {
  SCodeInfo otherMarket{4101, 600001};
  SStockInfo* s = store.FindStock(&otherMarket);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetName(), "first");
  EXPECT_EQ(+s->market, 4100);
  SCodeInfo missing{4100, 123456};
  EXPECT_EQ(store.FindStock(&missing), nullptr);
  EXPECT_EQ(store.FindStock(nullptr), nullptr);

  CPublic empty;
  EXPECT_EQ(empty.FindStock(&otherMarket), nullptr);
}

TEST_F(LookupTest, IndexItemsAndIndexMarkets) {
  ASSERT_NE(store.GetIndexStock(4097), nullptr);
  EXPECT_EQ(+store.GetIndexStock(4097)->code, 1);
  ASSERT_NE(store.GetIndexStock(4113), nullptr);
  EXPECT_EQ(+store.GetIndexStock(4113)->code, 399001);
  EXPECT_EQ(store.GetIndexStock(4100), nullptr);

  for (uint16_t m : {4097, 4113, 1, 0x21F1}) {
    SCodeInfo key{m, 0};
    EXPECT_TRUE(CPublic::IsIndexMarket(&key)) << m;
  }
  for (uint16_t m : {4096, 4100, 4114, 0}) {
    SCodeInfo key{m, 0};
    EXPECT_FALSE(CPublic::IsIndexMarket(&key)) << m;
  }
  EXPECT_FALSE(CPublic::IsIndexMarket(nullptr));
}

TEST_F(LookupTest, CodeKeyIsTheLastTradingMarketHoldingTheCode) {
  EXPECT_EQ(store.GetCodeKey(600001), (SCodeInfo{4101, 600001}));
  EXPECT_EQ(store.GetCodeKey(600002), (SCodeInfo{4100, 600002}));
  // Only in an index market, or in the never-found range 160000-169999.
  EXPECT_EQ(store.GetCodeKey(399001), SCodeInfo{});
  EXPECT_EQ(store.GetCodeKey(160001), SCodeInfo{});
  EXPECT_EQ(store.GetCodeKey(777777), SCodeInfo{});
}

TEST_F(LookupTest, GetStocksCopiesOnlyWhatTheCallerAskedFor) {
  int count = -1;
  store.GetStocks(4100, nullptr, &count);
  EXPECT_EQ(count, 2);
  store.GetStocks(0x3000, nullptr, &count);
  EXPECT_EQ(count, 7);

  std::vector<SStockInfo> out(7);
  count = 2;
  store.GetStocks(4100, out.data(), &count);
  EXPECT_EQ(+out[1].code, 600002);

  std::vector<SStockInfo> wrong(7);
  count = 3;  // not the market's count: nothing copied
  store.GetStocks(4100, wrong.data(), &count);
  EXPECT_EQ(+wrong[0].code, 0);

  count = 7;
  store.GetStocks(kAllMarkets, out.data(), &count);
  EXPECT_EQ(count, 7);
  EXPECT_EQ(+out[0].code, 1);
  EXPECT_EQ(+out[6].code, 160001);

  std::vector<SStockInfo> small(3);
  count = 3;  // a smaller buffer is never overrun
  store.GetStocks(kAllMarkets, small.data(), &count);
  EXPECT_EQ(count, 3);

  count = 5;
  store.GetStocks(4999, out.data(), &count);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(store.GetStockCount(4999), 0);
}

TEST_F(StoreTest, MarketOfCommand) {
  const uint16_t expected[] = {4100, 4101, 4098, 4099, 4103, 4102,   4116, 4117,
                               4114, 4115, 4119, 4118, 4127, 0x3000, 1};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(store.GetMarketOfCommand(i), expected[i]) << i;
  EXPECT_EQ(store.GetMarketOfCommand(-1), 0);
  EXPECT_EQ(store.GetMarketOfCommand(40), 0);
  store.SetBlockKindResolver([](int index) { return static_cast<uint16_t>(0x2100 + index); });
  EXPECT_EQ(store.GetMarketOfCommand(40), 0x2100 + 40);
}

TEST_F(StoreTest, QuoteListStateAndFavourites) {
  int column = -1, descending = -1;
  store.GetReportSort(&column, &descending);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(descending, 0);
  store.SetReportSort(5, 1);
  store.GetReportSort(&column, &descending);
  EXPECT_EQ(column, 5);
  EXPECT_EQ(descending, 1);

  store.SetReportCodes({{4116, 100001}, {4100, 600001}, {4116, 100999}, {4114, 602001}});
  store.SetReportCodes({});  // an empty list keeps the old one
  ASSERT_EQ(store.GetReportCodes().size(), 4u);
  EXPECT_EQ(store.GetTradeCodes(), (std::vector<SCodeInfo>{{4100, 600001}, {4114, 602001}}));

  store.GetSelectedStocks().push_back({4100, 600001});
  EXPECT_TRUE(store.IsSelectedStock({4999, 600001}));
  EXPECT_FALSE(store.IsSelectedStock({4100, 600002}));

  EXPECT_EQ(store.GetLoginMode(), 2);
  store.SetLoginMode(1);
  EXPECT_EQ(store.GetLoginMode(), 1);
}

TEST_F(StoreTest, RemapAndRestore) {
  SCodeInfo key{4118, 3123};
  EXPECT_EQ(store.RemapCode(key), 1);
  EXPECT_EQ(key, (SCodeInfo{4100, 600123}));
  EXPECT_EQ(store.RestoreRemappedCode(key), 1);
  EXPECT_EQ(key, (SCodeInfo{4118, 3123}));

  SCodeInfo second{4100, 609456};
  EXPECT_EQ(store.RemapCode(second), 1);
  EXPECT_EQ(second, (SCodeInfo{4116, 2456}));

  // A matching market with another prefix clears what was remembered.
  SCodeInfo other{4118, 7001};
  EXPECT_EQ(store.RemapCode(other), 1);
  EXPECT_EQ(other, (SCodeInfo{4118, 7001}));
  SCodeInfo target{4100, 600123};
  EXPECT_EQ(store.RestoreRemappedCode(target), 0);
  EXPECT_EQ(target, (SCodeInfo{4100, 600123}));

  SCodeInfo unmapped{4114, 602001};
  EXPECT_EQ(store.RemapCode(unmapped), 0);
  EXPECT_EQ(unmapped, (SCodeInfo{4114, 602001}));

  // Remembered key present, but the market is not the row's target.
  SCodeInfo again{4118, 3001};
  store.RemapCode(again);
  SCodeInfo wrongMarket{4101, 600001};
  EXPECT_EQ(store.RestoreRemappedCode(wrongMarket), 0);
}
