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
#include "zeb/tables/packets/info_packets.h"
#include "zeb/tables/packets/timeshare_packets.h"

namespace {

constexpr uint16_t kMarket = 4114;
constexpr int32_t kCode = 602001;

class ChartFeedsTest : public ::testing::Test {
 protected:
  ChartFeedsTest() { walk.Load(BuildDemoMarketTable()); }
  // The one reply to a request (empty when there is none).
  std::string Ask(uint16_t type, uint32_t word, uint16_t market = kMarket, uint16_t tag = 1) {
    const std::vector<std::string> replies =
        feeds.Answer(1, BuildItemRequest(type, market, tag, market, word));
    EXPECT_LE(replies.size(), 1u);
    return replies.empty() ? std::string() : replies[0];
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
  const std::vector<std::string> texts = feeds.Answer(1, info);
  ASSERT_EQ(texts.size(), 1u);
  const std::string& text = texts[0];
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
    ASSERT_GT(ReadTickRecord(reinterpret_cast<const uint8_t*>(record.data()), record.size(), &r),
              0u);
    EXPECT_EQ(r.time, c.ofDay) << c.minute;
  }
}

TEST_F(ChartFeedsTest, PushesFollowTheShownItemsAndBigOrdersTheirThreshold) {
  EXPECT_TRUE(feeds.Pushes().empty());  // nothing shown yet
  Ask(PKT_MINUTE_TRACE, kCode);
  for (int step = 0; step < 3000; ++step) walk.Step();  // more big deals than a list holds
  const std::string big = Ask(PKT_BIG_ORDER, 600);
  uint64_t seen = walk.LastSerial();
  SBigOrderPacket orders;
  ASSERT_TRUE(ReadBigOrders(big.data(), big.size(), &orders));
  // The recent ones only, the latest first.
  ASSERT_GT(walk.BigDeals(kMarket, 600, 0).size(), sim::kRecentBigOrders);
  ASSERT_EQ(orders.orders.size(), sim::kRecentBigOrders);
  EXPECT_EQ(orders.orders.front().time,
            sim::MinuteElapsed(walk.BigDeals(kMarket, 600, 0).back().deal.minute));
  for (size_t i = 0; i < orders.orders.size(); ++i) {
    const SBigOrder& o = orders.orders[i];
    EXPECT_GE(o.volume, 600u);
    EXPECT_EQ(o.code.market, kMarket);
    if (i > 0) {
      EXPECT_LE(o.time, orders.orders[i - 1].time);
    }
  }
  bool pushedRecord = false, pushedBig = false;
  for (int step = 0; step < 400 && !(pushedRecord && pushedBig); ++step) {
    walk.Step();
    const std::vector<sim::WalkBigDeal> fresh = walk.BigDeals(kMarket, 600, seen);
    seen = walk.LastSerial();
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
        // Only what is new since the list or the last push, the latest first.
        ASSERT_EQ(added.orders.size(), fresh.size());
        EXPECT_EQ(added.orders.front().code.code, fresh.back().code);
        EXPECT_EQ(added.orders.back().code.code, fresh.front().code);
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

// Every reply carries the tag of the request it answers.
TEST_F(ChartFeedsTest, RepliesCarryTheirRequestsTag) {
  for (int step = 0; step < 600; ++step) walk.Step();  // a big order or more
  for (const uint16_t type : {PKT_PRICE_DISTRIB, PKT_MINUTE_TRACE, PKT_BIG_ORDER, PKT_TRACE_LIST}) {
    const uint32_t word = type == PKT_BIG_ORDER ? 400 : kCode;
    for (const uint16_t tag : {1, 7, 100}) {
      const std::string reply = Ask(type, word, kMarket, tag);
      ASSERT_GE(reply.size(), 4u) << type;
      SPacketHead head;
      ASSERT_TRUE(ReadPacketHead(reply.data(), reply.size(), &head));
      EXPECT_EQ(head.type, type);
      EXPECT_EQ(head.tag, tag) << type;
    }
  }
}

// The traced items are answered with their day so far (type 0x0900, the
// minute data's layout, one reply per item listed) and pushed from then on.
TEST_F(ChartFeedsTest, TraceListIsAnsweredWithEachItemsDay) {
  std::string request =
      BuildListTraceRequest(5, {{kMarket, kCode}, {4113, 399001}, {kMarket, 999999}});
  const std::vector<std::string> replies = feeds.Answer(1, request);
  ASSERT_EQ(replies.size(), 2u);
  const int32_t codes[] = {kCode, 399001};
  for (size_t i = 0; i < 2; ++i) {
    SMinuteData day;
    ASSERT_TRUE(ReadMinuteData(replies[i].data(), replies[i].size(), &day));
    EXPECT_EQ(day.head.type, PKT_TRACE_LIST);
    EXPECT_EQ(day.head.tag, 5);
    EXPECT_EQ(+day.code.code, codes[i]);  // a packed field: read as a value
    sim::WalkItem item;
    ASSERT_TRUE(walk.Day(codes[i], &item, nullptr));
    ASSERT_FALSE(day.points.empty());
    EXPECT_EQ(day.points.back().price, item.price);
    EXPECT_EQ(day.points.size(), size_t{sim::kMorningDeals});  // the morning's minutes
  }
  walk.Step();
  const auto pushes = feeds.Pushes();
  ASSERT_EQ(pushes.size(), 1u);
  SPushTickPacket push;
  ASSERT_TRUE(ReadPushTicks(pushes[0].second.data(), pushes[0].second.size(), &push));
  EXPECT_EQ(push.records.size(), 2u);
}

// Golden bytes: each amount in the unit of its field. A deal record
// (shared by the deal list and the time-share reply, whose K-line reader
// sums it into a bar) carries the deal's amount in the bar's hundredths at
// 26; a quote record its day's amount in thousandths at 34.
TEST(ChartReplies, AmountsGoOutInTheirFieldsUnits) {
  const std::string deals = sim::BuildDealList(7, {sim::WalkDeal{5, 12340, 3, 12330, 12340}});
  const std::string golden(
      "\x00\x01\x07\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00"  // head, one deal
      "\x05\x00\x34\x30\x00\x00\x03\x00\x00\x00"                          // 09:35, 12.34, 3 pieces
      "\x00\x00\x00\x00\x00\x00\x00\x00\x2A\x30\x00\x00\x34\x30\x00\x00"  // bid 12.33, ask 12.34
      "\x76\x0E\x00\x00",                                                 // 37.02 in hundredths
      46);
  EXPECT_EQ(deals, golden);
  sim::WalkItem item;
  item.market = kMarket;
  item.code = kCode;
  item.amount = 123456789;  // 123456.789 in thousandths
  const std::string record = sim::EncodeTickRecord(item, 0);
  EXPECT_EQ(record.substr(34, 4), std::string("\x15\xCD\x5B\x07", 4));
  // Too large for the field: its largest value, never a wrapped one.
  item.amount = uint64_t{1} << 33;
  EXPECT_EQ(sim::EncodeTickRecord(item, 0).substr(34, 4), std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(sim::BarAmountOf(4000000000u, 4000000000u), INT32_MAX);
  EXPECT_EQ(sim::AddBarAmounts(INT32_MAX, 5), INT32_MAX);
}

}  // namespace
