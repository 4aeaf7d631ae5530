// The K-line reply readers: offsets, counts checked against the body, and
// refusal of short or negative counts.
#include "zeb/tables/packets/kline_packets.h"

#include <gtest/gtest.h>

#include "tables/quote_packet_bytes.h"

namespace {

using tables_test::PacketBytes;

std::string History(uint16_t count, size_t records) {
  PacketBytes b;
  b.U16(0, 0x053D).U16(2, 1).U16(4, 1).U16(10, 0x1012).U32(12, 602001).U16(16, count);
  b.Size(kHistoryRecordsAt + records * kHistoryRecordSize);
  for (size_t i = 0; i < records; ++i) b.U32(kHistoryRecordsAt + i * 28, 20240101 + uint32_t(i));
  return b.Bytes();
}

TEST(KLinePackets, HistoryCountsMustFitTheBody) {
  SHistoryPacket out;
  const std::string whole = History(3, 3);
  ASSERT_TRUE(ReadKLineHistory(whole.data(), whole.size(), &out));
  ASSERT_EQ(out.records.size(), 3u);
  EXPECT_EQ(out.records[2].date, 20240103u);
  EXPECT_EQ(out.code.code, 602001);
  for (size_t cut : {whole.size() - 1, size_t{21}, size_t{0}}) {
    EXPECT_FALSE(ReadKLineHistory(whole.data(), cut, &out)) << cut;
    EXPECT_TRUE(out.records.empty());
  }
  const std::string lying = History(60000, 2);
  EXPECT_FALSE(ReadKLineHistory(lying.data(), lying.size(), &out));
}

TEST(KLinePackets, MinuteRecordsStartAfterTheEntriesAndPointsAfterTheRecords) {
  // n = 3 entries, m = 2 records, k = 2 points
  PacketBytes b;
  b.U16(0, 0x0300).U16(2, 1).U16(4, 0x1012).U32(6, 602001).U16(10, 2).U16(16, 2).U8(68, 3);
  const size_t records = 73 + 8 * 3, points = records + 30 * 2;
  b.U16(records, 31).U32(records + 2, 10500).U32(records + 6, 7).I32(records + 26, -4);
  b.U16(records + 30, 32).U32(records + 32, 10600);
  b.U16(points, 31).U16(points + 26, 33).Size(points + 52);
  const std::string body = b.Bytes();
  SKLineMinutePacket out;
  ASSERT_TRUE(ReadKLineMinutes(body.data(), body.size(), &out));
  ASSERT_EQ(out.minutes.size(), 2u);
  EXPECT_EQ(out.minutes[0].minute, 31);
  EXPECT_EQ(out.minutes[0].volume, 7u);
  EXPECT_EQ(out.minutes[0].amount, -4);
  EXPECT_EQ(out.minutes[1].price, 10600u);
  EXPECT_EQ(out.newestPointMinute, 33);
  EXPECT_FALSE(ReadKLineMinutes(body.data(), body.size() - 1, &out));
}

TEST(KLinePackets, NegativeOrShortExRightsCountsAreRefused) {
  PacketBytes b;
  b.U16(0, 0x1300).U16(2, 1).U16(4, 2);
  b.I32(10, 20240105).U16(14, 1500).U16(16, 3000).I32(18, 50000).I32(22, 1);
  b.I32(26, 20240301).Size(42);
  std::vector<SExRightsRecord> out;
  ASSERT_TRUE(ReadExRights(b.Bytes().data(), b.Bytes().size(), &out));
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].dividend, 1500);
  EXPECT_EQ(out[0].shares, 3000);
  EXPECT_EQ(out[0].rightsPrice, 50000);
  EXPECT_EQ(out[1].date, 20240301);
  EXPECT_FALSE(ReadExRights(b.Bytes().data(), 41, &out));
  b.U16(4, 0xFFFF);  // -1
  EXPECT_FALSE(ReadExRights(b.Bytes().data(), b.Bytes().size(), &out));
  EXPECT_TRUE(out.empty());
}

TEST(KLinePackets, TitlesAreReadByTheirLengthsAndRefusedWhenCut) {
  PacketBytes b;
  b.U16(0, 0x1E00).U16(2, 1).U32(10, 2);
  b.U32(18, 20240105).U8(22, 3).U8(27, 'a').U8(28, 'b').U8(29, 'c');
  b.U32(30, 20240110).U8(34, 1).U8(39, 'z');
  std::map<uint32_t, std::string> titles;
  ASSERT_TRUE(ReadInfoTitles(b.Bytes().data(), b.Bytes().size(), &titles));
  EXPECT_EQ(titles, (std::map<uint32_t, std::string>{{20240105, "abc"}, {20240110, "z"}}));
  EXPECT_FALSE(ReadInfoTitles(b.Bytes().data(), b.Bytes().size() - 1, &titles));
  EXPECT_TRUE(titles.empty());
  b.U32(10, 0xFFFFFFFF);
  EXPECT_FALSE(ReadInfoTitles(b.Bytes().data(), b.Bytes().size(), &titles));
}

}  // namespace
