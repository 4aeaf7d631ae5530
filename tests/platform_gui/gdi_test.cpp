// The painter keeps GDI's pixel rules: exclusive right/bottom edges, lines
// without their last point, clipping, memory DCs and copies between them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <climits>
#include <cstdio>
#include <unistd.h>

#include "gui_app.h"
#include "platform/gbk.h"
#include "platform/gdi.h"
#include "support/temp_folder.h"

namespace {

class GdiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gdi_test::EnsureGuiApp(); }
  void SetUp() override {
    image_ = QImage(40, 30, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::white);
    dc_.Attach(&image_);
  }
  int CountColour(COLORREF colour) const {
    int n = 0;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x)
        if (dc_.GetPixel(x, y) == colour) ++n;
    return n;
  }
  QImage image_;
  CDC dc_;
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
               kBlack = RGB(0, 0, 0);

TEST_F(GdiTest, FillSolidRectLeavesRightAndBottomEdgesOut) {
  RECT r{0, 0, 10, 10};
  dc_.FillSolidRect(&r, kRed);
  EXPECT_EQ(dc_.GetPixel(9, 9), kRed);
  EXPECT_EQ(dc_.GetPixel(10, 9), kWhite);
  EXPECT_EQ(dc_.GetPixel(9, 10), kWhite);
  EXPECT_EQ(CountColour(kRed), 100);
  EXPECT_EQ(dc_.GetBkColor(), kRed);  // MFC leaves the fill colour as background
  EXPECT_EQ(dc_.GetPixel(40, 0), CLR_INVALID);
}

TEST_F(GdiTest, RectangleOutlinesEdgePixelsAndFillsInside) {
  CPen pen(PS_SOLID, 1, kBlue);
  CBrush brush(kRed);
  CPen* oldPen = dc_.SelectObject(&pen);
  CBrush* oldBrush = dc_.SelectObject(&brush);
  EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
  EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
  dc_.Rectangle(2, 3, 12, 8);
  EXPECT_EQ(dc_.GetPixel(2, 3), kBlue);
  EXPECT_EQ(dc_.GetPixel(11, 7), kBlue);
  EXPECT_EQ(dc_.GetPixel(12, 7), kWhite);
  EXPECT_EQ(dc_.GetPixel(11, 8), kWhite);
  EXPECT_EQ(dc_.GetPixel(5, 5), kRed);
  EXPECT_EQ(CountColour(kBlue), 2 * 10 + 2 * 3);

  // A hollow brush leaves the inside alone.
  dc_.SelectStockObject(HOLLOW_BRUSH);
  dc_.Rectangle(20, 20, 30, 28);
  EXPECT_EQ(dc_.GetPixel(20, 20), kBlue);
  EXPECT_EQ(dc_.GetPixel(25, 24), kWhite);
  EXPECT_EQ(dc_.SelectObject(oldPen), &pen);
}

TEST_F(GdiTest, LinesLeaveOutTheirLastPoint) {
  dc_.MoveTo(0, 0);
  dc_.LineTo(10, 0);
  EXPECT_EQ(dc_.GetPixel(0, 0), kBlack);
  EXPECT_EQ(dc_.GetPixel(9, 0), kBlack);
  EXPECT_EQ(dc_.GetPixel(10, 0), kWhite);
  dc_.LineTo(10, 5);  // continues from the current position
  EXPECT_EQ(dc_.GetPixel(10, 0), kBlack);
  EXPECT_EQ(dc_.GetPixel(10, 4), kBlack);
  EXPECT_EQ(dc_.GetPixel(10, 5), kWhite);
  EXPECT_EQ(CountColour(kBlack), 15);
}

TEST_F(GdiTest, ClippingRestrictsDrawingAndReportsItsBox) {
  RECT box;
  EXPECT_EQ(dc_.GetClipBox(&box), SIMPLEREGION);
  EXPECT_TRUE(EqualRect(box, RECT{0, 0, 40, 30}));

  dc_.IntersectClipRect(5, 5, 20, 20);
  EXPECT_EQ(dc_.ExcludeClipRect(5, 5, 10, 20), SIMPLEREGION);
  dc_.GetClipBox(&box);
  EXPECT_TRUE(EqualRect(box, RECT{10, 5, 20, 20}));
  RECT all{0, 0, 40, 30};
  dc_.FillSolidRect(&all, kRed);
  EXPECT_EQ(CountColour(kRed), 10 * 15);
  EXPECT_EQ(dc_.GetPixel(10, 5), kRed);
  EXPECT_EQ(dc_.GetPixel(9, 5), kWhite);

  // Regions: a union of two squares is complex; NULL removes the clip.
  CRgn a, b, both;
  a.CreateRectRgn(0, 0, 2, 2);
  b.CreateRectRgn(30, 20, 32, 22);
  EXPECT_EQ(both.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(dc_.SelectClipRgn(&both), COMPLEXREGION);
  dc_.FillSolidRect(&all, kBlue);
  EXPECT_EQ(CountColour(kBlue), 8);
  EXPECT_EQ(dc_.SelectClipRgn(nullptr), SIMPLEREGION);
  dc_.GetClipBox(&box);
  EXPECT_TRUE(EqualRect(box, all));
}

TEST_F(GdiTest, SaveAndRestoreBringBackObjectsColoursAndClip) {
  int level = dc_.SaveDC();
  CPen pen(PS_SOLID, 1, kRed);
  dc_.SelectObject(&pen);
  dc_.SetTextColor(kBlue);
  dc_.IntersectClipRect(0, 0, 1, 1);
  ASSERT_TRUE(dc_.RestoreDC(level));
  EXPECT_EQ(dc_.GetCurrentPen(), GetStockObject(BLACK_PEN));
  EXPECT_EQ(dc_.GetTextColor(), kBlack);
  EXPECT_TRUE(dc_.PtVisible(30, 20));
  EXPECT_FALSE(dc_.RestoreDC(-1));
}

TEST_F(GdiTest, MemoryDcPaintsItsBitmapAndBitBltCopiesIt) {
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&dc_));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&dc_, 8, 6));
  CBitmap* previous = memory.SelectObject(&bitmap);
  ASSERT_NE(previous, nullptr);
  EXPECT_EQ(memory.GetPixel(7, 5), kBlack);  // a new bitmap is black
  memory.FillSolidRect(1, 1, 4, 3, kRed);
  ASSERT_TRUE(dc_.BitBlt(20, 10, 8, 6, &memory, 0, 0, SRCCOPY));
  EXPECT_EQ(dc_.GetPixel(21, 11), kRed);
  EXPECT_EQ(dc_.GetPixel(20, 10), kBlack);
  EXPECT_EQ(dc_.GetPixel(27, 15), kBlack);
  EXPECT_EQ(dc_.GetPixel(28, 15), kWhite);
  EXPECT_FALSE(dc_.BitBlt(0, 0, 8, 6, &memory, 0, 0, 0x00EE0086));  // only plain copies
  EXPECT_EQ(memory.SelectObject(previous), &bitmap);
}

// AlphaBlend mixes by each pixel's alpha (a transparent pixel leaves the
// target alone), scales by the constant alpha, and without AC_SRC_ALPHA
// treats the source as opaque.
TEST_F(GdiTest, AlphaBlendMixesBySourceAlpha) {
  QImage source(4, 1, QImage::Format_ARGB32);
  source.setPixel(0, 0, qRgba(255, 0, 0, 255));
  source.setPixel(1, 0, qRgba(255, 0, 0, 0));
  source.setPixel(2, 0, qRgba(0, 0, 255, 128));
  source.setPixel(3, 0, qRgba(0, 0, 255, 128));
  CDC src(&source);
  ASSERT_TRUE(dc_.AlphaBlend(10, 10, 4, 1, &src, 0, 0, 4, 1, BLENDFUNCTION{}));
  EXPECT_EQ(dc_.GetPixel(10, 10), kRed);
  EXPECT_EQ(dc_.GetPixel(11, 10), kWhite);
  const COLORREF half = dc_.GetPixel(12, 10);
  EXPECT_NEAR(GetRValue(half), 127, 2);
  EXPECT_EQ(GetBValue(half), 255);

  BLENDFUNCTION opaque;
  opaque.AlphaFormat = 0;
  ASSERT_TRUE(dc_.AlphaBlend(10, 12, 4, 1, &src, 0, 0, 4, 1, opaque));
  EXPECT_EQ(dc_.GetPixel(12, 12), kBlue);
  BLENDFUNCTION faint;
  faint.SourceConstantAlpha = 0;
  ASSERT_TRUE(dc_.AlphaBlend(10, 14, 4, 1, &src, 0, 0, 4, 1, faint));
  EXPECT_EQ(dc_.GetPixel(10, 14), kWhite);
  BLENDFUNCTION unknown;
  unknown.BlendOp = 1;
  EXPECT_FALSE(dc_.AlphaBlend(10, 16, 4, 1, &src, 0, 0, 4, 1, unknown));
}

// AlphaBlend mixes a block by its own alpha (with AC_SRC_ALPHA) and by the
// constant alpha; without AC_SRC_ALPHA the source counts as opaque.
TEST_F(GdiTest, AlphaBlendMixesBySourceAndConstantAlpha) {
  QImage source(2, 1, QImage::Format_ARGB32);
  source.setPixel(0, 0, qRgba(255, 0, 0, 128));  // half-transparent red
  source.setPixel(1, 0, qRgba(0, 0, 255, 255));  // opaque blue
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.FromImage(source));
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&dc_));
  memory.SelectObject(&bitmap);
  struct Case {
    const char* name;
    BLENDFUNCTION blend;
    COLORREF first, second;
  };
  const Case cases[] = {
      {"per-pixel alpha", {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}, RGB(255, 127, 127), kBlue},
      {"source alpha ignored", {AC_SRC_OVER, 0, 255, 0}, kRed, kBlue},
      {"constant alpha over both",
       {AC_SRC_OVER, 0, 128, AC_SRC_ALPHA},
       RGB(255, 191, 191),
       RGB(127, 127, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    image_.fill(Qt::white);
    ASSERT_TRUE(dc_.AlphaBlend(5, 5, 2, 1, &memory, 0, 0, 2, 1, c.blend));
    for (auto [x, want] : {std::pair{5, c.first}, std::pair{6, c.second}}) {
      const COLORREF got = dc_.GetPixel(x, 5);
      EXPECT_NEAR(GetRValue(got), GetRValue(want), 2) << x;
      EXPECT_NEAR(GetGValue(got), GetGValue(want), 2) << x;
      EXPECT_NEAR(GetBValue(got), GetBValue(want), 2) << x;
    }
    EXPECT_EQ(dc_.GetPixel(7, 5), kWhite);
  }
  EXPECT_FALSE(dc_.AlphaBlend(0, 0, 2, 1, &memory, 0, 0, 2, 1, BLENDFUNCTION{1, 0, 255, 0}));
}

// Copies reaching past the source bitmap take only the part inside it;
// sizes past the int range are refused rather than overflow.
TEST_F(GdiTest, OddRectanglesStayInBounds) {
  CDC memory;
  ASSERT_TRUE(memory.CreateCompatibleDC(&dc_));
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateBitmap(8, 6));
  memory.SelectObject(&bitmap);
  memory.FillSolidRect(0, 0, 8, 6, kRed);
  ASSERT_TRUE(dc_.BitBlt(0, 0, 20, 20, &memory, 4, 3, SRCCOPY));
  EXPECT_EQ(CountColour(kRed), 4 * 3);
  EXPECT_EQ(dc_.GetPixel(3, 2), kRed);
  image_.fill(Qt::white);
  ASSERT_TRUE(dc_.BitBlt(0, 0, 10, 10, &memory, -5, -5, SRCCOPY));
  EXPECT_EQ(CountColour(kRed), 5 * 5);
  EXPECT_EQ(dc_.GetPixel(5, 5), kRed);
  EXPECT_EQ(dc_.GetPixel(4, 4), kWhite);
  // Negative extents fill towards the origin, as MFC.
  image_.fill(Qt::white);
  dc_.FillSolidRect(5, 5, -3, -2, kBlue);
  EXPECT_EQ(CountColour(kBlue), 3 * 2);
  EXPECT_EQ(dc_.GetPixel(2, 3), kBlue);

  const int big = INT_MAX, small = INT_MIN;
  EXPECT_FALSE(dc_.BitBlt(big - 5, big - 5, 100, 100, &memory, 0, 0, SRCCOPY));
  EXPECT_FALSE(dc_.BitBlt(0, 0, 10, 10, &memory, big - 5, 0, SRCCOPY));
  EXPECT_FALSE(dc_.BitBlt(0, 0, -4, 4, &memory, 0, 0, SRCCOPY));
  EXPECT_FALSE(dc_.Rectangle(small, small, big, big));
  EXPECT_EQ(dc_.SetPixel(big, 0, kRed), CLR_INVALID);
  EXPECT_EQ(dc_.GetPixel(big, small), CLR_INVALID);
  image_.fill(Qt::white);
  dc_.FillSolidRect(small, small, big, big, kRed);  // cut at the edge of what is drawable
  dc_.FillSolidRect(0, 0, small, small, kRed);
  EXPECT_EQ(CountColour(kWhite), 40 * 30);
  dc_.FillSolidRect(-10, -10, big, big, kRed);
  EXPECT_EQ(CountColour(kRed), 40 * 30);
  // Lines between the ends of the int range cross the picture.
  dc_.MoveTo(small, 5);
  EXPECT_TRUE(dc_.LineTo(big, 5));
  EXPECT_EQ(dc_.GetPixel(0, 5), kBlack);
  EXPECT_EQ(dc_.GetPixel(39, 5), kBlack);
  dc_.MoveTo(7, big);
  EXPECT_TRUE(dc_.LineTo(7, small));
  EXPECT_EQ(dc_.GetPixel(7, 0), kBlack);
}

TEST_F(GdiTest, OriginsMoveDrawingButClipStaysInDeviceUnits) {
  dc_.SetWindowOrg(10, 5);  // logical (10, 5) is device (0, 0)
  dc_.FillSolidRect(10, 5, 2, 2, kRed);
  EXPECT_EQ(dc_.GetPixel(10, 5), kRed);
  EXPECT_EQ(image_.pixelColor(1, 1), QColor(Qt::red));
  EXPECT_EQ(image_.pixelColor(2, 2), QColor(Qt::white));

  dc_.IntersectClipRect(20, 15, 30, 25);  // device (10, 10) .. (20, 20)
  RECT box;
  dc_.GetClipBox(&box);
  EXPECT_TRUE(EqualRect(box, RECT{20, 15, 30, 25}));
  dc_.SetWindowOrg(0, 0);
  dc_.GetClipBox(&box);
  EXPECT_TRUE(EqualRect(box, RECT{10, 10, 20, 20}));
  dc_.OffsetViewportOrg(5, 0);
  dc_.FillSolidRect(0, 0, 40, 30, kBlue);
  EXPECT_EQ(CountColour(kBlue), 100);
}

TEST_F(GdiTest, NotPenModeInvertsAndUndoesItself) {
  RECT r{0, 0, 20, 20};
  dc_.FillSolidRect(&r, RGB(10, 200, 30));
  EXPECT_EQ(dc_.SetROP2(R2_NOT), R2_COPYPEN);
  dc_.MoveTo(5, 0);
  dc_.LineTo(5, 10);
  EXPECT_EQ(dc_.GetPixel(5, 3), RGB(245, 55, 225));
  dc_.MoveTo(5, 0);
  dc_.LineTo(5, 10);
  EXPECT_EQ(dc_.GetPixel(5, 3), RGB(10, 200, 30));
  // Fills are not pen drawing: they ignore the mode.
  dc_.FillSolidRect(0, 0, 1, 1, kRed);
  EXPECT_EQ(dc_.GetPixel(0, 0), kRed);
}

TEST_F(GdiTest, PolygonRegionFillsItsInside) {
  const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
  CRgn region;
  ASSERT_TRUE(region.CreatePolygonRgn(triangle, 3, ALTERNATE));
  CBrush brush(kRed);
  EXPECT_TRUE(dc_.FillRgn(&region, &brush));
  EXPECT_EQ(dc_.GetPixel(2, 2), kRed);
  EXPECT_EQ(dc_.GetPixel(15, 15), kWhite);
  EXPECT_TRUE(region.PtInRegion(2, 2));
  EXPECT_EQ(region.OffsetRgn(100, 0), COMPLEXREGION);
  EXPECT_FALSE(region.PtInRegion(2, 2));
}

TEST_F(GdiTest, StockObjectsSurviveDeleteObject) {
  auto* font = GetStockFont(DEFAULT_GUI_FONT);
  EXPECT_FALSE(font->DeleteObject());
  EXPECT_FALSE(font->IsEmptyObject());
  EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockFont(WHITE_BRUSH), GetStockObject(SYSTEM_FONT));
}

TEST_F(GdiTest, MissingFacesKeepTheirNameAndDrawWithTheCjkFont) {
  struct Case {
    const char* face;
    bool fixed;
  };
  const Case cases[] = {
      {GBK("宋体"), false}, {"Tohoma", false}, {"System", false}, {"Courier", true}};
  for (const Case& c : cases) {
    CFont font;
    ASSERT_TRUE(
        font.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, c.face));
    LOGFONT lf;
    font.GetLogFont(&lf);
    EXPECT_STREQ(lf.lfFaceName, c.face);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(font.GetDrawnFamily(), c.fixed ? "WenQuanYi Micro Hei Mono" : "WenQuanYi Micro Hei")
        << c.face;
  }
}

TEST_F(GdiTest, TextHonoursHeightColourAndBackgroundMode) {
  CFont font;
  font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
  CFont* old = dc_.SelectObject(&font);
  EXPECT_EQ(old, GetStockObject(SYSTEM_FONT));
  SIZE one = dc_.GetTextExtent(GBK("中"));
  SIZE two = dc_.GetTextExtent(GBK("中中"));
  EXPECT_GE(one.cx, 14);
  EXPECT_EQ(two.cx, 2 * one.cx);
  EXPECT_GE(one.cy, 16);
  // Heights from a settings file past any screen are bounded, never overflow.
  for (LONG height : {LONG_MIN, (LONG)INT_MIN, (LONG)INT_MAX, LONG_MAX}) {
    LOGFONT lf;
    lf.lfHeight = height;
    CFont wild;
    ASSERT_TRUE(wild.CreateFontIndirect(&lf));
    dc_.SelectObject(&wild);
    SIZE extent = dc_.GetTextExtent("W");
    EXPECT_GT(extent.cy, 100) << height;
    EXPECT_LT(extent.cy, 10000) << height;
  }
  dc_.SelectObject(&font);

  EXPECT_EQ(dc_.SetBkMode(TRANSPARENT), OPAQUE);
  EXPECT_EQ(dc_.SetTextColor(kRed), kBlack);
  dc_.TextOut(2, 2, GBK("中"));
  EXPECT_GT(CountColour(kRed), 5);

  // Opaque text paints its cell in the background colour.
  dc_.SetBkMode(OPAQUE);
  dc_.SetBkColor(kBlue);
  dc_.TextOut(20, 2, GBK("中"));
  EXPECT_EQ(dc_.GetPixel(20, 2), kBlue);
}

TEST_F(GdiTest, DrawTextAlignsCalculatesAndClips) {
  CFont font;
  font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  dc_.SelectObject(&font);
  dc_.SetBkMode(TRANSPARENT);
  dc_.SetTextColor(kRed);

  RECT calc{5, 5, 5, 5};
  int height = dc_.DrawText(std::string(GBK("合计")), &calc, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(calc.right - calc.left, dc_.GetTextExtent(GBK("合计")).cx);
  EXPECT_EQ(calc.bottom - calc.top, height);
  EXPECT_EQ(CountColour(kRed), 0);  // measuring draws nothing

  // Right-aligned text touches the right side, not the left.
  RECT right{0, 0, 40, 15};
  dc_.DrawText("88", -1, &right, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
  auto inColumns = [&](int from, int to) {
    int n = 0;
    for (int y = 0; y < 15; ++y)
      for (int x = from; x < to; ++x) n += dc_.GetPixel(x, y) != kWhite;
    return n;
  };
  EXPECT_GT(inColumns(30, 40), 0);
  EXPECT_EQ(inColumns(0, 20), 0);

  // Text longer than its rectangle stays inside it.
  RECT small{0, 20, 10, 30};
  dc_.DrawText("WWWWWWWW", -1, &small, DT_LEFT | DT_SINGLELINE);
  int outside = 0;
  for (int y = 15; y < 30; ++y)
    for (int x = 10; x < 40; ++x) outside += dc_.GetPixel(x, y) != kWhite;
  EXPECT_EQ(outside, 0);
}

}  // namespace

namespace {

// A bitmap file named in GBK (a colour scheme's "经典.BMP") loads by the
// bytes of its name, which are no UTF-8.
TEST(BitmapFileTest, LoadsAFileNamedInGbk) {
  if (!QGuiApplication::instance()) {
    static int argc = 1;
    static char arg0[] = "test_gdi";
    static char* argv[] = {arg0, nullptr};
    new QGuiApplication(argc, argv);
  }
  const test_support::TempFolder folder("zebbitmap");
  const std::string path = folder.File(std::string(GBK("经典")) + ".BMP");
  QImage tile(8, 4, QImage::Format_RGB32);
  tile.fill(QColor(0, 110, 130));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(tile.save(&buffer, "BMP"));
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
  std::fclose(f);
  CBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadFromFile(path));
  EXPECT_EQ(bitmap.GetSize().cx, 8);
  EXPECT_FALSE(CBitmap().LoadFromFile(folder.File("missing.BMP")));
}

}  // namespace
