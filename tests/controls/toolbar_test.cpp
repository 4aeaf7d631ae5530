// The flat tool bars: where buttons lie along and across a dock side, which
// command a click posts (and what a split drop-down asks its frame first),
// where hosted controls go, how a pressed drop-down looks, the key-grey
// recolouring of image strips and the captioned cells of the drawing bar.
#include <QComboBox>
#include <QImage>
#include <QTest>
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "zeb/controls/mt_toolbar.h"
#include "zeb/controls/toolbar_resources.h"
#include "zeb/controls/toolbar_xp.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "sharecode/color_hsl.h"

namespace {

using zebui::ToolButton;

constexpr UINT kHome = 0x5100, kMarkets = 0x6311, kBlocks = 0x6317, kTimeShare = 0x6701,
               kKLine = 0x6706, kSettings = 0x6907, kCombo = 0x6FF0;
constexpr UINT kSentinel = 0x7FFF;

const zebui::ToolBarItem kMainItems[] = {
    {kHome, "Home page\nHome page"},
    {0},
    {kMarkets, "Markets\nMarkets", zebui::kImgMarkets},
    {kBlocks, "Blocks\nBlocks", zebui::kImgBlocks},
    {0},
    {kTimeShare, "Time-share\nTime-share", zebui::kImgTimeShare},
    {kKLine, "K-line\nK-line", zebui::kImgKLine},
    {kSettings, "Settings\nSettings", zebui::kImgSettings}};
const zebui::ToolBarResource kModule[] = {{120, 16, 16, zebui::kMainToolStrip, kMainItems}};

// A frame that records every command it hears, in order, and may take the
// drop-down notifications of the bar.
class CommandFrame : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  bool takesDropDowns = false;
  UINT disabled = 0;
  UINT checked = 0;

  BOOL OnCommand(WPARAM w, LPARAM) override {
    const UINT id = LOWORD(w);
    commands.push_back(id);
    const bool dropDown = id == ((0u - kMarkets) & 0xFFFF) || id == ((0u - kBlocks) & 0xFFFF);
    return dropDown ? (takesDropDowns ? TRUE : FALSE) : TRUE;
  }
  BOOL OnUpdateCmdUI(CCmdUI* ui) override {
    if (ui->m_nID == disabled) ui->Enable(FALSE);
    if (ui->m_nID == checked) ui->SetCheck(1);
    return ui->m_nID == disabled || ui->m_nID == checked;
  }
};

struct BarScene {
  bool app = platform::testing::EnsureApplication() != nullptr;
  CommandFrame frame;  // before the bar: the bar is the frame's child
  CToolBarXP bar;

  BarScene() {
    EXPECT_TRUE(frame.Create(nullptr, CRect(0, 0, 700, 300), 0, WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(
        bar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS));
    EXPECT_TRUE(bar.LoadToolBar(kModule, 120));
    bar.SetButtonStyle(bar.CommandToIndex(kMarkets), TBSTYLE_DROPDOWN);
    bar.SetButtonStyle(bar.CommandToIndex(kBlocks), TBSTYLE_DROPDOWN);
    bar.LoadImages(zebui::kMainToolStrip, zebui::kMainToolStripDisabled, 16, 16);
    frame.AddControlBar(&bar);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_TRUE(platform::testing::ShowAndActivate(frame.GetWidget()));
    Settle();
  }
  // Until Qt has placed the bar's buttons and the bar has laid them out.
  void Settle() {
    platform::PumpUntil(
        [&] {
          QApplication::processEvents();
          CRect before, after;
          bar.GetItemRect(0, &before);
          QApplication::processEvents();
          bar.GetItemRect(0, &after);
          return EqualRect(before, after) && !after.IsRectEmpty();
        },
        5000);
  }
  CRect ItemRect(UINT id) {
    CRect r;
    bar.GetItemRect(bar.CommandToIndex(id), &r);
    return r;
  }
  // Every command posted so far has arrived once the sentinel posted now has.
  void DrainPosts() {
    frame.PostMessage(WM_COMMAND, kSentinel, 0);
    platform::PumpUntil(
        [&] { return !frame.commands.empty() && frame.commands.back() == kSentinel; }, 5000);
    frame.commands.pop_back();
  }
  QColor PixelAt(POINT p) { return bar.GetWidget()->grab().toImage().pixelColor(p.x, p.y); }
};

QColor Colour(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

TEST(ToolBarLayout, ButtonsLieAlongARowOrAcrossAVerticalBar) {
  std::vector<ToolButton> buttons(6);
  buttons[0].id = 1;
  buttons[1].style = TBSTYLE_SEP;
  buttons[2].id = 2;
  buttons[2].style = TBSTYLE_DROPDOWN;
  buttons[3].id = 900;  // the place of a control 80 wide
  buttons[3].style = TBSTYLE_SEP;
  buttons[3].image = 80;
  buttons[4].id = 3;
  buttons[5].id = 4;
  buttons[5].state = TBSTATE_ENABLED | TBSTATE_HIDDEN;

  const SIZE along = zebui::LayoutToolButtons(buttons, POINT{10, 2}, SIZE{23, 23}, true, false);
  EXPECT_EQ(CRect(buttons[0].rect), CRect(10, 2, 33, 25));
  EXPECT_EQ(CRect(buttons[1].rect), CRect(33, 2, 41, 25));
  EXPECT_EQ(CRect(buttons[2].rect), CRect(41, 2, 78, 25));  // 14 wider for its arrow
  EXPECT_EQ(CRect(buttons[3].rect), CRect(78, 2, 158, 25));
  EXPECT_EQ(CRect(buttons[4].rect), CRect(158, 2, 181, 25));
  EXPECT_TRUE(CRect(buttons[5].rect).IsRectEmpty());
  EXPECT_EQ(CSize(along), CSize(171, 23));
  EXPECT_FALSE(buttons[3].IsHidden());

  const SIZE across = zebui::LayoutToolButtons(buttons, POINT{0, 0}, SIZE{23, 23}, true, true);
  EXPECT_EQ(CRect(buttons[0].rect), CRect(0, 0, 37, 23));  // as wide as the widest button
  EXPECT_EQ(CRect(buttons[1].rect), CRect(0, 23, 37, 31));
  EXPECT_TRUE(buttons[1].state & TBSTATE_WRAP);
  EXPECT_TRUE(buttons[3].IsHidden());
  EXPECT_EQ(CRect(buttons[4].rect), CRect(0, 54, 37, 77));
  EXPECT_EQ(CSize(across), CSize(37, 77));

  zebui::LayoutToolButtons(buttons, POINT{0, 0}, SIZE{23, 23}, true, false);
  EXPECT_FALSE(buttons[3].IsHidden());
  EXPECT_FALSE(buttons[1].state & TBSTATE_WRAP);

  // The arrow part starts 13 pixels in from the right edge.
  const ToolButton& split = buttons[2];
  EXPECT_FALSE(zebui::OnDropArrow(split, POINT{split.rect.right - 14, 5}, true));
  EXPECT_TRUE(zebui::OnDropArrow(split, POINT{split.rect.right - 13, 5}, true));
  EXPECT_FALSE(zebui::OnDropArrow(split, POINT{split.rect.right - 13, 5}, false));
  EXPECT_EQ(zebui::HitTestToolButton(buttons, POINT{split.rect.right - 1, 5}), 2);
  EXPECT_EQ(zebui::HitTestToolButton(buttons, POINT{1000, 5}), -1);
}

TEST(ToolBarLayout, CommandStringsGiveTooltipsAndCaptionLines) {
  struct Case {
    const char* text;
    const char* tooltip;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"Line", "Line", {}},           {"Draw a line\nLine", "Line", {"Line"}},
      {"Tip\nA\nB", "A", {"A", "B"}}, {"Tip\nA\n", "A", {"A"}},
      {"Tip\n\nB", "", {"", "B"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(zebui::ToolTipOfCommandString(c.text), c.tooltip);
    EXPECT_EQ(zebui::CaptionLinesOfCommandString(c.text), c.lines);
  }
}

// A click posts the button's command to the frame; a press on a split
// arrow sends the frame the negated id first, and only when the frame does
// not take it does the press go on as a click.
TEST(ToolBar, AClickPostsItsCommandAndASplitArrowAsksTheFrameFirst) {
  struct Case {
    const char* name;
    UINT button;
    bool onArrow;
    bool frameTakesDropDown;
    UINT disabledByUpdateUi;
    std::vector<UINT> heardDuringClick;  // sent
    std::vector<UINT> heardAfter;        // sent, then posted
  };
  const UINT dropMarkets = (0u - kMarkets) & 0xFFFF;
  const Case cases[] = {
      {"a plain button", kKLine, false, false, 0, {}, {kKLine}},
      {"the body of a split button", kMarkets, false, false, 0, {}, {kMarkets}},
      {"the arrow, taken by the frame", kMarkets, true, true, 0, {dropMarkets}, {dropMarkets}},
      {"the arrow, left to the button",
       kMarkets,
       true,
       false,
       0,
       {dropMarkets},
       {dropMarkets, kMarkets}},
      {"a button disabled by update-UI", kKLine, false, false, kKLine, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BarScene s;
    s.frame.takesDropDowns = c.frameTakesDropDown;
    s.frame.disabled = c.disabledByUpdateUi;
    s.bar.SendMessage(WM_TIMER, CToolBarBase::kUpdateUiTimer);
    const CRect r = s.ItemRect(c.button);
    const QPoint at(c.onArrow ? r.right - 5 : r.left + 5, r.top + 5);
    QTest::mouseClick(s.bar.GetWidget(), Qt::LeftButton, {}, at);
    EXPECT_EQ(s.frame.commands, c.heardDuringClick);
    s.DrainPosts();
    EXPECT_EQ(s.frame.commands, c.heardAfter);
  }
}

// Pressed on its arrow part (the frame leaving the press to the button), a
// drop-down button looks hot, not pressed, until the mouse moves onto its
// body; checked buttons have their own shade.
TEST(ToolBar, ADropDownPressedOnItsArrowLooksHotUntilTheMouseReachesItsBody) {
  BarScene s;
  s.frame.checked = kTimeShare;
  s.bar.SendMessage(WM_TIMER, CToolBarBase::kUpdateUiTimer);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const CRect r = s.ItemRect(kMarkets);
  const POINT inBody{r.left + 1, r.bottom - 2};  // below the image, inside the frame
  QWidget* w = s.bar.GetWidget();

  QTest::mouseMove(w, QPoint(r.right - 5, r.top + 5));
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(r.right - 5, r.top + 5));
  EXPECT_EQ(s.PixelAt(inBody), Colour(AdjustColorHsl(highlight, 70, -57)));
  QTest::mouseMove(w, QPoint(r.left + 5, r.top + 5));
  EXPECT_EQ(s.PixelAt(inBody), Colour(AdjustColorHsl(highlight, 50, -50)));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(r.left + 5, r.top + 5));

  const CRect checked = s.ItemRect(kTimeShare);
  EXPECT_EQ(s.PixelAt(POINT{checked.left + 1, checked.bottom - 2}),
            Colour(AdjustColorHsl(highlight, 80, -66)));
  const CRect plain = s.ItemRect(kSettings);
  EXPECT_EQ(s.PixelAt(POINT{plain.left + 1, plain.bottom - 2}),
            Colour(AdjustColorHsl(GetSysColor(COLOR_BTNFACE), 20, 0)));
}

// A control on a separator's place sits on its rectangle shrunk by one
// pixel; docked at a side the bar leaves it out, and back at the top it
// returns.
TEST(ToolBar, AHostedControlFollowsItsSeparatorAndHidesOnASideDock) {
  BarScene s;
  const int place = s.bar.CommandToIndex(kTimeShare) - 1;  // the separator before it
  s.bar.SetButtonInfo(place, kCombo, TBSTYLE_SEP, 90);
  const platform::DialogItem item{platform::kComboBox, (int)kCombo, nullptr, 0, 0, 90, 200,
                                  CBS_DROPDOWNLIST};
  QWidget* combo = platform::CreateControl(&s.bar, item, CRect(0, 0, 90, 200));
  ASSERT_NE(combo, nullptr);
  s.bar.RecalcLayout();
  s.Settle();

  auto placedOnSeparator = [&] {
    CRect r;
    s.bar.GetItemRect(place, &r);
    return combo->isVisibleTo(s.bar.GetWidget()) && combo->x() == r.left + 1 &&
           combo->y() == r.top + 1 && combo->width() == r.Width() - 2;
  };
  EXPECT_TRUE(platform::PumpUntil(placedOnSeparator, 5000));
  CRect r;
  s.bar.GetItemRect(place, &r);
  EXPECT_EQ(r.Width(), 90);

  s.frame.addToolBar(Qt::LeftToolBarArea, &s.bar);
  EXPECT_TRUE(platform::PumpUntil([&] { return s.bar.IsVertical(); }, 5000));
  EXPECT_FALSE(combo->isVisibleTo(s.bar.GetWidget()));
  EXPECT_TRUE(s.bar.GetButton(place)->IsHidden());

  s.frame.addToolBar(Qt::TopToolBarArea, &s.bar);
  EXPECT_TRUE(platform::PumpUntil(placedOnSeparator, 5000));
}

TEST(ToolBar, KeyGreyTakesTheFaceColourOfTheSystemClassRowByRow) {
  platform::testing::EnsureApplication();
  const struct {
    int osClass;
    COLORREF face;
  } classes[] = {{1, RGB(200, 204, 200)},
                 {5, RGB(239, 236, 222)},
                 {4, RGB(219, 218, 210)},
                 {0, RGB(219, 218, 210)}};
  for (const auto& c : classes)
    EXPECT_EQ(CToolBarXP::FaceColorOfOsClass(c.osClass), c.face) << c.osClass;
  EXPECT_EQ(CToolBarXP::GetOsClass(), 4);

  // 5 pixels of 3 bytes: each row is padded to 16 bytes.
  QImage image(5, 3, QImage::Format_RGB888);
  image.fill(QColor(10, 20, 30));
  for (int y = 0; y < 3; ++y) image.setPixelColor(4, y, QColor(192, 192, 192));
  image.setPixelColor(0, 2, QColor(192, 192, 192));
  image.setPixelColor(1, 2, QColor(192, 192, 191));
  ASSERT_GT(image.bytesPerLine(), 15);
  CToolBarXP::RecolorBitmap(image);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const bool key = x == 4 || (x == 0 && y == 2);
      const QColor want = key ? QColor(219, 218, 210)
                              : (x == 1 && y == 2 ? QColor(192, 192, 191) : QColor(10, 20, 30));
      EXPECT_EQ(image.pixelColor(x, y), want) << x << "," << y;
    }
  }
}

// The drawing bar's cells hold the image and the caption lines under it:
// no lines leave the cell as large as the image.
TEST(ToolBar, CaptionedCellsGrowWithTheirLongestLine) {
  platform::testing::EnsureApplication();
  const zebui::ToolBarItem noCaptions[] = {{29953, "Select"}, {0}, {29954, "Line"}};
  const zebui::ToolBarItem captions[] = {
      {29953, "Select\nSelect lines"}, {0}, {29954, "Line\nLine"}};
  const zebui::ToolBarItem twoLines[] = {{29953, "Select\nSelect\nlines"}, {29954, "Line\nLine"}};
  const zebui::ToolBarResource module[] = {{206, 16, 16, zebui::kDrawToolStrip, noCaptions},
                                           {207, 16, 16, zebui::kDrawToolStrip, captions},
                                           {208, 16, 16, zebui::kDrawToolStrip, twoLines},
                                           {209, 16, 16, ":/toolbar/missing.png", captions}};
  CFont font;
  font.CreateFont(12, 6, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
  CDC measure;
  measure.SelectObject(&font);
  const SIZE longest = measure.GetTextExtent("Select lines");

  auto widest = [&](std::initializer_list<const char*> lines) {
    int w = 16;
    for (const char* line : lines) w = std::max(w, (int)measure.GetTextExtent(line).cx);
    return w;
  };
  struct Case {
    UINT buttonsFrom, id;
    BOOL loads;
    CSize button;
  };
  const Case cases[] = {
      {206, 206, TRUE, CSize(23, 23)},
      {207, 207, TRUE, CSize(widest({"Select lines", "Line"}) + 7, (int)longest.cy + 16 + 7)},
      {208, 208, TRUE,
       CSize(widest({"Select", "lines", "Line"}) + 7, 2 * (int)longest.cy + 16 + 7)},
      {207, 209, FALSE, CSize(23, 23)},  // its strip is missing
      {206, 210, FALSE, CSize(23, 23)},  // no such resource
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    CMTToolBar bar;
    ASSERT_TRUE(bar.Create(nullptr, WS_POPUP));
    ASSERT_TRUE(bar.LoadToolBar(module, c.buttonsFrom));
    EXPECT_EQ(bar.LoadTextToolBar(module, c.id), c.loads);
    EXPECT_EQ(CSize(bar.GetButtonSize()), c.button);
    if (c.loads) {
      EXPECT_EQ(bar.GetImageList().GetImageCount(), 2);
    }
    bar.DestroyWindow();
  }
}

}  // namespace
