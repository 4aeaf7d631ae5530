// Rectangles keep Win32's exclusive right and bottom edges; dialog units
// map with the fixed base units of the dialog font; controls are found by
// id among direct children only, and a duplicate id fails a test.
#include <QComboBox>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace {

using platform::testing::FindCtl;

RECT ChildRect(const CWnd& parent, const CWnd& child) {
  RECT r;
  child.GetWindowRect(&r);
  parent.ScreenToClient(&r);
  return r;
}

std::string Str(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

TEST(WndGeometry, RectanglesAndDialogUnits) {
  platform::testing::EnsureApplication();
  static const platform::DialogItem kSongti[] = {
      {platform::kEdit, 1000, nullptr, 10, 10, 40, 14},
      {platform::kComboBox, 1001, nullptr, 10, 30, 40, 57, CBS_DROPDOWNLIST},
  };
  platform::DialogTemplate songti;
  songti.cx = 316;
  songti.cy = 247;
  songti.style = WS_POPUP;
  songti.items = kSongti;
  CDialog dlg(songti);
  ASSERT_TRUE(dlg.Create(nullptr));
  platform::DialogTemplate shellDlg = songti;
  shellDlg.fontFace = GBK("MS Shell Dlg");
  shellDlg.fontPoints = 8;
  shellDlg.items = std::span(kSongti, 1);
  CDialog dlg8(shellDlg);
  ASSERT_TRUE(dlg8.Create(nullptr));

  CWndImpl<QWidget> top, child;
  ASSERT_TRUE(top.Create(nullptr, CRect(200, 100, 600, 400), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(child.Create(&top, CRect(10, 20, 110, 70), 5));
  POINT corner{99, 49};  // the last pixel inside the child
  child.ClientToScreen(&corner);
  top.ScreenToClient(&corner);
  RECT client;
  child.GetClientRect(&client);
  RECT dlgClient;
  dlg.GetClientRect(&dlgClient);
  auto* combo = FindCtl<QComboBox>(dlg, 1001);
  ASSERT_NE(combo, nullptr);

  struct Row {
    const char* what;
    RECT actual;
    RECT expected;
  } rows[] = {
      {"a child's rectangle in its parent", ChildRect(top, child), {10, 20, 110, 70}},
      {"its client rectangle", client, {0, 0, 100, 50}},
      {"its last pixel in the parent", {corner.x, corner.y, 0, 0}, {109, 69, 0, 0}},
      {"宋体 9 dialog units", ChildRect(dlg, *dlg.GetDlgItem(1000)), {15, 15, 75, 36}},
      {"MS Shell Dlg 8 dialog units", ChildRect(dlg8, *dlg8.GetDlgItem(1000)), {15, 16, 75, 39}},
      {"the dialog's client size", dlgClient, {0, 0, 474, 371}},
      {"a combo box keeps its edit height",
       ChildRect(dlg, *dlg.GetDlgItem(1001)),
       {15, 45, 75, 45 + combo->sizeHint().height()}},
  };
  for (const Row& r : rows) EXPECT_EQ(Str(r.actual), Str(r.expected)) << r.what;
  // The rest of the 57 units (86 pixels) is the drop-down list.
  const int dropRows = (86 - combo->height()) / (combo->fontMetrics().height() + 2);
  EXPECT_EQ(combo->maxVisibleItems(), dropRows);
  EXPECT_GE(dropRows, 3);
}

TEST(WndGeometry, ControlsAreFoundAmongDirectChildrenAndDuplicatesFail) {
  platform::testing::EnsureApplication();
  static const platform::DialogItem kPanel[] = {{platform::kEdit, 1000, nullptr, 0, 0, 50, 12}};
  static const platform::DialogItem kTwice[] = {
      {platform::kStatic, 1000, nullptr, 0, 0, 50, 12},
      {platform::kStatic, 1000, nullptr, 0, 20, 50, 12},
  };
  platform::DialogTemplate panel;
  panel.cx = 100;
  panel.cy = 50;
  panel.style = WS_CHILD | WS_VISIBLE;
  panel.items = kPanel;
  CWndImpl<QWidget> host;
  ASSERT_TRUE(host.Create(nullptr, CRect(0, 0, 300, 200), 0, WS_POPUP));
  CDialog left(panel), right(panel);
  ASSERT_TRUE(left.Create(&host, CRect(0, 0, 150, 100), 1));
  ASSERT_TRUE(right.Create(&host, CRect(150, 0, 300, 100), 2));
  EXPECT_EQ(host.GetDlgItem(1000), nullptr);
  EXPECT_NE(left.GetDlgItem(1000), right.GetDlgItem(1000));
  EXPECT_EQ(FindCtl<CDialog>(host, 2), &right);
  EXPECT_EQ(left.GetDlgItem(1000)->GetParent(), &left);

  platform::DialogTemplate twice = panel;
  twice.items = kTwice;
  CDialog dup(twice);
  ASSERT_TRUE(dup.Create(&host));
  EXPECT_NONFATAL_FAILURE(FindCtl<QWidget>(dup, 1000), "more than one control with id 1000");
  EXPECT_NONFATAL_FAILURE(FindCtl<QWidget>(dup, 1001), "no control with id 1001");
  EXPECT_NONFATAL_FAILURE(FindCtl<QComboBox>(left, 1000), "is not a");
}

}  // namespace
