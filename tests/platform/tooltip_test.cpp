// Tooltips of drawn parts: the tool under the mouse shows its text after
// the delay and hides when the mouse leaves it; texts and rectangles can
// change while the tools stay. And a window class made as a table control
// works as a created window (it has a handle, so its timers run).
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/tooltip.h"
#include "platform/window.h"

namespace {

class Plain : public CWndImpl<QWidget> {};

TEST(ToolTip, ToolUnderTheMouseShowsItsTextAfterTheDelay) {
  platform::testing::EnsureApplication();
  Plain owner;
  ASSERT_TRUE(owner.Create(nullptr, CRect(100, 100, 400, 300), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(platform::testing::ShowAndActivate(&owner));
  CToolTipCtrl tips;
  ASSERT_TRUE(tips.Create(&owner));
  EXPECT_FALSE(tips.Create(&owner));
  tips.SetDelayTime(TTDT_AUTOMATIC, 50);
  EXPECT_EQ(tips.GetInitialDelay(), 50);
  const CRect close(250, 0, 300, 22), minimise(220, 0, 250, 22);
  ASSERT_TRUE(tips.AddTool(&owner, GBK("关闭"), &close, 0xFFD8));
  ASSERT_TRUE(tips.AddTool(&owner, GBK("最小化"), &minimise, 0xFFDA));
  Plain stranger;
  EXPECT_FALSE(tips.AddTool(&stranger, "x", &close, 1));
  EXPECT_EQ(tips.GetToolCount(), 2);
  EXPECT_EQ(tips.HitTool(POINT{260, 5}), 0xFFD8u);
  EXPECT_EQ(tips.HitTool(POINT{300, 5}), 0u);  // right edge is outside

  QTest::mouseMove(&owner, QPoint(260, 10));
  ASSERT_TRUE(platform::PumpUntil([] { return QToolTip::isVisible(); }, 5000));
  EXPECT_EQ(QToolTip::text(), QString::fromUtf8("关闭"));
  // A new text shows at once on the tip that is up.
  tips.UpdateTipText(GBK("还原"), &owner, 0xFFD8);
  EXPECT_EQ(QToolTip::text(), QString::fromUtf8("还原"));
  std::string text;
  tips.GetText(text, &owner, 0xFFD8);
  EXPECT_EQ(text, GBK("还原"));
  QTest::mouseMove(&owner, QPoint(20, 100));
  EXPECT_TRUE(platform::PumpUntil([] { return !QToolTip::isVisible(); }, 5000));

  // Moved and removed tools.
  const CRect moved(0, 100, 50, 130);
  tips.SetToolRect(&owner, 0xFFDA, &moved);
  EXPECT_EQ(tips.HitTool(POINT{10, 110}), 0xFFDAu);
  tips.DelTool(&owner, 0xFFDA);
  EXPECT_EQ(tips.HitTool(POINT{10, 110}), 0u);
  tips.GetText(text, &owner, 0xFFDA);
  EXPECT_EQ(text, "");
  tips.DestroyWindow();
  EXPECT_EQ(tips.GetToolCount(), 0);
  owner.DestroyWindow();
}

// A window class registered as a control kind.
class TickingControl : public CWndImpl<QWidget> {
 public:
  explicit TickingControl(QWidget* parent) : CWndImpl<QWidget>(parent) {}
  int ticks = 0;
  void OnTimer(UINT_PTR) override { ++ticks; }
};

QWidget* MakeTicking(QWidget* parent, const platform::DialogItem&) { return new TickingControl(parent); }

TEST(ToolTip, AWindowClassMadeFromATableHasAHandle) {
  platform::testing::EnsureApplication();
  platform::RegisterControlKind("ticking", MakeTicking);
  const platform::DialogItem items[] = {{"ticking", 1200, nullptr, 0, 0, 20, 20}};
  platform::DialogTemplate tpl;
  tpl.cx = 100;
  tpl.cy = 60;
  tpl.dialogUnits = false;
  tpl.items = items;
  CDialog dialog(tpl);
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* control = platform::testing::FindCtl<TickingControl>(dialog, 1200);
  ASSERT_NE(control, nullptr);
  ASSERT_NE(control->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(control->IsCreated());
  ASSERT_EQ(control->SetTimer(7, 10), 7u);
  ::SendMessage(control->GetSafeHwnd(), WM_TIMER, 7, 0);
  EXPECT_EQ(control->ticks, 1);
  dialog.DestroyWindow();
}

}  // namespace
