// The time-share pictures and object: point layout, the symmetric price
// scale, minute data, day traces and ticks as the chart keeps them, the
// requests it sends, its keys and layout, and what it paints.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "sim/quote-server/timeshare_feed.h"
#include "support/recording_painter.h"
#include "tables/tables_test_support.h"
#include "timeshare_packet_bytes.h"
#include "zeb/painter/culling_painter.h"
#include "zeb/charts/timeshare/price_vol_obj.h"
#include "zeb/scheme/sys_style.h"

using namespace tables_test;
using charts_test::MinuteBody;
using charts_test::Point;
using charts_test::Tick;
using charts_test::TickBody;
using test_support::RecordingPainter;
using test_support::SDrawn;

namespace {

constexpr uint16_t kMarket = 4116;
constexpr int32_t kCode = 100000;
constexpr uint32_t kPreClose = 10000;

TEST(TimeSharePictures, PointsSpanThePlotAndItsRightEdgeStaysExclusive) {
  CVolPic pic;
  pic.SetRectDeferred(10, 0, 251, 100, false);  // 241 pixels wide
  pic.SetPointCount(242);
  const std::vector<int>& xs = pic.GetXs();
  ASSERT_EQ(xs.size(), 242u);
  EXPECT_EQ(xs.front(), 10);
  EXPECT_EQ(xs.back(), 251);  // the last point sits on the right edge
  for (size_t i = 0; i < xs.size(); ++i) EXPECT_EQ(xs[i], 10 + static_cast<int>(i));
  // The edge itself is outside the plot; the pixel left of it is inside.
  EXPECT_EQ(pic.IndexAtX(251, 50), -1);
  EXPECT_GE(pic.IndexAtX(250, 50), 240);
  EXPECT_EQ(pic.IndexAtX(9, 50), -1);
}

struct FlatCase {
  int height;
  int decimals;
};

// A price picture's data: the prices, the previous close and the day's bounds.
SDynPicData PriceData(const std::vector<int32_t>& price, int32_t preClose, int32_t upper,
                      int32_t lower) {
  SDynPicData d;
  d.count = static_cast<int32_t>(price.size());
  d.preClose = preClose;
  d.upper = upper;
  d.lower = lower;
  d.values[0] = price.data();
  return d;
}

class FlatSeries : public ::testing::TestWithParam<FlatCase> {};

TEST_P(FlatSeries, GetsAtLeastOnePercentWithThePreviousCloseInTheMiddle) {
  CPricePic pic;
  pic.SetFormat(GetParam().decimals, 1000);
  pic.SetRectDeferred(0, 0, 241, GetParam().height, false);
  const std::vector<int32_t> price(100, 10000);
  pic.SetData(PriceData(price, 10000, 11000, 9000));
  EXPECT_EQ(pic.GetTop() - 10000, 10000 - pic.GetBottom());
  EXPECT_GE(pic.GetTop() - 10000, 100);  // 1 % of 10.00
  // The middle of the plot is the previous close.
  const RECT& plot = pic.GetPlotRect();
  EXPECT_NEAR(pic.YOf(10000), (plot.top + plot.bottom) / 2, 1);
  if (GetParam().decimals == 2) {
    const int rows = pic.GetRows();
    const int half = (rows % 2 == 0 ? rows + 1 : rows) / 2;
    EXPECT_GE((pic.GetTop() - 10000) / half, 10);  // ten thousandths per row at least
  }
}

INSTANTIATE_TEST_SUITE_P(Heights, FlatSeries,
                         ::testing::Values(FlatCase{150, 2}, FlatCase{66, 2}, FlatCase{300, 3},
                                           FlatCase{10, 2}));

// The price grid frames the plot and labels its rows: the previous close on
// the middle row in the level colour, rises above it and falls below it, each
// with its distance from the close in percent on the right.
TEST(TimeSharePictures, PriceGridLabelsRowsAroundThePreviousClose) {
  CPricePic pic;
  pic.SetFormat(2, 1000);
  pic.SetRectDeferred(60, 0, 301, 150, false);
  const std::vector<int32_t> price(10, 10000);
  pic.SetData(PriceData(price, 10000, 11000, 9000));
  RecordingPainter painter;
  pic.Paint(painter);
  const RECT& plot = pic.GetPlotRect();
  const std::vector<SDrawn> rects = painter.Of(SDrawn::Kind::kRect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_TRUE(EqualRect(rects[0].rect, plot));
  EXPECT_EQ(rects[0].fill, kHollow);
  const int middleY = (plot.top + plot.bottom) / 2;
  int values = 0, percents = 0;
  for (const SDrawn& text : painter.Of(SDrawn::Kind::kText)) {
    const int y = (text.rect.top + text.rect.bottom) / 2;
    const COLORREF expected = y < middleY - 1   ? CSysStyle::GetInstance()->GetColor(2)
                              : y > middleY + 1 ? CSysStyle::GetInstance()->GetColor(4)
                                                : CSysStyle::GetInstance()->GetColor(3);
    EXPECT_EQ(text.fill, expected) << text.text;
    if (text.rect.right <= plot.left) {
      ++values;
      if (y == middleY) {
        EXPECT_EQ(text.text, "10.00");
      }
    } else {
      EXPECT_GE(text.rect.left, plot.right);
      ++percents;
      if (y == middleY) {
        EXPECT_EQ(text.text, "0.00%");
      }
    }
  }
  EXPECT_EQ(values, pic.GetRows() % 2 == 1 ? pic.GetRows() : pic.GetRows() - 1);
  EXPECT_EQ(percents, values);
}

TEST(TimeSharePictures, SecondItemWithZeroReferenceLeavesTheScaleAlone) {
  std::vector<int32_t> price = {10000, 10100, 9900}, second = {5000, 5200, 4800};
  for (int32_t secondRef : {0, 5000}) {
    CPricePic pic;
    pic.SetFormat(2, 1000);
    pic.SetRectDeferred(0, 0, 241, 150, false);
    SDynPicData d;
    d.count = 3;
    d.preClose = 10000;
    d.upper = d.lower = 0;
    d.values[0] = price.data();
    d.values[2] = second.data();
    d.values[3] = &secondRef;
    pic.SetData(d);
    ASSERT_EQ(pic.SecondRows().size(), 3u);
    if (secondRef == 0) {
      // Nothing to scale by: the second line lies on the plot bottom.
      for (int y : pic.SecondRows()) EXPECT_EQ(y, pic.GetPlotRect().bottom);
      EXPECT_LE(pic.GetTop() - 10000, 200);
    } else {
      // +4 % on the second item widens this one's scale to at least +4 %.
      EXPECT_GE(pic.GetTop(), 10400);
    }
  }
}

TEST(TimeSharePictures, VolumeBarsStartAtOnePixelAndZeroDrawsNone) {
  CVolPic pic;
  pic.SetRectDeferred(0, 0, 241, 100, false);
  std::vector<int32_t> volume = {0, 1, 1000000}, price = {10, 10, 9};
  SDynPicData d;
  d.count = 3;
  d.values[0] = volume.data();
  d.values[1] = price.data();
  pic.SetData(d);
  const int base = pic.GetPlotRect().bottom - 2;
  EXPECT_EQ(pic.BarRows()[0], base);      // no bar
  EXPECT_EQ(pic.BarRows()[1], base - 1);  // a 1-pixel bar
  EXPECT_LT(pic.BarRows()[2], base - 50);
  EXPECT_EQ(pic.UpFlags()[2], 0);  // a falling minute
}

class TimeShareTest : public TablesTest {
 protected:
  TimeShareTest() {
    sim::MarketTableItem item = Item(kCode, "item", kPreClose);
    item.limitUp = 11000;
    item.limitDown = 9000;
    LoadMarket({{kMarket, {item}}});
    SCodeInfo key{kMarket, kCode};
    stock = store.FindStock(&key);
    chart.SetRect(0, 0, 800, 400);
    chart.SetStock(stock);
  }
  int Feed(const std::string& body) {
    return chart.OnData(body.data(), static_cast<int>(body.size()));
  }
  // Minute data up to 09:3x with one point per minute at price p.
  void Minutes(int count, uint32_t price) {
    std::vector<Point> points;
    for (int i = 0; i < count; ++i) points.push_back({static_cast<uint16_t>(i), price, 100, price});
    ASSERT_EQ(Feed(MinuteBody(0x0300, 1, {kMarket, kCode}, static_cast<uint16_t>(570 + count - 1),
                              price, 100u * count, points)),
              1);
  }
  Tick At(uint16_t time, uint32_t last, uint32_t total, uint32_t step) {
    return Tick{{kMarket, kCode}, time, last, last, total, step};
  }

  SStockInfo* stock = nullptr;
  CPriceVolObj chart{&store};
};

TEST_F(TimeShareTest, MinuteDataFillsPointsAndGapsAndRefusesOtherTagsAndItems) {
  EXPECT_EQ(chart.GetPointCount(), 242);
  // Minutes 0, 1 and 4 given; 2 and 3 take the previous price; the second
  // record for minute 1 without volume is ignored.
  const std::vector<Point> points = {
      {0, 10100, 5, 10050}, {1, 10200, 7, 0}, {1, 9000, 0, 9000}, {4, 10300, 9, 10150}};
  EXPECT_EQ(Feed(MinuteBody(0x0A00, 2, {kMarket, kCode}, 574, 10300, 21, points)),
            0);  // another tag
  EXPECT_EQ(Feed(MinuteBody(0x0300, 1, {kMarket, kCode + 1}, 574, 10300, 21, points)),
            0);  // another item's day
  EXPECT_EQ(chart.GetDataCount(), 0);
  ASSERT_EQ(Feed(MinuteBody(0x0D00, 1, {kMarket, kCode}, 574, 10300, 21, points)), 1);
  ASSERT_EQ(chart.GetDataCount(), 5);
  const std::vector<int32_t> prices(chart.Prices().begin(), chart.Prices().begin() + 5);
  EXPECT_EQ(prices, (std::vector<int32_t>{10100, 10200, 10200, 10200, 10300}));
  EXPECT_EQ(chart.Averages()[1], 10050);  // a zero average takes the one before
  EXPECT_EQ(chart.Volumes()[2], 0);
  EXPECT_EQ(chart.Volumes()[4], 9);
}

TEST_F(TimeShareTest, TicksUpdateExtendAndStopAsTheyShould) {
  Minutes(5, 10000);  // 09:30 .. 09:34
  // An earlier minute updates the last point.
  ASSERT_EQ(Feed(TickBody({At(572, 10100, 600, 50)})), 1);
  EXPECT_EQ(chart.GetDataCount(), 5);
  EXPECT_EQ(chart.Prices()[4], 10100);
  EXPECT_EQ(chart.Volumes()[4], 150);
  // Two minutes after the last point: the minute between is filled with
  // the previous price and no volume.
  ASSERT_EQ(Feed(TickBody({At(576, 10200, 700, 40)})), 1);
  EXPECT_EQ(chart.GetDataCount(), 7);
  EXPECT_EQ(chart.Prices()[5], 10100);
  EXPECT_EQ(chart.Volumes()[5], 0);
  EXPECT_EQ(chart.Prices()[6], 10200);
  EXPECT_EQ(chart.Volumes()[6], 40);
  // A repeat (no new volume, same price) drops the rest of the packet.
  EXPECT_EQ(Feed(TickBody({At(577, 10200, 700, 0), At(578, 10500, 800, 100)})), 0);
  EXPECT_EQ(chart.GetDataCount(), 7);
  // Ticks of another item are skipped.
  Tick other = At(579, 9000, 900, 5);
  other.code.code = kCode + 1;
  EXPECT_EQ(Feed(TickBody({other})), 0);
  EXPECT_EQ(chart.GetDataCount(), 7);
}

TEST_F(TimeShareTest, TicksPastTheChartsMinutesAreNeverWritten) {
  SStockInfo item = *stock;  // outlives the market table reloaded below
  chart.SetStock(&item);
  Minutes(5, 10000);
  // The market's afternoon grows after the chart was sized: minute 16:00
  // lies past its 242 points.
  const std::string table = sim::BuildMarketTable(20260105, 1, {{570, 690}, {780, 960}},
                                                  {{kMarket, {Item(kCode, "item", kPreClose)}}});
  ASSERT_EQ(store.ParseMarketTable(table.data(), static_cast<int>(table.size())), 0);
  EXPECT_EQ(Feed(TickBody({At(950, 10600, 1000, 5)})), 0);
  EXPECT_EQ(chart.GetDataCount(), 5);
  EXPECT_EQ(chart.Prices()[241], 0);
  // A later tick inside the day still counts.
  EXPECT_EQ(Feed(TickBody({At(575, 10700, 1100, 5)})), 1);
  EXPECT_EQ(chart.GetDataCount(), 6);
}

// Figures near the top of 32 bits from the server keep the scale and the
// volumes in range instead of wrapping round.
TEST_F(TimeShareTest, HugeFiguresSaturateInsteadOfWrapping) {
  Minutes(3, 10000);
  ASSERT_EQ(Feed(TickBody({At(572, 2000000000u, 2000000000u, 2000000000u)})), 1);
  ASSERT_EQ(Feed(TickBody({At(572, 2000000001u, 2100000000u, 2000000000u)})), 1);
  EXPECT_EQ(chart.Volumes()[2], INT32_MAX);
  EXPECT_GE(chart.PricePic().GetTop(), 2000000001);
  EXPECT_LT(chart.PricePic().GetBottom(), chart.PricePic().GetTop());
  // The previous close in the middle, the huge price near the top.
  const RECT& plot = chart.PricePic().GetPlotRect();
  EXPECT_NEAR(chart.PricePic().PriceRows()[0], (plot.top + plot.bottom) / 2, 2);
  EXPECT_LE(chart.PricePic().PriceRows()[2], plot.top + 2);
}

// A past day near the top of 32 bits: the price scale's two bounds are
// both huge, and the middle label of the grid is computed without wrapping
// (the sanitizer tree's run of this test catches the overflow).
TEST_F(TimeShareTest, HugeDayTraceDrawsItsGrid) {
  ASSERT_EQ(Feed(charts_test::DayTraceBody(20260102, 2000000000u, {{2000000000u, 10, 0}})), 1);
  ASSERT_GT(chart.PricePic().GetBottom(), 1000000000);
  QImage image(800, 400, QImage::Format_ARGB32_Premultiplied);
  CDC dc;
  dc.Attach(&image);
  EXPECT_EQ(chart.Draw(&dc), 1);
}

TEST_F(TimeShareTest, FlatDayTraceGetsTenPercentBounds) {
  ASSERT_EQ(
      Feed(charts_test::DayTraceBody(20260102, 8000, {{8000, 10, 0}, {8000, 20, 0}, {8000, 5, 0}})),
      1);
  EXPECT_EQ(chart.GetDataCount(), 3);
  EXPECT_EQ(chart.GetTradeDate(), 20260102);
  EXPECT_EQ(chart.GivenUpper(), 8800);
  EXPECT_EQ(chart.GivenLower(), 7200);
  EXPECT_EQ(chart.Averages()[0], 8000);  // a zero average takes the price at the start
  // The picture still has a range around the previous close.
  EXPECT_GT(chart.PricePic().GetTop(), 8000);
  EXPECT_LT(chart.PricePic().GetBottom(), 8000);
  // The chart now shows a past day: today's ticks do not reach it.
  EXPECT_EQ(Feed(TickBody({At(571, 8100, 50, 50)})), 0);
  EXPECT_EQ(chart.GetDataCount(), 3);
}

// A past day that moves 0.1% spans the plot: its own extremes bound the
// scale, not the 1% the scale keeps at least.
TEST_F(TimeShareTest, QuietDayTraceSpansThePlot) {
  ASSERT_EQ(Feed(charts_test::DayTraceBody(20260102, 10000,
                                           {{10000, 10, 0}, {10010, 20, 0}, {9995, 5, 0}})),
            1);
  EXPECT_EQ(chart.GivenUpper(), 10010);
  EXPECT_EQ(chart.GivenLower(), 9990);
  EXPECT_EQ(chart.PricePic().GetTop(), 10010);
  EXPECT_EQ(chart.PricePic().GetBottom(), 9990);
  const RECT& plot = chart.PricePic().GetPlotRect();
  EXPECT_LE(chart.PricePic().PriceRows()[1], plot.top + 2);  // the high at the top
}

// Without a left axis (the panel's index chart) the value labels sit
// inside the rectangle: a four-digit price keeps its first digit.
TEST_F(TimeShareTest, LabelsInsideTheRectKeepTheirFirstDigit) {
  CPricePic pic;
  pic.SetStyle(71);
  pic.SetFormat(2, 1000);
  pic.SetPointCount(242);
  pic.SetRectDeferred(0, 0, 250, 150, true);
  const std::vector<int32_t> prices = {1981300, 1990000, 1975000};
  pic.SetData(PriceData(prices, 1981300, 2179430, 1783170));
  QImage image(250, 150, QImage::Format_ARGB32_Premultiplied);
  CDC dc;
  dc.Attach(&image);
  {
    CDCPainter painter(&dc);
    pic.Paint(painter);
  }
  dc.SelectObject(CSysStyle::GetInstance()->GetFont(6));  // the labels' font
  const int widest = dc.GetTextExtent("1999.99").cx;
  EXPECT_GE(pic.GetPlotRect().left - 2 - widest, 0);
}

// The trace list is answered with each traced item's day in the minute
// data's layout: the chart takes its own item's and leaves the others'.
TEST_F(TimeShareTest, TraceListRepliesFeedTheTracedItem) {
  const std::vector<Point> points = {{0, 10100, 5, 10050}, {1, 10200, 7, 10100}};
  EXPECT_EQ(Feed(MinuteBody(0x0900, 1, {kMarket, kCode + 1}, 571, 10200, 12, points)), 0);
  EXPECT_EQ(chart.GetDataCount(), 0);
  ASSERT_EQ(Feed(MinuteBody(0x0900, 1, {kMarket, kCode}, 571, 10200, 12, points)), 1);
  ASSERT_EQ(chart.GetDataCount(), 2);
  EXPECT_EQ(chart.Prices()[1], 10200);
}

// The low byte of a packet's type is a variant within its group: the chart
// reads every variant of the minute data, a past day and a push as the
// group, as the view's readers after the first see it.
TEST_F(TimeShareTest, EveryVariantOfAGroupIsReadAsItsGroup) {
  const auto typed = [](std::string body, uint16_t type) {
    body[0] = static_cast<char>(type & 0xFF);
    body[1] = static_cast<char>(type >> 8);
    return body;
  };
  struct Case {
    uint16_t type;
    int dataCount;  // after the body
    int32_t price;  // of the last point
  } cases[] = {
      {0x0301, 3, 10000}, {0x0A7F, 3, 10000}, {0x0DFF, 3, 10000},  // minute data
      {0x0B01, 3, 10300}, {0x0BFF, 3, 10300},                      // pushes
      {0x0401, 2, 9900},                                           // a past day
  };
  for (const Case& c : cases) {
    chart.SetStock(stock);
    if ((c.type & 0xFF00) == PKT_PUSH_TICK) {
      Minutes(3, 10000);
      EXPECT_EQ(Feed(typed(TickBody({At(572, 10300, 400, 100)}), c.type)), 1) << std::hex << c.type;
    } else if ((c.type & 0xFF00) == PKT_DAY_TRACE) {
      const std::string day =
          charts_test::DayTraceBody(20260102, 10000, {{9800, 10, 0}, {9900, 5, 0}});
      EXPECT_EQ(Feed(typed(day, c.type)), 1) << std::hex << c.type;
    } else {
      const std::vector<Point> points = {{0, 10000, 5, 10000}, {2, 10000, 5, 10000}};
      EXPECT_EQ(Feed(MinuteBody(c.type, 1, {kMarket, kCode}, 572, 10000, 10, points)), 1)
          << std::hex << c.type;
    }
    EXPECT_EQ(chart.GetDataCount(), c.dataCount) << std::hex << c.type;
    EXPECT_EQ(chart.Prices()[static_cast<size_t>(c.dataCount - 1)], c.price) << std::hex << c.type;
  }
}

TEST_F(TimeShareTest, RequestsCarryTheItemAndTheTraceList) {
  CPriceVolObj::ClearTraceCodes();
  chart.RequestMinuteTrace();
  chart.AddTraceCode({4097, 1});
  chart.AddTraceCode({4097, 1});
  ASSERT_EQ(frame.requests.size(), 3u);
  EXPECT_EQ(frame.requests[0].bytes.size(), 18u);
  EXPECT_EQ(frame.requests[0].type, 0x0300);
  EXPECT_EQ(frame.requests[0].market, kMarket);
  EXPECT_EQ(frame.requests[0].tag, 1);
  EXPECT_EQ(frame.requests[0].items, (std::vector<SCodeInfo>{{kMarket, kCode}}));
  EXPECT_EQ(frame.requests[2].type, 0x0900);
  EXPECT_EQ(frame.requests[2].items, (std::vector<SCodeInfo>{{kMarket, kCode}, {4097, 1}}));
  // Asked again (the view's refresh timer): the list does not grow.
  chart.RequestMinuteTrace();
  chart.AddTraceCode({4097, 1});
  EXPECT_EQ(frame.requests.back().items, (std::vector<SCodeInfo>{{kMarket, kCode}, {4097, 1}}));
  // A new chart starts the process-wide list afresh.
  { CPriceVolObj another(&store); }
  EXPECT_TRUE(CPriceVolObj::TraceCodes().empty());
}

TEST_F(TimeShareTest, ArrowKeysWrapOverThePointsWithData) {
  Minutes(10, 10000);
  EXPECT_EQ(chart.OnKey(36), 1);
  EXPECT_EQ(chart.OnKey(37), 1);  // Left on the first point
  EXPECT_EQ(chart.GetCursorIndex(), 9);
  EXPECT_TRUE(chart.IsCrosshairOn());
  EXPECT_EQ(chart.OnKey(39), 1);  // Right on the last
  EXPECT_EQ(chart.GetCursorIndex(), 0);
  EXPECT_TRUE(chart.CursorInfo().hasData);
  EXPECT_EQ(chart.CursorInfo().time, 570);
  EXPECT_EQ(chart.OnKey(27), 1);
  EXPECT_FALSE(chart.IsCrosshairOn());
  EXPECT_EQ(chart.OnKey(27), 0);
}

TEST_F(TimeShareTest, LayoutFollowsTheStyleBitsAndTheExtraPane) {
  chart.SetStyle(0);
  chart.SetRect(0, 0, 600, 318);
  EXPECT_EQ(chart.PriceRect().left, 60);
  EXPECT_EQ(chart.PriceRect().right, 540);
  EXPECT_EQ(chart.TitleRect().bottom, 18);
  EXPECT_EQ(chart.AxisRect().top, 300);
  EXPECT_EQ(chart.PriceRect().bottom, 18 + static_cast<int>(282 / 3.0f * 1.8f));
  EXPECT_EQ(chart.VolumeRect().bottom, 299);  // 187 + 94 x 1.2, truncated
  chart.SetSubPicType(2);
  EXPECT_LT(chart.VolumeRect().bottom, 250);
  EXPECT_EQ(chart.ExtraRect().top, chart.VolumeRect().bottom);
  EXPECT_EQ(chart.OnCommand(CPriceVolObj::kVolumeCommand), 1);
  EXPECT_EQ(chart.GetSubPicType(), 0);
  EXPECT_EQ(chart.SetSubPicType(9), 1);
  EXPECT_EQ(chart.GetSubPicType(), 0);
  // The panel's small charts: 71 has no title, axes or time axis.
  chart.SetStyle(71);
  chart.SetRect(0, 0, 240, 160);
  EXPECT_EQ(chart.PriceRect().left, 0);
  EXPECT_EQ(chart.PriceRect().top, 10);
  EXPECT_EQ(chart.VolumeRect().bottom, 160);
  EXPECT_EQ(chart.TitleRect().right, 0);
}

TEST_F(TimeShareTest, MouseTracksTheCrosshairAndMenuNeedsAnItem) {
  Minutes(120, 10000);
  const RECT price = chart.PriceRect();
  EXPECT_EQ(chart.OnMouseMove(price.left + 30, price.top + 20), 1);
  EXPECT_GT(chart.GetCursorIndex(), 0);
  EXPECT_EQ(chart.OnMouseMove(price.left + 30, price.top + 20), 0);  // same point: no repaint
  RecordingOwner owner;
  EXPECT_EQ(chart.OnRButtonDown(&owner, price.left + 5, price.top + 5), 1);
  ASSERT_EQ(owner.menus.size(), 1u);
  EXPECT_EQ(owner.menus[0].menu.baseResource, 130);
  EXPECT_EQ(owner.menus[0].menu.baseSubMenu, 0);
  EXPECT_TRUE(owner.menus[0].menu.retitles.empty());
  CPriceVolObj empty(&store);
  EXPECT_EQ(empty.OnRButtonDown(&owner, 5, 5), 0);
  // An index item's menu shows the advance-decline line.
  SStockInfo index = *stock;
  index.market = 4097;
  chart.SetStock(&index);
  EXPECT_EQ(chart.OnRButtonDown(&owner, price.left + 5, price.top + 5), 1);
  ASSERT_EQ(owner.menus.size(), 2u);
  ASSERT_EQ(owner.menus[1].menu.retitles.size(), 1u);
  EXPECT_EQ(owner.menus[1].menu.retitles[0].id, 26642u);
  EXPECT_EQ(owner.menus[1].menu.retitles[0].text, GBK("ADL图"));
}

TEST_F(TimeShareTest, PaintsThePriceLineAndVolumeBarsInTheirColours) {
  chart.SetStyle(0);
  chart.SetRect(0, 0, 600, 318);
  std::vector<Point> points;
  for (int i = 0; i < 242; ++i)
    points.push_back({static_cast<uint16_t>(i < 121 ? i : i + 89),
                      static_cast<uint32_t>(10000 + (i % 40) * 10),
                      static_cast<uint32_t>(100 + i % 7), 10100});
  ASSERT_EQ(Feed(MinuteBody(0x0300, 1, {kMarket, kCode}, 900, 10100, 1000, points)), 1);
  EXPECT_EQ(chart.GetDataCount(), 242);
  RecordingPainter painter;
  chart.Paint(painter);
  const auto inside = [](const SDrawn& d, const RECT& r) {
    return d.rect.left >= r.left && d.rect.left < r.right && d.rect.right >= r.left &&
           d.rect.right < r.right && d.rect.top >= r.top && d.rect.top < r.bottom &&
           d.rect.bottom >= r.top && d.rect.bottom < r.bottom;
  };
  std::vector<SDrawn> priceLine, bars;
  for (const SDrawn& d : painter.Of(SDrawn::Kind::kLine)) {
    if (d.pen.color == Color(7)) priceLine.push_back(d);
    if (d.pen.color == Color(41) || d.pen.color == Color(42)) bars.push_back(d);
  }
  // One segment joins each two neighbouring minutes, all in the price plot.
  ASSERT_EQ(priceLine.size(), 241u);
  for (size_t i = 0; i < priceLine.size(); ++i) {
    EXPECT_TRUE(inside(priceLine[i], chart.PriceRect())) << i;
    EXPECT_FALSE(inside(priceLine[i], chart.VolumeRect())) << i;
    if (i > 0) {
      EXPECT_EQ(priceLine[i].rect.left, priceLine[i - 1].rect.right) << i;
      EXPECT_EQ(priceLine[i].rect.top, priceLine[i - 1].rect.bottom) << i;
    }
  }
  // Every minute has volume: one vertical bar each, in the volume plot.
  ASSERT_EQ(bars.size(), 242u);
  for (const SDrawn& bar : bars) {
    EXPECT_TRUE(inside(bar, chart.VolumeRect()));
    EXPECT_EQ(bar.rect.left, bar.rect.right);
  }
}

// A tick inside both scales changes the newest points alone: the chart asks
// for their columns (and for the title when it shows the last price), and
// those areas, drawn again over the last paint, give the pixels of a whole
// paint without laying out anything away from them. A tick past a scale, a
// cursor move and the box over the chart ask for the whole chart.
TEST_F(TimeShareTest, ATickInsideTheScalesAsksForTheNewestColumnsOnly) {
  using namespace timeshare_style;
  constexpr int kW = 800, kH = 400;
  CDC dc;
  CBitmap bitmap;
  dc.CreateCompatibleDC(nullptr);
  bitmap.CreateBitmap(kW, kH);
  dc.SelectObject(&bitmap);
  const auto paintWhole = [&] {
    dc.FillSolidRect(0, 0, kW, kH, Color(19));
    chart.Draw(&dc);
    return dc.GetImage()->copy();
  };
  // The panel's form (the labels inside, the date as title) and one whose
  // title shows the last price.
  for (const int style : {kNoRightAxis | kNoTimeAxis | kNoLeftAxis | kDateTitle, kQuoteTitle}) {
    chart.SetStyle(style);
    chart.SetRect(0, 0, kW, kH);
    Minutes(30, 10000);
    EXPECT_FALSE(chart.ChangedAreas(nullptr)) << style;
    QImage screen = paintWhole();
    EXPECT_TRUE(chart.Unpainted().None());
    uint32_t total = 100u * 30;
    // The last minute again, then the next one with the minutes' volume.
    const struct {
      uint16_t time;
      uint32_t price, volume;
      int first;  // the first point the tick changes
    } ticks[] = {{599, 10010, 1, 29}, {599, 9990, 1, 29}, {600, 10000, 100, 30}};
    for (const auto& t : ticks) {
      total += t.volume;
      ASSERT_EQ(Feed(TickBody({At(t.time, t.price, total, t.volume)})), 1);
      EXPECT_EQ(chart.Unpainted(), CChartChanges(EChartChange::kLastBar)) << style;
      std::vector<RECT> areas;
      ASSERT_TRUE(chart.ChangedAreas(&areas)) << style;
      const std::vector<int>& xs = chart.PricePic().GetXs();
      const int from = xs[t.first - 1], to = xs[chart.GetDataCount() - 1];
      bool title = false;
      for (const RECT& r : areas) {
        if (EqualRect(r, chart.TitleRect())) {
          title = true;
          continue;
        }
        // A column from the point before the first changed one to the last.
        EXPECT_LE(r.left, from) << style;
        EXPECT_GT(r.right, to) << style;
        EXPECT_LE(r.right - r.left, to - from + 6) << style;
      }
      EXPECT_EQ(title, (style & kQuoteTitle) != 0) << style;
      EXPECT_EQ(areas.size(), title ? 2u : 1u) << style;
      if (style & kQuoteTitle) {
        // No grid label away from the title and the time axis is laid out.
        RecordingPainter recorded;
        CCullingPainter culled(recorded, areas);
        chart.Paint(culled);
        for (const SDrawn& d : recorded.Of(SDrawn::Kind::kText)) {
          EXPECT_FALSE(d.rect.top > chart.PriceRect().top + 24 &&
                       d.rect.bottom < chart.VolumeRect().bottom - 24)
              << d.text;
        }
        EXPECT_TRUE(recorded.Of(SDrawn::Kind::kText).size() > 0);
      }
      // Drawn over a spoilt picture, only the areas taken to the screen.
      dc.FillSolidRect(0, 0, kW, kH, RGB(1, 2, 3));
      for (const RECT& r : areas) dc.FillSolidRect(&r, Color(19));
      chart.DrawAreas(&dc, areas);
      EXPECT_TRUE(chart.Unpainted().None());
      {
        QPainter blit(&screen);
        blit.setCompositionMode(QPainter::CompositionMode_Source);
        for (const RECT& r : areas) {
          const QRect q(r.left, r.top, r.right - r.left, r.bottom - r.top);
          blit.drawImage(q.topLeft(), *dc.GetImage(), q);
        }
      }
      const QImage want = paintWhole();
      int differing = 0;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) differing += screen.pixel(x, y) != want.pixel(x, y);
      EXPECT_EQ(differing, 0) << style << " price " << t.price;
    }
    // Past the price scale.
    ASSERT_EQ(Feed(TickBody({At(600, 10900, ++total, 1)})), 1);
    EXPECT_TRUE(chart.Unpainted().Has(EChartChange::kRange));
    EXPECT_FALSE(chart.ChangedAreas(nullptr));
    paintWhole();
    // The cursor moved by a key.
    chart.OnKey(37);
    EXPECT_FALSE(chart.ChangedAreas(nullptr));
    paintWhole();
  }
}

// The grid is prepared again when what it shows moves: a new format of
// its labels or a new height; a tick inside the range keeps it.
TEST(TimeSharePictures, TheGridFollowsTheFormatAndTheSize) {
  CPricePic pic;
  pic.SetFormat(2, 1000);
  pic.SetRectDeferred(0, 0, 241, 200, false);
  pic.SetPointCount(242);
  std::vector<int32_t> price(30, 10000);
  pic.SetData(PriceData(price, 10000, 11000, 9000));
  const auto labels = [&] {
    std::vector<std::string> out;
    for (const auto& row : pic.Grid().rows) out.push_back(row.value);
    return out;
  };
  const std::vector<std::string> twoDecimals = labels();
  ASSERT_FALSE(twoDecimals.empty());
  EXPECT_EQ(twoDecimals.front().find('.'), twoDecimals.front().size() - 3);
  price.back() = 10010;
  pic.SetData(PriceData(price, 10000, 11000, 9000));
  EXPECT_EQ(labels(), twoDecimals);
  pic.SetFormat(3, 1000);
  ASSERT_EQ(labels().size(), twoDecimals.size());
  EXPECT_EQ(labels().front().find('.'), labels().front().size() - 4);
  const size_t rows = pic.Grid().rows.size();
  pic.SetRectDeferred(0, 0, 241, 400, false);
  EXPECT_GT(pic.Grid().rows.size(), rows);
  EXPECT_EQ(pic.Grid().rows.front().y, pic.GetPlotRect().bottom);
}

}  // namespace

namespace {

// The simulator's minute data of an item agree with its quote: the chart
// ends at the item's last price with the item's volume, inside its range,
// and a past day reaches the chart as served.
TEST_F(TimeShareTest, SimulatorMinutesAgreeWithTheQuote) {
  sim::WalkItem item;
  item.market = kMarket;
  item.code = kCode;
  item.preClose = kPreClose;
  item.open = 10050;
  item.price = 10230;
  item.high = 10400;
  item.low = 9900;
  item.volume = 123456;
  const std::vector<sim::MinuteBar> bars = sim::MinuteBarsOf(item, 150, 7);
  ASSERT_EQ(Feed(sim::BuildMinuteData(1, item, bars)), 1);
  ASSERT_EQ(chart.GetDataCount(), 150);
  EXPECT_EQ(chart.Prices()[149], 10230);
  int64_t volume = 0;
  for (int i = 0; i < 150; ++i) {
    volume += chart.Volumes()[i];
    EXPECT_GE(chart.Prices()[i], 9900);
    EXPECT_LE(chart.Prices()[i], 10400);
  }
  EXPECT_EQ(volume, 123456);
  ASSERT_EQ(Feed(sim::BuildDayTrace(1, 20260102, 9000, bars)), 1);
  EXPECT_EQ(chart.GetPreClose(), 9000u);
  EXPECT_EQ(chart.Volumes()[10], static_cast<int32_t>(bars[10].volume));
}

}  // namespace
