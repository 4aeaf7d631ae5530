// Buffered drawing and the selectors, rendered into a QImage.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "sharecode/buffer_dc.h"
#include "sharecode/gdi_selectors.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

class DrawingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      static int argc = 1;
      static char arg0[] = "test_sharecode";
      static char* argv[] = {arg0, nullptr};
      new QGuiApplication(argc, argv);
    }
  }
  void SetUp() override {
    image_ = QImage(40, 30, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::white);
    dc_.Attach(&image_);
  }
  QImage image_;
  CDC dc_;
};

TEST_F(DrawingTest, BufferCopiesItsRectangleToTheTargetOnDestruction) {
  RECT r{10, 5, 30, 20};
  {
    CBufferDC buffer(&dc_, &r);
    RECT all{0, 0, 40, 30};
    buffer.FillSolidRect(&all, kRed);
    EXPECT_EQ(buffer.GetPixel(10, 5), kRed);
    EXPECT_NE(buffer.GetPixel(9, 5), kRed);  // strips outside the rectangle are clipped
    EXPECT_NE(buffer.GetPixel(10, 4), kRed);
    EXPECT_EQ(dc_.GetPixel(15, 10), kWhite);  // nothing reaches the target yet
  }
  struct Probe {
    int x, y;
    COLORREF colour;
  };
  const Probe probes[] = {{10, 5, kRed},    {29, 19, kRed},   {9, 5, kWhite}, {10, 4, kWhite},
                          {30, 19, kWhite}, {29, 20, kWhite}, {0, 0, kWhite}};
  for (const Probe& p : probes) EXPECT_EQ(dc_.GetPixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

TEST_F(DrawingTest, BufferWithEmptyRectangleCoversTheClipBox) {
  dc_.IntersectClipRect(5, 6, 15, 16);
  RECT empty{};
  {
    CBufferDC buffer(&dc_, &empty);
    buffer.FillSolidRect(0, 0, 40, 30, kBlue);
  }
  EXPECT_EQ(dc_.GetPixel(5, 6), kBlue);
  EXPECT_EQ(dc_.GetPixel(14, 15), kBlue);
  EXPECT_EQ(dc_.GetPixel(15, 15), kWhite);
  EXPECT_EQ(dc_.GetPixel(4, 6), kWhite);
}

TEST_F(DrawingTest, PenAndHollowBrushSelectorsDrawOutlinesAndRestore) {
  CPen* stockPen = dc_.GetCurrentPen();
  CBrush* stockBrush = dc_.GetCurrentBrush();
  {
    CPenSelector pen(&dc_, kRed);
    CBrushSelector brush(&dc_, (COLORREF)-1);
    dc_.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(dc_.GetPixel(2, 2), kRed);
    EXPECT_EQ(dc_.GetPixel(11, 11), kRed);
    EXPECT_EQ(dc_.GetPixel(6, 6), kWhite);  // hollow: not filled

    pen.SetColor(kBlue);
    brush.SetColor(kRed);
    dc_.Rectangle(20, 2, 30, 12);
    EXPECT_EQ(dc_.GetPixel(20, 2), kBlue);
    EXPECT_EQ(dc_.GetPixel(25, 6), kRed);
  }
  EXPECT_EQ(dc_.GetCurrentPen(), stockPen);
  EXPECT_EQ(dc_.GetCurrentBrush(), stockBrush);
}

TEST_F(DrawingTest, FontSelectorRestoresFontAndColourAndKeepsTheStockFont) {
  CFont* before = dc_.GetCurrentFont();
  dc_.SetTextColor(kBlue);
  {
    CFontSelector font(&dc_, 0x100 | DEFAULT_GUI_FONT, kRed);
    EXPECT_EQ(dc_.GetCurrentFont(), GetStockFont(DEFAULT_GUI_FONT));
    EXPECT_EQ(dc_.GetTextColor(), kRed);
  }
  EXPECT_EQ(dc_.GetCurrentFont(), before);
  EXPECT_EQ(dc_.GetTextColor(), kBlue);
  EXPECT_FALSE(GetStockFont(DEFAULT_GUI_FONT)->IsEmptyObject());
  {
    CFontSelector font(&dc_, ANSI_VAR_FONT, CFontSelector::KEEP_TEXT_COLOR);
    EXPECT_EQ(dc_.GetTextColor(), kBlue);
    dc_.SetTextColor(kRed);  // changed by the caller, not by the selector
  }
  EXPECT_EQ(dc_.GetTextColor(), kRed);
}

}  // namespace
