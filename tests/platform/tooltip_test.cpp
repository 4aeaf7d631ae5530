// Tooltips of drawn parts: the tool under the mouse shows its text after
// the delay and hides when the mouse leaves it; texts and rectangles can
// change while the tools stay.
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/testing/app.h"
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

}  // namespace
