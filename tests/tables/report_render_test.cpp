// The quote list and its statistics strip drawn offscreen through a CDC
// into an image: colours checked at points computed from the layout
// (backgrounds, the selected band, grid lines, the rise and fall colours
// of the figures), never glyph shapes.
#include <gtest/gtest.h>

#include <QImage>

#include "report_test_support.h"
#include "zeb/tables/report/stat_info.h"

using namespace tables_test;

namespace {

constexpr int kRow = 24;

// A reply as the quote list view hands it to the strip: decoded once.
int Feed(CStatInfo* strip, const std::string& body, int listed) {
  SPacketHead head;
  if (!ReadPacketHead(body.data(), body.size(), &head)) return 0;
  SQuotePacket quotes;
  const bool read = ReadQuotePacket(body.data(), body.size(), &quotes);
  return strip->Update(head, read ? &quotes : nullptr, listed);
}

class ReportRenderTest : public ReportTest {
 protected:
  ReportRenderTest() : image(1800, kPageHeight, QImage::Format_ARGB32_Premultiplied) {
    image.fill(Qt::magenta);
    dc.Attach(&image);
  }
  COLORREF Pixel(int x, int y) const { return dc.GetPixel(x, y); }
  // Pixels of exactly the colour inside the rectangle.
  int Count(COLORREF color, int left, int top, int right, int bottom) const {
    int n = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) n += Pixel(x, y) == color;
    return n;
  }
  // The text area of a cell: inside its borders.
  int CountInCell(COLORREF color, int position, int row) const {
    const int left = ColumnLeft(position);
    const int top = kRow * (row + 1);
    return Count(color, left + 2, top + 1,
                 left + table.GetColumnWidth(table.GetColumnOrder()[position]) - 2, top + kRow - 1);
  }

  QImage image;
  CDC dc;
};

TEST_F(ReportRenderTest, RowsShowRiseAndFallColoursAtTheirCells) {
  LoadSeries(kMarket, 100000, 2);
  store.GetSelectedStocks() = {{kMarket, 100000}, {kMarket, 100001}};
  Init(1800, kPageHeight);
  table.LoadItems(kFavouritesList, "");
  Reply({Quote(kMarket, 100000, 11000), Quote(kMarket, 100001, 9000)});
  ASSERT_EQ(table.GetRowCount(), 2);
  table.SetSelRow(1);
  ASSERT_EQ(table.Draw(&dc), 1);

  const COLORREF rise = Color(2), fall = Color(4), back = Color(19), sel = Color(35),
                 line = Color(6);
  const int lastPosition = 8;  // 最新
  // Row 0 rises, row 1 falls, in the last price and its change.
  EXPECT_GT(CountInCell(rise, lastPosition, 0), 0);
  EXPECT_EQ(CountInCell(fall, lastPosition, 0), 0);
  EXPECT_GT(CountInCell(fall, lastPosition, 1), 0);
  EXPECT_EQ(CountInCell(rise, lastPosition, 1), 0);
  EXPECT_GT(CountInCell(fall, 9, 1), 0);  // 涨跌

  // The selected row (1) is a band of the selection colour; row 0 is not.
  const int emptyX = ColumnLeft(4) + 4;  // left margin of a centred figure
  EXPECT_EQ(Pixel(emptyX, 2 * kRow + kRow / 2), sel);
  EXPECT_EQ(Pixel(emptyX, kRow + kRow / 2), back);
  // Below the rows the background; every cell has a bottom line.
  EXPECT_EQ(Pixel(emptyX, 4 * kRow + kRow / 2), back);
  EXPECT_EQ(Pixel(emptyX, 2 * kRow - 1), line);
  // The header ends with a white line across.
  EXPECT_EQ(Pixel(5, kRow - 1), RGB(255, 255, 255));
  EXPECT_EQ(Pixel(1799, kRow - 1), RGB(255, 255, 255));

  // A sort shows its mark in the head of the sort column.
  table.SortBy(4);
  table.Draw(&dc);
  const int markLeft = ColumnLeft(lastPosition);
  EXPECT_GT(Count(Color(34), markLeft, 0, markLeft + 70, kRow - 1), 0);
  EXPECT_EQ(Count(Color(34), 0, 0, markLeft, kRow - 1), 0);
}

TEST_F(ReportRenderTest, StatisticsStripSumsRepliesAndDraws) {
  LoadMarket({{kMarket,
               {Item(200001, "a", 10000, 0, 0, 300), Item(200002, "b", 10000, 0, 0, 500),
                Item(100500, "skip", 10000, 0, 0, 7000)}}});
  CStatInfo strip(&store);
  strip.Init();
  auto figures = [&] {
    std::vector<std::string> values;
    for (const auto& f : strip.GetFigures()) values.push_back(f.second);
    return values;
  };
  const std::string none = GBK("——");
  EXPECT_EQ(figures(), (std::vector<std::string>{none, none, none}));
  EXPECT_EQ(strip.GetFigures()[0].first, GBK("成交总量"));

  SQuoteUnit a = Quote(kMarket, 200001, 10000, 1000), b = Quote(kMarket, 200002, 10000, 2000);
  a.amount = 1234567;
  b.amount = 1000;
  SQuoteUnit skipped = Quote(kMarket, 100500, 10000, 99999);  // code / 1000 = 100: not summed
  SQuoteUnit unknown = Quote(kMarket, 999999, 10000, 5);      // no inventory to add
  unknown.amount = 0;
  const std::string reply = QuoteListBody(PKT_REPORT, 1, {a, b, skipped, unknown});
  EXPECT_EQ(Feed(&strip, reply, 1), 1);
  EXPECT_EQ(figures(), (std::vector<std::string>{"3005", "800", "1235.57"}));

  // Another request's reply, a truncated one and one without records change nothing.
  const std::string foreign = QuoteListBody(PKT_REPORT, 2, {a});
  EXPECT_EQ(Feed(&strip, foreign, 1), 0);
  EXPECT_EQ(Feed(&strip, reply.substr(0, reply.size() - 1), 1), 0);
  const std::string empty = QuoteListBody(PKT_REPORT, 1, {});
  EXPECT_EQ(Feed(&strip, empty, 1), 0);
  const std::string push = QuoteListBody(PKT_REPORT_PUSH, 1, {a});
  EXPECT_EQ(Feed(&strip, push, 1), 1);
  EXPECT_EQ(figures(), (std::vector<std::string>{"3005", "800", "1235.57"}));
  // An empty list brings the dashes back.
  EXPECT_EQ(Feed(&strip, reply, 0x100), 1);
  EXPECT_EQ(figures(), (std::vector<std::string>{none, none, none}));

  EXPECT_EQ(strip.Draw(&dc), 0);  // no rectangle yet
  strip.SetRect(0, 100, 600, 120);
  EXPECT_EQ(strip.Draw(&dc), 1);
  EXPECT_EQ(Pixel(300, 100), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(2, 118), Color(19));
  EXPECT_EQ(Pixel(300, 99), RGB(255, 0, 255));  // nothing drawn outside
  EXPECT_GT(Count(RGB(0xFF, 0xF8, 0x50), 0, 101, 150, 120), 0);
}

}  // namespace
