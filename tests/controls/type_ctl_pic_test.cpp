// The owner-drawn tab bar: selection, hit testing of tabs that run past
// the bar, what gets painted, and the drop-down marker read on whole GBK
// characters.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>

#include "zeb/controls/type_ctl_pic.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "test_support.h"

namespace {

class TypeCtlPicTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    image_ = QImage(220, 30, QImage::Format_ARGB32_Premultiplied);
    image_.fill(Qt::white);
    dc_.Attach(&image_);
  }
  ScopedTestScheme scheme_;
  QImage image_;
  CDC dc_;
};

TEST_F(TypeCtlPicTest, SelectionFollowsStatesClicksAndCalls) {
  CTypeCtlPic bar;
  EXPECT_EQ(bar.GetCurSel(), CTypeCtlPic::kNoTab);
  EXPECT_EQ(bar.AddTab("", 1), 0);
  EXPECT_EQ(bar.AddTab(GBK("沪A"), 0), 1);
  EXPECT_EQ(bar.AddTab(GBK("深A"), 1), 1);
  EXPECT_EQ(bar.AddTab(GBK("板块"), 0), 1);
  EXPECT_EQ(bar.GetCurSel(), 1);
  bar.SetRect(0, 0, 200, 20);
  ASSERT_EQ(bar.Draw(&dc_), 1);

  const RECT third = bar.GetTab(2)->rect;
  EXPECT_EQ(bar.OnClick(third.left + 10, 5), 1);
  EXPECT_EQ(bar.GetCurSel(), 2);
  EXPECT_EQ(bar.GetTab(1)->state, 0);
  EXPECT_EQ(bar.GetTab(2)->state, 1);
  EXPECT_EQ(bar.OnClick(190, 5), 0);  // inside the bar, after the last tab
  EXPECT_EQ(bar.GetCurSel(), 2);

  bar.SetCurTabText(GBK("自选"));
  EXPECT_EQ(bar.GetTab(2)->name, GBK("自选"));
  bar.SetCurIndex(0);  // the index only
  EXPECT_EQ(bar.GetTab(0)->state, 0);
  EXPECT_EQ(bar.GetTab(2)->state, 1);
  bar.SetCurSel(-1);
  EXPECT_EQ(bar.GetCurSel(), CTypeCtlPic::kNoTab);
  EXPECT_EQ(bar.GetTab(0)->state, 0);
  bar.SetUnitState(7, 1);  // invalid indices change nothing
  bar.SetCurTabText("x");
  EXPECT_EQ(bar.GetTab(7), nullptr);
  bar.SetRect(0, 0, 0, 20);
  EXPECT_EQ(bar.Draw(&dc_), 0);
}

// Tabs are laid out past the bar's width but not painted there; the part
// of a tab inside the bar answers the hit test, the part outside does not.
TEST_F(TypeCtlPicTest, HitTestingPastTheBarsWidth) {
  CTypeCtlPic bar;
  for (const char* name : {"ABCDEF", "GHIJKL", "MNOPQR", "STUVWX"}) bar.AddTab(name, 0);
  bar.SetCurSel(0);
  bar.SetRect(10, 0, 130, 20);
  ASSERT_EQ(bar.Draw(&dc_), 1);
  // Tabs touch, each its text width + 2 x slant wide.
  int sum = 0, firstPast = -1;
  for (int i = 0; i < bar.GetTabCount(); ++i) {
    const RECT r = bar.GetTab(i)->rect;
    EXPECT_EQ(r.left, i == 0 ? 10 : (int)bar.GetTab(i - 1)->rect.right);
    EXPECT_EQ(r.bottom, 20);
    sum += RectWidth(r);
    if (firstPast < 0 && sum > 120) firstPast = i;
  }
  ASSERT_GT(firstPast, 0) << "the names must run past the bar";
  const RECT past = bar.GetTab(firstPast)->rect;
  ASSERT_LT(past.left, 130);
  ASSERT_GT(past.right, 130);
  EXPECT_EQ(bar.HitTest(past.left + 2, 10), firstPast);
  EXPECT_EQ(bar.HitTest(past.right - 2, 10), -1);
  EXPECT_EQ(bar.HitTest(5, 10), -1);  // left of the bar
  EXPECT_EQ(bar.GetTabPos(&dc_).x, 10 + 4 + sum);

  // The tab past the width is not painted: its inside keeps the bar colour.
  const COLORREF background = CSysStyle::GetInstance()->GetColor(19);
  const int middle = (past.left + 4 + std::min<int>(past.right, 130)) / 2;
  EXPECT_EQ(dc_.GetPixel(middle, 3), background);
  // The current tab is filled dark red, the others grey.
  const RECT first = bar.GetTab(0)->rect, second = bar.GetTab(1)->rect;
  EXPECT_EQ(dc_.GetPixel((first.left + first.right) / 2, 18), RGB(128, 0, 0));
  EXPECT_EQ(dc_.GetPixel((second.left + second.right) / 2, 18), RGB(128, 128, 128));
  EXPECT_EQ(dc_.GetPixel(150, 10), RGB(255, 255, 255));  // nothing outside the bar
}

// Where a tab's label is inked: the box of the pixels that differ from the
// tab's fill between its slanted ends and below its top edge. Empty when
// there are none.
RECT LabelInk(const CDC& dc, const RECT& tab, int slant, COLORREF fill) {
  RECT ink{tab.right, tab.bottom, tab.left, tab.top};
  for (int y = tab.top + 1; y < tab.bottom; ++y)
    for (int x = tab.left + slant + 1; x < tab.right - slant; ++x) {
      if (dc.GetPixel(x, y) == fill) continue;
      ink = RECT{std::min<int>(ink.left, x), std::min<int>(ink.top, y),
                 std::max<int>(ink.right, x + 1), std::max<int>(ink.bottom, y + 1)};
    }
  return ink;
}

// A bar of the height the font asks for keeps every label (the quote list's
// market tabs, current or not) its margin from the slanted ends and from
// the top and bottom.
TEST_F(TypeCtlPicTest, LabelsKeepTheirMarginInsideTheirTabs) {
  CTypeCtlPic bar;
  for (const char* name : {"全部藏品", "指数", "钱币", "邮票", "电话卡", "邮资封片", "自选藏品"})
    bar.AddTab(GBK(name), 0);
  bar.SetCurSel(2);
  const int height = bar.GetFittingHeight(&dc_);
  QImage image(500, height + 4, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  CDC dc;
  dc.Attach(&image);
  bar.SetRect(0, 2, 500, 2 + height);
  ASSERT_EQ(bar.Draw(&dc), 1);
  constexpr int s = 4, m = CTypeCtlPic::kLabelMargin;
  for (int i = 0; i < bar.GetTabCount(); ++i) {
    const RECT tab = bar.GetTab(i)->rect;
    ASSERT_EQ(tab.bottom - tab.top, height);
    const RECT ink = LabelInk(dc, tab, s, i == 2 ? RGB(128, 0, 0) : RGB(128, 128, 128));
    ASSERT_LT(ink.left, ink.right) << "no label in tab " << i;
    // One pixel of antialiasing either way.
    EXPECT_GE(ink.left, tab.left + s + m - 1) << i;
    EXPECT_LE(ink.right, tab.right - s - m + 1) << i;
    EXPECT_GE(ink.top, tab.top + m - 1) << i;
    EXPECT_LE(ink.bottom, tab.bottom - m + 1) << i;
  }
}

TEST_F(TypeCtlPicTest, MarkerIsReadOnWholeCharacters) {
  CTypeCtlPic bar;
  const std::string name = std::string(GBK("板块")) + CTypeCtlPic::Marker();
  bar.AddTab(name.c_str(), 1);
  // Two characters whose bytes hold the marker's bytes across their
  // boundary: B0 A8 | 8D 40.
  bar.AddTab("\xB0\xA8\x8D\x40", 0);
  bar.SetRect(0, 0, 200, 20);
  ASSERT_EQ(bar.Draw(&dc_), 1);
  const RECT r = bar.GetTab(0)->rect;
  std::string text = "stale";
  bar.GetTabText(text, r.right - 5);  // on the marker, just inside the slant
  EXPECT_EQ(text, "");
  bar.GetTabText(text, r.left + 6);  // on the name
  EXPECT_EQ(text, GBK("板块"));
  bar.SetCurSel(1);
  bar.GetTabText(text, 1000);
  EXPECT_EQ(text, "\xB0\xA8\x8D\x40");
}

}  // namespace
