// Menus from a module's table show the owner's update-UI state on every
// road a menu takes to the screen (a pop-up, a pop-up in columns, the
// frame's menu bar), and the chosen command reaches the owner.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/menu.h"
#include "platform/testing/app.h"
#include "platform/wnd.h"

namespace {

enum : UINT {
  kConnect = 0x6003,
  kDisconnect = 0x6004,
  kToolbar = 0x6009,
  kRenamed = 0x6010,
  kHelp = 0x7001
};

const platform::MenuEntry kMain[] = {
    {0, 0, GBK("系统")},           {1, kConnect, GBK("连接")},   {1, kDisconnect, GBK("断开")},
    {1, 0, nullptr, MF_SEPARATOR}, {1, kToolbar, GBK("工具栏")}, {1, kRenamed, GBK("旧名")},
    {0, 0, GBK("帮助")},           {1, kHelp, GBK("帮助主题")},
};
// The same commands broken into two columns after the separator.
const platform::MenuEntry kColumns[] = {
    {0, kConnect, GBK("连接")},
    {0, kDisconnect, GBK("断开")},
    {0, kToolbar, GBK("工具栏"), MF_MENUBREAK},
    {0, kRenamed, GBK("旧名")},
};
const platform::MenuEntry kSkipsALevel[] = {{0, 0, "a"}, {2, 1, "b"}};
const platform::MenuResource kModule[] = {{130, kMain}, {131, kColumns}, {132, kSkipsALevel}};

// Disconnect is off, the toolbar item checked, 0x6010 renamed.
class Owner : public CFrameWnd {
 public:
  std::vector<UINT> commands;
  BOOL OnUpdateCmdUI(CCmdUI* ui) override {
    if (ui->m_nID == kDisconnect) ui->Enable(FALSE);
    if (ui->m_nID == kToolbar) ui->SetCheck(1);
    if (ui->m_nID == kRenamed) ui->SetText(GBK("新名"));
    return TRUE;
  }
  BOOL OnCommand(WPARAM w, LPARAM) override {
    commands.push_back(LOWORD(w));
    return TRUE;
  }
};

// "id:state" for every action of a Qt menu (on, off, checked; text when renamed).
std::string States(const QList<QAction*>& actions) {
  std::string out;
  for (QAction* a : actions) {
    if (a->isSeparator() || a->menu()) continue;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%x:%s%s ", a->data().toUInt(), a->isEnabled() ? "on" : "off",
                  a->isChecked() ? "+checked" : "");
    out += buf;
    if (a->text() == QString::fromUtf8("新名")) out += "renamed ";
  }
  return out;
}

const char kExpected[] = "6003:on 6004:off 6009:on+checked 6010:on renamed ";

TEST(Menu, UpdateUiStateShowsOnEveryRoadAndTheChoiceReachesTheOwner) {
  platform::testing::EnsureApplication();
  Owner owner;
  ASSERT_TRUE(owner.Create(nullptr, CRect(0, 0, 600, 400), 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE));
  ASSERT_TRUE(platform::testing::ShowAndActivate(owner.GetWidget()));
  CMenu main, columns;
  ASSERT_TRUE(main.LoadMenu(kModule, 130));
  ASSERT_TRUE(columns.LoadMenu(kModule, 131));

  std::string seen;
  // A pop-up: the state is read from the menu on screen, then the first
  // item is chosen with the keyboard.
  QTimer::singleShot(0, [&] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    seen = States(popup->actions());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
  });
  EXPECT_TRUE(main.GetSubMenu(0)->TrackPopupMenu(TPM_RIGHTBUTTON, 100, 100, &owner));
  EXPECT_EQ(seen, kExpected);
  ASSERT_TRUE(platform::PumpUntil([&] { return owner.commands.size() == 1; }, 5000));
  EXPECT_EQ(owner.commands[0], kConnect);

  // Columns: the toolbar item heads the second column; it is chosen.
  QTimer::singleShot(0, [&] {
    QWidget* grid = QApplication::activePopupWidget();
    ASSERT_NE(grid, nullptr);
    const auto buttons = grid->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 4);
    EXPECT_FALSE(buttons[1]->isEnabled());
    EXPECT_TRUE(buttons[2]->isChecked());
    EXPECT_GT(buttons[2]->x(), buttons[1]->x());
    EXPECT_EQ(buttons[3]->text(), QString::fromUtf8("新名"));
    buttons[2]->click();
  });
  EXPECT_EQ((UINT)columns.TrackPopupMenu(TPM_RETURNCMD, 100, 100, &owner), kToolbar);
  EXPECT_EQ(owner.commands.size(), 1u);  // returned, not posted

  // The frame's menu bar asks as its pop-up opens.
  ASSERT_TRUE(owner.SetMenu(&main));
  main.EnableMenuItem(kDisconnect, MF_ENABLED);
  main.CheckMenuItem(kToolbar, MF_UNCHECKED);
  QMenu* bar = owner.menuBar()->actions()[0]->menu();
  ASSERT_NE(bar, nullptr);
  bar->popup(QPoint(10, 10));
  EXPECT_EQ(States(bar->actions()), kExpected);
  bar->actions()[0]->trigger();
  bar->hide();
  EXPECT_EQ(owner.commands.back(), kConnect);
}

TEST(Menu, TablesAndEditsKeepTheirShape) {
  CMenu menu;
  EXPECT_FALSE(menu.LoadMenu(kModule, 132));  // a level skipped
  EXPECT_FALSE(menu.LoadMenu(kModule, 999));
  ASSERT_TRUE(menu.LoadMenu(kModule, 130));
  EXPECT_EQ(menu.GetMenuItemCount(), 2);
  EXPECT_EQ(menu.GetMenuItemID(0), (UINT)-1);  // a pop-up
  CMenu* system = menu.GetSubMenu(0);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->GetMenuItemID(2), 0u);                            // the separator
  EXPECT_TRUE(menu.GetMenuState(kHelp, MF_BYCOMMAND) != 0xFFFFFFFF);  // found in a pop-up

  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  ASSERT_TRUE(popup.AppendMenu(MF_STRING, 1, "a"));
  ASSERT_TRUE(popup.AppendMenu(MF_POPUP, (UINT_PTR)system->GetSafeHmenu(), "sub"));
  EXPECT_FALSE(popup.AppendMenu(MF_POPUP, 12345, "not a menu"));
  ASSERT_TRUE(popup.InsertMenu(0, MF_BYPOSITION | MF_STRING, 2, "first"));
  EXPECT_EQ(popup.GetMenuItemID(0), 2u);
  EXPECT_EQ(popup.CheckMenuItem(kToolbar, MF_CHECKED), MF_UNCHECKED);  // reached through "sub"
  EXPECT_EQ(system->GetMenuState(kToolbar, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);  // shared
  ASSERT_TRUE(popup.DeleteMenu(1, MF_BYCOMMAND));
  EXPECT_EQ(popup.GetMenuItemCount(), 2);
  std::string text;
  popup.GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(text, "first");
}

}  // namespace
