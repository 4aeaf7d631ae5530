// The chart painter: the one conversion to pixels, and the device-context
// painter's pixels and the device context it hands back. The pictures and
// the charts' tables rely on these when their primitives are recorded in
// tests rather than drawn.
#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <limits>

#include "platform_gui/gui_app.h"
#include "zeb/painter/chart_painter.h"

namespace {

TEST(ChartPainter, ToPixelTruncatesAndStaysFarFromTheMissingRowMark) {
  EXPECT_EQ(ToPixel(std::nan("")), 0);
  EXPECT_EQ(ToPixel(std::numeric_limits<double>::infinity()), 1000000000);
  EXPECT_EQ(ToPixel(-std::numeric_limits<double>::infinity()), -1000000000);
  EXPECT_EQ(ToPixel(-2.7), -2);
}

class DCPainterTest : public ::testing::Test {
 protected:
  static constexpr COLORREF kBack = RGB(0, 0, 0);
  DCPainterTest() : image(40, 30, QImage::Format_RGB32) {
    gdi_test::EnsureGuiApp();
    image.fill(Qt::black);
    dc.Attach(&image);
  }
  COLORREF At(int x, int y) const { return dc.GetPixel(x, y); }

  QImage image;
  CDC dc;
};

// A hollow rectangle outlines its box's outer pixels and leaves the inside
// as it was; a fill covers the box up to, not including, its right and
// bottom; a line leaves out its end point.
TEST_F(DCPainterTest, OutlineFillAndLineCoverTheirPixelsOnly) {
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  {
    CDCPainter painter(&dc);
    painter.Rect(RECT{2, 2, 12, 10}, SPenSpec{PS_SOLID, 1, red}, kHollow);
    painter.Fill(RECT{20, 2, 25, 6}, green);
    painter.Line(2, 20, 10, 20, SPenSpec{PS_SOLID, 1, blue});
  }
  EXPECT_EQ(At(2, 2), red);
  EXPECT_EQ(At(11, 9), red);
  EXPECT_EQ(At(6, 2), red);
  EXPECT_EQ(At(2, 6), red);
  EXPECT_EQ(At(6, 6), kBack);  // hollow
  EXPECT_EQ(At(12, 10), kBack);
  EXPECT_EQ(At(20, 2), green);
  EXPECT_EQ(At(24, 5), green);
  EXPECT_EQ(At(25, 5), kBack);
  EXPECT_EQ(At(24, 6), kBack);
  EXPECT_EQ(At(2, 20), blue);
  EXPECT_EQ(At(9, 20), blue);
  EXPECT_EQ(At(10, 20), kBack);
}

// Whatever a paint selects, the device context comes back as it was given:
// the next drawer's pen, font, colours and modes are its own.
TEST_F(DCPainterTest, TheDeviceContextComesBackAsItWasGiven) {
  CPen pen(PS_SOLID, 1, RGB(1, 2, 3));
  CFont font;
  font.CreatePointFont(90, "Sans");
  dc.SelectObject(&pen);
  dc.SelectObject(&font);
  dc.SetTextColor(RGB(4, 5, 6));
  dc.SetBkMode(OPAQUE);
  {
    CDCPainter painter(&dc);
    painter.Rect(RECT{2, 2, 12, 10}, SPenSpec{PS_SOLID, 2, RGB(255, 0, 0)}, RGB(0, 0, 255));
    painter.Text("A", RECT{0, 0, 40, 30}, DT_LEFT, RGB(255, 255, 255), nullptr);
    painter.SetInvert(true);
    painter.Line(0, 0, 10, 10, SPenSpec{PS_DOT, 1, RGB(0, 255, 0)});
  }
  EXPECT_EQ(dc.GetCurrentPen(), &pen);
  EXPECT_EQ(dc.GetCurrentFont(), &font);
  EXPECT_EQ(dc.GetTextColor(), RGB(4, 5, 6));
  EXPECT_EQ(dc.GetBkMode(), OPAQUE);
  EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
}

}  // namespace
