// Modal dialogs and pop-up menus answered by the test scripts inside the
// real loops: a modal inside a modal, a dialog run twice, the failures a
// script reports, and a pop-up menu's choice and recorded states.
#include <QTest>
#include <QTimer>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/menu.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/menu_script.h"
#include "platform/testing/modal_script.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::FindCtl;
using platform::testing::ScopedMenuScript;
using platform::testing::ScopedModalScript;

enum : int { kName = 1000, kAsk = 1001, kInnerName = 2000 };

const platform::DialogItem kInnerItems[] = {
    {platform::kEdit, kInnerName, nullptr, 10, 10, 100, 14},
    {platform::kButton, IDOK, "OK", 10, 30, 40, 14, BS_DEFPUSHBUTTON},
};
const platform::DialogItem kOuterItems[] = {
    {platform::kEdit, kName, nullptr, 10, 10, 100, 14},
    {platform::kButton, kAsk, "...", 120, 10, 20, 14},
    {platform::kButton, IDOK, "OK", 10, 30, 40, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, "Cancel", 60, 30, 40, 14},
};

platform::DialogTemplate Template(std::span<const platform::DialogItem> items,
                                  const char* caption) {
  platform::DialogTemplate tpl;
  tpl.cx = 160;
  tpl.cy = 60;
  tpl.caption = caption;
  tpl.items = items;
  return tpl;
}

class InnerDialog : public CDialog {
 public:
  explicit InnerDialog(CWnd* parent) : CDialog(Template(kInnerItems, GBK("内层")), parent) {}
  std::string name;
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kInnerName, name, 16); }
};

// Asks for a name in a second dialog and shows it.
class OuterDialog : public CDialog {
 public:
  OuterDialog() : CDialog(Template(kOuterItems, GBK("外层"))) {}
  std::string name;
  INT_PTR innerResult = 0;
  void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, kName, name); }
  BOOL OnCommand(WPARAM w, LPARAM l) override {
    if (LOWORD(w) == kAsk && HIWORD(w) == BN_CLICKED) {
      InnerDialog inner(this);
      innerResult = inner.DoModal();
      if (innerResult == IDOK) SetDlgItemText(kName, inner.name.c_str());
      return TRUE;
    }
    return CDialog::OnCommand(w, l);
  }
};

TEST(Scripts, AModalInsideAModalAndADialogRunTwice) {
  platform::testing::EnsureApplication();
  OuterDialog outer;
  std::vector<std::string> order;
  ScopedModalScript script{
      [&](CDialog& d) {
        order.push_back("outer");
        ClickCtl(d, kAsk);  // runs the inner dialog, answered by the next step
        order.push_back("outer again");
        EXPECT_EQ(d.GetDlgItemText(kName, outer.name), 4);
        ClickCtl(d, IDOK);
      },
      [&](CDialog& d) {
        order.push_back("inner");
        EXPECT_TRUE(d.IsInModalLoop());
        EXPECT_EQ(d.GetWidget()->parentWidget(), outer.GetWidget());
        d.SetDlgItemText(kInnerName, GBK("张三"));
        QTest::keyClick(FindCtl<QWidget>(d, kInnerName), Qt::Key_Return);  // the default button
      },
      [&](CDialog& d) {
        order.push_back("outer, second run");
        EXPECT_EQ(FindCtl<QWidget>(d, kName) != nullptr, true);  // controls made again
        QTest::keyClick(FindCtl<QWidget>(d, kName), Qt::Key_Escape);
      },
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_EQ(outer.innerResult, IDOK);
  EXPECT_EQ(outer.name, GBK("张三"));
  EXPECT_FALSE(outer.IsCreated());
  EXPECT_EQ(outer.DoModal(), IDCANCEL);
  EXPECT_EQ(order,
            (std::vector<std::string>{"outer", "inner", "outer again", "outer, second run"}));
  EXPECT_EQ(script.Shown(), 3);
}

// As in Win32, a modal dialog that hides itself keeps its loop until
// EndDialog (a login dialog hides when it is done and ends a second later).
TEST(Scripts, AHiddenModalDialogStaysInItsLoopUntilEndDialog) {
  platform::testing::EnsureApplication();
  OuterDialog dialog;
  bool loopRanHidden = false;
  ScopedModalScript script{[&](CDialog& d) {
    d.ShowWindow(SW_HIDE);
    // The loop still runs: a posted message reaches the hidden dialog.
    QTimer::singleShot(0, [&] {
      loopRanHidden = d.IsInModalLoop() && !d.IsWindowVisible();
      d.EndDialog(IDOK);
    });
  }};
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_TRUE(loopRanHidden);
}

TEST(Scripts, UnexpectedAndAbandonedDialogsEndWithCancelAndFail) {
  platform::testing::EnsureApplication();
  OuterDialog dialog;
  INT_PTR result = 0;
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedModalScript none{};
        result = dialog.DoModal();
      },
      "unexpected modal dialog");
  EXPECT_EQ(result, IDCANCEL);

  EXPECT_NONFATAL_FAILURE(
      {
        ScopedModalScript idle{[](CDialog&) {}};
        idle.SetLeftOpenLimit(50);
        result = dialog.DoModal();
      },
      "left open by its step");
  EXPECT_EQ(result, IDCANCEL);

  EXPECT_NONFATAL_FAILURE({ ScopedModalScript unused{[](CDialog&) {}}; }, "never shown");
}

// Builds its context menu on a right click, as the tables do.
class TableWnd : public CWndImpl<QWidget> {
 public:
  std::vector<UINT> commands;
  void OnRButtonDown(UINT, CPoint point) override {
    CMenu sub, menu;
    sub.CreatePopupMenu();
    sub.AppendMenu(MF_STRING, 0x7205, GBK("成交量"));
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 0x7201, GBK("涨幅"));
    menu.AppendMenu(MF_STRING, 0x7202, GBK("现价"));
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 0x7203, GBK("总额"));
    menu.AppendMenu(MF_POPUP, (UINT_PTR)sub.GetSafeHmenu(), GBK("更多"));
    ClientToScreen(&point);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
  }
  BOOL OnUpdateCmdUI(CCmdUI* ui) override {
    if (ui->m_nID == 0x7202) ui->SetCheck(1);   // the current sort column
    if (ui->m_nID == 0x7203) ui->Enable(TRUE);  // update-UI decides, not the table
    if (ui->m_nID == 0x7205) ui->Enable(FALSE);
    return TRUE;
  }
  BOOL OnCommand(WPARAM w, LPARAM) override {
    commands.push_back(LOWORD(w));
    return TRUE;
  }
};

TEST(Scripts, APopupMenuReturnsTheChosenIdAndRecordsWhatItOffered) {
  platform::testing::EnsureApplication();
  TableWnd table;
  ASSERT_TRUE(table.Create(nullptr, CRect(0, 0, 200, 100), 0, WS_POPUP | WS_VISIBLE));
  {
    ScopedMenuScript script{0x7203};
    QTest::mouseClick(table.GetWidget(), Qt::RightButton, {}, QPoint(20, 20));
    ASSERT_EQ(script.Offered().size(), 1u);
    const auto& items = script.Offered()[0];
    ASSERT_EQ(items.size(), 6u);  // the pop-up's item follows it one level down
    EXPECT_TRUE(script.Find(0x7202)->checked());
    EXPECT_FALSE(script.Find(0x7201)->checked());
    EXPECT_TRUE(script.Find(0x7203)->enabled());
    EXPECT_FALSE(script.Find(0x7205)->enabled());
    EXPECT_EQ(script.Find(0x7205)->depth, 1);
    EXPECT_EQ(items[2].flags & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(items[4].text, GBK("更多"));
  }
  ASSERT_TRUE(platform::PumpUntil([&] { return !table.commands.empty(); }, 5000));
  EXPECT_EQ(table.commands, std::vector<UINT>{0x7203});

  // A disabled command cannot be chosen and an unexpected menu is
  // dismissed: each fails the test, and nothing is sent.
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedMenuScript script{0x7205};
        QTest::mouseClick(table.GetWidget(), Qt::RightButton, {}, QPoint(20, 20));
      },
      "is disabled");
  EXPECT_NONFATAL_FAILURE(
      {
        ScopedMenuScript none{};
        QTest::mouseClick(table.GetWidget(), Qt::RightButton, {}, QPoint(20, 20));
      },
      "unexpected pop-up menu");
  table.PostMessage(WM_COMMAND, 1);  // posts arrive in order: a choice would be before it
  ASSERT_TRUE(platform::PumpUntil([&] { return table.commands.size() == 2; }, 5000));
  EXPECT_EQ(table.commands, (std::vector<UINT>{0x7203, 1}));
}

}  // namespace
