// A dialog hears its controls as WM_COMMAND(id, notification): user
// actions notify, selections set by code do not; Enter and Esc act in a
// top-level dialog and nowhere else; radio groups follow WS_GROUP and may
// be all unchecked; a window class made as a table's control has a handle.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::FindCtl;

enum : int { kPush = 1001, kCheck, kRadioA1, kRadioA2, kRadioB1, kEdit, kCombo, kList, kMulti };

const platform::DialogItem kItems[] = {
    {platform::kButton, IDOK, "OK", 10, 150, 40, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, "Cancel", 60, 150, 40, 14},
    {platform::kButton, kPush, "Push", 110, 150, 40, 14},
    {platform::kCheckBox, kCheck, "Check", 10, 10, 60, 10},
    {platform::kRadio, kRadioA1, "A1", 10, 22, 60, 10, WS_GROUP},
    {platform::kRadio, kRadioA2, "A2", 10, 34, 60, 10},
    {platform::kRadio, kRadioB1, "B1", 10, 46, 60, 10, WS_GROUP},
    {platform::kEdit, kEdit, nullptr, 10, 60, 80, 12},
    {platform::kComboBox, kCombo, nullptr, 10, 76, 80, 60, CBS_DROPDOWNLIST},
    {platform::kListBox, kList, nullptr, 100, 10, 80, 40, LBS_NOTIFY},
    {platform::kEdit, kMulti, nullptr, 100, 60, 80, 40, ES_MULTILINE | ES_WANTRETURN},
};

class LogDialog : public CDialog {
 public:
  explicit LogDialog(const platform::DialogTemplate& tpl) : CDialog(tpl) {}
  std::string log;
  void Add(const std::string& s) { log += (log.empty() ? "" : " ") + s; }
  BOOL OnInitDialog() override {
    auto* combo = findChild<QComboBox*>(QString::number(kCombo));
    combo->addItems({"a", "b", "c"});
    auto* list = findChild<QListWidget*>(QString::number(kList));
    list->addItems({"x", "y", "z"});
    return CDialog::OnInitDialog();
  }
  BOOL OnCommand(WPARAM w, LPARAM l) override {
    Add(std::to_string(LOWORD(w)) + ":" + std::to_string(HIWORD(w)));
    return CDialog::OnCommand(w, l);
  }
  void OnOK() override { Add("OnOK"); }
  void OnCancel() override { Add("OnCancel"); }
};

struct Case {
  const char* name;
  std::function<void(LogDialog&)> act;
  const char* log;
};

QWidget* Ctl(LogDialog& d, int id) { return FindCtl<QWidget>(d, id); }

TEST(Dialog, ControlsNotifyAndKeysActAsInWin32) {
  platform::testing::EnsureApplication();
  const std::string kChange = std::to_string(EN_CHANGE);
  const Case cases[] = {
      {"a click", [](LogDialog& d) { ClickCtl(d, kPush); }, "1001:0"},
      {"a check set by code is silent, a click notifies",
       [](LogDialog& d) {
         d.CheckDlgButton(kCheck, BST_CHECKED);
         ClickCtl(d, kCheck);
         EXPECT_EQ(d.IsDlgButtonChecked(kCheck), BST_UNCHECKED);
       },
       "1002:0"},
      {"radio groups follow WS_GROUP and can be all unchecked",
       [](LogDialog& d) {
         ClickCtl(d, kRadioA2);
         ClickCtl(d, kRadioB1);
         EXPECT_EQ(d.IsDlgButtonChecked(kRadioA2), BST_CHECKED);  // another group
         ClickCtl(d, kRadioA1);
         EXPECT_EQ(d.IsDlgButtonChecked(kRadioA2), BST_UNCHECKED);
         d.CheckRadioButton(kRadioA1, kRadioA2, 0);
         EXPECT_EQ(d.IsDlgButtonChecked(kRadioA1), BST_UNCHECKED);
         EXPECT_EQ(d.IsDlgButtonChecked(kRadioB1), BST_CHECKED);
       },
       "1004:0 1005:0 1003:0"},
      {"typing and SetWindowText both change an edit",
       [](LogDialog& d) {
         QTest::keyClicks(Ctl(d, kEdit), "ab");
         d.SetDlgItemText(kEdit, "x");
       },
       "1006:768 1006:768 1006:768"},
      {"a combo selection by code is silent, by the user notifies",
       [](LogDialog& d) {
         static_cast<QComboBox*>(Ctl(d, kCombo))->setCurrentIndex(2);
         Ctl(d, kCombo)->setFocus();
         QTest::keyClick(Ctl(d, kCombo), Qt::Key_Up);
       },
       "1007:1"},
      {"a list selection by code is silent, a click and a double click notify",
       [](LogDialog& d) {
         auto* list = static_cast<QListWidget*>(Ctl(d, kList));
         list->setCurrentRow(2);
         const QPoint row1 = list->visualItemRect(list->item(1)).center();
         QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row1);
         QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row1);
       },
       "1008:1 1008:2"},
      {"an edit reports gaining and losing the focus",
       [](LogDialog& d) {
         Ctl(d, kEdit)->setFocus();
         Ctl(d, kPush)->setFocus();
       },
       "1006:256 1006:512"},
      {"Enter in an edit is the default button",
       [](LogDialog& d) { QTest::keyClick(Ctl(d, kEdit), Qt::Key_Return); }, "1:0 OnOK"},
      {"Enter on a push button clicks that button",
       [](LogDialog& d) {
         Ctl(d, kPush)->setFocus();
         QTest::keyClick(Ctl(d, kPush), Qt::Key_Return);
       },
       "1001:0"},
      {"Enter with the default button disabled does nothing",
       [](LogDialog& d) {
         d.GetDlgItem(IDOK)->EnableWindow(FALSE);
         QTest::keyClick(Ctl(d, kCheck), Qt::Key_Return);
       },
       ""},
      {"Enter in a multi-line edit that wants it is a new line",
       [](LogDialog& d) {
         Ctl(d, kMulti)->setFocus();
         QTest::keyClick(Ctl(d, kMulti), Qt::Key_Return);
         EXPECT_EQ(static_cast<QPlainTextEdit*>(Ctl(d, kMulti))->toPlainText(), "\n");
       },
       "1009:256 1009:768"},
      {"Esc is IDCANCEL", [](LogDialog& d) { QTest::keyClick(Ctl(d, kCheck), Qt::Key_Escape); },
       "2:0 OnCancel"},
      {"the close box is IDCANCEL", [](LogDialog& d) { d.GetWidget()->close(); }, "2:0 OnCancel"},
      {"Qt's accept is IDOK", [](LogDialog& d) { d.accept(); }, "1:0 OnOK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::DialogTemplate tpl;
    tpl.cx = 200;
    tpl.cy = 170;
    tpl.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    tpl.items = kItems;
    LogDialog dlg(tpl);
    ASSERT_TRUE(dlg.Create(nullptr));
    ASSERT_TRUE(platform::testing::ShowAndActivate(dlg.GetWidget()));
    Ctl(dlg, kCheck)->setFocus();
    dlg.log.clear();
    c.act(dlg);
    EXPECT_EQ(dlg.log, c.log);
  }
}

TEST(Dialog, EnterAndEscDoNothingInAPanel) {
  platform::testing::EnsureApplication();
  platform::DialogTemplate tpl;
  tpl.cx = 200;
  tpl.cy = 170;
  tpl.style = WS_CHILD | WS_VISIBLE;
  tpl.items = kItems;
  CWndImpl<QWidget> host;
  ASSERT_TRUE(host.Create(nullptr, CRect(0, 0, 400, 300), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(platform::testing::ShowAndActivate(host.GetWidget()));
  LogDialog panel(tpl);
  ASSERT_TRUE(panel.Create(&host));
  Ctl(panel, kEdit)->setFocus();
  panel.log.clear();
  for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    QTest::keyClick(Ctl(panel, kEdit), key);
    QTest::keyClick(panel.GetWidget(),
                    key);  // the panel itself, as Qt passes on what an edit ignores
  }
  EXPECT_EQ(panel.log, "");
  EXPECT_TRUE(panel.IsWindowVisible());
}

// A window class registered as a control kind.
class TickingControl : public CWndImpl<QWidget> {
 public:
  explicit TickingControl(QWidget* parent) : CWndImpl<QWidget>(parent) {}
  int ticks = 0;
  void OnTimer(UINT_PTR) override { ++ticks; }
};

QWidget* MakeTicking(QWidget* parent, const platform::DialogItem&) {
  return new TickingControl(parent);
}

TEST(Dialog, AWindowClassMadeFromATableHasAHandle) {
  platform::testing::EnsureApplication();
  platform::RegisterControlKind("ticking", MakeTicking);
  const platform::DialogItem items[] = {{"ticking", 1200, nullptr, 0, 0, 20, 20}};
  const platform::DialogTemplate tpl = platform::PixelTemplate(100, 60, items);
  CDialog dialog(tpl);
  ASSERT_TRUE(dialog.Create(nullptr));
  auto* control = FindCtl<TickingControl>(dialog, 1200);
  ASSERT_NE(control, nullptr);
  ASSERT_NE(control->GetSafeHwnd(), nullptr);
  EXPECT_TRUE(control->IsCreated());
  ASSERT_EQ(control->SetTimer(7, 10), 7u);
  ::SendMessage(control->GetSafeHwnd(), WM_TIMER, 7, 0);
  EXPECT_EQ(control->ticks, 1);
  dialog.DestroyWindow();
}

}  // namespace

// A window class takes a table control's place the way MFC windows subclass
// their dialog's statics: same id (held once), rectangle, text and font.
TEST(Dialog, AWindowTakesTheTableControlsPlace) {
  platform::testing::EnsureApplication();
  const platform::DialogItem items[] = {
      {platform::kStatic, 1028, GBK("申 请 帐 户"), 10, 20, 60, 12}};
  const platform::DialogTemplate tpl = platform::PixelTemplate(200, 100, items);
  CDialog dialog(tpl);
  ASSERT_TRUE(dialog.Create(nullptr));
  struct Replacement : CWndImpl<QWidget> {
    std::string textAtCreate;
    int OnCreate(LPCREATESTRUCT) override {
      textAtCreate = GetWindowTextString();
      return 0;
    }
  };
  Replacement wnd, other;
  ASSERT_TRUE(wnd.SubclassDlgItem(1028, &dialog));
  EXPECT_EQ(FindCtl<Replacement>(dialog, 1028), &wnd);
  EXPECT_EQ(wnd.textAtCreate, GBK("申 请 帐 户"));
  CRect rect;
  wnd.GetWindowRect(&rect);
  dialog.ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(10, 20, 70, 32));
  EXPECT_EQ(wnd.GetFont(), dialog.GetFont());
  EXPECT_TRUE(wnd.GetStyle() & WS_VISIBLE);
  EXPECT_FALSE(other.SubclassDlgItem(1029, &dialog));  // no such control
  EXPECT_FALSE(wnd.SubclassDlgItem(1028, &dialog));    // already created
  dialog.DestroyWindow();
}

// The program's own box (no sink installed): its standard buttons speak
// Chinese from Qt's catalogue, and it has no minimise or maximise button.
TEST(Dialog, TheQtBoxSpeaksChineseAndCannotBeMinimised) {
  platform::testing::EnsureApplication();
  struct Seen {
    QString buttons;
    Qt::WindowFlags flags;
  };
  auto ask = [](UINT type, QMessageBox::StandardButton press, Seen* seen) {
    QTimer::singleShot(0, [=] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      for (QAbstractButton* b : box->buttons()) seen->buttons += b->text() + ' ';
      seen->flags = box->windowFlags();
      box->button(press)->click();
    });
    return MessageBox(nullptr, GBK("问"), GBK("题"), type);
  };
  const QString yes = QString::fromUtf8("是"), no = QString::fromUtf8("否");
  Seen yesNo;
  EXPECT_EQ(ask(MB_YESNO, QMessageBox::No, &yesNo), IDNO);
  EXPECT_TRUE(yesNo.buttons.contains(yes) && yesNo.buttons.contains(no))
      << yesNo.buttons.toStdString();
  EXPECT_FALSE(yesNo.flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  Seen okCancel;
  EXPECT_EQ(ask(MB_OKCANCEL, QMessageBox::Ok, &okCancel), IDOK);
  EXPECT_TRUE(okCancel.buttons.contains(QString::fromUtf8("确定")) &&
              okCancel.buttons.contains(QString::fromUtf8("取消")))
      << okCancel.buttons.toStdString();
}

// Only a full caption (border and dialog frame) gives a dialog a title bar:
// a bordered pop-up draws its own, and the desktop must add none.
TEST(Dialog, ABorderAloneIsNoTitleBar) {
  platform::testing::EnsureApplication();
  const struct {
    DWORD style;
    bool frameless;
  } cases[] = {{WS_POPUP | WS_BORDER, true},
               {WS_POPUP, true},
               {WS_POPUP | WS_DLGFRAME, true},
               {WS_POPUP | WS_CAPTION, false},
               {WS_POPUP | WS_CAPTION | WS_SYSMENU, false}};
  for (const auto& c : cases) {
    CDialog dialog(platform::PixelTemplate(100, 60, {}, c.style));
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(bool(dialog.windowFlags() & Qt::FramelessWindowHint), c.frameless)
        << std::hex << c.style;
    dialog.DestroyWindow();
  }
  // Adding the caption later gives the title bar; taking one bit away removes it.
  CDialog dialog(platform::PixelTemplate(100, 60, {}, WS_POPUP | WS_BORDER));
  ASSERT_TRUE(dialog.Create(nullptr));
  dialog.ModifyStyle(0, WS_DLGFRAME);
  EXPECT_FALSE(dialog.windowFlags() & Qt::FramelessWindowHint);
  dialog.ModifyStyle(WS_DLGFRAME, 0);
  EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
  dialog.DestroyWindow();
}
