// The chart view's tables fed with packets built from their layouts: the
// board's missing levels, the deal and tick rows, the distribution's levels
// and bars, the big orders' rows and request, the valuation row and the
// interval statistics' units.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "chart_packet_bytes.h"
#include "support/recording_painter.h"
#include "tables_test_support.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/tables/bigorder/large_vol_table.h"
#include "zeb/tables/chartinfo/chart_info_tables.h"
#include "zeb/tables/deals/deal_table.h"
#include "zeb/tables/deals/price_table.h"
#include "zeb/tables/panel/stat_table.h"
#include "zeb/tables/panel/title_rows.h"
#include "zeb/tables/panel/trace_table.h"

using namespace tables_test;
using test_support::RecordingPainter;
using test_support::SDrawn;

namespace {

constexpr uint16_t kMarket = 4114;
constexpr uint16_t kIndexMarket = 4113;
constexpr uint16_t kCoinMarket = 4116;  // kind 4: price-to-book and turnover

class ChartTablesTest : public TablesTest {
 protected:
  ChartTablesTest() {
    sim::MarketTableItem a = Item(602001, "A", 12340, 100, 50000);
    a.valuePerShare = 0;
    a.limitUp = 13570;
    a.limitDown = 11110;
    sim::MarketTableItem b = Item(602002, "B", 10000, 100, 0);
    b.valuePerShare = 5000;
    sim::MarketTableItem c = Item(100001, "C", 12340, 100, 50000);
    LoadMarket(
        {{kIndexMarket, {Item(399001, "IDX", 2000000)}}, {kMarket, {a, b}}, {kCoinMarket, {c}}});
    item = *store.FindStock(&kA);
    index = *store.FindStock(&kIndex);
  }
  std::string Cell(const CBaseTable& t, int row, int col) const { return t.GetCellText(row, col); }
  static std::string DealText(const CDealTable& t, int deal, int col) {
    return t.DealCell(deal, col).text;
  }
  template <class Table>
  void Feed(Table& table, const std::string& body) {
    table.UpdateData(body.data(), static_cast<int>(body.size()));
  }
  static TickBytes Tick(uint32_t last, uint32_t volume, int levels = 10) {
    TickBytes t;
    t.last = t.open = t.high = t.low = last;
    t.volume = volume;
    t.curVolume = 7;
    t.levels = TenLevels(last, last + 10);
    t.levels.resize(static_cast<size_t>(levels));
    return t;
  }

  const SCodeInfo kA{kMarket, 602001};
  const SCodeInfo kIndex{kIndexMarket, 399001};
  SStockInfo item;
  SStockInfo index;
};

TEST_F(ChartTablesTest, BoardShowsDashForLevelsTheRecordLacksAndIgnoresOtherItems) {
  CStatTable board(&store);
  board.InitColumns();
  board.SetRect(0, 0, 250, 18 * kBoardRows);
  board.SetStock(&item);
  EXPECT_EQ(board.FormatValue(1500000), "1500");
  EXPECT_EQ(board.FormatValue(12500), "12.50");
  EXPECT_EQ(board.FormatValue(0), "-");

  Feed(board, PushBody({Tick(12350, 100, 10)}));
  // 跌停 is the lower limit in the fall colour, 涨停 the upper in the rise colour.
  EXPECT_EQ(Cell(board, 18, 0), GBK("跌停"));
  EXPECT_EQ(Cell(board, 18, 1), board.FormatValue(item.limitDown));
  EXPECT_EQ(board.GetCellItem(18, 1)->textColor, Color(4));
  EXPECT_EQ(Cell(board, 18, 2), GBK("涨停"));
  EXPECT_EQ(Cell(board, 18, 3), board.FormatValue(item.limitUp));
  EXPECT_EQ(board.GetCellItem(18, 3)->textColor, Color(2));
  EXPECT_LT(+item.limitDown, +item.limitUp);  // packed fields: compared as values
  EXPECT_EQ(Cell(board, 4, 1), "12.36");      // best ask, entry 4
  EXPECT_EQ(Cell(board, 6, 1), "12.35");      // best bid, entry 5
  EXPECT_EQ(Cell(board, 5, 1), "12.35");

  // Three levels: the fourth and fifth ask rows and every bid row show "-".
  Feed(board, PushBody({Tick(12360, 200, 3)}));
  EXPECT_EQ(Cell(board, 2, 1), "12.39");  // fifth ask 12.41, fourth 12.40, third
  EXPECT_EQ(Cell(board, 3, 1), "-");
  EXPECT_EQ(Cell(board, 3, 3), "-");
  EXPECT_EQ(Cell(board, 6, 1), "-");
  EXPECT_EQ(Cell(board, 10, 3), "-");

  // Another item, or the same total volume again, changes nothing.
  TickBytes other = Tick(99990, 300);
  other.code = 602002;
  Feed(board, PushBody({other, Tick(11110, 200)}));
  EXPECT_EQ(Cell(board, 5, 1), "12.36");
  Feed(board, TraceBody(other, {}));  // a late time-share reply of another item
  EXPECT_EQ(Cell(board, 5, 1), "12.36");

  CStatTable indexBoard(&store);
  indexBoard.SetRect(0, 0, 250, 18 * kBoardRows);
  indexBoard.SetStock(&index);
  EXPECT_EQ(indexBoard.GetColumnCount(), 2);
  EXPECT_EQ(Cell(indexBoard, 5, 0), GBK("成交"));
  EXPECT_EQ(Cell(indexBoard, 5, 2), "");
}

TEST_F(ChartTablesTest, DistributionSumsByPriceInDescendingOrderAndDrawsEmptyLevels) {
  CPriceTable prices(&store);
  prices.SetRect(0, 0, 600, 400);
  prices.SetStock(&item);
  // One deal above the bid, one at it: one level with both.
  Feed(prices, DealListBody({{0, 12340, 5, 12330, 12340}, {1, 12340, 7, 12340, 12350}}));
  ASSERT_EQ(prices.Levels().size(), 1u);
  EXPECT_EQ(prices.Levels()[0].outer, 5u);
  EXPECT_EQ(prices.Levels()[0].inner, 7u);
  EXPECT_EQ(prices.UpdateData(DealListBody({{0, 1, 1, 0, 0}}, 2).data(), 46), 0);  // foreign tag

  Feed(prices, PushBody({Tick(12400, 50), Tick(12300, 60), Tick(12300, 60), Tick(12350, 70)}));
  std::vector<uint32_t> order;
  for (const SPriceVolItem& l : prices.Levels()) order.push_back(l.price);
  EXPECT_EQ(order, (std::vector<uint32_t>{12400, 12350, 12340, 12300}));
  EXPECT_EQ(prices.Levels()[3].inner, 7u);  // the repeated record added once

  // A level without volume and a day without any: drawn without a bar.
  CPriceTable empty(&store);
  empty.SetRect(0, 0, 600, 400);
  empty.SetStock(&item);
  empty.AddDeal(12340, 0, 12330);
  QImage image(600, 400, QImage::Format_RGB32);
  image.fill(Qt::black);
  CDC dc(&image);
  EXPECT_EQ(empty.Draw(&dc), 1);
  EXPECT_EQ(empty.ScrollBar().GetRange(), 0);
}

TEST_F(ChartTablesTest, DealRowsShowChangeAgainstThePreviousCloseAndMissingSides) {
  CDealTable deals(&store);
  deals.SetRect(0, 0, 610, 400);
  deals.SetStock(&item);
  Feed(deals, DealListBody({{0, 12340, 5, 12330, 12340}, {1, 12350, 6, 12340, 12350}}));
  ASSERT_EQ(deals.DealCount(), 2);
  EXPECT_EQ(DealText(deals, 0, 0), "09:30");
  EXPECT_EQ(DealText(deals, 0, 2), "0.00");
  EXPECT_EQ(deals.DealCell(0, 2).textColor, Color(3));
  EXPECT_EQ(DealText(deals, 1, 2), "+0.01");
  EXPECT_EQ(deals.DealCell(0, 5).textColor, Color(2));  // dealt at the ask

  Feed(deals, PushBody({Tick(12330, 100, 5)}));  // the asks only
  ASSERT_EQ(deals.DealCount(), 3);
  EXPECT_EQ(DealText(deals, 2, 2), "-0.01");
  EXPECT_EQ(DealText(deals, 2, 3), "-");
  EXPECT_EQ(DealText(deals, 2, 4), "12.34");
  Feed(deals, PushBody({Tick(12330, 100)}));  // unchanged total volume
  EXPECT_EQ(deals.DealCount(), 3);
  // The page paints the rows it made from the deals.
  QImage image(610, 400, QImage::Format_RGB32);
  CDC dc(&image);
  deals.Draw(&dc);
  ASSERT_EQ(deals.GetRowCount(), 3);
  EXPECT_EQ(Cell(deals, 2, 2), "-0.01");

  CDealTable indexDeals(&store);
  indexDeals.SetRect(0, 0, 610, 400);
  indexDeals.SetStock(&index);
  EXPECT_EQ(std::string(indexDeals.GetColumnHead(1)->name), GBK("指  数"));
  indexDeals.AddTick(600, 2000000, 1, 2, 3);
  EXPECT_EQ(DealText(indexDeals, 0, 3), "0");
}

// The deal page follows the newest deal only while the newest is in view:
// a reader of older deals keeps his page through pushes and through the deal
// list the view asks for again every few seconds. Ten data rows fit.
TEST_F(ChartTablesTest, DealPageKeepsTheReadersPlaceAndFollowsTheNewestOnlyInView) {
  const auto list = [](int n) {
    std::vector<DealBytes> day;
    for (int i = 0; i < n; ++i)
      day.push_back({static_cast<uint16_t>(i), 12340, 100u + i, 12330, 12340});
    return DealListBody(day);
  };
  enum Then {
    kList,
    kPush,
    kShorter
  };  // the list again with five more, a pushed deal, five rows less
  const struct {
    const char* name;
    std::vector<UINT> keys;  // before
    Then then;
    int top;  // the top deal after
  } cases[] = {
      {"newest in view, list again", {}, kList, 95},
      {"newest in view, push", {}, kPush, 91},
      {"newest in view, page made shorter", {}, kShorter, 95},
      {"a page up, list again", {table_keys::kPrior}, kList, 79},
      {"a page up, push", {table_keys::kPrior}, kPush, 79},
      {"a page up, page made shorter", {table_keys::kPrior}, kShorter, 79},
      {"read to the first deal, list again", std::vector<UINT>(10, table_keys::kPrior), kList, 0},
      {"a page up and back down, list again", {table_keys::kPrior, table_keys::kNext}, kList, 95},
      {"one row up, push", {table_keys::kUp}, kPush, 89},
  };
  QImage image(610, 18 * 11, QImage::Format_RGB32);
  CDC dc(&image);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CDealTable deals(&store);
    deals.SetRect(0, 0, 610 + kTableScrollWidth, 18 * 11);
    deals.SetStock(&item);
    Feed(deals, list(100));
    deals.Draw(&dc);
    ASSERT_EQ(deals.GetTopRow(), 90);
    for (UINT key : c.keys) deals.OnPageKey(key);
    if (c.then == kPush) Feed(deals, PushBody({Tick(12350, 5000)}));
    if (c.then == kList) Feed(deals, list(105));
    if (c.then == kShorter) deals.SetRect(0, 0, 610 + kTableScrollWidth, 18 * 6);
    deals.Draw(&dc);
    EXPECT_EQ(deals.GetTopRow(), c.top);
    EXPECT_EQ(Cell(deals, 0, 0), DealText(deals, c.top, 0));
  }
}

// A server pushing without pause: both tables keep the newest deals up to
// their bound and drop the oldest; another item takes the memory back.
TEST_F(ChartTablesTest, DealAndTickTablesKeepTheNewestUpToTheirBound) {
  CDealTable deals(&store);
  deals.SetRect(0, 0, 610, 400);
  deals.SetStock(&item);
  CTraceTable ticks(&store);
  ticks.SetRect(0, 0, 250, 240);
  ticks.SetStock(&item);
  const size_t flood = kMaxDayDeals + 1500;
  const int perBody = 500;
  uint32_t volume = 0;
  for (size_t sent = 0; sent < flood; sent += perBody) {
    std::vector<TickBytes> records;
    for (int i = 0; i < perBody; ++i) {
      TickBytes t = Tick(12340, ++volume);
      t.curVolume = volume;
      records.push_back(t);
    }
    const std::string body = PushBody(records);
    Feed(deals, body);
    Feed(ticks, body);
  }
  const struct {
    const char* name;
    std::function<size_t()> count;
    std::function<std::string()> oldest, newest;  // their volumes
    std::function<void()> nextItem;
  } cases[] = {
      {"deal details", [&] { return static_cast<size_t>(deals.DealCount()); },
       [&] { return DealText(deals, 0, 5); },
       [&] { return DealText(deals, deals.DealCount() - 1, 5); }, [&] { deals.SetStock(&index); }},
      {"ticks", [&] { return ticks.Ticks().size(); },
       [&] { return std::to_string(ticks.Ticks().front().volume); },
       [&] { return std::to_string(ticks.Ticks().back().volume); },
       [&] { ticks.SetStock(&index); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.count(), kMaxDayDeals);
    EXPECT_EQ(c.oldest(), std::to_string(flood - kMaxDayDeals + 1));
    EXPECT_EQ(c.newest(), std::to_string(flood));
    c.nextItem();
    EXPECT_EQ(c.count(), 0u);
  }
}

TEST_F(ChartTablesTest, TickTableShowsTheNewestThatFit) {
  CTraceTable ticks(&store);
  ticks.InitColumns();
  ticks.SetRect(0, 0, 250, 16 * 15);
  ticks.SetStock(&item);
  std::vector<DealBytes> day;
  for (int i = 0; i < 200; ++i)
    day.push_back({static_cast<uint16_t>(i % 120), 12000u + 10u * i, 1u + i, 0, 0});
  Feed(ticks, TraceBody(Tick(12340, 1000), day));
  QImage image(250, 240, QImage::Format_RGB32);
  CDC dc(&image);
  ticks.Draw(&dc);
  ASSERT_EQ(ticks.GetRowCount(), 15);
  EXPECT_EQ(Cell(ticks, 0, 2), "186");   // tick 185
  EXPECT_EQ(Cell(ticks, 14, 2), "200");  // tick 199 at the bottom
  // An index item's large volumes in 万.
  CTraceTable indexTicks(&store);
  indexTicks.SetRect(0, 0, 250, 160);
  indexTicks.SetStock(&index);
  TickBytes quote = Tick(2000000, 1);
  quote.market = kIndexMarket;
  quote.code = 399001;
  Feed(indexTicks, TraceBody(quote, {{0, 2000000, 123456, 0, 0}}));
  indexTicks.Draw(&dc);
  EXPECT_EQ(Cell(indexTicks, 0, 2), GBK("12万"));
  // A late time-share reply of another item leaves the ticks alone.
  Feed(ticks, TraceBody(quote, {{0, 2000000, 123456, 0, 0}}));
  EXPECT_EQ(ticks.Ticks().size(), 200u);
}

TEST_F(ChartTablesTest, BigOrdersSkipUnknownCodesAndKeepRowsWithTheirCodes) {
  SBigOrderHooks hooks;
  hooks.threshold = [] { return 400; };
  CLargeVolTable orders(&store, &hooks);
  orders.SetRect(0, 22, 250, 300);
  orders.InitColumns();
  orders.SetStock(&item);
  SStockInfo sameMarket = item;
  sameMarket.code = 602002;
  orders.SetStock(&sameMarket);
  EXPECT_EQ(orders.Stock(), &item);  // the list follows the market
  orders.SetStock(&index);
  EXPECT_EQ(orders.Stock(), &index);
  orders.SetStock(&item);
  orders.Request();
  ASSERT_FALSE(frame.requests.empty());
  const std::string& request = frame.requests.back().bytes;
  ASSERT_EQ(request.size(), 18u);
  EXPECT_EQ(frame.requests.back().type, 0x1C00);
  EXPECT_EQ(frame.requests.back().market, kMarket);
  EXPECT_EQ(request.substr(14), std::string("\x90\x01\x00\x00", 4));  // 400

  EXPECT_EQ(orders.UpdateData(BigOrderBody(0x1C00, {}, 0).data(), 10), 0);
  Feed(orders,
       BigOrderBody(0x1C00, {{0, kMarket, 999999, 1, 500}, {5, kMarket, 602002, 10100, 600}}));
  ASSERT_EQ(orders.GetRowCount(), 1);
  EXPECT_EQ(Cell(orders, 0, 1), "B");
  EXPECT_EQ(Cell(orders, 0, 0), "09:35");
  ASSERT_EQ(orders.RowCodes().size(), 1u);
  EXPECT_EQ(+orders.RowCodes()[0].code, 602002);

  // Pushed additions go on top of the list, the newest first; a new list
  // replaces the rows.
  Feed(orders,
       BigOrderBody(0x1D00, {{9, kMarket, 602001, 12400, 700}, {7, kMarket, 602002, 10200, 800}}));
  ASSERT_EQ(orders.GetRowCount(), 3);
  EXPECT_EQ(Cell(orders, 0, 0), "09:39");
  EXPECT_EQ(Cell(orders, 1, 0), "09:37");
  EXPECT_EQ(Cell(orders, 2, 0), "09:35");
  EXPECT_EQ(+orders.RowCodes()[0].code, 602001);
  EXPECT_EQ(+orders.RowCodes()[2].code, 602002);
  // Up and Down scroll the rows shown, within the list.
  std::vector<BigBytes> many;
  for (int i = 0; i < 40; ++i)
    many.push_back({static_cast<uint16_t>(100 - i), kMarket, 602001, 12400, 700});
  Feed(orders, BigOrderBody(0x1C00, many));
  ASSERT_EQ(orders.GetRowCount(), 40);
  const int page = orders.GetRowsPerPage();
  ASSERT_LT(page, 40);
  EXPECT_EQ(orders.OnKey(table_keys::kUp), 1);
  EXPECT_EQ(orders.GetTopRow(), 0);
  EXPECT_EQ(orders.OnKey(table_keys::kDown), 1);
  EXPECT_EQ(orders.GetTopRow(), 1);
  EXPECT_EQ(orders.OnKey(table_keys::kNext), 1);
  EXPECT_EQ(orders.GetTopRow(), 1 + page);
  for (int i = 0; i < 40; ++i) orders.OnKey(table_keys::kDown);
  EXPECT_EQ(orders.GetTopRow(), 40 - page);
  EXPECT_EQ(orders.OnKey(table_keys::kReturn), 0);
}

TEST_F(ChartTablesTest, ValuationRowAndTitle) {
  const SCodeInfo coinKey{kCoinMarket, 100001};
  const SStockInfo coin = *store.FindStock(&coinKey);
  CValueTable values(&store);
  values.InitColumns();
  values.SetRect(0, 0, 250, 100);
  values.SetStock(&item);
  EXPECT_EQ(Cell(values, 0, 0), GBK("应计息"));
  values.SetStock(&coin);
  EXPECT_EQ(Cell(values, 0, 0), GBK("市净"));
  TickBytes quote = Tick(12340, 1000);
  quote.market = kCoinMarket;
  quote.code = 100001;
  Feed(values, PushBody({quote}));
  EXPECT_EQ(Cell(values, 0, 1), "0.00");           // no per-share value
  EXPECT_EQ(Cell(values, 0, 3), "2.00%");          // 1000 of 50000
  Feed(values, TraceBody(Tick(12340, 5000), {}));  // another item's late reply
  EXPECT_EQ(Cell(values, 0, 3), "2.00%");
  CTitleTable title(&store);
  title.SetStock(&item);
  EXPECT_EQ(+title.Stock().code, 602001);
}

// The K-line cursor box: the bar's rows, then the value at the cursor's
// height ("-" without one); all 16 rows fit the box's height.
TEST_F(ChartTablesTest, TheKLineCursorBoxEndsWithTheValueAtTheCursor) {
  CInfoTable box;
  box.SetStock(&item);
  box.SetMode(1);
  box.SetRect(0, 16, 66, 308);
  box.InitColumns();
  const SHistoryUnit bar{20260105, 12.0f, 12.5f, 11.9f, 12.4f, 1000, 100};
  SInfoCursor cursor;
  cursor.bar = &bar;
  cursor.value = "12.34";
  box.UpdateData(&cursor, static_cast<int>(sizeof cursor));
  ASSERT_EQ(box.GetRowCount(), 16);
  EXPECT_EQ(Cell(box, 13, 0), "-");  // no reference
  EXPECT_EQ(Cell(box, 14, 0), GBK("数    值"));
  EXPECT_EQ(Cell(box, 15, 0), "12.34");
  EXPECT_LE(16 * box.GetRowHeight(), box.GetRect().bottom - box.GetRect().top);
  cursor.value.clear();
  box.UpdateData(&cursor, static_cast<int>(sizeof cursor));
  EXPECT_EQ(Cell(box, 15, 0), "-");
}

// The charts' tables draw as the charts they lie over: the background
// first, the frame in the scheme's frame colour round the whole last.
void ExpectBackgroundFirstAndFrameLast(const RecordingPainter& p, const CBaseTable& table) {
  ASSERT_GE(p.drawn.size(), 2u);
  const SDrawn& back = p.drawn.front();
  EXPECT_EQ(back.kind, SDrawn::Kind::kFill);
  EXPECT_TRUE(EqualRect(back.rect, table.GetRect()));
  EXPECT_EQ(back.fill, table.GetBkColor());
  const SDrawn& frame = p.drawn.back();
  EXPECT_EQ(frame.kind, SDrawn::Kind::kRect);
  EXPECT_TRUE(EqualRect(frame.rect, table.GetRect()));
  EXPECT_EQ(frame.pen, (SPenSpec{PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(3)}));
  EXPECT_EQ(frame.fill, kHollow);
}

constexpr UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

// The interval statistics: every cell's text right-aligned 2 pixels inside
// its cell, in the table's colour and font, row by row, and a right and
// bottom line round every cell, the empty ones too.
TEST_F(ChartTablesTest, IntervalStatisticsDrawEachCellInItsPlaceThroughThePainter) {
  CDistractStatTable table;
  table.SetStock(&item);
  table.InitColumns();
  table.SetRect(10, 20, 410, 20 + 7 * 18);
  const SHistoryUnit bars[] = {{20260105, 12.0f, 12.5f, 11.9f, 12.4f, 1000, 1240000},
                               {20260106, 12.4f, 12.9f, 12.3f, 12.8f, 2000, 2560000}};
  SHistoryInterval interval{2, bars};
  ASSERT_EQ(table.UpdateData(&interval, static_cast<int>(sizeof interval)), 1);
  RecordingPainter p;
  table.Paint(p);
  ExpectBackgroundFirstAndFrameLast(p, table);
  EXPECT_EQ(p.drawn.front().fill, Color(19));

  const int lefts[] = {10, 80, 170, 250, 320, 410};
  std::vector<SDrawn> texts = p.Of(SDrawn::Kind::kText);
  size_t next = 0;
  for (int row = 0; row < 7; ++row)
    for (int col = 0; col < 5; ++col) {
      const std::string text = table.GetCellText(row, col);
      if (text.empty()) continue;
      ASSERT_LT(next, texts.size());
      const SDrawn& t = texts[next++];
      EXPECT_EQ(t.text, text) << row << "," << col;
      const RECT box{lefts[col] + 2, 20 + 18 * row, lefts[col + 1] - 2, 38 + 18 * row};
      EXPECT_TRUE(EqualRect(t.rect, box)) << row << "," << col;
      EXPECT_EQ(t.fill, Color(25)) << row << "," << col;
      EXPECT_EQ(t.format, kCellText | DT_RIGHT) << row << "," << col;
      EXPECT_EQ(t.font, CSysStyle::GetInstance()->GetFont(1)) << row << "," << col;
    }
  EXPECT_EQ(next, texts.size());
  EXPECT_EQ(texts.size(), 32u);  // the dates of rows 4 to 6 are empty
  EXPECT_EQ(texts[0].text, GBK("起    始"));
  EXPECT_EQ(texts[1].text, "12.00");
  EXPECT_EQ(texts[2].text, "20260105");

  const std::vector<SDrawn> lines = p.Of(SDrawn::Kind::kPolyline);
  ASSERT_EQ(lines.size(), 35u);
  for (const SDrawn& line : lines) EXPECT_EQ(line.pen, (SPenSpec{PS_SOLID, 1, Color(22)}));
  const std::vector<POINT> first = {{79, 20}, {79, 37}, {9, 37}};
  const std::vector<POINT> last = {{409, 128}, {409, 145}, {319, 145}};
  const auto same = [](const std::vector<POINT>& a, const std::vector<POINT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](POINT x, POINT y) { return x.x == y.x && x.y == y.y; });
  };
  EXPECT_TRUE(same(lines.front().points, first));
  EXPECT_TRUE(same(lines.back().points, last));
  EXPECT_TRUE(p.Of(SDrawn::Kind::kLine).empty());
}

// The time-share cursor box: labels left-aligned in the label colour,
// values right-aligned, prices in the colour of their side of the
// reference, one row under the other, and no grid lines.
TEST_F(ChartTablesTest, TheCursorBoxDrawsLabelsLeftAndValuesRightInTheirColours) {
  CInfoTable box;
  box.SetStock(&item);
  box.SetRect(100, 50, 166, 50 + 10 * 18);
  box.SetMode(0);
  const SMinuteUnit minute{573, 12.5f, 300, 12.2f};
  box.ShowMinute(minute, 12.34);
  RecordingPainter p;
  box.Paint(p);
  ExpectBackgroundFirstAndFrameLast(p, box);
  SPriceColors colors;
  colors.Load();
  const struct {
    std::string text;
    COLORREF color;
  } expected[] = {{GBK("时    间"), colors.label}, {"09:33", colors.level},
                  {GBK("成    交"), colors.label}, {"12.50", colors.up},
                  {GBK("涨    跌"), colors.label}, {"0.16", colors.up},
                  {GBK("均    价"), colors.label}, {"12.20", colors.down},
                  {GBK("成 交 量"), colors.label}, {box.GetCellText(9, 0), colors.volume}};
  const std::vector<SDrawn> texts = p.Of(SDrawn::Kind::kText);
  ASSERT_EQ(texts.size(), std::size(expected));
  for (size_t row = 0; row < texts.size(); ++row) {
    const SDrawn& t = texts[row];
    EXPECT_EQ(t.text, expected[row].text) << row;
    EXPECT_EQ(t.fill, expected[row].color) << row;
    EXPECT_EQ(t.format, kCellText | (row % 2 ? DT_RIGHT : DT_LEFT)) << row;
    const int top = 50 + 18 * static_cast<int>(row);
    const RECT place{102, top, 164, top + 18};
    EXPECT_TRUE(EqualRect(t.rect, place)) << row;
  }
  EXPECT_NE(colors.up, colors.down);
  EXPECT_TRUE(p.Of(SDrawn::Kind::kLine).empty());
  EXPECT_TRUE(p.Of(SDrawn::Kind::kPolyline).empty());
}

TEST(IntervalFigures, UnitsAndTheRangeOfTheFirstPeriod) {
  EXPECT_EQ(IntervalVolumeText(100000000), GBK("10000.00万手"));
  EXPECT_EQ(IntervalVolumeText(100000001), GBK("1.00亿手"));
  // Amounts in hundredths of the currency unit.
  EXPECT_EQ(IntervalAmountText(1234567800), GBK("1234.57万"));
  EXPECT_EQ(IntervalAmountText(int64_t(25) * 1000000000), GBK("2.50亿"));
  // Prices far above 10000 and a single period.
  const SHistoryUnit bars[] = {{20260101, 20000, 21000, 19000, 20500, 100, 5000},
                               {20260102, 20500, 20800, 18500, 20000, 300, 7000}};
  SIntervalFigures f = ComputeInterval({2, bars}, 0);
  EXPECT_DOUBLE_EQ(f.lowest, 18500);
  EXPECT_EQ(f.lowDate, 20260102);
  EXPECT_DOUBLE_EQ(f.highest, 21000);
  EXPECT_EQ(f.highDate, 20260101);
  f = ComputeInterval({1, bars}, 0);
  EXPECT_EQ(f.startDate, f.endDate);
  EXPECT_DOUBLE_EQ(f.change, 500);
  // Highs below 1 still have a highest and its date.
  const SHistoryUnit cheap[] = {{20260101, 0.5f, 0.6f, 0.4f, 0.5f, 1, 1}};
  f = ComputeInterval({1, cheap}, 0);
  EXPECT_FLOAT_EQ(static_cast<float>(f.highest), 0.6f);
  EXPECT_EQ(f.highDate, 20260101);
}

}  // namespace
