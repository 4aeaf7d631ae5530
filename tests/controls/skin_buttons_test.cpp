// The state-image button (which frame shows, how mouse, focus and enabling
// move its state, its click), the transparent static's busy and progress
// modes, the caption buttons' frames and glyphs, and the skinned controls
// as table kinds of a dialog.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <string>
#include <vector>

#include "zeb/controls/skin_paint.h"
#include "zeb/controls/translucent_btn.h"
#include "zeb/controls/transparent_stat.h"
#include "zeb/controls/wdialog.h"
#include "zeb/controls/wndless_button.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "test_support.h"

namespace {

// A window that records the commands of its children.
class Host : public CWndImpl<QWidget> {
 public:
  std::vector<std::pair<int, int>> commands;  // id, notification
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
  }
};

class SkinButtonsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  void SetUp() override {
    ASSERT_TRUE(host_.Create(nullptr, CRect(200, 200, 500, 400), 0, WS_POPUP | WS_VISIBLE));
  }
  void TearDown() override { host_.DestroyWindow(); }
  // The picture a window paints itself, on black.
  static QImage Render(QWidget& w) {
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    w.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
  }
  Host host_;
};

TEST_F(SkinButtonsTest, TranslucentButtonShowsTheFrameOfItsState) {
  struct Row {
    const char* what;
    int frames, layout, state;
    bool enabled;
    int kind;
    int shown;
  } rows[] = {
      {"normal", 4, zebui::kFramesStacked, kBtnNormal, true, 0, 0},
      {"hover", 4, zebui::kFramesStacked, kBtnHover, true, 0, 1},
      {"pressed", 4, zebui::kFramesStacked, kBtnPressed, true, 0, 2},
      {"state 3 on an enabled button shows normal", 4, zebui::kFramesStacked, kBtnDisabled, true, 0,
       0},
      {"disabled", 4, zebui::kFramesStacked, kBtnNormal, false, 0, 3},
      {"disabled with two frames shows the last", 2, zebui::kFramesStacked, kBtnHover, false, 1, 1},
      {"a state past the frames shows the last", 2, zebui::kFramesStacked, kBtnPressed, true, 1, 1},
      {"kind 5 draws no image", 4, zebui::kFramesStacked, kBtnNormal, true, 5, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    CTranslucentBtn button;
    ASSERT_TRUE(button.Create(&host_, CRect(0, 0, 80, 27), 500));
    button.SetImage(r.kind, ":/skin/button_blue.png", r.frames, r.layout);
    button.SetState(r.state);
    button.EnableWindow(r.enabled);
    if (r.enabled) button.SetState(r.state);  // enabling resets the state
    EXPECT_EQ(button.GetShownFrame(), r.shown);
    button.DestroyWindow();
  }

  // The paint shows that frame: its middle pixel is the strip's.
  const QImage strip(":/skin/button_blue.png");
  CTranslucentBtn button;
  ASSERT_TRUE(button.Create(&host_, CRect(0, 0, 80, 27), 501));
  button.SetImage(CTranslucentBtn::kKindText, ":/skin/button_blue.png", 4, zebui::kFramesStacked);
  for (int state : {kBtnNormal, kBtnHover, kBtnPressed}) {
    button.SetState(state);
    EXPECT_EQ(Render(button).pixel(40, 13), strip.pixel(40, 27 * state + 13)) << state;
  }
  button.EnableWindow(FALSE);
  EXPECT_EQ(Render(button).pixel(40, 13), strip.pixel(40, 27 * 3 + 13));
  EXPECT_EQ(button.GetFrameWidth(), 80);
  EXPECT_EQ(button.GetFrameHeight(), 27);

  // An unknown kind resets the kind and keeps the image.
  button.SetImage(7, ":/skin/mode_toggle.png", 2, zebui::kFramesStacked);
  EXPECT_EQ(button.GetKind(), CTranslucentBtn::kKindText);
  EXPECT_EQ(button.GetFrameHeight(), 27);
  CTranslucentBtn bare;
  ASSERT_TRUE(bare.Create(&host_, CRect(0, 30, 80, 57), 502));
  bare.SetWindowText("text");
  EXPECT_EQ(bare.GetShownFrame(), -1);  // nothing drawn without an image, not even the text
  EXPECT_EQ(bare.GetFrameWidth(), 80);
  EXPECT_EQ(bare.GetFrameHeight(), 27);
  const QImage nothing = Render(bare);
  EXPECT_EQ(nothing.pixel(40, 13), qRgb(0, 0, 0));
}

TEST_F(SkinButtonsTest, TranslucentButtonStatesFollowTheUser) {
  ASSERT_TRUE(platform::testing::ShowAndActivate(&host_));
  CTranslucentBtn button;
  ASSERT_TRUE(button.Create(&host_, CRect(10, 10, 90, 37), 600));
  button.SetImage(0, ":/skin/button_blue.png", 4, zebui::kFramesStacked);
  QTest::mouseMove(&button, QPoint(20, 10));
  EXPECT_EQ(button.GetState(), kBtnHover);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_EQ(button.GetState(), kBtnPressed);
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_EQ(button.GetState(), kBtnHover);
  EXPECT_EQ(host_.commands, (std::vector<std::pair<int, int>>{{600, (int)BN_CLICKED}}));
  button.SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(button.GetState(), kBtnNormal);

  // A mode button ignores hover and focus, but a click still sets it.
  button.SetNoHover(true);
  QTest::mouseMove(&button, QPoint(30, 12));
  EXPECT_EQ(button.GetState(), kBtnNormal);
  button.SetState(kBtnHover);  // "selected"
  button.SendMessage(WM_MOUSELEAVE);
  EXPECT_EQ(button.GetState(), kBtnHover);
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
  EXPECT_EQ(host_.commands.size(), 2u);

  // Disabled: frame 3, no click, no hover; enabled again: normal.
  button.SetNoHover(false);
  button.EnableWindow(FALSE);
  EXPECT_EQ(button.GetState(), kBtnDisabled);
  EXPECT_EQ(button.GetShownFrame(), 3);
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(30, 12));
  button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 12));
  EXPECT_EQ(button.GetState(), kBtnDisabled);
  EXPECT_EQ(host_.commands.size(), 2u);
  button.EnableWindow(TRUE);
  EXPECT_EQ(button.GetState(), kBtnNormal);
}

TEST_F(SkinButtonsTest, TransparentStaticBusyAndProgress) {
  CTransparentStat busy;
  ASSERT_TRUE(busy.Create(&host_, CRect(0, 0, 200, 40), 700));
  busy.SetStyle(MakeARGB(255, 0, 0, 0), 12, 0, CTransparentStat::kModeBusy, "", 0);
  // The busy timer runs: each tick advances the frame.
  ::SendMessage(busy.GetSafeHwnd(), WM_TIMER, CTransparentStat::kBusyTimer, 0);
  ::SendMessage(busy.GetSafeHwnd(), WM_TIMER, CTransparentStat::kBusyTimer, 0);
  EXPECT_EQ(busy.GetFrameCounter(), 2);
  EXPECT_TRUE(busy.KillTimer(CTransparentStat::kBusyTimer));  // it was started
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(CTransparentStat::BusyDotGrey(i, 3), CTransparentStat::BusyDotGrey(i, 3 + 255)) << i;
    EXPECT_GE(CTransparentStat::BusyDotGrey(i, 3), 1);
  }
  EXPECT_EQ(CTransparentStat::BusyDotGrey(0, 0), 255);
  const QImage dots = Render(busy);
  const int g = CTransparentStat::BusyDotGrey(0, 2);
  EXPECT_EQ(dots.pixelColor(200 - 35 + 5, (40 - 20) / 2 + 20 + 5), QColor(g, g, g));

  CTransparentStat bar;
  ASSERT_TRUE(bar.Create(&host_, CRect(0, 50, 200, 66), 701));
  bar.SetStyle(MakeARGB(255, 0, 0, 0), 12, 0, CTransparentStat::kModeProgress, "", 0);
  struct Row {
    int progress, filledTo;
  } rows[] = {{0, 0}, {40, 80}, {100, 200}, {150, 200}, {-5, 0}};
  for (const Row& r : rows) {
    bar.SetProgress(r.progress);
    const QImage image = Render(bar);
    if (r.filledTo > 0) {
      EXPECT_EQ(image.pixelColor(r.filledTo - 1, 8), QColor(20, 161, 250)) << r.progress;
    }
    if (r.filledTo < 200) {
      EXPECT_EQ(image.pixelColor(r.filledTo, 8), QColor(0, 0, 0)) << r.progress;
    }
  }
}

// Caption buttons: a strip of 8 stacked frames sizes the button to one
// frame and shows the state's frame; a strip of 4 frames side by side does
// the same for the other commands; without an image each draws its glyph
// in the state's line colour.
TEST_F(SkinButtonsTest, CaptionButtonFramesAndGlyphs) {
  WWndLessButton close;
  close.Create(RECT{0, 0, 50, 22}, &host_, ID_CAPTION_CLOSE, ":/skin/caption_close.png", nullptr,
               "");
  EXPECT_EQ(CSize(close.GetSize()), CSize(40, 22));
  WWndLessButton back;
  back.Create(RECT{38, 54, 64, 80}, &host_, ID_CAPTION_BACK, ":/skin/caption_back.png", nullptr,
              "");
  EXPECT_EQ(CSize(back.GetSize()), CSize(26, 26));
  WRestoreButton minimise;
  minimise.Create(RECT{0, 0, 27, 22}, &host_, ID_CAPTION_MINIMIZE, ID_CAPTION_RESTORE, "", nullptr,
                  "");
  EXPECT_EQ(CSize(minimise.GetSize()), CSize(27, 22));

  QImage image(100, 30, QImage::Format_ARGB32_Premultiplied);
  CDC dc(&image);
  const QImage strip(":/skin/caption_close.png");
  for (int state : {kBtnNormal, kBtnHover, kBtnPressed, kBtnDisabled}) {
    image.fill(Qt::black);
    close.SetState(state);
    close.Draw(0, 0, &dc);
    EXPECT_EQ(image.pixel(3, 11), QColor::fromRgba(strip.pixel(3, 22 * state + 11)).rgb()) << state;
  }
  // Glyphs: the minimise bar in the line colour of each state.
  for (int state : {kBtnNormal, kBtnHover, kBtnPressed, kBtnDisabled}) {
    image.fill(Qt::black);
    minimise.SetState(state);
    minimise.Draw(10, 0, &dc);
    EXPECT_EQ(dc.GetPixel(10 + 9, 8), minimise.LineColor()) << state;
  }
  EXPECT_EQ(minimise.LineColor(), RGB(168, 168, 168));
  minimise.SetState(kBtnNormal);
  minimise.SetMode(WWndLessButton::kModeLight);
  EXPECT_EQ(minimise.LineColor(), RGB(244, 244, 244));
  minimise.SwapIds();
  EXPECT_EQ(minimise.GetID(), ID_CAPTION_RESTORE);
  EXPECT_EQ(minimise.GetAlternateID(), ID_CAPTION_MINIMIZE);
  // A button without a command draws nothing.
  WWndLessButton none;
  image.fill(Qt::black);
  none.Draw(0, 0, &dc);
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
}

// A skinned dialog's table can name the skinned controls; they are windows
// with handles, found by id with their class.
TEST_F(SkinButtonsTest, SkinnedControlsAsTableKinds) {
  const platform::DialogItem items[] = {
      {kTranslucentBtn, IDOK, "OK", 10, 10, 80, 27},
      {kTransparentStat, 1187, "label", 10, 50, 100, 20},
  };
  WDialog dialog(platform::PixelTemplate(200, 100, items, WS_POPUP), "kinds");
  dialog.SetDialogMode(WDLG_MODE_OWN, 0);
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* ok = platform::testing::FindCtl<CTranslucentBtn>(dialog, IDOK);
  auto* label = platform::testing::FindCtl<CTransparentStat>(dialog, 1187);
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_NE(ok->GetSafeHwnd(), nullptr);
  EXPECT_EQ(label->GetWindowTextString(), "label");
  EXPECT_EQ(dialog.GetCaptionButton(ID_CAPTION_CLOSE), nullptr);  // mode 300, style 0: no buttons
  dialog.DestroyWindow();
}

}  // namespace
