// The quote simulator's chart data, read back with the program's own
// readers: the deal list and the time-share reply of an item agree with the
// moving market (the deals sum to the day's volume), pushes follow the
// shown items after each step, big orders lie above the requested threshold
// in the requested market, and an unknown code gets no reply.
#include <gtest/gtest.h>

#include "sim/market/demo_market.h"
#include "sim/quote-server/chart_feeds.h"
#include "sim/quote-server/chart_replies.h"
#include "zeb/tables/packets/chart_packets.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace {

constexpr uint16_t kMarket = 4114;
constexpr int32_t kCode = 602001;

class ChartFeedsTest : public ::testing::Test {
 protected:
  ChartFeedsTest() { walk.Load(BuildDemoMarketTable()); }
  std::string Ask(uint16_t type, uint32_t word, uint16_t market = kMarket) {
    return feeds.Answer(1, BuildItemRequest(type, market, 1, market, word));
  }

  sim::MarketWalk walk{7};
  sim::ChartFeeds feeds{walk};
};

TEST_F(ChartFeedsTest, DealsAndTicksAgreeWithTheMarket) {
  sim::WalkItem item;
  ASSERT_TRUE(walk.Day(kCode, &item, nullptr));
  const std::string deals = Ask(PKT_PRICE_DISTRIB, kCode);
  SDealListPacket list;
  ASSERT_TRUE(ReadDealList(deals.data(), deals.size(), &list));
  ASSERT_FALSE(list.deals.empty());
  uint64_t volume = 0;
  for (const SDealRecord& d : list.deals) {
    volume += d.volume;
    EXPECT_TRUE(d.price == d.bid || d.price == d.ask);
    EXPECT_GE(d.price, item.low);
    EXPECT_LE(d.price, item.high);
  }
  EXPECT_EQ(volume, item.volume);

  const std::string trace = Ask(PKT_MINUTE_TRACE, kCode);
  SMinuteTracePacket minutes;
  ASSERT_TRUE(ReadMinuteTrace(trace.data(), trace.size(), &minutes));
  EXPECT_EQ(minutes.quote.code, (SCodeInfo{kMarket, kCode}));
  EXPECT_EQ(minutes.quote.last, item.price);
  EXPECT_EQ(minutes.quote.volume, item.volume);
  EXPECT_EQ(minutes.quote.LevelPrice(kBestBidEntry), item.bid);
  EXPECT_EQ(minutes.quote.LevelPrice(kBestAskEntry), item.ask);
  EXPECT_EQ(minutes.ticks.size(), list.deals.size());
  // The same reply's minute points are made of those deals: up to the last
  // deal's minute, ending at the last price, adding up to the day's volume.
  SMinuteData points;
  ASSERT_TRUE(ReadMinuteData(trace.data(), trace.size(), &points));
  ASSERT_EQ(points.points.size(), static_cast<size_t>(list.deals.back().time) + 1);
  EXPECT_EQ(points.points.back().price, item.price);
  EXPECT_EQ(points.points.back().average, minutes.quote.average);
  EXPECT_EQ(points.time, minutes.quote.time);
  uint64_t pointVolume = 0;
  for (const SMinutePoint& p : points.points) {
    pointVolume += p.volume;
    EXPECT_GE(p.price, item.low);
    EXPECT_LE(p.price, item.high);
    EXPECT_GE(p.average, item.low);
    EXPECT_LE(p.average, item.high);
  }
  EXPECT_EQ(pointVolume, item.volume);

  EXPECT_TRUE(Ask(PKT_PRICE_DISTRIB, 999999).empty());

  // An information text: the item and date asked for, NUL-terminated from 12.
  std::string info = BuildItemRequest(PKT_INFO_LIST, kMarket, 32, kMarket, kCode);
  info.resize(30, '\0');
  info[6] = 3;
  const uint32_t date = 20261209;
  for (int b = 0; b < 4; ++b) info[20 + b] = static_cast<char>((date >> (8 * b)) & 0xFF);
  const std::string text = feeds.Answer(1, info);
  ASSERT_GT(text.size(), 13u);
  EXPECT_EQ(text[2], 32);
  EXPECT_EQ(text.back(), '\0');
  const std::string body = text.substr(12, text.size() - 13);
  EXPECT_EQ(body.find('\0'), std::string::npos);
  EXPECT_EQ(body.rfind(item.name, 0), 0u);
  EXPECT_NE(body.find("20261209\r\n"), std::string::npos);
}

// Trading minutes past the morning go out as afternoon times, the way the
// program maps times to chart points (the lunch break is no trading time).
TEST(ChartReplies, TradingMinutesSkipTheLunchBreak) {
  sim::WalkItem item;
  item.market = kMarket;
  item.code = kCode;
  item.price = item.preClose = 10000;
  const struct {
    uint16_t minute, ofDay, elapsed;
  } cases[] = {{0, 570, 0}, {120, 690, 120}, {121, 780, 210}, {239, 898, 328}};
  for (const auto& c : cases) {
    const std::string deals = sim::BuildDealList(1, {sim::WalkDeal{c.minute, 10000, 1, 0, 0}});
    SDealListPacket list;
    ASSERT_TRUE(ReadDealList(deals.data(), deals.size(), &list));
    EXPECT_EQ(list.deals[0].time, c.elapsed) << c.minute;
    const std::string record = sim::EncodeTickRecord(item, c.minute);
    STickRecord r;
    ASSERT_GT(ReadTickRecord(reinterpret_cast<const uint8_t*>(record.data()), record.size(), &r), 0u);
    EXPECT_EQ(r.time, c.ofDay) << c.minute;
  }
}

TEST_F(ChartFeedsTest, PushesFollowTheShownItemsAndBigOrdersTheirThreshold) {
  EXPECT_TRUE(feeds.Pushes().empty());  // nothing shown yet
  Ask(PKT_MINUTE_TRACE, kCode);
  const std::string big = Ask(PKT_BIG_ORDER, 600);
  SBigOrderPacket orders;
  ASSERT_TRUE(ReadBigOrders(big.data(), big.size(), &orders));
  for (const SBigOrder& o : orders.orders) {
    EXPECT_GE(o.volume, 600u);
    EXPECT_EQ(o.code.market, kMarket);
  }
  bool pushedRecord = false, pushedBig = false;
  for (int step = 0; step < 200 && !(pushedRecord && pushedBig); ++step) {
    walk.Step();
    sim::WalkItem item;
    walk.Day(kCode, &item, nullptr);
    for (const auto& [connection, body] : feeds.Pushes()) {
      EXPECT_EQ(connection, 1);
      SPushTickPacket push;
      if (ReadPushTicks(body.data(), body.size(), &push) && !push.records.empty()) {
        ASSERT_EQ(push.records.size(), 1u);
        EXPECT_EQ(push.records[0].volume, item.volume);
        EXPECT_EQ(push.records[0].levelCount, kBoardLevels);
        pushedRecord = true;
      }
      SBigOrderPacket added;
      if (ReadBigOrders(body.data(), body.size(), &added)) {
        EXPECT_EQ(PacketGroup(added.head.type), PKT_BIG_ORDER_ADD);
        EXPECT_GT(added.orders.size(), orders.orders.size());
        pushedBig = true;
      }
    }
  }
  EXPECT_TRUE(pushedRecord);
  EXPECT_TRUE(pushedBig);
  feeds.Forget(1);
  walk.Step();
  EXPECT_TRUE(feeds.Pushes().empty());
}

}  // namespace
