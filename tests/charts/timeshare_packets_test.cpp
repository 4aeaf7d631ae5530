// The time-share packet reader: bodies cut anywhere are refused whole (or,
// for the pushed ticks the chart reads through the chart view's reader,
// end before the record that does not fit), and the requests have their
// documented bytes.
#include <gtest/gtest.h>

#include "timeshare_packet_bytes.h"

using namespace charts_test;

namespace {

TEST(TimeSharePackets, MinuteAndDayBodiesCutShortAreRefusedWhole) {
  const std::string minute =
      MinuteBody(0x0300, 1, {4116, 7}, 575, 10100, 77, {{0, 1, 2, 3}, {5, 4, 5, 6}}, 3, 2);
  SMinuteData m;
  ASSERT_TRUE(ReadMinuteData(minute.data(), minute.size(), &m));
  ASSERT_EQ(m.points.size(), 2u);
  EXPECT_EQ(m.points[1].elapsed, 5);
  EXPECT_EQ(m.points[1].average, 6u);
  EXPECT_EQ(m.time, 575);
  EXPECT_EQ(m.last, 10100u);
  EXPECT_EQ(m.totalVolume, 77u);
  EXPECT_EQ(m.code, (SCodeInfo{4116, 7}));
  for (size_t cut : {size_t{0}, size_t{72}, size_t{73}, minute.size() - 1}) {
    EXPECT_FALSE(ReadMinuteData(minute.data(), cut, &m)) << cut;
    EXPECT_TRUE(m.points.empty());
  }
  std::string other = minute;
  other[1] = 0x0B;
  EXPECT_FALSE(ReadMinuteData(other.data(), other.size(), &m));

  const std::string day = DayTraceBody(20260102, 9000, {{1, 2, 3}, {4, 5, 6}});
  SDayTrace d;
  ASSERT_TRUE(ReadDayTrace(day.data(), day.size(), &d));
  EXPECT_EQ(d.points.size(), 2u);
  EXPECT_EQ(d.preClose, 9000u);
  EXPECT_FALSE(ReadDayTrace(day.data(), day.size() - 1, &d));
  EXPECT_TRUE(d.points.empty());
}

TEST(TimeSharePackets, TickRecordsEndAtTheFirstThatDoesNotFit) {
  Tick a{{0x1014, 100000}, 571, 10, 11, 12, 13, 2};
  Tick b{{0x1001, 1}, 572, 20, 21, 22, 23, 0};
  const std::string body = TickBody({a, b}, 2);
  SPushTickPacket t;
  ASSERT_TRUE(ReadPushTicks(body.data(), body.size(), &t));
  ASSERT_EQ(t.records.size(), 2u);
  EXPECT_EQ(t.records[0].code, (SCodeInfo{0x1014, 100000}));
  EXPECT_EQ(t.records[0].volume, 12u);
  EXPECT_EQ(t.records[0].curVolume, 13u);
  EXPECT_EQ(t.records[1].code, (SCodeInfo{0x1001, 1}));
  EXPECT_EQ(t.records[1].time, 572);
  ASSERT_TRUE(ReadPushTicks(body.data(), body.size() - 1, &t));
  EXPECT_EQ(t.records.size(), 1u);
  EXPECT_FALSE(ReadPushTicks(body.data(), 14, &t));
}

TEST(TimeSharePackets, RequestsHaveTheirBytes) {
  const std::string one = BuildMinuteTraceRequest(1, {4116, 100000});
  ASSERT_EQ(one.size(), 18u);
  EXPECT_EQ(one.substr(0, 8), std::string("\x00\x03\x14\x10\x01\x00\x01\x00", 8));
  EXPECT_EQ(one.substr(12), std::string("\x14\x10\xa0\x86\x01\x00", 6));
  const std::string list = BuildListTraceRequest(1, {{4116, 1}, {4097, 2}});
  ASSERT_EQ(list.size(), 24u);
  EXPECT_EQ(list.substr(0, 8), std::string("\x00\x09\x00\x00\x01\x00\x02\x00", 8));
  // A list longer than the 16-bit count sends as many codes as it counts.
  const std::string longest =
      BuildListTraceRequest(1, std::vector<SCodeInfo>(70000, SCodeInfo{4116, 1}));
  EXPECT_EQ(longest.size(), 12u + 6u * 65535u);
  EXPECT_EQ(longest.substr(6, 2), std::string("\xff\xff", 2));
}

}  // namespace
