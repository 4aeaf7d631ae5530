// The quote simulator's K-line replies: the stretch asked counted back from
// the newest bar, fewer bars at the start of history, today's bar at the
// live price, and the K-line object taking them as they come.
#include <gtest/gtest.h>

#include <algorithm>

#include "kline_test_support.h"
#include "link/quote_protocol.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/chart_feeds.h"
#include "sim/quote-server/info_items.h"
#include "sim/quote-server/kline_replies.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/tables/packets/chart_packets.h"

namespace charts_test {
namespace {

// The time-share request of an item (0x0300), after which the simulator
// pushes the item's quotes.
std::string MinuteTraceRequest(SCodeInfo code) {
  tables_test::PacketBytes b;
  b.U16(0, 0x0300).U16(2, code.market).U16(4, 1).U16(6, 1);
  b.U16(12, code.market).U32(14, uint32_t(code.code));
  return b.Bytes();
}

std::string Request(int period, uint32_t held, uint32_t wanted, int32_t code = 602001) {
  tables_test::PacketBytes b;
  b.U16(0, uint16_t((held ? 0x0600 : 0x0500) + period)).U16(2, 0x1012).U16(4, 1).U16(6, 3);
  b.U16(12, 0x1012).U32(14, uint32_t(code)).U32(20, held).U32(26, wanted);
  return b.Bytes();
}

class KLineSim : public ChartsTest {
 protected:
  KLineSim() : walk(7) {
    walk.Load(BuildDemoMarketTable());
    walk.Step();
  }
  sim::MarketWalk walk;
  sim::KLineReplies replies{walk, 20260105};
};

TEST_F(KLineSim, HistoryEndsAtTheLivePriceAndShortensAtItsStart) {
  const sim::WalkItem live = walk.Find({602001})[0];
  SHistoryPacket reply;
  std::string body = replies.History(Request(61, 0, 126));
  ASSERT_TRUE(ReadKLineHistory(body.data(), body.size(), &reply));
  ASSERT_EQ(reply.records.size(), 126u);
  EXPECT_EQ(reply.records.back().date, 20260105u);
  EXPECT_EQ(reply.records.back().close, live.price);
  EXPECT_EQ(reply.records[124].close, live.preClose);
  EXPECT_EQ(reply.records[124].date, 20260102u);  // the Friday before
  const size_t all = sim::KLineReplies::kHistoryDays + 1;
  body = replies.History(Request(61, uint32_t(all - 10), 126));
  ASSERT_TRUE(ReadKLineHistory(body.data(), body.size(), &reply));
  EXPECT_EQ(reply.records.size(), 10u);
  body = replies.History(Request(61, uint32_t(all), 126));
  ASSERT_TRUE(ReadKLineHistory(body.data(), body.size(), &reply));
  EXPECT_EQ(reply.hasData, 0);
  for (int period : {5, 60}) {
    body = replies.History(Request(period, 0, 100000));
    ASSERT_TRUE(ReadKLineHistory(body.data(), body.size(), &reply));
    EXPECT_EQ(reply.records.size(), size_t(sim::KLineReplies::kMinuteDays * 240 / period));
    EXPECT_EQ(reply.records.back().date, 1051500u);
    EXPECT_EQ(reply.records.back().close, live.price);
  }
  EXPECT_TRUE(replies.History(Request(61, 0, 10, 999999)).empty());
}

TEST_F(KLineSim, TheObjectTakesTheSimulatorsHistoryAndItsOlderBars) {
  CHisTechObj obj(&store);
  obj.SetRect(0, 0, 1000, 700);
  obj.SetStock(item);
  obj.RequestKLine();
  std::string body = replies.History(frame.requests.back().bytes);
  ASSERT_EQ(obj.OnData(body.data(), int(body.size())), 1);
  EXPECT_EQ(obj.Raw().size(), 126u);
  obj.OnCommand(kline_cmd::kZoomOut);
  body = replies.History(frame.requests.back().bytes);
  obj.OnData(body.data(), int(body.size()));
  EXPECT_EQ(obj.Raw().size(), 138u);
  for (size_t i = 1; i < obj.Raw().size(); ++i)
    ASSERT_LT(obj.Raw()[i - 1].nDate, obj.Raw()[i].nDate);
  body = replies.ExRights(frame.requests.back().bytes);
  obj.OnData(body.data(), int(body.size()));
  EXPECT_EQ(obj.ExRights().size(), 2u);
  body = replies.InfoTitles(frame.requests.back().bytes);
  obj.OnData(body.data(), int(body.size()));
  // The titles are the information window's entries, each on a day of the
  // history, so every mark opens a text.
  const sim::WalkItem live = walk.Find({602001})[0];
  const std::vector<sim::InfoItem> entries =
      sim::InfoItemsOf(live.market, live.code, sim::DayClock(20260105));
  ASSERT_EQ(obj.Titles().size(), entries.size());
  const std::vector<sim::SimBar> daily = replies.Bars(live, 61);
  for (const sim::InfoItem& e : entries) {
    ASSERT_EQ(obj.Titles().count(uint32_t(e.date)), 1u) << e.date;
    EXPECT_EQ(obj.Titles().at(uint32_t(e.date)), e.title);
    EXPECT_TRUE(std::any_of(daily.begin(), daily.end(),
                            [&](const sim::SimBar& b) { return b.date == uint32_t(e.date); }))
        << e.date;
  }
}

// The simulator pushes the records of every item a client showed, in the
// order first shown; the K-line of each item takes its own record, so the
// second and third items opened get live volume as the first does.
TEST_F(KLineSim, EveryShownItemGetsLiveVolumeOnItsKLine) {
  const std::string table = BuildDemoMarketTable();
  ASSERT_EQ(store.ParseMarketTable(table.data(), int(table.size())), 0);
  const std::vector<SCodeInfo> opened = {{0x1012, 602001}, {0x1012, 602002}, {0x1015, 701001}};
  sim::ChartFeeds feeds(walk);
  for (const SCodeInfo& code : opened)
    ASSERT_FALSE(feeds.Answer(1, MinuteTraceRequest(code)).empty()) << code.code;
  std::vector<std::unique_ptr<CHisTechObj>> charts;
  for (SCodeInfo code : opened) {
    charts.push_back(std::make_unique<CHisTechObj>(&store));
    CHisTechObj& chart = *charts.back();
    chart.SetRect(0, 0, 800, 600);
    chart.SetStock(store.FindStock(&code));
    chart.RequestKLine();
    const std::string body = replies.History(frame.requests.back().bytes);
    ASSERT_EQ(chart.OnData(body.data(), int(body.size())), 1) << code.code;
  }
  // Walk on until every item traded since its history was sent.
  auto volume = [&](size_t i) { return uint32_t(walk.Find({opened[i].code})[0].volume); };
  for (int step = 0; step < 2000; ++step) {
    bool all = true;
    for (size_t i = 0; i < opened.size(); ++i) all = all && volume(i) != charts[i]->Raw().back().nVolume;
    if (all) break;
    walk.Step();
  }
  std::string push;
  for (const auto& [connection, body] : feeds.Pushes())
    if (connection == 1 && (quotelink::ReadU16(body.data()) & 0xFF00) == PKT_PUSH_TICK) push = body;
  SPushTickPacket records;
  ASSERT_TRUE(ReadPushTicks(push.data(), push.size(), &records));
  ASSERT_EQ(records.records.size(), opened.size());
  for (size_t i = 0; i < opened.size(); ++i) {
    EXPECT_EQ(records.records[i].code, opened[i]) << i;  // in the order first shown
    ASSERT_NE(volume(i), charts[i]->Raw().back().nVolume) << i;
    charts[i]->OnData(push.data(), int(push.size()));
    EXPECT_EQ(charts[i]->Raw().back().nVolume, volume(i)) << opened[i].code;
  }
}

}  // namespace
}  // namespace charts_test
