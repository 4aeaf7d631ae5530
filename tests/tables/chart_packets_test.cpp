// The chart view's packet readers: bodies that are short, or whose counts
// claim more than they hold, are refused whole; a pushed record's level
// count is honoured exactly (fewer levels read, none past the body); and
// the one-item requests carry their fields where the server reads them.
#include <gtest/gtest.h>

#include "chart_packet_bytes.h"
#include "platform/le_bytes.h"
#include "zeb/tables/packets/chart_packets.h"

using namespace tables_test;

namespace {

TickBytes Tick(int levels) {
  TickBytes t;
  t.last = 12340;
  t.volume = 500;
  t.levels = TenLevels(12340, 12350);
  t.levels.resize(static_cast<size_t>(levels));
  return t;
}

TEST(ChartPackets, TruncatedAndLyingBodiesAreRefused) {
  const std::string deals =
      DealListBody({{1, 12340, 5, 12330, 12340}, {2, 12350, 6, 12340, 12350}});
  const std::string trace = TraceBody(Tick(10), {{1, 12340, 5, 12330, 12340}});
  const std::string big = BigOrderBody(0x1C00, {{1, 4114, 602001, 12340, 500}});
  const std::string bigAdd = BigOrderBody(0x1D00, {{1, 4114, 602001, 12340, 500}});
  struct Case {
    const char* name;
    std::string body;
    bool read;
  } cases[] = {
      {"deal list", deals, true},
      {"deal list cut", deals.substr(0, deals.size() - 1), false},
      {"deal list lying count", DealListBody({{1, 12340, 5, 0, 0}}, 1, 2), false},
      {"deal list head only", deals.substr(0, 15), false},
      {"trace", trace, true},
      {"trace cut in the ticks", trace.substr(0, trace.size() - 1), false},
      {"trace cut in the levels", trace.substr(0, 22 + 51 + 8 * 9), false},
      {"trace lying tick count", TraceBody(Tick(10), {{1, 12340, 5, 0, 0}}, 3), false},
      {"big orders", big, true},
      {"big orders cut", big.substr(0, big.size() - 1), false},
      {"big orders count 0", BigOrderBody(0x1C00, {}, 0), false},
      {"big orders count negative", BigOrderBody(0x1C00, {{1, 4114, 602001, 1, 1}}, -1 & 0xFFFF),
       false},
      {"big order additions", bigAdd, true},
      {"big order additions cut", bigAdd.substr(0, 24), false},
  };
  SDealListPacket d;
  SMinuteTracePacket t;
  SBigOrderPacket b;
  for (const Case& c : cases) {
    bool read = false;
    const uint16_t type = platform::ReadU16(c.body.data());
    if (type == 0x0100) read = ReadDealList(c.body.data(), c.body.size(), &d) && !d.deals.empty();
    if (type == 0x0300) read = ReadMinuteTrace(c.body.data(), c.body.size(), &t);
    if (type == 0x1C00 || type == 0x1D00) read = ReadBigOrders(c.body.data(), c.body.size(), &b);
    EXPECT_EQ(read, c.read) << c.name;
  }
  ASSERT_TRUE(ReadBigOrders(bigAdd.data(), bigAdd.size(), &b));
  ASSERT_EQ(b.orders.size(), 1u);
  EXPECT_EQ(+b.orders[0].code.code, 602001);
}

TEST(ChartPackets, PushedRecordsReadTheirOwnLevelCountAndNothingPastTheBody) {
  TickBytes three = Tick(3), ten = Tick(10);
  three.code = 602002;
  const std::string body = PushBody({three, ten}, 2);
  SPushTickPacket push;
  ASSERT_TRUE(ReadPushTicks(body.data(), body.size(), &push));
  ASSERT_EQ(push.records.size(), 2u);
  EXPECT_EQ(push.records[0].code, (SCodeInfo{4114, 602002}));
  EXPECT_EQ(push.records[0].levelCount, 3);
  EXPECT_FALSE(push.records[0].HasLevel(3));
  EXPECT_EQ(push.records[0].LevelPrice(kBestBidEntry), 0u);
  EXPECT_EQ(push.records[1].LevelPrice(kBestBidEntry), 12340u);
  EXPECT_EQ(push.records[1].LevelPrice(kBestAskEntry), 12350u);

  // A record claiming more levels than the body holds ends the packet.
  TickBytes lying = Tick(2);
  lying.claimedLevels = 200;
  const std::string cut = PushBody({ten, lying});
  ASSERT_TRUE(ReadPushTicks(cut.data(), cut.size(), &push));
  EXPECT_EQ(push.records.size(), 1u);
  // More records claimed than sent: the ones there are read.
  const std::string fewer = PushBody({ten}, 0, 5);
  ASSERT_TRUE(ReadPushTicks(fewer.data(), fewer.size(), &push));
  EXPECT_EQ(push.records.size(), 1u);
  // Entries reaching past the body.
  EXPECT_FALSE(ReadPushTicks(body.data(), 40, &push));
}

TEST(ChartPackets, ItemRequestsCarryMarketAndWordWhereTheServerReadsThem) {
  const std::string deals = BuildItemRequest(PKT_PRICE_DISTRIB, 0, 1, 4114, 602001);
  const std::string big = BuildItemRequest(PKT_BIG_ORDER, 4114, 1, 4114, 400);
  PacketBytes expectDeals, expectBig;
  expectDeals.U16(0, 0x0100).U16(2, 0).U16(4, 1).U16(6, 1).U32(8, 0).U16(12, 4114).U32(14, 602001);
  expectBig.U16(0, 0x1C00).U16(2, 4114).U16(4, 1).U16(6, 1).U32(8, 0).U16(12, 4114).U32(14, 400);
  EXPECT_EQ(deals, expectDeals.Bytes());
  EXPECT_EQ(big, expectBig.Bytes());
}

}  // namespace
