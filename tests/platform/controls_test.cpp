// The plain controls through their MFC accessors: GBK text in and out,
// CR LF offsets in multi-line edits, byte limits that never split a
// character, combo searches that wrap, selections by code that stay
// silent, the dropped height of a moved combo box, the spin button with
// its buddy, owner-drawn buttons and image-list masks.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <functional>

#include "controls_fixture.h"
#include "platform/desktop.h"

namespace {

using controls_test::Commit;
using controls_test::MakeDialog;
using controls_test::RecordingDialog;
using platform::testing::FindCtl;

enum : int {
  kEdit = 100,
  kMulti,
  kDropList,
  kEditCombo,
  kList,
  kBuddy,
  kSpin,
  kPlainSpinBuddy,
  kPlainSpin,
  kOwner
};

const platform::DialogItem kItems[] = {
    {platform::kEdit, kEdit, nullptr, 10, 10, 120, 22},
    {platform::kEdit, kMulti, nullptr, 10, 40, 120, 60, ES_MULTILINE | ES_WANTRETURN},
    {platform::kComboBox, kDropList, nullptr, 150, 10, 120, 120, CBS_DROPDOWNLIST | CBS_SORT},
    {platform::kComboBox, kEditCombo, nullptr, 150, 40, 120, 120, CBS_DROPDOWN},
    {platform::kListBox, kList, nullptr, 150, 70, 120, 80, LBS_SORT},
    {platform::kEdit, kBuddy, "0", 10, 110, 80, 22, ES_NUMBER},
    {platform::kSpin, kSpin, nullptr, 0, 0, 16, 10,
     UDS_AUTOBUDDY | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_WRAP},
    {platform::kEdit, kPlainSpinBuddy, nullptr, 10, 140, 80, 22},
    {platform::kSpin, kPlainSpin, nullptr, 90, 140, 16, 22, UDS_SETBUDDYINT},
    {platform::kButton, kOwner, "Owner", 10, 170, 80, 24, BS_OWNERDRAW},
};

std::string Text(CWnd& wnd, int id) {
  std::string text;
  wnd.GetDlgItemText(id, text);
  return text;
}

TEST(Controls, GbkTextCrLfAndByteLimits) {
  auto dlg = MakeDialog(kItems);
  CEdit* edit = FindCtl<CEdit>(*dlg, kEdit);
  CEdit* multi = FindCtl<CEdit>(*dlg, kMulti);
  CComboBox* combo = FindCtl<CComboBox>(*dlg, kEditCombo);
  CListBox* list = FindCtl<CListBox>(*dlg, kList);
  ASSERT_TRUE(edit && multi && combo && list);
  auto* line = FindCtl<QLineEdit>(*dlg, kEdit);
  auto* plain = FindCtl<QPlainTextEdit>(*dlg, kMulti);

  struct Row {
    const char* what;
    std::function<std::string()> act;  // returns what to compare
    std::string expected;
  } rows[] = {
      {"combo item round trip",
       [&] {
         std::string text;
         combo->GetLBText(combo->AddString(GBK("上海Ab")), text);
         return text;
       },
       GBK("上海Ab")},
      {"combo item cut into a small buffer",
       [&] {
         char small[4];
         combo->GetLBText(0, small, sizeof small);  // "上" fits, half of "海" does not
         return std::string(small);
       },
       GBK("上")},
      {"list box item round trip",
       [&] {
         std::string text;
         list->GetText(list->AddString(GBK("深圳")), text);
         return text;
       },
       GBK("深圳")},
      {"multi-line text speaks CR LF",
       [&] {
         dlg->SetDlgItemText(kMulti, GBK("甲\r\n乙"));
         return plain->toPlainText().toStdString();
       },
       "甲\n乙"},
      {"selection offsets count CR LF as two bytes",
       [&] {
         multi->SetSel(4, 6);  // "乙"
         multi->ReplaceSel(GBK("丙丁"));
         int start, end;
         multi->GetSel(start, end);
         return Text(*dlg, kMulti) + "|" + std::to_string(start) + "," + std::to_string(end);
       },
       std::string(GBK("甲\r\n丙丁")) + "|8,8"},
      {"a typed character that does not fit is refused",
       [&] {
         dlg->SetDlgItemText(kEdit, "");
         edit->SetLimitText(5);
         Commit(line, "中文");
         Commit(line, "字");  // 6 bytes would not fit
         Commit(line, "a");
         Commit(line, "b");
         return Text(*dlg, kEdit);
       },
       std::string(GBK("中文")) + "a"},
      {"pasted text is cut on a character boundary",
       [&] {
         dlg->SetDlgItemText(kEdit, "ab");
         line->setCursorPosition(1);
         edit->ReplaceSel(GBK("中文字"));  // 3 bytes of room: "中" and not half of "文"
         return Text(*dlg, kEdit);
       },
       std::string("a") + GBK("中") + "b"},
      {"text set by code is not cut, and leaves no room",
       [&] {
         dlg->SetDlgItemText(kEdit, GBK("一二三四"));
         Commit(line, "x");
         return Text(*dlg, kEdit);
       },
       GBK("一二三四")},
      {"a multi-line limit counts line breaks as CR LF",
       [&] {
         dlg->SetDlgItemText(kMulti, "");
         multi->SetLimitText(7);
         plain->setFocus();  // Enter types a line break only there
         QTest::keyClicks(plain, "ab");
         QTest::keyClick(plain, Qt::Key_Return);
         Commit(plain, "中文");                   // "ab\r\n" leaves 3 bytes: "中"
         QTest::keyClick(plain, Qt::Key_Return);  // 2 more bytes do not fit
         QTest::keyClicks(plain, "c");
         return Text(*dlg, kMulti);
       },
       std::string("ab\r\n") + GBK("中") + "c"},
      {"an editable combo's limit",
       [&] {
         combo->LimitText(3);
         combo->GetComboBox()->setEditText("");
         Commit(combo->GetComboBox()->lineEdit(), "中文");
         return Text(*dlg, kEditCombo);
       },
       GBK("中")},
  };
  for (const Row& r : rows) EXPECT_EQ(r.act(), r.expected) << r.what;
  EXPECT_EQ(edit->GetLimitText(), 5u);
}

TEST(Controls, CombosFindWrappingAndOnlyUserChoicesNotify) {
  auto dlg = MakeDialog(kItems);
  CComboBox* combo = FindCtl<CComboBox>(*dlg, kDropList);
  ASSERT_TRUE(combo);
  // CBS_SORT: ASCII case aside, then GBK order; "丄" (81 41) and "乤" (81 61)
  // differ only in a trail byte that is no letter.
  for (const char* s : {"b", "Abc", "ab", "中国", "中文", "丄", "乤"}) combo->AddString(GBK(s));
  std::string order;
  for (int i = 0; i < combo->GetCount(); ++i) {
    std::string text;
    combo->GetLBText(i, text);
    order += platform::GbkToUtf8(text) + " ";
  }
  EXPECT_EQ(order, "ab Abc b 丄 乤 中国 中文 ");

  struct Row {
    int startAfter;
    const char* text;
    bool exact;
    int expected;
  } rows[] = {
      {-1, "a", false, 0},  {0, "A", false, 1},  {1, "a", false, 0},  // wraps round
      {-1, "中", false, 5}, {5, "中", false, 6}, {6, "中", false, 5},
      {-1, "abc", true, 1}, {-1, "AB", true, 0}, {-1, "x", false, CB_ERR},
      {-1, "乤", false, 4}, {99, "b", false, 2},  // a start past the end searches all
  };
  for (const Row& r : rows) {
    const int found = r.exact ? combo->FindStringExact(r.startAfter, GBK(r.text))
                              : combo->FindString(r.startAfter, GBK(r.text));
    EXPECT_EQ(found, r.expected) << r.startAfter << " " << r.text;
  }

  combo->SetItemData(2, 0xBEEF);
  EXPECT_EQ(combo->GetItemData(2), 0xBEEFu);
  EXPECT_EQ(combo->SetCurSel(3), 3);
  EXPECT_EQ(combo->SelectString(-1, GBK("中文")), 6);
  EXPECT_EQ(combo->SetCurSel(42), CB_ERR);
  EXPECT_EQ(combo->GetCurSel(), CB_ERR);
  CListBox* list = FindCtl<CListBox>(*dlg, kList);
  list->AddString("z");
  list->AddString("y");
  list->SetCurSel(1);
  EXPECT_EQ(dlg->Take(), "") << "selections set by code are silent";

  combo->SetCurSel(0);
  combo->GetComboBox()->setFocus();
  QTest::keyClick(combo->GetComboBox(), Qt::Key_Down);
  EXPECT_EQ(combo->GetCurSel(), 1);
  EXPECT_EQ(dlg->Take(), std::to_string(kDropList) + ":" + std::to_string(CBN_SELCHANGE));
}

TEST(Controls, AMovedComboKeepsItsEditHeightAndDropsTheRest) {
  auto dlg = MakeDialog(kItems);
  CComboBox* combo = FindCtl<CComboBox>(*dlg, kDropList);
  ASSERT_TRUE(combo);
  const int edit = combo->GetComboBox()->sizeHint().height();
  const int row = combo->GetComboBox()->fontMetrics().height() + 2;
  struct Row {
    int height;
    int windowHeight;
    int visibleItems;
  } rows[] = {
      {200, edit, (200 - edit) / row},
      {edit + 3 * row, edit, 3},
      {edit / 2, edit / 2, 1},  // less than the edit: all of it is the edit
  };
  for (const Row& r : rows) {
    combo->MoveWindow(20, 30, 100, r.height);
    RECT window, dropped;
    combo->GetWindowRect(&window);
    combo->GetDroppedControlRect(&dropped);
    EXPECT_EQ(RectHeight(window), r.windowHeight) << r.height;
    EXPECT_EQ(RectHeight(dropped), r.height);
    EXPECT_EQ(dropped.top, window.top);
    EXPECT_EQ(combo->GetComboBox()->maxVisibleItems(), r.visibleItems) << r.height;
  }
}

TEST(Controls, SpinButtonWrapsAndKeepsItsBuddy) {
  auto dlg = MakeDialog(kItems);
  auto* spin = FindCtl<CSpinButtonCtrl>(*dlg, kSpin);
  auto* buddy = FindCtl<QLineEdit>(*dlg, kBuddy);
  ASSERT_TRUE(spin && buddy);
  // The control made just before it is its buddy; it sits at the buddy's
  // right edge, as high as the buddy, which gives up that width.
  EXPECT_EQ(spin->GetBuddy()->GetWidget(), buddy);
  EXPECT_EQ(buddy->geometry(), QRect(10, 110, 64, 22));
  EXPECT_EQ(spin->GetWidget()->geometry(), QRect(74, 110, 16, 22));

  spin->SetRange(1, 3);
  spin->SetPos(3);
  const QPoint up(8, 4), down(8, 18);
  const std::string scroll = "scroll:" + std::to_string(SB_THUMBPOSITION) + ":";
  const std::string end = " scroll:" + std::to_string(SB_ENDSCROLL) + ":";
  struct Row {
    const char* what;
    std::function<void()> act;
    const char* buddyText;
    std::string log;  // notifications besides the buddy's EN_CHANGE
  } rows[] = {
      {"up past the top wraps to the bottom",
       [&] { QTest::mouseClick(spin, Qt::LeftButton, {}, up); }, "1", scroll + "1" + end + "1"},
      {"down past the bottom wraps to the top",
       [&] { QTest::mouseClick(spin, Qt::LeftButton, {}, down); }, "3", scroll + "3" + end + "3"},
      {"what the user typed is where it steps from",
       [&] {
         buddy->setText("1");
         buddy->setFocus();
         QTest::keyClick(buddy, Qt::Key_Up);
       },
       "2", scroll + "2" + end + "2"},
      {"a held arrow repeats on its timer",
       [&] {
         QTest::mousePress(spin, Qt::LeftButton, {}, up);
         spin->SendMessage(WM_TIMER, CSpinButtonCtrl::kRepeatTimer);
         QTest::mouseRelease(spin, Qt::LeftButton, {}, up);
       },
       "1", scroll + "3 " + scroll + "1" + end + "1"},
  };
  for (const Row& r : rows) {
    dlg->Take();
    r.act();
    EXPECT_EQ(buddy->text().toStdString(), r.buddyText) << r.what;
    std::string log = dlg->Take();
    const std::string change = std::to_string(kBuddy) + ":" + std::to_string(EN_CHANGE);
    for (size_t at; (at = log.find(change)) != std::string::npos;)
      log.erase(at, change.size() + (at + change.size() < log.size() ? 1 : 0));
    while (!log.empty() && log.back() == ' ') log.pop_back();
    EXPECT_EQ(log, r.log) << r.what;
  }

  // Without UDS_WRAP it stops at the ends; thousands get separators.
  auto* plain = FindCtl<CSpinButtonCtrl>(*dlg, kPlainSpin);
  auto* plainBuddy = FindCtl<CWnd>(*dlg, kPlainSpinBuddy);
  ASSERT_TRUE(plain && plainBuddy);
  plain->SetBuddy(plainBuddy);
  plain->SetRange32(0, 5000);
  plain->SetPos32(4999);
  QTest::mouseClick(plain, Qt::LeftButton, {}, up);
  QTest::mouseClick(plain, Qt::LeftButton, {}, up);
  EXPECT_EQ(Text(*dlg, kPlainSpinBuddy), "5,000");
  BOOL error = FALSE;
  EXPECT_EQ(plain->GetPos32(&error), 5000);
  EXPECT_FALSE(error);
  dlg->SetDlgItemText(kPlainSpinBuddy, "x1");
  EXPECT_EQ(plain->GetPos32(&error), 5000);
  EXPECT_TRUE(error);
  EXPECT_EQ(HIWORD(plain->GetPos()), 1);

  platform::SpinRange reversed{10, 0, false};
  EXPECT_EQ(reversed.Step(5, 1), 4);  // towards upper, which is below
  EXPECT_EQ(reversed.Step(1, 3), 0);
  platform::SpinRange wide{INT_MIN, INT_MAX, true};
  EXPECT_EQ(wide.Step(INT_MAX, 1), INT_MIN);
}

// Records the states each owner-drawn paint was given and fills the button.
class OwnerButton : public CButton {
 public:
  std::vector<UINT> states;
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    states.push_back(dis->itemState);
    dis->hDC->FillSolidRect(&dis->rcItem, RGB(0, 128, 0));
  }
};

TEST(Controls, OwnerDrawnButtonsPaintWithTheItemStates) {
  auto dlg = MakeDialog(kItems);
  auto* tableButton = FindCtl<CButton>(*dlg, kOwner);
  ASSERT_TRUE(tableButton);
  // A window class of its own takes the table button's place.
  OwnerButton button;
  ASSERT_TRUE(button.SubclassDlgItem(kOwner, dlg.get()));
  EXPECT_EQ(FindCtl<OwnerButton>(*dlg, kOwner), &button);
  EXPECT_EQ(button.GetWindowTextString(), "Owner");
  EXPECT_EQ(button.GetWidget()->geometry(), QRect(10, 170, 80, 24));

  struct Row {
    const char* what;
    std::function<void()> set;
    UINT state;
  } rows[] = {
      {"normal", [] {}, 0},
      {"focused", [&] { button.SetFocus(); }, ODS_FOCUS},
      {"pressed", [&] { button.SetState(TRUE); }, ODS_SELECTED | ODS_FOCUS},
      {"disabled",
       [&] {
         button.SetState(FALSE);
         button.EnableWindow(FALSE);
       },
       ODS_DISABLED},
  };
  for (const Row& r : rows) {
    r.set();
    button.states.clear();
    const QImage image = controls_test::Render(&button);
    ASSERT_EQ(button.states.size(), 1u) << r.what;
    EXPECT_EQ(button.states[0], r.state) << r.what;
    EXPECT_EQ(controls_test::PixelAt(image, QPoint(40, 12)), RGB(0, 128, 0)) << r.what;
  }
  button.EnableWindow(TRUE);
  dlg->Take();
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(dlg->Take(), std::to_string(kOwner) + ":" + std::to_string(BN_CLICKED));
}

// A dialog that colours its statics yellow, and a static that may answer first.
class YellowDialog : public controls_test::RecordingDialog {
 public:
  using RecordingDialog::RecordingDialog;
  CBrush yellow{RGB(255, 255, 0)};
  HBRUSH OnCtlColor(CDC*, CWnd*, UINT kind) override {
    return kind == CTLCOLOR_STATIC ? &yellow : nullptr;
  }
};

class OwnColourStatic : public CStatic {
 public:
  bool own = false;
  CBrush cyan{RGB(0, 255, 255)};
  HBRUSH CtlColor(CDC*, UINT) override { return own ? &cyan : nullptr; }
};

TEST(Controls, StaticsAnswerTheirOwnColoursBeforeTheirWindow) {
  static const platform::DialogItem kLabel[] = {{platform::kStatic, 50, "", 10, 10, 60, 20}};
  auto dlg = MakeDialog<YellowDialog>(kLabel, 100, 50);
  OwnColourStatic label;
  ASSERT_TRUE(label.SubclassDlgItem(50, dlg.get()));
  for (bool own : {false, true}) {
    label.own = own;
    // Colours are asked as a paint starts and fill from the next one on.
    controls_test::Render(&label);
    const QImage image = controls_test::Render(&label);
    EXPECT_EQ(controls_test::PixelAt(image, QPoint(30, 10)),
              own ? RGB(0, 255, 255) : RGB(255, 255, 0))
        << own;
  }
}

TEST(Controls, ImageListsDrawTheirMaskTransparentAtThePointGiven) {
  platform::testing::EnsureApplication();
  // Three 8 x 8 images: red with a green (mask) square in the middle, blue,
  // and green all over.
  QImage strip(24, 8, QImage::Format_ARGB32);
  strip.fill(QColor(0, 255, 0));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool middle = x >= 2 && x < 6 && y >= 2 && y < 6;
      if (x < 8 && !middle) strip.setPixelColor(x, y, QColor(255, 0, 0));
      if (x >= 8) strip.setPixelColor(x, y, QColor(0, 0, 255));
    }
  QTemporaryDir dir;
  const std::string path = dir.filePath("strip.png").toStdString();
  ASSERT_TRUE(strip.save(QString::fromStdString(path)));
  CImageList images;
  ASSERT_TRUE(images.Create(path.c_str(), 8, 0, RGB(0, 255, 0)));
  EXPECT_EQ(images.GetImageCount(), 3);

  QImage canvas(64, 32, QImage::Format_ARGB32);
  canvas.fill(Qt::white);
  CDC dc(&canvas);
  EXPECT_TRUE(images.Draw(&dc, 0, POINT{10, 10}, ILD_NORMAL));
  EXPECT_TRUE(images.Draw(&dc, 1, POINT{30, 10}, ILD_TRANSPARENT));
  EXPECT_TRUE(images.Draw(&dc, 2, POINT{50, 10}, ILD_NORMAL));
  EXPECT_FALSE(images.Draw(&dc, 3, POINT{0, 0}, ILD_NORMAL));
  struct Row {
    int x, y;
    COLORREF color;
  } rows[] = {
      {10, 10, RGB(255, 0, 0)},     {17, 17, RGB(255, 0, 0)},      // image 0's corners
      {13, 13, RGB(255, 255, 255)},                                // its mask shows the canvas
      {9, 10, RGB(255, 255, 255)},  {18, 17, RGB(255, 255, 255)},  // just outside
      {34, 14, RGB(0, 0, 255)},                                    // image 1
      {54, 14, RGB(255, 255, 255)},                                // image 2: mask only
  };
  for (const Row& r : rows) EXPECT_EQ(dc.GetPixel(r.x, r.y), r.color) << r.x << "," << r.y;

  // Drawn without its mask, and after a removal, the images move up.
  images.Draw(&dc, 0, POINT{10, 20}, ILD_IMAGE);
  EXPECT_EQ(dc.GetPixel(13, 23), RGB(0, 255, 0));
  EXPECT_EQ(images.GetImage(0).pixelColor(3, 3).alpha(), 0);
  ASSERT_TRUE(images.Remove(0));
  EXPECT_EQ(images.GetImageCount(), 2);
  EXPECT_EQ(images.GetImage(0).pixelColor(3, 3), QColor(0, 0, 255));
}

}  // namespace

// A dark window that gives its controls white text on a hollow brush: the
// check box's label turns white, its box stays a white framed box with a
// dark mark, as the desktop draws it.
class DarkDialog : public controls_test::RecordingDialog {
 public:
  using RecordingDialog::RecordingDialog;
  HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT) override {
    dc->SetTextColor(RGB(255, 255, 255));
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
};

TEST(Controls, ACheckBoxOnADarkWindowKeepsItsBox) {
  static const platform::DialogItem kItems[] = {
      {platform::kCheckBox, 60, "box", 10, 10, 80, 20, BS_AUTOCHECKBOX},
      {platform::kStatic, 61, "label", 10, 40, 80, 20}};
  auto dlg = MakeDialog<DarkDialog>(kItems, 120, 80);
  auto* box = dlg->findChild<QCheckBox*>(QString::number(60));
  auto* label = dlg->findChild<QWidget*>(QString::number(61));
  ASSERT_TRUE(box && label);
  box->setChecked(true);
  controls_test::Render(box);
  controls_test::Render(label);
  const QPalette boxColours = box->palette(), labelColours = label->palette();
  EXPECT_EQ(boxColours.color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(boxColours.color(QPalette::Base).alpha(), 255);
  EXPECT_NE(boxColours.color(QPalette::Text), QColor(Qt::white));
  EXPECT_GT(boxColours.color(QPalette::Window).alpha(), 0);  // the frame is drawn from it
  EXPECT_FALSE(box->autoFillBackground());
  // Other controls take both colours.
  EXPECT_EQ(labelColours.color(QPalette::WindowText), QColor(Qt::white));
  EXPECT_EQ(labelColours.color(QPalette::Window).alpha(), 0);
}
