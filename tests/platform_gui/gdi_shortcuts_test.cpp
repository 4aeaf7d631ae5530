// The drawing shortcuts (a memory DC's painter kept open, laid-out text
// kept between calls, solid lines filled as runs) draw exactly what the
// plain way draws and return exactly what it returns; their caches stay
// within bounds; a picture a memory DC paints on can still be taken and
// painted by others.
#include <gtest/gtest.h>
#include <malloc.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>
#include <thread>
#include <vector>

#include "gdi_internal.h"
#include "gdi_text_cache.h"
#include "gui_app.h"
#include "platform/gbk.h"
#include "platform/gdi.h"

using namespace platform::gdi_detail;

namespace {

constexpr int kWidth = 420, kHeight = 330;

// Shortcuts on for the test's length, whatever it does.
struct Shortcuts {
  explicit Shortcuts(bool on) { SetShortcutsEnabled(on); }
  ~Shortcuts() { SetShortcutsEnabled(true); }
};

void EmptyTextCaches() {
  ThreadTextCaches().layouts.Clear();
  ThreadTextCaches().extents.Clear();
}

class GdiShortcutsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { gdi_test::EnsureGuiApp(); }
  void TearDown() override {
    ThreadTextCaches().layouts.SetLimits(TextCaches::kLayouts, TextCaches::kLayoutBytes);
    ThreadTextCaches().extents.SetLimits(TextCaches::kExtents, TextCaches::kExtentBytes);
  }
};

// Fonts of every kind the system draws with: missing faces drawn with the
// CJK font (plain, bold, fixed-pitch), an installed face, italic,
// underlined (drawn by Qt's own formatting) and the stock fonts.
struct Fonts {
  CFont song16, arialBold12, courier13, dejavu13, italic14, underlined15;
  std::vector<CFont*> all;
  Fonts() {
    song16.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
    arialBold12.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
    courier13.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, FIXED_PITCH, "Courier New");
    dejavu13.CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    italic14.CreateFont(-14, 0, 0, 0, FW_NORMAL, 1, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
    underlined15.CreateFont(20, 0, 0, 0, FW_NORMAL, 0, 1, 0, 0, 0, 0, 0, 0, GBK("宋体"));
    all = {&song16,
           &arialBold12,
           &courier13,
           &dejavu13,
           &italic14,
           &underlined15,
           GetStockFont(SYSTEM_FONT),
           GetStockFont(DEFAULT_GUI_FONT)};
  }
};

Fonts& TheFonts() {
  static Fonts* fonts = new Fonts;
  return *fonts;
}

// A table of DrawText, TextOut, extent, line and fill calls covering the
// formats, clips, colours, modes, fonts and GBK texts the system uses;
// every value the calls return goes into the results.
void DrawScene(CDC& dc, std::vector<long>& results) {
  const char* texts[] = {"12.34",
                         "-0.56%",
                         GBK("纪念钞精品12"),
                         GBK("合计abc中文"),
                         "&File a&&b",
                         "tab\there",
                         "line one\nline two\r\nthree",
                         "trailing  ",
                         "",
                         "WWWWWWWWWWWWWW",
                         "\x80\xA1\xEF",
                         "bad \x81",
                         GBK("①②€ 全角ＡＢ"),
                         "a b c d e f g h i j k l m n"};
  const UINT formats[] = {
      DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
      DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
      DT_CENTER | DT_SINGLELINE | DT_BOTTOM,
      DT_CENTER | DT_WORDBREAK,
      DT_RIGHT | DT_WORDBREAK | DT_NOCLIP,
      DT_LEFT | DT_SINGLELINE | DT_NOCLIP | DT_VCENTER,
      DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS,
      DT_RIGHT | DT_END_ELLIPSIS | DT_WORDBREAK,
      DT_LEFT | DT_EXPANDTABS,
      DT_LEFT,
  };
  const RECT rects[] = {{4, 4, 84, 28},     {90, 6, 150, 11},   {160, 2, 161, 40},
                        {200, 30, 330, 90}, {340, 40, 330, 60}, {10, 100, 60, 185}};
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(20, 20, 20), RGB(255, 255, 0)};
  const Fonts& fonts = TheFonts();
  int step = 0;
  dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(250, 250, 250));
  for (CFont* font : fonts.all) {
    dc.SelectObject(font);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    results.push_back(tm.tmHeight);
    for (const char* text : texts) {
      const SIZE extent = dc.GetTextExtent(text);
      results.push_back(extent.cx);
      results.push_back(extent.cy);
      for (UINT format : formats) {
        ++step;
        const RECT& base = rects[step % 6];
        RECT r = base;
        OffsetRect(r, (step * 7) % 60, (step * 13) % 200);
        dc.SetTextColor(colours[step % 4]);
        dc.SetBkMode(step % 5 == 0 ? OPAQUE : TRANSPARENT);
        dc.SetBkColor(RGB(200, 220, 255));
        RECT calc = r;
        results.push_back(dc.DrawText(text, -1, &calc, format | DT_CALCRECT));
        results.push_back(calc.right);
        results.push_back(calc.bottom);
        results.push_back(dc.DrawText(text, -1, &r, format));
      }
      dc.SetTextAlign(step % 3 == 0   ? TA_CENTER | TA_BASELINE
                      : step % 3 == 1 ? TA_RIGHT | TA_BOTTOM
                                      : TA_LEFT);
      results.push_back(dc.TextOut(60 + step % 300, 20 + step % 280, text));
      dc.SetTextAlign(TA_LEFT | TA_TOP);
    }
    // Clips and origins: a complex DC clip, moved origins, then back.
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(30, 20, 380, 300);
    dc.ExcludeClipRect(100, 100, 140, 160);
    dc.SetViewportOrg(7, -3);
    RECT r{90, 90, 200, 170};
    results.push_back(
        dc.DrawText(GBK("剪切区域内的文字 clipped"), -1, &r, DT_WORDBREAK | DT_CENTER));
    results.push_back(
        dc.DrawText("12345.678", -1, &r, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_NOCLIP));
    dc.RestoreDC(saved);
    // The same clipped rectangle again, the origin moved in between.
    RECT same{250, 250, 300, 262};
    results.push_back(dc.DrawText("moved 8888", -1, &same, DT_SINGLELINE | DT_LEFT));
    const POINT origin = dc.SetViewportOrg(3, 5);
    results.push_back(dc.DrawText("moved 8888", -1, &same, DT_SINGLELINE | DT_LEFT));
    dc.SetViewportOrg(origin.x, origin.y);
    // Strokes between texts: each font's texts leave their colour on the pen.
    dc.MoveTo(300, 10 + step % 50);
    results.push_back(dc.LineTo(410, 60 + step % 70));
  }
  // Lines: level, upright, slanted, one pixel, both ways, wide and dotted
  // pens, the null pen, inverting and xor mixing, clipped and moved.
  CPen thin(PS_SOLID, 1, RGB(0, 0, 200)), wide(PS_SOLID, 3, RGB(200, 0, 0)),
      dotted(PS_DOT, 1, RGB(0, 120, 0));
  CPen* pens[] = {&thin, &wide, &dotted, static_cast<CPen*>(GetStockObject(NULL_PEN)),
                  static_cast<CPen*>(GetStockObject(WHITE_PEN))};
  const POINT ends[][2] = {
      {{5, 200}, {120, 200}},   {{120, 210}, {5, 210}},  {{8, 220}, {8, 320}},
      {{12, 320}, {12, 220}},   {{20, 230}, {21, 230}},  {{25, 230}, {25, 231}},
      {{30, 230}, {30, 230}},   {{40, 230}, {140, 300}}, {{150, 300}, {40, 240}},
      {{-20, 250}, {500, 250}}, {{415, -5}, {415, 400}}, {{60, 260}, {62, 261}}};
  int rop = 0;
  for (CPen* pen : pens) {
    dc.SelectObject(pen);
    for (const auto& line : ends) {
      const int modes[] = {R2_COPYPEN, R2_NOT, R2_XORPEN};
      dc.SetROP2(modes[rop++ % 3 == 0 ? 0 : rop % 3]);
      dc.MoveTo(line[0].x, line[0].y);
      results.push_back(dc.LineTo(line[1].x, line[1].y));
    }
    dc.SetROP2(R2_COPYPEN);
    const POINT corner[] = {{200, 200}, {200, 260}, {150, 260}, {150, 262}, {300, 290}};
    results.push_back(dc.Polyline(corner, 5));
    // A chart's line: many slanted segments crossing an earlier one, which
    // go to the painter together.
    POINT zigzag[120];
    for (int i = 0; i < 120; ++i) zigzag[i] = POINT{10 + 4 * i, 330 + (i * 37) % 61 - (i % 3) * 9};
    results.push_back(dc.Polyline(zigzag, 120));
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(180, 210, 260, 280);
    dc.SetWindowOrg(-4, 2);
    results.push_back(dc.Polyline(corner, 5));
    dc.FillSolidRect(170, 270, 40, 3, RGB(9, 9, 9));
    dc.RestoreDC(saved);
    CBrush brush(RGB(240, 200, 0));
    dc.SelectObject(&brush);
    results.push_back(dc.Rectangle(320, 200, 360, 240));
    // Candles: one, two and three pixels wide or high, and a solid brush.
    const RECT thin[] = {{370, 200, 371, 240}, {374, 200, 376, 240}, {380, 200, 383, 240},
                         {386, 200, 400, 201}, {386, 204, 400, 206}, {386, 210, 400, 213}};
    for (const RECT& r : thin) results.push_back(dc.Rectangle(&r));
    dc.SelectStockObject(HOLLOW_BRUSH);
    for (const RECT& r : thin)
      results.push_back(dc.Rectangle(r.left + 40, r.top, r.right + 40, r.bottom));
    dc.SelectStockObject(WHITE_BRUSH);
  }
  dc.SelectStockObject(BLACK_PEN);
  dc.SelectObject(GetStockFont(SYSTEM_FONT));
}

struct Rendered {
  QImage image;
  std::vector<long> results;
};

enum class Target { MemoryDc, LowDpiBitmap, AttachedImage, BorrowedPainter, RightToLeftPainter };

// Draws the scene twice on a fresh picture of the target kind.
Rendered Render(Target target, int passes = 1) {
  Rendered out;
  if (target == Target::MemoryDc || target == Target::LowDpiBitmap) {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    if (target == Target::MemoryDc) {
      bitmap.CreateBitmap(kWidth, kHeight);
    } else {
      // A picture loaded from a file keeps the file's resolution (72 dpi).
      QImage image(kWidth, kHeight, QImage::Format_RGB32);
      image.fill(Qt::darkGray);
      image.setDotsPerMeterX(2835);
      image.setDotsPerMeterY(2835);
      bitmap.FromImage(image);
    }
    CBitmap* old = dc.SelectObject(&bitmap);
    for (int i = 0; i < passes; ++i) DrawScene(dc, out.results);
    out.image = dc.GetImage()->copy();
    dc.SelectObject(old);
    return out;
  }
  out.image = QImage(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  out.image.fill(Qt::black);
  CDC dc;
  if (target == Target::AttachedImage) {
    dc.Attach(&out.image);
    for (int i = 0; i < passes; ++i) DrawScene(dc, out.results);
    dc.Detach();
  } else {
    QPainter painter(&out.image);
    painter.setClipRect(QRect(3, 3, kWidth - 6, kHeight - 6));  // the owner's own clip stays
    if (target == Target::RightToLeftPainter) painter.setLayoutDirection(Qt::RightToLeft);
    dc.AttachPainter(&painter);
    for (int i = 0; i < passes; ++i) DrawScene(dc, out.results);
    dc.Detach();
  }
  return out;
}

Rendered Reference(Target target, int passes = 1) {
  Shortcuts off(false);
  return Render(target, passes);
}

TEST_F(GdiShortcutsTest, DrawExactlyWhatThePlainWayDrawsWithCachesColdAndWarm) {
  for (Target target : {Target::MemoryDc, Target::LowDpiBitmap, Target::AttachedImage,
                        Target::BorrowedPainter, Target::RightToLeftPainter}) {
    SCOPED_TRACE(static_cast<int>(target));
    const Rendered reference = Reference(target);
    EmptyTextCaches();
    const Rendered cold = Render(target);
    EXPECT_GT(ThreadTextCaches().layouts.Size(), 100u);
    const Rendered warm = Render(target);
    EXPECT_EQ(cold.results, reference.results);
    EXPECT_EQ(warm.results, reference.results);
    EXPECT_TRUE(cold.image == reference.image);
    EXPECT_TRUE(warm.image == reference.image);
    // Drawn over itself, a second pass on the same DC (painter kept open,
    // every text found) still matches.
    const Rendered twice = Render(target, 2);
    EXPECT_TRUE(twice.image == Reference(target, 2).image);
  }
}

// Under a DC clip of two rectangles, texts meeting one of them, both or
// neither, with the origin where it was and moved, land on the pixels the
// plain way gives them and nowhere outside the clip.
TEST_F(GdiShortcutsTest, TextsUnderAClipOfTwoRectanglesDrawWhatThePlainWayDraws) {
  constexpr COLORREF kBack = RGB(20, 20, 20);
  const QRect upper(10, 10, 190, 50), lower(10, 120, 390, 20);  // device units
  const auto draw = [&] {
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(kWidth, kHeight);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kWidth, kHeight, kBack);
    CRgn clip, more;
    clip.CreateRectRgn(upper.left(), upper.top(), upper.right() + 1, upper.bottom() + 1);
    more.CreateRectRgn(lower.left(), lower.top(), lower.right() + 1, lower.bottom() + 1);
    clip.CombineRgn(&clip, &more, RGN_OR);
    dc.SelectClipRgn(&clip);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(&TheFonts().song16);
    const struct {
      RECT r;
      UINT format;
      COLORREF color;
    } texts[] = {{{2, 20, 120, 40}, DT_SINGLELINE | DT_LEFT, RGB(255, 255, 0)},
                 {{150, 30, 260, 50}, DT_SINGLELINE | DT_CENTER, RGB(0, 255, 255)},
                 {{20, 40, 300, 130}, DT_WORDBREAK, RGB(255, 0, 255)},
                 {{220, 70, 380, 100}, DT_SINGLELINE, RGB(255, 255, 255)},
                 {{300, 112, 420, 148}, DT_SINGLELINE | DT_RIGHT | DT_VCENTER, RGB(0, 255, 0)}};
    for (const POINT origin : {POINT{0, 0}, POINT{6, -4}, POINT{0, 0}}) {
      dc.SetViewportOrg(origin.x, origin.y);
      for (const auto& t : texts) {
        RECT r = t.r;
        dc.SetTextColor(t.color);
        dc.DrawText(GBK("Clip 12345.678 剪切文字 MACD=-0.123"), -1, &r, t.format);
      }
    }
    QImage image = dc.GetImage()->copy();
    dc.SelectObject(old);
    return image;
  };
  QImage reference;
  {
    Shortcuts off(false);
    reference = draw();
  }
  const QImage image = draw();
  EXPECT_TRUE(image == reference);
  int inside = 0, outside = 0;
  const QRgb back = qRgb(GetRValue(kBack), GetGValue(kBack), GetBValue(kBack));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool drawn = (image.pixel(x, y) & 0xFFFFFF) != (back & 0xFFFFFF);
      const bool clipped = upper.contains(x, y) || lower.contains(x, y);
      (clipped ? inside : outside) += drawn;
    }
  EXPECT_GT(inside, 200);
  EXPECT_EQ(outside, 0);
}

// A thread other than the application's keeps caches of its own.
TEST_F(GdiShortcutsTest, WorkerThreadDrawsTheSame) {
  const Rendered reference = Reference(Target::MemoryDc);
  Rendered worker;
  std::thread([&] { worker = Render(Target::MemoryDc, 1); }).join();
  EXPECT_EQ(worker.results, reference.results);
  EXPECT_TRUE(worker.image == reference.image);
}

// ASCII goes straight across; the rest (the euro at 0x80 too) through GBK.
TEST_F(GdiShortcutsTest, TextConvertsFromGbk) {
  EXPECT_EQ(GbkText("12.34 x"), QStringLiteral("12.34 x"));
  EXPECT_EQ(GbkText("\x80 9"), QString::fromUtf8("\u20AC 9"));
  EXPECT_EQ(GbkText(GBK("合计 a")), QString::fromUtf8("合计 a"));
}

TEST_F(GdiShortcutsTest, CachesEvictTheLeastRecentlyUsedWithinTheirBounds) {
  struct Value {
    int n;
    size_t Cost() const { return 1000; }
  };
  TextLru<Value> lru(3, 1u << 20);
  int made = 0;
  auto get = [&](std::string_view text) {
    return lru.FindOrMake(TextKey{1, 0, 0, text}, [&] { return Value{++made}; }).n;
  };
  EXPECT_EQ(get("a"), 1);
  EXPECT_EQ(get("b"), 2);
  EXPECT_EQ(get("c"), 3);
  EXPECT_EQ(get("a"), 1);  // found, and now the most recent
  EXPECT_EQ(get("d"), 4);  // "b" goes
  EXPECT_EQ(lru.Size(), 3u);
  EXPECT_EQ(get("a"), 1);
  EXPECT_EQ(get("b"), 5);  // made again
  // Same text, another font or width: another entry.
  EXPECT_EQ(lru.FindOrMake(TextKey{2, 0, 0, "a"}, [&] { return Value{++made}; }).n, 6);
  EXPECT_EQ(lru.FindOrMake(TextKey{1, 0, 7, "a"}, [&] { return Value{++made}; }).n, 7);
  // The byte budget holds too; the newest entry stays even alone over it.
  lru.SetLimits(100, 2500);
  EXPECT_EQ(lru.Size(), 2u);
  EXPECT_LE(lru.Bytes(), 2500u);
  lru.SetLimits(100, 10);
  EXPECT_EQ(lru.Size(), 1u);
  EXPECT_EQ(lru.FindOrMake(TextKey{1, 0, 7, "a"}, [&] { return Value{++made}; }).n,
            7);  // the newest stayed
  EXPECT_EQ(made, 7);
}

TEST_F(GdiShortcutsTest, ManyDistinctTextsStayWithinTheBudgetAndDrawTheSameAfterEviction) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(200, 40);
  dc.SelectObject(&bitmap);
  dc.SelectObject(&TheFonts().song16);
  auto drawOne = [&](const std::string& text) {
    dc.FillSolidRect(0, 0, 200, 40, RGB(255, 255, 255));
    RECT r{2, 2, 198, 38};
    dc.DrawText(text, &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    dc.GetTextExtent(text);
    return dc.GetImage()->copy();
  };
  const std::string first = std::string(GBK("第")) + "0";
  const QImage firstDrawn = drawOne(first);

  TextCaches& caches = ThreadTextCaches();
  caches.layouts.SetLimits(64, 200000);
  caches.extents.SetLimits(32, 1u << 20);
  const size_t heapBefore = mallinfo2().uordblks;
  for (int i = 1; i < 5000; ++i) {
    drawOne(std::string(GBK("第")) + std::to_string(i) + std::string(i % 7, 'x'));
    ASSERT_LE(caches.layouts.Size(), 64u);
    ASSERT_LE(caches.layouts.Bytes(), 200000u);
    ASSERT_LE(caches.extents.Size(), 32u);
  }
  EXPECT_LT(mallinfo2().uordblks, heapBefore + (4u << 20));
  // Long gone from the cache, the first text is laid out again the same.
  EXPECT_TRUE(drawOne(first) == firstDrawn);
}

TEST_F(GdiShortcutsTest, PictureOfAMemoryDcCanBeTakenAndPaintedByOthers) {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap bitmap;
  bitmap.CreateBitmap(20, 10);
  CBitmap* old = dc.SelectObject(&bitmap);
  dc.FillSolidRect(0, 0, 20, 10, RGB(255, 0, 0));

  // Taking the picture closes the DC's painter: Qt lets one painter at a time.
  {
    QPainter painter;
    ASSERT_TRUE(painter.begin(bitmap.Image()));
    painter.fillRect(QRect(0, 0, 5, 10), QColor(0, 0, 255));
  }
  EXPECT_EQ(dc.GetPixel(2, 2), RGB(0, 0, 255));
  dc.FillSolidRect(10, 0, 10, 10, RGB(0, 255, 0));  // the DC paints on again
  // Its pixels can be read while its painter stays open.
  dc.SetBkColor(RGB(1, 1, 1));
  RECT text{0, 0, 20, 10};
  dc.DrawText("i", -1, &text, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  EXPECT_EQ(dc.GetPixel(19, 9), RGB(1, 1, 1));
  EXPECT_EQ(dc.GetPixel(12, 0), RGB(0, 255, 0));
  {
    QPainter painter;
    ASSERT_TRUE(painter.begin(dc.GetImage()));
  }
  EXPECT_EQ(dc.GetPixel(12, 2), RGB(0, 255, 0));

  // Two DCs on one bitmap take turns; an attached DC too.
  CDC other;
  other.CreateCompatibleDC(nullptr);
  CBitmap* otherOld = other.SelectObject(&bitmap);
  other.FillSolidRect(6, 0, 2, 10, RGB(0, 0, 0));
  dc.FillSolidRect(8, 0, 2, 10, RGB(255, 255, 255));
  CDC attached(bitmap.SharedImage().get());
  dc.FillSolidRect(0, 9, 20, 1, RGB(1, 2, 3));
  attached.FillSolidRect(0, 0, 1, 1, RGB(4, 5, 6));
  EXPECT_EQ(dc.GetPixel(7, 2), RGB(0, 0, 0));
  EXPECT_EQ(dc.GetPixel(9, 2), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetPixel(3, 9), RGB(1, 2, 3));
  EXPECT_EQ(dc.GetPixel(0, 0), RGB(4, 5, 6));

  // A copy taken from the bitmap keeps what it had when the DC draws on.
  const QImage copy = *bitmap.Image();
  dc.FillSolidRect(0, 0, 20, 10, RGB(9, 9, 9));
  EXPECT_EQ(copy.pixelColor(12, 2), QColor(0, 255, 0));
  EXPECT_EQ(dc.GetPixel(12, 2), RGB(9, 9, 9));

  // Copying from a DC whose painter is open, and another bitmap selected.
  CDC target;
  target.CreateCompatibleDC(nullptr);
  CBitmap targetBitmap;
  targetBitmap.CreateBitmap(20, 10);
  target.SelectObject(&targetBitmap);
  target.FillSolidRect(0, 0, 20, 10, RGB(100, 100, 100));
  dc.FillSolidRect(0, 0, 4, 4, RGB(50, 60, 70));
  ASSERT_TRUE(target.BitBlt(10, 5, 10, 5, &dc, 0, 0, SRCCOPY));
  EXPECT_EQ(target.GetPixel(11, 6), RGB(50, 60, 70));
  EXPECT_EQ(target.GetPixel(9, 6), RGB(100, 100, 100));
  other.SelectObject(otherOld);
  dc.SelectObject(old);
  QPainter painter;
  EXPECT_TRUE(painter.begin(bitmap.Image()));
}

}  // namespace
