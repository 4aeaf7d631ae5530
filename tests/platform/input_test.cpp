// Virtual keys, key state, hot keys and the cursor clip.
#include <QTest>
#include <string>

#include <gtest/gtest.h>

#include "platform/input.h"
#include "platform/testing/app.h"
#include "platform/wnd.h"

namespace {

TEST(Input, QtKeysMapToVirtualKeysAndBack) {
  struct Row {
    int qt;
    Qt::KeyboardModifiers mods;
    UINT vk;
    bool reversible;
  };
  const Row rows[] = {
      {Qt::Key_A, {}, 'A', true},
      {Qt::Key_7, {}, '7', true},
      {Qt::Key_7, Qt::KeypadModifier, VK_NUMPAD7, true},
      {Qt::Key_Plus, Qt::KeypadModifier, VK_ADD, true},
      {Qt::Key_F12, {}, VK_F12, true},
      {Qt::Key_PageDown, {}, VK_NEXT, true},
      {Qt::Key_Escape, {}, VK_ESCAPE, true},
      {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN, false},  // VK_RETURN maps back to Return
      {Qt::Key_Exclam, Qt::ShiftModifier, '1', false},        // a shifted symbol is its key
      {Qt::Key_Plus, Qt::ShiftModifier, VK_OEM_PLUS, false},
      {Qt::Key_Home, Qt::KeypadModifier, VK_HOME, false},  // keypad with Num Lock off
      {Qt::Key_unknown, {}, 0, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.qt);
    EXPECT_EQ(platform::QtKeyToVk(r.qt, r.mods), r.vk);
    if (!r.reversible) continue;
    Qt::KeyboardModifiers extra;
    EXPECT_EQ(platform::VkToQtKey(r.vk, &extra), r.qt);
    EXPECT_EQ(extra, r.mods & Qt::KeypadModifier);
  }
}

class InputTest : public ::testing::Test {
 protected:
  struct Wnd : CWndImpl<QWidget> {
    std::string log;
    CPoint lastDown;
    void OnHotKey(UINT id, UINT mods, UINT vk) override {
      log += std::to_string(id) + ":" + std::to_string(mods) + ":" + std::to_string(vk) + " ";
    }
    void OnLButtonDown(UINT, CPoint p) override { lastDown = p; }
  };

  void SetUp() override {
    platform::testing::EnsureApplication();
    ASSERT_TRUE(wnd.Create(nullptr, CRect(50, 60, 250, 260), 0, WS_POPUP | WS_VISIBLE));
    ASSERT_TRUE(platform::testing::ShowAndActivate(wnd.GetWidget()));
    wnd.SetFocus();
  }

  Wnd wnd;
};

TEST_F(InputTest, KeyStateFollowsTheKeysAndModifiersReceived) {
  QTest::keyPress(wnd.GetWidget(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_LT(GetKeyState('Q'), 0);
  EXPECT_LT(GetKeyState(VK_CONTROL), 0);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  QTest::keyRelease(wnd.GetWidget(), Qt::Key_Q, Qt::NoModifier);
  EXPECT_EQ(GetKeyState('Q'), 0);
  EXPECT_EQ(GetKeyState(VK_CONTROL), 0);
}

TEST_F(InputTest, HotKeysReachTheirWindowAndACombinationIsHeldOnce) {
  ASSERT_TRUE(RegisterHotKey(wnd.GetSafeHwnd(), 1002, MOD_ALT, 'K'));
  ASSERT_TRUE(RegisterHotKey(wnd.GetSafeHwnd(), 1001, MOD_ALT, VK_ADD));
  EXPECT_FALSE(RegisterHotKey(wnd.GetSafeHwnd(), 1003, MOD_ALT, 'K'));  // taken
  QTest::keyClick(wnd.GetWidget(), Qt::Key_K, Qt::AltModifier);
  QTest::keyClick(wnd.GetWidget(), Qt::Key_Plus, Qt::AltModifier | Qt::KeypadModifier);
  EXPECT_EQ(wnd.log, "1002:1:75 1001:1:107 ");

  EXPECT_TRUE(UnregisterHotKey(wnd.GetSafeHwnd(), 1002));
  platform::SetHotKeyRegistrationFails(true);
  EXPECT_FALSE(RegisterHotKey(wnd.GetSafeHwnd(), 1002, MOD_ALT, 'K'));
  platform::SetHotKeyRegistrationFails(false);
  EXPECT_TRUE(RegisterHotKey(wnd.GetSafeHwnd(), 1002, MOD_ALT, 'K'));
  UnregisterHotKey(wnd.GetSafeHwnd(), 1001);
  UnregisterHotKey(wnd.GetSafeHwnd(), 1002);
}

TEST_F(InputTest, ClipCursorClampsThePointsHandlersGet) {
  RECT clip;
  wnd.GetWindowRect(&clip);
  clip.right = clip.left + 20;  // the window's first 20 columns
  ASSERT_TRUE(ClipCursor(&clip));
  QTest::mousePress(wnd.GetWidget(), Qt::LeftButton, {}, QPoint(150, 30));
  EXPECT_EQ(wnd.lastDown, CPoint(19, 30));
  ClipCursor(nullptr);
  QTest::mousePress(wnd.GetWidget(), Qt::LeftButton, {}, QPoint(150, 30));
  EXPECT_EQ(wnd.lastDown, CPoint(150, 30));
}

}  // namespace
