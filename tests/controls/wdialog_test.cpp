// The skinned dialog frame: its skin image and shape, the caption buttons
// as a user works them (hover, press, click, tooltips, the restore swap),
// dragging by the caption and the empty client area, and what it paints.
#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QToolTip>
#include <functional>
#include <string>
#include <vector>

#include "zeb/controls/wdialog.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"
#include "test_support.h"

namespace {

using platform::testing::FindCtl;

const platform::DialogItem kItems[] = {
    {platform::kStatic, 1001, "label", 10, 10, 100, 20},
    {platform::kButton, IDOK, "OK", 10, 100, 60, 24},
};

class TestDialog : public WDialog {
 public:
  explicit TestDialog(DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU, std::string skin = "",
                      int top = 30, int bottom = 50)
      : WDialog(platform::PixelTemplate(300, 200, kItems, style), "TestDialog"),
        skin_(std::move(skin)),
        top_(top),
        bottom_(bottom) {}
  BOOL OnInitDialog() override {
    if (!skin_.empty()) skinLoaded = SetBkImage(skin_, top_, bottom_);
    return WDialog::OnInitDialog();
  }
  void AfterInitDialog(int stage) override { afterInit.push_back(stage); }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    return WDialog::OnCommand(wParam, lParam);
  }
  QPoint Centre(UINT id) {
    const RECT r = GetCaptionButton(id)->GetRect();
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  std::string Tip(UINT id) {
    std::string text;
    GetToolTip().GetText(text, this, id);
    return text;
  }
  int skinLoaded = -1;
  std::vector<int> afterInit;
  std::vector<UINT> commands;

 private:
  std::string skin_;
  int top_, bottom_;
};

class WDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  TempDir dir_;
  // A plain image of the size, written as PNG; its path.
  std::string WriteImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(20, 90, 160));
    const std::string path =
        dir_.File(std::to_string(width) + "x" + std::to_string(height) + ".png");
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
    return path;
  }
};

TEST_F(WDialogTest, SkinImageMustHoldBothBands) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  const std::string image = WriteImage(50, 40);
  EXPECT_EQ(dialog.SetBkImage(image, 20, 20), 1);  // exactly top + bottom high
  EXPECT_FALSE(dialog.HasMiddleImage());
  EXPECT_EQ(dialog.GetTopHeight(), 20);
  EXPECT_EQ(dialog.GetBottomHeight(), 20);
  CRect rect;
  dialog.GetWindowRect(&rect);
  EXPECT_EQ(rect.Width(), 50);
  EXPECT_EQ(rect.Height(), 40);
  EXPECT_EQ(dialog.SetBkImage(image, 20, 21), 0);  // one pixel less than the bands
  EXPECT_EQ(dialog.GetTopHeight(), 0);
  EXPECT_EQ(dialog.GetBottomHeight(), 0);
  EXPECT_EQ(dialog.SetBkImage(dir_.File("missing.png"), 0, 0), 0);
  EXPECT_EQ(dialog.SetBkImage(image, -1, 0), 0);
  EXPECT_EQ(dialog.SetBkImage(":/skin/dialog.png", 30, 50), 1);
  EXPECT_EQ(dialog.GetMiddleImageSize(), QSize(420, 220));
  dialog.DestroyWindow();
}

// The window's shape leaves out exactly the skin's key-coloured pixels;
// without a skin it has round corners.
TEST_F(WDialogTest, ShapeComesFromTheSkinsKeyColour) {
  TestDialog skinned(WS_POPUP | WS_CAPTION, ":/skin/dialog.png", 30, 50);
  ASSERT_TRUE(skinned.Create(nullptr));
  ASSERT_EQ(skinned.skinLoaded, 1);
  skinned.ShowWindow(SW_SHOW);
  ASSERT_TRUE(platform::PumpUntil([&] { return !skinned.GetWindowShape().isEmpty(); }, 5000));
  ExpectKeyMask(QImage(":/skin/dialog.png"), skinned.GetWindowShape());
  EXPECT_EQ(skinned.mask(), skinned.GetWindowShape());

  TestDialog plain;
  ASSERT_TRUE(plain.Create(nullptr));
  plain.ShowWindow(SW_SHOW);
  ASSERT_TRUE(platform::PumpUntil([&] { return !plain.GetWindowShape().isEmpty(); }, 5000));
  const QRegion& shape = plain.GetWindowShape();
  const int w = plain.width(), h = plain.height();
  EXPECT_FALSE(shape.contains(QPoint(0, 0)));  // (the region reaches one pixel past the window)
  EXPECT_TRUE(shape.contains(QPoint(w / 2, 0)));
  EXPECT_TRUE(shape.contains(QPoint(w / 2, h / 2)));
  skinned.DestroyWindow();
  plain.DestroyWindow();
}

// The minimise/restore button swaps its command once each way and its
// tooltip reads "还原" while minimised or maximised, "最小化" otherwise.
TEST_F(WDialogTest, RestoreButtonFollowsTheWindowState) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  dialog.ShowWindow(SW_SHOW);
  ASSERT_NE(dialog.GetCaptionButton(ID_CAPTION_MINIMIZE), nullptr);
  struct Row {
    const char* what;
    std::function<void()> act;
    UINT shown;
    const char* tip;
  } rows[] = {
      {"shown", [] {}, ID_CAPTION_MINIMIZE, "最小化"},
      {"minimise command", [&] { dialog.SendMessage(WM_COMMAND, ID_CAPTION_MINIMIZE); },
       ID_CAPTION_RESTORE, "还原"},
      {"restore command", [&] { dialog.SendMessage(WM_COMMAND, ID_CAPTION_RESTORE); },
       ID_CAPTION_MINIMIZE, "最小化"},
      {"maximised", [&] { dialog.ShowWindow(SW_SHOWMAXIMIZED); }, ID_CAPTION_RESTORE, "还原"},
      {"minimised from maximised: no second swap", [&] { dialog.ShowWindow(SW_MINIMIZE); },
       ID_CAPTION_RESTORE, "还原"},
      {"restored", [&] { dialog.ShowWindow(SW_RESTORE); }, ID_CAPTION_MINIMIZE, "最小化"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    r.act();
    platform::PumpMessages(0);
    EXPECT_EQ(dialog.GetRestoreButton()->GetID(), r.shown);
    EXPECT_EQ(dialog.Tip(ID_CAPTION_MINIMIZE), GBK(r.tip));
  }
  EXPECT_EQ(dialog.GetRestoreButton()->GetAlternateID(), ID_CAPTION_RESTORE);
  dialog.DestroyWindow();
}

// Caption buttons take hover, press and click; a press released elsewhere
// sends nothing; resting on a button shows its tooltip; the close button
// ends a modal dialog as its close box would.
TEST_F(WDialogTest, CaptionButtonsTakeTheMouse) {
  TestDialog dialog;
  platform::testing::ScopedModalScript script{[](CDialog& d) {
    auto& dlg = static_cast<TestDialog&>(d);
    ASSERT_TRUE(platform::testing::ShowAndActivate(&dlg));
    WWndLessButton* minimise = dlg.GetCaptionButton(ID_CAPTION_MINIMIZE);
    WWndLessButton* close = dlg.GetCaptionButton(ID_CAPTION_CLOSE);
    ASSERT_NE(close, nullptr);
    QTest::mouseMove(&dlg, dlg.Centre(ID_CAPTION_MINIMIZE));
    EXPECT_EQ(minimise->GetState(), kBtnHover);
    ASSERT_TRUE(platform::PumpUntil([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("最小化"));
    QTest::mouseMove(&dlg, dlg.Centre(ID_CAPTION_CLOSE));
    EXPECT_EQ(minimise->GetState(), kBtnNormal);
    EXPECT_EQ(close->GetState(), kBtnHover);
    // Pressed, dragged off, released: nothing.
    QTest::mousePress(&dlg, Qt::LeftButton, {}, dlg.Centre(ID_CAPTION_CLOSE));
    EXPECT_EQ(close->GetState(), kBtnPressed);
    QTest::mouseMove(&dlg, QPoint(150, 120));
    EXPECT_EQ(close->GetState(), kBtnNormal);
    QTest::mouseRelease(&dlg, Qt::LeftButton, {}, QPoint(150, 120));
    EXPECT_TRUE(dlg.commands.empty());
    // A click: the close command, then the dialog ends as cancelled.
    QTest::mouseClick(&dlg, Qt::LeftButton, {}, dlg.Centre(ID_CAPTION_CLOSE));
  }};
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.commands, (std::vector<UINT>{ID_CAPTION_CLOSE, IDCANCEL}));
  EXPECT_EQ(dialog.afterInit, std::vector<int>{1});
}

// The caption band and the empty client area drag the window; caption
// buttons do not; a panel has no such hit test and ignores OnOK/OnCancel.
TEST_F(WDialogTest, CaptionAndEmptyClientAreaDragTheWindow) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  ASSERT_TRUE(platform::testing::ShowAndActivate(&dialog));
  auto hit = [&](QPoint client) {
    const QPoint screen = dialog.mapToGlobal(client);
    return (int)dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y()));
  };
  EXPECT_EQ(hit(QPoint(10, 10)), HTCAPTION);
  EXPECT_EQ(hit(QPoint(150, 150)), HTCAPTION);
  EXPECT_EQ(hit(dialog.Centre(ID_CAPTION_CLOSE)), HTCLIENT);
  // The table's controls sit below the caption band.
  EXPECT_EQ(FindCtl<QWidget>(dialog, 1001)->pos(), QPoint(10, 40));
  EXPECT_EQ(dialog.height(), 230);

  for (QPoint from : {QPoint(100, 10), QPoint(150, 160)}) {
    const QPoint before = dialog.pos();
    QTest::mousePress(&dialog, Qt::LeftButton, {}, from);
    QTest::mouseMove(&dialog, from + QPoint(40, 25));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, from + QPoint(40, 25));
    EXPECT_EQ(dialog.pos(), before + QPoint(40, 25)) << from.x() << "," << from.y();
  }

  MSG f1;
  f1.message = WM_KEYDOWN;
  f1.wParam = VK_F1;
  EXPECT_TRUE(dialog.PreTranslateMessage(&f1));
  dialog.DestroyWindow();

  TestDialog host;
  ASSERT_TRUE(host.Create(nullptr));
  host.ShowWindow(SW_SHOW);
  TestDialog panel(WS_CHILD | WS_VISIBLE);
  ASSERT_TRUE(panel.Create(&host));
  const QPoint screen = panel.mapToGlobal(QPoint(10, 10));
  EXPECT_EQ((int)panel.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x(), screen.y())), HTCLIENT);
  EXPECT_EQ(panel.GetCaptionStyle(), WCB_CLOSE_MINIMIZE | WCB_BACK);  // mode 200, but nothing drawn
  EXPECT_EQ(RectText(panel.GetCaptionRect()), RectText(RECT{}));
  panel.SendMessage(WM_COMMAND, IDOK);
  EXPECT_TRUE(panel.IsWindowVisible());
  panel.SendMessage(WM_COMMAND, IDCANCEL);
  EXPECT_TRUE(panel.IsWindowVisible());
  host.DestroyWindow();
}

// Without a skin: the caption gradient from (124, 223, 255), a white client
// and a grey (236) bottom band 50 pixels high.
TEST_F(WDialogTest, PaintsCaptionClientAndBottomBand) {
  TestDialog dialog;
  ASSERT_TRUE(dialog.Create(nullptr));
  dialog.ShowWindow(SW_SHOW);
  QImage image(dialog.size(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  dialog.render(&image);
  const int w = image.width(), h = image.height();
  const QColor top = image.pixelColor(w / 2, 0), low = image.pixelColor(w / 2, 28);
  EXPECT_NEAR(top.red(), 124, 4);
  EXPECT_NEAR(top.green(), 223, 2);
  EXPECT_EQ(top.blue(), 255);
  EXPECT_GT(low.red(), 240);  // towards white at the band's foot
  EXPECT_EQ(image.pixelColor(w / 2, 60), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(w / 2, h - 50), QColor(236, 236, 236));
  EXPECT_EQ(image.pixelColor(w / 2, h - 51), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(w / 2, h - 2), QColor(236, 236, 236));
  dialog.DestroyWindow();
}

}  // namespace
