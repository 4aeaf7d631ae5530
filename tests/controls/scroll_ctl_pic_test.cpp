// The owner-drawn scroll bar: page steps, drags and limits as a table of
// mouse scripts, the thumb's geometry, the cursor clip of a drag, and what
// a paint puts where.
#include <gtest/gtest.h>

#include <QImage>
#include <string>
#include <vector>

#include "zeb/controls/scroll_ctl_pic.h"
#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/wnd.h"
#include "test_support.h"

namespace {

struct Step {
  char kind;  // 'd' down, 'm' move, 'u' up, 'p' SetPos, 'l' re-layout to a bar of y pixels
  int x, y;
  int result;  // what the handler returns (SetPos: 0)
};

struct Case {
  const char* name;
  int style;
  RECT bar;
  int total, page, pos;
  std::vector<Step> steps;
  int expectedPos;
};

// A vertical bar 16 x 100 at the origin has arrows 0..20 and 80..100 and a
// 60-pixel track; with total 100 and page 20 its thumb is 12 pixels long.
const RECT kBar{0, 0, 16, 100};

TEST(ScrollCtlPic, PageStepsDragsAndLimits) {
  const Case cases[] = {
      {"second arrow near the end stops at total - page",
       1,
       kBar,
       100,
       20,
       90,
       {{'d', 8, 90, 1}},
       80},
      {"first arrow near the start stops at 0", 1, kBar, 100, 20, 5, {{'d', 8, 5, 1}}, 0},
      {"track after the thumb pages forward", 1, kBar, 100, 20, 0, {{'d', 8, 60, 1}}, 20},
      {"track before the thumb pages back", 1, kBar, 100, 20, 60, {{'d', 8, 30, 1}}, 40},
      {"at the end the second arrow keeps the end", 1, kBar, 100, 20, 80, {{'d', 8, 95, 1}}, 80},
      {"outside the bar nothing happens", 1, kBar, 100, 20, 40, {{'d', 30, 50, 0}}, 40},
      {"a drag of 3 pixels over a 60-pixel track moves 3 x 600 / 60 rows",
       1,
       kBar,
       600,
       20,
       0,
       {{'d', 8, 21, 1}, {'m', 8, 24, 1}, {'u', 8, 24, 1}},
       30},
      {"a drag less than a row moves nothing yet, then the row",
       1,
       kBar,
       30,
       20,
       0,
       {{'d', 8, 21, 1}, {'m', 8, 22, 0}, {'m', 8, 23, 1}},
       1},
      {"a drag past the end stops at total - page",
       1,
       kBar,
       600,
       20,
       0,
       {{'d', 8, 21, 1}, {'m', 8, 95, 1}, {'m', 8, 96, 1}},
       580},
      {"a drag before the start stops at 0",
       1,
       kBar,
       600,
       20,
       300,
       {{'d', 8, 51, 1}, {'m', 8, 10, 1}},
       0},
      {"SetPos past the end keeps total, not total - page",
       1,
       kBar,
       100,
       20,
       0,
       {{'p', 1000, 0, 0}},
       100},
      {"a list shorter than a page stays at 0 (the floor comes last)",
       1,
       kBar,
       10,
       20,
       0,
       {{'d', 8, 95, 1}},
       0},
      {"a bar of 40 pixels pages but has no track to drag",
       1,
       RECT{0, 0, 16, 40},
       100,
       20,
       0,
       {{'d', 8, 30, 1}, {'m', 8, 35, 0}},
       20},
      {"a bar that shrinks to 40 pixels during a drag moves nothing",
       1,
       kBar,
       600,
       20,
       0,
       {{'d', 8, 21, 1}, {'l', 0, 40, 0}, {'m', 8, 30, 0}, {'u', 8, 30, 1}},
       0},
      {"a hidden bar (total 0) takes no click", 1, kBar, 0, 20, 0, {{'d', 8, 95, 0}}, 0},
      {"horizontal: the right arrow pages forward",
       0,
       RECT{0, 0, 100, 16},
       100,
       20,
       0,
       {{'d', 95, 8, 1}},
       20},
      {"up without a drag reports nothing", 1, kBar, 100, 20, 0, {{'u', 8, 50, 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CScrollCtlPic bar;
    bar.SetRect(c.style, &c.bar);
    bar.SetRange(c.total);
    bar.SetPage(c.page);
    bar.SetPos(c.pos);
    for (const Step& s : c.steps) {
      int result = 0;
      switch (s.kind) {
        case 'd': result = bar.OnLButtonDown(s.x, s.y); break;
        case 'm': result = bar.OnMouseMove(s.x, s.y); break;
        case 'u': result = bar.OnLButtonUp(s.x, s.y); break;
        case 'p': result = bar.SetPos(s.x); break;
        case 'l': bar.Layout(c.bar.left, c.bar.top, c.bar.right, c.bar.top + s.y); break;
      }
      EXPECT_EQ(result, s.result) << "step " << s.kind << " " << s.x << "," << s.y;
    }
    EXPECT_EQ(bar.GetPos(), c.expectedPos);
  }
}

TEST(ScrollCtlPic, ThumbGeometry) {
  CScrollCtlPic bar;
  bar.SetRect(CScrollCtlPic::kVertical, &kBar);
  bar.SetRange(100);
  bar.SetPage(20);
  struct Row {
    int total, page, pos;
    RECT thumb;
  } rows[] = {
      {100, 20, 0, {0, 20, 16, 32}},   {100, 20, 40, {0, 44, 16, 56}},
      {100, 20, 100, {0, 68, 16, 80}},  // never past the second arrow
      {100, 100, 0, {0, 20, 16, 80}},   // page == total fills the track
      {10, 20, 0, {0, 20, 16, 80}},     // so does a page above the total
      {0, 20, 0, {0, 0, 0, 0}},         // no rows: no thumb
  };
  for (const Row& r : rows) {
    bar.SetRange(r.total);
    bar.SetPage(r.page);
    bar.SetPos(r.pos);
    bar.CalcThumb();
    EXPECT_EQ(RectText(bar.GetThumbRect()), RectText(r.thumb))
        << r.total << "/" << r.page << "@" << r.pos;
  }
  // While dragging, the thumb follows the pointer from where it was taken,
  // the same on every paint, inside the track.
  bar.SetRange(600);
  bar.SetPage(20);
  bar.SetPos(0);
  ASSERT_EQ(bar.OnLButtonDown(8, 21), 1);
  bar.OnMouseMove(8, 31);
  bar.CalcThumb();
  const RECT once = bar.GetThumbRect();
  bar.CalcThumb();
  EXPECT_EQ(RectText(bar.GetThumbRect()), RectText(once));
  EXPECT_EQ(once.top, 30);
  bar.OnMouseMove(8, 400);
  bar.CalcThumb();
  EXPECT_EQ(bar.GetThumbRect().bottom, 80);
}

class Owner : public CWndImpl<QWidget> {};
Owner* g_owner = nullptr;
CWnd* OwnerWindow() { return g_owner; }

// A drag keeps the cursor inside the bar (on the screen, through the
// owner's window) until the button goes up.
TEST(ScrollCtlPic, DragClipsTheCursorToTheBar) {
  platform::testing::EnsureApplication();
  Owner owner;
  ASSERT_TRUE(owner.Create(nullptr, CRect(300, 200, 500, 400), 0, WS_POPUP | WS_VISIBLE));
  g_owner = &owner;
  CScrollCtlPic::SetClipWindowSource(OwnerWindow);
  const RECT bar{100, 50, 116, 150};
  CScrollCtlPic scroll;
  scroll.SetRect(CScrollCtlPic::kVertical, &bar);
  scroll.SetRange(600);
  scroll.SetPage(20);
  ASSERT_EQ(scroll.OnLButtonDown(108, 71), 1);
  RECT clip{};
  ASSERT_TRUE(GetClipCursor(&clip));
  RECT expected = bar;
  owner.ClientToScreen(&expected);
  EXPECT_EQ(RectText(clip), RectText(expected));
  EXPECT_EQ(scroll.OnLButtonUp(108, 80), 1);
  GetClipCursor(&clip);
  EXPECT_NE(RectText(clip), RectText(expected));
  CScrollCtlPic::SetClipWindowSource(nullptr);
  g_owner = nullptr;
  owner.DestroyWindow();
}

TEST(ScrollCtlPic, PaintsArrowsAndThumbInsideTheBar) {
  platform::testing::EnsureApplication();
  ScopedTestScheme scheme;
  ASSERT_TRUE(scheme.Loaded());
  ASSERT_NE(CSysStyle::GetInstance()->GetSliderBitmap(), nullptr);
  QImage image(40, 120, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  CDC dc(&image);
  const RECT rect{10, 10, 26, 110};
  CScrollCtlPic bar;
  bar.SetRect(CScrollCtlPic::kVertical, &rect);
  bar.SetRange(0);
  bar.Draw(&dc);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ASSERT_EQ(dc.GetPixel(x, y), RGB(0, 0, 0)) << "hidden bar drew";

  bar.SetRange(100);
  bar.SetPage(20);
  bar.SetPos(40);
  bar.Draw(&dc);
  const COLORREF line = CSysStyle::GetInstance()->GetColor(6);
  EXPECT_EQ(dc.GetPixel(10, 60), line);              // bar outline
  EXPECT_EQ(dc.GetPixel(18, 21), RGB(0, 153, 153));  // up arrow, in its inset box
  EXPECT_EQ(dc.GetPixel(18, 14), RGB(0, 0, 0));      // above the inset box
  EXPECT_EQ(dc.GetPixel(18, 99), RGB(0, 153, 153));  // down arrow
  const RECT thumb = bar.GetThumbRect();
  ASSERT_EQ(RectText(thumb), RectText(RECT{10, 54, 26, 66}));
  const COLORREF inside = dc.GetPixel(18, 60);
  EXPECT_NE(inside, RGB(0, 0, 0));               // filled with the slider bitmap
  EXPECT_EQ(dc.GetPixel(18, 45), RGB(0, 0, 0));  // the track stays empty
  for (int x = 0; x < image.width(); ++x)
    EXPECT_EQ(dc.GetPixel(x, 5), RGB(0, 0, 0)) << "outside the bar";
}

}  // namespace
