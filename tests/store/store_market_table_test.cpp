// Loading the market table: layout, merging of successive tables, and
// bodies whose counts do not fit what was received.
#include <cstring>

#include "store_test_support.h"

using namespace store_test;

namespace {

// One period 09:30-11:30 and one market 4114 with one item, byte by byte as
// the quote server lays it out.
std::string GoldenSmallTable() {
  const unsigned char head[] = {
      0x00, 0x10,                    // packet type 0x1000
      0x01, 0x00,                    // request tag
      0x5A, 0x29, 0x35, 0x01,        // trading date 20261210
      0x01,                          // one period
      0,    0,    0,    0,           // pointer slot
      0x01,                          // one market block
      0,    0,    0,    0,           // pointer slot
      0x3A, 0x02, 0xB2, 0x02,        // 570 .. 690
      0x12, 0x10, 0,    0,    0, 0,  // block: market 4114
      0x01, 0x00, 0,    0,    0, 0,  // one item
  };
  std::string out(reinterpret_cast<const char*>(head), sizeof head);
  std::string rec(96, '\0');
  rec[0] = 'A';
  rec[1] = 'B';
  const unsigned char fields[] = {
      0x91, 0x2F, 0x09, 0x00,  // code 602001
      0x12, 0x10,              // market 4114
      0x34, 0x30, 0x00, 0x00,  // previous close 12340
      0x60, 0x09, 0x00, 0x00,  // reference volume 2400
      0x06, 0x35, 0x00, 0x00,  // upper limit 13574
      0x62, 0x2B, 0x00, 0x00,  // lower limit 11106
      0x20, 0xA1, 0x07, 0x00,  // circulating 500000
      0x00, 0x35, 0x0C, 0x00,  // inventory 800000
      0xDC, 0x05,              // value per share 1500
  };
  std::memcpy(rec.data() + 64, fields, sizeof fields);
  return out + rec;
}

}  // namespace

TEST_F(StoreTest, BuilderAndStoreAgreeWithTheWireLayout) {
  sim::MarketTableItem item = Item(602001, "AB", 12340);
  item.refVolume = 2400;
  item.limitUp = 13574;
  item.limitDown = 11106;
  item.circulating = 500000;
  item.inventory = 800000;
  item.valuePerShare = 1500;
  const std::string built = sim::BuildMarketTable(20261210, 1, {{570, 690}}, {{4114, {item}}});
  ASSERT_EQ(built, GoldenSmallTable());

  const std::string golden = GoldenSmallTable();
  ASSERT_EQ(Load(golden), 0);
  EXPECT_EQ(store.GetTradeDate(), 20261210);
  ASSERT_EQ(store.GetPhases().size(), 1u);
  EXPECT_EQ(store.GetPhases()[0].begin, 570);
  EXPECT_EQ(store.GetPhases()[0].end, 690);
  SCodeInfo key{4114, 602001};
  const SStockInfo* s = store.FindStock(&key);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->GetName(), "AB");
  EXPECT_EQ(+s->market, 4114);
  EXPECT_EQ(+s->preClose, 12340u);
  EXPECT_EQ(+s->refVolume, 2400u);
  EXPECT_EQ(+s->limitUp, 13574u);
  EXPECT_EQ(+s->limitDown, 11106u);
  EXPECT_EQ(+s->circulating, 500000);
  EXPECT_EQ(+s->inventory, 800000u);
  EXPECT_EQ(+s->valuePerShare, 1500);
  // The whole record is kept as sent.
  EXPECT_EQ(std::memcmp(s, golden.data() + 34, 96), 0);
}

TEST_F(StoreTest, DemoMarketLoadsEveryMarketWithItems) {
  LoadDemo();
  EXPECT_EQ(store.GetTradeDate(), sim::kDemoTradeDate);
  std::vector<uint16_t> ids;
  for (const CMarketInfo& m : store.GetMarkets()) ids.push_back(m.market);
  // The empty block names no market and is skipped.
  EXPECT_EQ(ids, (std::vector<uint16_t>{4097, 4113, 4114, 4119, 4117, 4115, 4116}));
  EXPECT_EQ(store.GetStockCount(kAllMarkets), 10 + 5 * sim::kSeriesLength);
  SCodeInfo key{0, 602001};
  ASSERT_NE(store.FindStock(&key), nullptr);
  EXPECT_EQ(store.FindStock(&key)->GetName(), GBK("庚子鼠票"));
  EXPECT_EQ(store.GetTradeMinutes(), 240);
}

TEST_F(StoreTest, EmptyBlocksAreSkippedAndLaterBlocksStillLoad) {
  ASSERT_EQ(Load(Table({{4114, {}}, {4100, {Item(600001), Item(600002)}}})), 0);
  ASSERT_EQ(store.GetMarkets().size(), 1u);
  EXPECT_EQ(store.GetMarkets()[0].market, 4100);
  EXPECT_EQ(store.GetStockCount(4100), 2);
}

TEST_F(StoreTest, BlockBelongsToTheMarketOfItsFirstRecord) {
  sim::MarketTableItem item = Item(600001);
  item.market = 4101;
  ASSERT_EQ(Load(Table({{4100, {item}}})), 0);
  EXPECT_EQ(store.GetStockCount(4100), 0);
  EXPECT_EQ(store.GetStockCount(4101), 1);
}

TEST_F(StoreTest, LaterTableReplacesNamedMarketsAndKeepsTheOthers) {
  ASSERT_EQ(Load(Table({{4100, {Item(600001), Item(600002)}}, {4101, {Item(601001)}}})), 0);
  ASSERT_EQ(Load(Table({{4100, {Item(600009)}}}, {{600, 700}}, 20260106)), 0);
  ASSERT_EQ(store.GetMarkets().size(), 2u);
  EXPECT_EQ(store.GetMarkets()[0].market, 4100);
  ASSERT_EQ(store.GetMarkets()[0].stocks.size(), 1u);
  EXPECT_EQ(+store.GetMarkets()[0].stocks[0].code, 600009);
  EXPECT_EQ(store.GetStockCount(4101), 1);
  EXPECT_EQ(store.GetTradeDate(), 20260106);
  SCodeInfo gone{4100, 600001};
  EXPECT_EQ(store.FindStock(&gone), nullptr);
  SCodeInfo kept{0, 601001};
  ASSERT_NE(store.FindStock(&kept), nullptr);
  EXPECT_EQ(+store.FindStock(&kept)->market, 4101);
  EXPECT_EQ(store.GetTradeMinutes(), 100);
  // New markets after the first table are indexed too.
  ASSERT_EQ(Load(Table({{4102, {Item(602001)}}, {4103, {Item(603001)}}, {4104, {Item(604001)}}})),
            0);
  EXPECT_NE(store.FindStock(&kept), nullptr);
  SCodeInfo added{0, 604001};
  EXPECT_NE(store.FindStock(&added), nullptr);
}

TEST_F(StoreTest, TableWithoutBlocksChangesOnlyThePeriods) {
  ASSERT_EQ(Load(Table({{4100, {Item(600001)}}})), 0);
  ASSERT_EQ(Load(Table({}, {{540, 600}}, 20991231)), 0);
  EXPECT_EQ(store.GetTradeDate(), 20260105);
  EXPECT_EQ(store.GetStockCount(4100), 1);
  EXPECT_EQ(store.GetTradeMinutes(), 60);
}

TEST_F(StoreTest, TruncatedTablesKeepWhatWasWhole) {
  const std::string full =
      Table({{4100, {Item(600001), Item(600002)}}, {4101, {Item(601001), Item(601002)}}});
  const size_t firstBlockEnd = 18 + 8 + 12 + 2 * 96;
  struct Case {
    size_t length;
    size_t phases;      // periods after the load
    int marketsLoaded;  // markets after the load
  } cases[] = {
      {0, 0, 0},                        // nothing
      {17, 0, 0},                       // head cut
      {18 + 5, 0, 0},                   // periods cut
      {18 + 8 + 11, 2, 0},              // first block head cut
      {18 + 8 + 12 + 96 + 50, 2, 0},    // inside the first block's records
      {firstBlockEnd, 2, 1},            // second block missing
      {firstBlockEnd + 12 + 95, 2, 1},  // second block one byte short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    CPublic fresh;
    std::string body = full.substr(0, c.length);
    EXPECT_EQ(fresh.ParseMarketTable(body.data(), static_cast<int>(body.size())), -1);
    EXPECT_EQ(fresh.GetPhases().size(), c.phases);
    EXPECT_EQ(static_cast<int>(fresh.GetMarkets().size()), c.marketsLoaded);
    if (c.marketsLoaded == 1) {
      SCodeInfo key{0, 600002};
      EXPECT_NE(fresh.FindStock(&key), nullptr);
    }
  }
  EXPECT_EQ(Load(full), 0);
  EXPECT_EQ(store.GetStockCount(kAllMarkets), 4);
}

TEST_F(StoreTest, InflatedCountsStopAtTheEndOfTheBody) {
  std::string body = Table({{4100, {Item(600001)}}});
  // Claim 255 periods, then 255 blocks, then 65535 items.
  std::string manyPhases = body;
  manyPhases[8] = '\xFF';
  EXPECT_EQ(Load(manyPhases), -1);
  EXPECT_EQ(store.GetStockCount(kAllMarkets), 0);

  std::string manyBlocks = body;
  manyBlocks[13] = '\xFF';
  EXPECT_EQ(Load(manyBlocks), -1);
  EXPECT_EQ(store.GetStockCount(4100), 1);

  std::string manyItems = Table({{4101, {Item(601001)}}});
  manyItems[18 + 8 + 6] = '\xFF';
  manyItems[18 + 8 + 7] = '\xFF';
  EXPECT_EQ(Load(manyItems), -1);
  EXPECT_EQ(store.GetStockCount(4101), 0);
  EXPECT_EQ(store.GetStockCount(4100), 1);
}

TEST_F(StoreTest, BodyIsLeftUntouched) {
  const std::string body = BuildDemoMarketTable();
  std::string lent = body;
  ASSERT_EQ(store.ParseMarketTable(lent.data(), static_cast<int>(lent.size())), 0);
  EXPECT_EQ(lent, body);
}

TEST_F(StoreTest, NameOfAllSixtyBytesIsReadWithABound) {
  ASSERT_EQ(Load(Table({{4100, {Item(600001, std::string(59, 'N'))}}})), 0);
  SCodeInfo key{0, 600001};
  SStockInfo* s = store.FindStock(&key);
  ASSERT_NE(s, nullptr);
  std::memset(s->name, 'M', sizeof s->name);  // a record without NUL
  EXPECT_EQ(s->GetName(), std::string(60, 'M'));
}
