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
#include "sim/quote-server/chart_replies.h"
#include "sim/quote-server/kline_replies.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"
#include "zeb/tables/packets/chart_packets.h"
#include "zeb/charts/kline/his_tech_obj.h"

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

std::string Request(int period, uint32_t held, uint32_t wanted, int32_t code = 602001,
                    uint16_t tag = 1) {
  tables_test::PacketBytes b;
  b.U16(0, uint16_t((held ? 0x0600 : 0x0500) + period)).U16(2, 0x1012).U16(4, tag).U16(6, 3);
  b.U16(12, 0x1012).U32(14, uint32_t(code)).U32(20, held).U32(26, wanted);
  return b.Bytes();
}

class KLineSim : public ChartsTest {
 protected:
  KLineSim() : walk(7) {
    walk.Load(BuildDemoMarketTable());
    walk.Step();
  }
  // The object on the item's day lines, as the simulator first answers.
  std::string LoadDays(CHisTechObj& obj) {
    obj.SetRect(0, 0, 1000, 700);
    obj.SetStock(item);
    obj.RequestKLine();
    const std::string body = replies.History(frame.requests.back().bytes);
    EXPECT_EQ(obj.OnData(body.data(), int(body.size())), 1);
    return body;
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
    EXPECT_TRUE(std::any_of(daily.begin(), daily.end(), [&](const sim::SimBar& b) {
      return b.date == uint32_t(e.date);
    })) << e.date;
  }
}

// Every reply carries its request's tag: the chart drops a reply of
// another tag, so older bars asked with any tag but 1 never arrived.
TEST_F(KLineSim, RepliesCarryTheirRequestsTag) {
  using Answer = std::string (sim::KLineReplies::*)(const std::string&) const;
  const struct {
    Answer answer;
    uint32_t held;
  } cases[] = {{&sim::KLineReplies::History, 0},
               {&sim::KLineReplies::History, 50},  // the older bars
               {&sim::KLineReplies::DayTrace, 0},
               {&sim::KLineReplies::ExRights, 0},
               {&sim::KLineReplies::InfoTitles, 0}};
  for (const auto& c : cases)
    for (const uint16_t tag : {1, 2, 9, 100}) {
      std::string request = Request(61, c.held, 126, 602001, tag);
      // The day trace reads a date where the K-line request has its second item.
      if (c.answer == &sim::KLineReplies::DayTrace)
        request = Request(61, 20260102, 126, 602001, tag);
      const std::string reply = (replies.*c.answer)(request);
      ASSERT_GE(reply.size(), 4u);
      EXPECT_EQ(quotelink::ReadU16(reply.data() + 2), tag) << c.held;
    }
}

// The history's amounts are in the bar's hundredths, so the interval
// statistics of the K-line read back what the prices and volumes make:
// the average within a cent, the amount in its own unit.
TEST_F(KLineSim, IntervalStatisticsOfTheHistoryAddUp) {
  CHisTechObj obj(&store);
  const std::string body = LoadDays(obj);
  SHistoryPacket reply;
  ASSERT_TRUE(ReadKLineHistory(body.data(), body.size(), &reply));
  ASSERT_EQ(obj.Raw().size(), reply.records.size());
  // The past days' amounts are their closes times their volumes; today's
  // is the walk's own sum of its deals.
  const sim::WalkItem live = walk.Find({602001})[0];
  double money = double(live.amount) / 1000, volume = double(live.volume);
  for (size_t i = 0; i + 1 < reply.records.size(); ++i) {
    money += double(reply.records[i].close) / 1000 * reply.records[i].volume;
    volume += reply.records[i].volume;
  }
  const SIntervalFigures f = ComputeInterval({int(obj.Raw().size()), obj.Raw().data()}, 0);
  EXPECT_EQ(f.volume, int64_t(volume));
  EXPECT_NEAR(f.average, money / volume, 0.01);
  EXPECT_NEAR(double(f.amount) / 100, money, money * 1e-6 + 1);
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.2f", money / 1e4);
  EXPECT_EQ(IntervalAmountText(f.amount).rfind(expected, 0), 0u) << IntervalAmountText(f.amount);
}

// Today's bar takes the pushed record's amount, in thousandths, as the
// bar's hundredths.
TEST_F(KLineSim, TodaysBarTakesThePushedAmountInItsUnit) {
  CHisTechObj obj(&store);
  LoadDays(obj);
  for (int step = 0; step < 600; ++step) walk.Step();
  const sim::WalkItem live = walk.Find({602001})[0];
  const std::string push = sim::BuildPushTicks({live}, 100);
  ASSERT_EQ(obj.OnData(push.data(), int(push.size())), 1);
  EXPECT_EQ(obj.Raw().back().nVolume, live.volume);
  EXPECT_EQ(obj.Raw().back().nAmount, live.amount / 10);
}

// A whole simulated day of every item: each amount a quote record carries
// grows and stays inside its 32-bit thousandths (no clamp, no wrap), and a
// year of month bars (today's included) stays inside the bar's signed
// 32-bit hundredths.
TEST_F(KLineSim, AmountsOfAFullDayAndAYearOfMonthsFitTheirFields) {
  std::vector<sim::WalkItem> before = walk.Snapshot();
  const int minutes = sim::kLastMinute + 1 - sim::kMorningDeals;
  for (int minute = 0; minute < minutes; ++minute) {
    for (int step = 0; step < sim::kStepsPerMinute; ++step) walk.Step();
    const std::vector<sim::WalkItem> now = walk.Snapshot();
    for (size_t i = 0; i < now.size(); ++i) {
      const std::string record = sim::EncodeTickRecord(now[i], 100);
      STickRecord r;
      ASSERT_GT(ReadTickRecord(reinterpret_cast<const uint8_t*>(record.data()), record.size(), &r),
                0u);
      ASSERT_LT(r.amount, UINT32_MAX) << now[i].code << " at minute " << minute;
      ASSERT_EQ(r.amount, now[i].amount);
      ASSERT_GE(now[i].amount, before[i].amount);
    }
    before = now;
  }
  size_t grew = 0;
  for (const sim::WalkItem& live : before) {
    grew += live.amount > 0;
    const std::vector<sim::SimBar> months = replies.Bars(live, 63);
    ASSERT_GE(months.size(), 12u);
    for (size_t m = months.size() - 12; m < months.size(); ++m) {
      EXPECT_GT(months[m].amount, 0) << live.code << " " << months[m].date;
      EXPECT_LT(months[m].amount, INT32_MAX) << live.code << " " << months[m].date;
    }
  }
  EXPECT_EQ(grew, before.size());
}

// A held month bar and the newest month of older bars fold into one; an
// amount too large for the bar's field stays at its largest value instead
// of wrapping round to a small one.
TEST_F(KLineSim, FoldedMonthAmountSaturates) {
  CHisTechObj obj(&store);
  obj.SetRect(0, 0, 1000, 700);
  obj.SetStock(item);
  obj.OnCommand(kline_cmd::kLastPeriod);  // month lines
  ASSERT_EQ(obj.GetPeriod(), 63);
  std::string body = HistoryBody(0x0500 + 63, {Rec(20260105, 10000, 10100, 9900, 10050, 1000, -1)});
  ASSERT_EQ(obj.OnData(body.data(), int(body.size())), 1);
  ASSERT_EQ(obj.Raw().size(), 1u);
  obj.RequestKLine();  // the older bars, asked for: an unasked reply is dropped
  body = HistoryBody(0x0600 + 63, {Rec(20251231, 9000, 9100, 8900, 9050, 500, 7),
                                   Rec(20260102, 10000, 10200, 9800, 10000, 500, 2000000000)});
  ASSERT_EQ(obj.OnData(body.data(), int(body.size())), 1);
  ASSERT_EQ(obj.Raw().size(), 2u);
  EXPECT_EQ(obj.Raw().back().nAmount, UINT32_MAX);
  EXPECT_EQ(obj.Raw().back().nVolume, 1500u);
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
    for (size_t i = 0; i < opened.size(); ++i)
      all = all && volume(i) != charts[i]->Raw().back().nVolume;
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
