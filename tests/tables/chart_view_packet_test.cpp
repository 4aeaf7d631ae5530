// The chart view's one decode of a body: each packet group built from its
// documented layout gives its records through its own accessor and through
// no other, refused bodies give none, and the records are those the
// group's reader reads on its own. The one push filter: a table follows
// its item only, counts a total volume once, and a record a table does
// not take leaves the volume for the next record.
#include <gtest/gtest.h>

#include <functional>

#include "chart_packet_bytes.h"
#include "zeb/tables/packets/chart_view_packet.h"
#include "zeb/tables/packets/item_quote_feed.h"

using namespace tables_test;

namespace {

TickBytes Quote(uint32_t last, uint32_t volume, int32_t code = 602001) {
  TickBytes t;
  t.code = code;
  t.last = t.open = t.high = t.low = last;
  t.volume = volume;
  t.curVolume = 7;
  t.levels = TenLevels(last, last + 10);
  return t;
}

// Which accessors give records: one letter each, in the order of the
// accessors (Deals, Minutes, DayTrace, Push, History, ExRights, Titles,
// BigOrders, InfoText).
std::string Given(const CChartPacket& p) {
  std::string s;
  s += p.Deals() ? 'D' : '-';
  s += p.Minutes() ? 'M' : '-';
  s += p.DayTrace() ? 'T' : '-';
  s += p.Push() ? 'P' : '-';
  s += p.History() ? 'H' : '-';
  s += p.ExRights() ? 'X' : '-';
  s += p.Titles() ? 'N' : '-';
  s += p.BigOrders() ? 'B' : '-';
  s += p.InfoText() ? 'I' : '-';
  return s;
}

std::string WithType(std::string body, uint16_t type) {
  body[0] = static_cast<char>(type & 0xFF);
  body[1] = static_cast<char>(type >> 8);
  return body;
}

std::string DayTraceBody() {
  PacketBytes b;
  b.U16(0, 0x0400).U16(2, 1).U32(4, 20240105).U32(8, 12000).U16(12, 2).Size(18);
  b.U32(18, 12100).U32(22, 300).U32(26, 12050).U32(30, 12200).U32(34, 400).U32(38, 12100);
  return b.Bytes();
}

std::string HistoryBody(uint16_t type) {
  PacketBytes b;
  b.U16(0, type).U16(2, 1).U16(4, 1).U16(10, 4114).U32(12, 602001).U16(16, 1).Size(22);
  b.U32(22, 20240105)
      .U32(26, 12000)
      .U32(30, 12500)
      .U32(34, 11900)
      .U32(38, 12300)
      .U32(42, 900)
      .I32(46, -5);
  return b.Bytes();
}

std::string ExRightsBody() {
  PacketBytes b;
  b.U16(0, 0x1300).U16(2, 1).U16(4, 1).Size(10);
  b.I32(10, 20230601).U16(14, 1500).U16(16, 3000).I32(18, 0).I32(22, 1);
  return b.Bytes();
}

std::string TitlesBody() {
  PacketBytes b;
  b.U16(0, 0x1E00).U16(2, 1).U32(10, 1).Size(18);
  b.U32(18, 20240105).U8(22, 2).Size(27);
  b.U8(27, 'N').U8(28, 'B');
  return b.Bytes();
}

std::string InfoBody() {
  PacketBytes b;
  b.U16(0, 0x1100).U16(2, 32).Size(12);
  b.U8(12, 'o').U8(13, 'k').U8(14, 0).U8(15, 'x');
  return b.Bytes();
}

TEST(ChartViewPacket, EachGroupGivesItsRecordsThroughItsOwnAccessorOnly) {
  const std::string trace =
      TraceBody(Quote(12340, 500), {{1, 12340, 5, 12330, 12340}}, -1, {{0, 12340, 5, 12338}});
  const std::string push = PushBody({Quote(12340, 500)});
  struct Case {
    const char* name;
    std::string body;
    const char* given;
  } cases[] = {
      {"deal list", DealListBody({{1, 12340, 5, 12330, 12340}}), "D--------"},
      {"minute data", trace, "-M-------"},
      {"minute data, second form", WithType(trace, 0x0A01), "-M-------"},
      {"minute data, third form", WithType(trace, 0x0D00), "-M-------"},
      {"trace list", WithType(trace, 0x0900), "-M-------"},
      {"day trace", DayTraceBody(), "--T------"},
      {"push, a variant", WithType(push, 0x0B01), "---P-----"},
      {"history", HistoryBody(0x0500 + 61), "----H----"},
      {"older history", HistoryBody(0x0600 + 61), "----H----"},
      {"extended history", HistoryBody(0x1F00), "----H----"},
      {"ex-rights", ExRightsBody(), "-----X---"},
      {"titles", TitlesBody(), "------N--"},
      {"big orders", BigOrderBody(0x1C00, {{1, 4114, 602001, 12340, 500}}), "-------B-"},
      {"big-order additions", BigOrderBody(0x1D00, {{1, 4114, 602001, 12340, 500}}), "-------B-"},
      {"information text", InfoBody(), "--------I"},
      {"another group", WithType(push, 0x0200), "---------"},
      // Refused bodies: a head with nothing that fits behind it.
      {"deal list cut", DealListBody({{1, 12340, 5, 0, 0}}, 1, 2), "---------"},
      {"minute data cut in its ticks", trace.substr(0, 22 + 51 + 80 + 29), "---------"},
      {"push cut in its entries", PushBody({Quote(1, 1)}, 3).substr(0, 40), "---------"},
      {"big orders of none", BigOrderBody(0x1C00, {}, 0), "---------"},
      {"head only", push.substr(0, 4), "---------"},
      {"no head", push.substr(0, 3), "---------"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const CChartPacket packet(c.body.data(), static_cast<int>(c.body.size()));
    EXPECT_EQ(Given(packet), c.given);
    // Asked again, the same records (read once, kept).
    EXPECT_EQ(Given(packet), c.given);
  }
  const CChartPacket none(nullptr, 0), negative(push.data(), -1);
  EXPECT_FALSE(none.HasHead());
  EXPECT_FALSE(negative.HasHead());
  EXPECT_EQ(Given(negative), "---------");
}

TEST(ChartViewPacket, TheRecordsAreThoseOfTheGoldenBytes) {
  // The minute data: the head's item, the quote, the ticks with their
  // amount (the K-line's minute merge adds it), the points.
  TickBytes quote = Quote(12340, 500);
  quote.time = 615;
  PacketBytes withAmount;
  std::string trace = TraceBody(quote, {{1, 12340, 5, 12330, 12340}, {2, 12350, 6, 12340, 12350}},
                                -1, {{0, 12340, 5, 12338}, {3, 12350, 11, 12344}});
  const size_t ticksAt = 22 + 51 + 80;
  for (int i = 0; i < 4; ++i) trace[ticksAt + 30 + 26 + i] = static_cast<char>(i == 0 ? 0x40 : 0);
  const CChartPacket minutes(trace.data(), static_cast<int>(trace.size()));
  const SMinuteTracePacket* m = minutes.Minutes();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->code, (SCodeInfo{4114, 602001}));
  EXPECT_EQ(m->quote.code, (SCodeInfo{4114, 602001}));
  EXPECT_EQ(m->quote.time, 615);
  EXPECT_EQ(m->quote.volume, 500u);
  ASSERT_EQ(m->ticks.size(), 2u);
  EXPECT_EQ(m->ticks[1].price, 12350u);
  EXPECT_EQ(m->ticks[1].bid, 12340u);
  EXPECT_EQ(m->ticks[1].amount, 0x40);
  ASSERT_TRUE(m->pointsRead);
  ASSERT_EQ(m->points.size(), 2u);
  EXPECT_EQ(m->points[1].elapsed, 3);
  EXPECT_EQ(m->points[1].average, 12344u);
  // The K-line's and the time-share chart's views of it are those their
  // readers give on their own.
  SKLineMinutePacket kline, klineAlone;
  ASSERT_TRUE(KLineMinutesOf(*m, &kline));
  ASSERT_TRUE(ReadKLineMinutes(trace.data(), trace.size(), &klineAlone));
  ASSERT_EQ(kline.minutes.size(), 2u);
  EXPECT_EQ(kline.minutes[1].amount, 0x40);
  EXPECT_EQ(kline.minutes[1].minute, klineAlone.minutes[1].minute);
  EXPECT_EQ(kline.newestPointMinute, 3);
  EXPECT_EQ(klineAlone.newestPointMinute, 3);
  // Points reaching past the body: the ticks stay, the points go.
  const std::string cut = trace.substr(0, trace.size() - 1);
  const CChartPacket pointsCut(cut.data(), static_cast<int>(cut.size()));
  ASSERT_NE(pointsCut.Minutes(), nullptr);
  EXPECT_EQ(pointsCut.Minutes()->ticks.size(), 2u);
  EXPECT_FALSE(pointsCut.Minutes()->pointsRead);
  EXPECT_TRUE(pointsCut.Minutes()->points.empty());
  SMinuteData data;
  EXPECT_FALSE(ReadMinuteData(cut.data(), cut.size(), &data));
  EXPECT_FALSE(KLineMinutesOf(*pointsCut.Minutes(), &kline));

  // The push, the K-line's own record in it.
  const std::string push = PushBody({Quote(12300, 400, 602002), Quote(12340, 500)}, 1);
  const CChartPacket pushed(push.data(), static_cast<int>(push.size()));
  ASSERT_NE(pushed.Push(), nullptr);
  ASSERT_EQ(pushed.Push()->records.size(), 2u);
  SKLineTick tick;
  ASSERT_TRUE(KLineTickOf(*pushed.Push(), SCodeInfo{4114, 602001}, &tick));
  EXPECT_EQ(tick.last, 12340u);
  EXPECT_EQ(tick.dayVolume, 500u);
  EXPECT_EQ(tick.volumeIncrement, 7u);
  EXPECT_FALSE(KLineTickOf(*pushed.Push(), SCodeInfo{4114, 602003}, &tick));

  const std::string day = DayTraceBody();
  const CChartPacket dayTrace(day.data(), static_cast<int>(day.size()));
  ASSERT_NE(dayTrace.DayTrace(), nullptr);
  EXPECT_EQ(dayTrace.DayTrace()->date, 20240105u);
  ASSERT_EQ(dayTrace.DayTrace()->points.size(), 2u);
  EXPECT_EQ(dayTrace.DayTrace()->points[1].price, 12200u);

  const std::string history = HistoryBody(0x0500 + 61);
  const CChartPacket bars(history.data(), static_cast<int>(history.size()));
  ASSERT_NE(bars.History(), nullptr);
  EXPECT_EQ(bars.History()->code, (SCodeInfo{4114, 602001}));
  ASSERT_EQ(bars.History()->records.size(), 1u);
  EXPECT_EQ(bars.History()->records[0].amount, -5);

  const std::string exRights = ExRightsBody();
  const CChartPacket actions(exRights.data(), static_cast<int>(exRights.size()));
  ASSERT_NE(actions.ExRights(), nullptr);
  ASSERT_EQ(actions.ExRights()->size(), 1u);
  EXPECT_EQ((*actions.ExRights())[0].shares, 3000u);

  const std::string titles = TitlesBody();
  const CChartPacket marks(titles.data(), static_cast<int>(titles.size()));
  ASSERT_NE(marks.Titles(), nullptr);
  EXPECT_EQ(marks.Titles()->at(20240105), "NB");

  const std::string info = InfoBody();
  const CChartPacket text(info.data(), static_cast<int>(info.size()));
  ASSERT_NE(text.InfoText(), nullptr);
  EXPECT_EQ(*text.InfoText(), "ok");
}

// The feed over pushes: another item's records and a repeated total volume
// are passed over; a record the table declines keeps the volume open.
TEST(ItemQuoteFeed, FollowsItsItemOnceAVolumeAndOnlyWhatWasTaken) {
  const SCodeInfo item{4114, 602001};
  CItemQuoteFeed feed;
  std::vector<uint32_t> taken;
  const auto take = [&](const std::string& body, std::function<bool(const STickRecord&)> wants) {
    const CChartPacket packet(body.data(), static_cast<int>(body.size()));
    ASSERT_NE(packet.Push(), nullptr);
    feed.TakePush(*packet.Push(), item, [&](const STickRecord& r) {
      if (!wants(r)) return false;
      taken.push_back(r.volume);
      return true;
    });
  };
  const auto all = [](const STickRecord&) { return true; };
  take(PushBody(
           {Quote(12340, 100), Quote(12340, 150, 602002), Quote(12340, 100), Quote(12350, 120)}),
       all);
  EXPECT_EQ(taken, (std::vector<uint32_t>{100, 120}));
  // Declined (fewer than ten levels): the next record of that volume counts.
  TickBytes five = Quote(12360, 130);
  five.levels.resize(5);
  take(PushBody({five, Quote(12360, 130)}),
       [](const STickRecord& r) { return r.levelCount == 10; });
  EXPECT_EQ(taken, (std::vector<uint32_t>{100, 120, 130}));
  // A new item starts from no volume.
  feed.Reset();
  take(PushBody({Quote(12360, 130)}), all);
  EXPECT_EQ(taken, (std::vector<uint32_t>{100, 120, 130, 130}));
}

}  // namespace
