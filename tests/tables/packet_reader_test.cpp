// The quote-packet reader: records decoded field by field from the
// documented offsets, and every body that is shorter than its head or its
// count refused whole.
#include <gtest/gtest.h>

#include "quote_packet_bytes.h"
#include "zeb/tables/packets/quote_packets.h"

using namespace tables_test;

namespace {

SQuoteUnit FullQuote() {
  SQuoteUnit q;
  q.code = SCodeInfo{4116, 600123};
  q.open = 10010;
  q.high = 10520;
  q.low = 9930;
  q.last = 10200;
  q.volume = 123456789;
  q.curVolume = 77;
  q.amount = 3000000000u;
  q.askPrice = 10210;
  q.bidPrice = 10190;
  q.askVolume = 11;
  q.bidVolume = 22;
  q.orderRatio = -1234;
  return q;
}

void ExpectSameQuote(const SQuoteUnit& a, const SQuoteUnit& b) {
  EXPECT_EQ(a.code, b.code);
  EXPECT_EQ(a.open, b.open);
  EXPECT_EQ(a.high, b.high);
  EXPECT_EQ(a.low, b.low);
  EXPECT_EQ(a.last, b.last);
  EXPECT_EQ(a.volume, b.volume);
  EXPECT_EQ(a.curVolume, b.curVolume);
  EXPECT_EQ(a.amount, b.amount);
  EXPECT_EQ(a.askPrice, b.askPrice);
  EXPECT_EQ(a.bidPrice, b.bidPrice);
  EXPECT_EQ(a.askVolume, b.askVolume);
  EXPECT_EQ(a.bidVolume, b.bidVolume);
  EXPECT_EQ(a.orderRatio, b.orderRatio);
}

}  // namespace

TEST(QuotePacketReader, DecodesEveryFieldOfEachLayout) {
  const SQuoteUnit q = FullQuote();
  SQuoteUnit second = q;
  second.code.code = 600124;
  second.last = 1;

  SQuotePacket packet;
  const std::string list = QuoteListBody(PKT_REPORT, 1, {q, second});
  ASSERT_TRUE(ReadQuotePacket(list.data(), list.size(), &packet));
  EXPECT_EQ(packet.head.type, PKT_REPORT);
  EXPECT_EQ(packet.head.tag, 1);
  ASSERT_EQ(packet.records.size(), 2u);
  ExpectSameQuote(packet.records[0], q);
  ExpectSameQuote(packet.records[1], second);

  const std::string push = QuoteListBody(PKT_REPORT_PUSH_ALT, 1, {q}, 345);
  ASSERT_TRUE(ReadQuotePacket(push.data(), push.size(), &packet));
  EXPECT_EQ(packet.total, 345);
  ASSERT_EQ(packet.records.size(), 1u);
  ExpectSameQuote(packet.records[0], q);

  const std::string grouped = GroupedBody(1, 3, {second, q});
  ASSERT_TRUE(ReadQuotePacket(grouped.data(), grouped.size(), &packet));
  ASSERT_EQ(packet.records.size(), 2u);
  ExpectSameQuote(packet.records[0], second);
  ExpectSameQuote(packet.records[1], q);
}

TEST(QuotePacketReader, ShortAndTruncatedBodiesAreRefused) {
  const std::vector<SQuoteUnit> two = {FullQuote(), FullQuote()};
  struct Case {
    const char* what;
    std::string body;
  };
  std::vector<Case> cases;
  for (uint16_t type :
       {PKT_REPORT, PKT_REPORT_PUSH, PKT_REPORT_PUSH_ALT, PKT_TRADE_QUOTES, PKT_ALARM_QUOTES}) {
    const std::string whole = QuoteListBody(type, 1, two);
    cases.push_back({"head cut", whole.substr(0, 11)});
    cases.push_back({"last record cut", whole.substr(0, whole.size() - 1)});
    cases.push_back({"one record of two", whole.substr(0, 12 + 54)});
    // A count far past the body.
    PacketBytes big;
    big.U16(0, type).U16(2, 1).U16(4, 0xFFFF).Size(12 + 54);
    cases.push_back({"count 65535", big.Bytes()});
  }
  const std::string grouped = GroupedBody(1, 2, two);
  cases.push_back({"grouped: type only", grouped.substr(0, 2)});
  cases.push_back({"grouped: entries cut", grouped.substr(0, 15 + 16 + 8)});
  cases.push_back({"grouped: block head cut", grouped.substr(0, 15 + 32 + 11)});
  cases.push_back({"grouped: last record cut", grouped.substr(0, grouped.size() - 1)});
  PacketBytes entries;  // 255 entries claimed, none there
  entries.U16(0, PKT_REPORT_GROUPED).U16(2, 1).U8(4, 255).Size(15 + 12);
  cases.push_back({"grouped: 255 entries", entries.Bytes()});

  SQuotePacket packet;
  for (const Case& c : cases) {
    packet.records.assign(3, SQuoteUnit{});
    EXPECT_FALSE(ReadQuotePacket(c.body.data(), c.body.size(), &packet)) << c.what;
    EXPECT_TRUE(packet.records.empty()) << c.what;
    EXPECT_EQ(packet.count, 0) << c.what;
  }
  EXPECT_FALSE(ReadQuotePacket(nullptr, 100, &packet));
  const std::string other = QuoteListBody(0x0300, 1, two);
  EXPECT_FALSE(ReadQuotePacket(other.data(), other.size(), &packet));

  // Bytes past the records are not the reader's concern; an empty list reads as empty.
  const std::string padded = QuoteListBody(PKT_REPORT, 1, two) + "xyz";
  EXPECT_TRUE(ReadQuotePacket(padded.data(), padded.size(), &packet));
  EXPECT_EQ(packet.records.size(), 2u);
  const std::string empty = QuoteListBody(PKT_REPORT, 1, {});
  EXPECT_TRUE(ReadQuotePacket(empty.data(), empty.size(), &packet));
  EXPECT_EQ(packet.count, 0);
}

// The one check every reader makes before it touches a count of records.
TEST(QuotePacketReader, RecordsFitOnlyWithinTheBody) {
  constexpr size_t kHuge = SIZE_MAX / 16 + 1;  // times 16 wraps to 0
  const struct {
    size_t length, at, count, size;
    bool fits;
  } cases[] = {
      {100, 20, 5, 16, true},      // 80 bytes from 20: exactly five
      {99, 20, 5, 16, false},      // one byte short of the fifth
      {100, 100, 0, 16, true},     // no records at the very end
      {100, 101, 0, 16, false},    // an offset past the body
      {100, 20, kHuge, 16, false}  // a count whose byte size wraps
  };
  for (const auto& c : cases)
    EXPECT_EQ(RecordsFit(c.length, c.at, c.count, c.size), c.fits)
        << c.length << " " << c.at << " " << c.count << " " << c.size;
}
