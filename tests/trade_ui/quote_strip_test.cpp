// The quote strip's text layout: rows and cells, their colours against the
// reference price, and the prices a click picks.
#include "trade/ui/rules/quote_strip.h"

#include <gtest/gtest.h>

#include "platform/gbk.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kRed = RGB(255, 0, 0), kGreen = RGB(0, 128, 0),
                   kBlack = RGB(0, 0, 0);

TEST(QuoteStrip, PriceColoursAgainstTheReference) {
  struct Case {
    const char* cell;
    float reference;
    COLORREF colour;
  } cases[] = {
      {"10.50", 10.0f, kRed},         {"10.00", 10.0f, kBlue}, {"9.99", 10.0f, kGreen},
      {"10.00    500", 10.0f, kBlue}, {"123", 0.0f, kBlue},    {"", 10.0f, kGreen},
      {"10.0001", 10.0f, kRed},       {"abc", 0.0f, kBlue},
  };
  for (const Case& c : cases) EXPECT_EQ(StripPriceColour(c.cell, c.reference), c.colour) << c.cell;
}

TEST(QuoteStrip, FiveLevelsLayOutInRowsWithThePriceCellColoured) {
  const std::string text = GBK("卖①  @10.50    100~买①  @9.99    200\n");
  const SStripLayout layout = LayoutQuoteStrip(text, kStripFiveLevels, 200, 10.0f, true);
  ASSERT_EQ(layout.cells.size(), 4u);
  EXPECT_EQ(layout.cells[0].text, GBK("卖①  "));
  EXPECT_EQ(layout.cells[0].colour, kBlack);
  EXPECT_EQ(layout.cells[1].text, "10.50    100");
  EXPECT_EQ(layout.cells[1].colour, kRed);
  EXPECT_EQ(layout.cells[1].x, 7 * 6);  // after six bytes
  EXPECT_EQ(layout.cells[1].y, 1);
  EXPECT_EQ(layout.cells[3].colour, kGreen);
  EXPECT_EQ(layout.cells[3].y, 17);  // the second group's row
  ASSERT_EQ(layout.hits.size(), 2u);
  EXPECT_DOUBLE_EQ(layout.hits[0].price, 10.5);
  // A click picks the first hit cell under it, when a callback is set and
  // the text is long enough.
  double price = 0;
  const RECT r = layout.hits[1].rect;
  EXPECT_TRUE(StripClickPrice(layout, text, r.left, r.top, &price));
  EXPECT_DOUBLE_EQ(price, 9.99);
  EXPECT_FALSE(StripClickPrice(layout, "0123456789", r.left, r.top, &price));
  EXPECT_FALSE(StripClickPrice(layout, text, 0, 0, &price));
  EXPECT_TRUE(LayoutQuoteStrip(text, kStripFiveLevels, 200, 10.0f, false).hits.empty());
}

TEST(QuoteStrip, TemplatesCellsAndLinesAsTheTextSays) {
  // A text without a line end draws nothing.
  EXPECT_TRUE(LayoutQuoteStrip("abc@def~ghi", kStripFiveLevels, 100, 0, true).cells.empty());
  // Each template row is a label and an empty price cell.
  const SStripLayout five =
      LayoutQuoteStrip(QuoteStripText("", kStripFiveLevels), kStripFiveLevels, 200, 0, false);
  ASSERT_EQ(five.cells.size(), 20u);
  EXPECT_EQ(five.cells[19].y, 1 + 16 * 9 + 10);  // ten rows, a gap after the first line
  // Mode 1 puts a third cell right-aligned at the right edge.
  const SStripLayout three = LayoutQuoteStrip("a1@b2@c3\n", kStripFiveLevels, 300, 0, false);
  ASSERT_EQ(three.cells.size(), 3u);
  EXPECT_TRUE(three.cells[2].rightAligned);
  EXPECT_EQ(three.cells[2].x, 298);
  // Summary: only the first row's price cell is coloured and recorded.
  const SStripLayout summary = LayoutQuoteStrip(GBK("现价@  10.00@    最高@  10.50~涨跌@  0.50\n"),
                                                kStripSummary, 200, 9.0f, true);
  ASSERT_EQ(summary.cells.size(), 6u);
  EXPECT_EQ(summary.cells[1].colour, kRed);
  EXPECT_EQ(summary.cells[5].colour, kBlack);
  EXPECT_EQ(summary.hits.size(), 1u);
  // Texts beyond the strip's buffer are cut on a character boundary.
  const std::string longText(6000, 'x');
  EXPECT_EQ(QuoteStripText(longText, kStripPlain).size(), kQuoteStripCapacity);
  EXPECT_EQ(QuoteStripText("", kStripPlain), "");
}

}  // namespace
