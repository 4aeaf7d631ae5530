// Texts are GBK at the layer's edges: round trips through every basic
// control, CR LF in multi-line edits, byte limits cut on character
// boundaries, numbers read as Win32 reads them.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"

namespace {

using platform::testing::FindCtl;

enum : int { kLabel = 100, kButton, kEdit, kMultiLine, kCombo, kDropList, kGroup, kNumber };

const platform::DialogItem kItems[] = {
    {platform::kStatic, kLabel, nullptr, 0, 0, 80, 10},
    {platform::kButton, kButton, nullptr, 0, 12, 80, 14},
    {platform::kEdit, kEdit, nullptr, 0, 28, 80, 12},
    {platform::kEdit, kMultiLine, nullptr, 0, 42, 80, 30, ES_MULTILINE | ES_WANTRETURN},
    {platform::kComboBox, kCombo, nullptr, 0, 74, 80, 50, CBS_DROPDOWN},
    {platform::kComboBox, kDropList, nullptr, 90, 74, 80, 50, CBS_DROPDOWNLIST},
    {platform::kGroupBox, kGroup, nullptr, 90, 0, 80, 60},
    {platform::kEdit, kNumber, nullptr, 90, 62, 80, 12},
};

struct Values {
  std::string text;
  char buffer[5] = {};
  int number = 0;
};

class TextDialog : public CDialog {
 public:
  explicit TextDialog(const platform::DialogTemplate& tpl) : CDialog(tpl) {}
  Values v;
  int maxBytes = -1;
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, kEdit, v.text, maxBytes);
    DDX_Text(dx, kLabel, v.buffer, sizeof v.buffer);
    DDX_Text(dx, kNumber, v.number);
    DDV_MinMaxInt(dx, v.number, 0, 99);
  }
};

class WndText : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::testing::EnsureApplication();
    tpl.cx = 200;
    tpl.cy = 140;
    tpl.caption = GBK("标题");
    tpl.items = kItems;
    dialog = std::make_unique<TextDialog>(tpl);
    ASSERT_TRUE(dialog->Create(nullptr));
  }
  platform::DialogTemplate tpl;
  std::unique_ptr<TextDialog> dialog;
  TextDialog& dlg() { return *dialog; }
};

TEST_F(WndText, GbkRoundTripsThroughEveryControl) {
  TextDialog& dlg = this->dlg();
  struct Row {
    int id;
    const char* set;
    const char* get;  // what GetDlgItemText gives back
    QString shown;    // what the widget shows
  } rows[] = {
      {kLabel, GBK("用户帐号："), GBK("用户帐号："), QString::fromUtf8("用户帐号：")},
      {kButton, GBK("确定(&O)"), GBK("确定(&O)"), QString::fromUtf8("确定(&O)")},
      {kEdit, GBK("中文abc"), GBK("中文abc"), QString::fromUtf8("中文abc")},
      {kMultiLine, GBK("第一行\r\n第二行\r\n"), GBK("第一行\r\n第二行\r\n"),
       QString::fromUtf8("第一行\n第二行\n")},
      {kMultiLine, "a\nb", "a\r\nb", "a\nb"},  // a bare LF comes back as CR LF
      {kCombo, GBK("上海"), GBK("上海"), QString::fromUtf8("上海")},
      {kDropList, GBK("不能设"), "", ""},  // a drop-down list has no text of its own
      {kGroup, GBK("修改颜色"), GBK("修改颜色"), QString::fromUtf8("修改颜色")},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.id);
    dlg.SetDlgItemText(r.id, r.set);
    std::string got;
    dlg.GetDlgItemText(r.id, got);
    EXPECT_EQ(got, r.get);
    QWidget* w = FindCtl<QWidget>(dlg, r.id);
    ASSERT_NE(w, nullptr);
    QString shown;
    if (auto* label = qobject_cast<QLabel*>(w)) shown = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) shown = button->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(w)) shown = edit->text();
    else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) shown = multi->toPlainText();
    else if (auto* combo = qobject_cast<QComboBox*>(w)) shown = combo->currentText();
    else shown = QString::fromStdString(platform::GbkToUtf8(got));
    EXPECT_EQ(shown, r.shown);
  }
  EXPECT_EQ(dlg.GetWindowTextString(), GBK("标题"));
}

TEST_F(WndText, ByteLimitsCutOnCharacterBoundaries) {
  TextDialog& dlg = this->dlg();
  // "中文字" is 6 bytes; 5 allowed leaves "中文" rather than half of "字".
  dlg.SetDlgItemText(kEdit, GBK("中文字"));
  dlg.SetDlgItemText(kLabel, GBK("一二三"));
  dlg.SetDlgItemText(kNumber, "7");
  dlg.maxBytes = 5;
  ASSERT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_EQ(dlg.v.text, GBK("中文"));
  EXPECT_STREQ(dlg.v.buffer, GBK("一二"));  // 4 bytes and the NUL
  char small[4];
  EXPECT_EQ(dlg.GetDlgItemText(kEdit, small, sizeof small), 2);
  EXPECT_STREQ(small, GBK("中"));

  // Written back, the limit holds too.
  dlg.v.text = GBK("甲乙丙");
  dlg.maxBytes = 3;
  dlg.UpdateData(FALSE);
  std::string shown;
  dlg.GetDlgItemText(kEdit, shown);
  EXPECT_EQ(shown, GBK("甲"));
}

TEST_F(WndText, NumbersReadAsWin32ReadsThemAndBadOnesFailWithABox) {
  TextDialog& dlg = this->dlg();
  struct Row {
    const char* text;
    BOOL isSigned;
    BOOL ok;
    UINT value;
  } rows[] = {
      {" 12 ", TRUE, TRUE, 12},
      {"-5", TRUE, TRUE, (UINT)-5},
      {"-5", FALSE, FALSE, 0},
      {"12a", TRUE, FALSE, 0},
      {"", TRUE, FALSE, 0},
      {"2147483648", TRUE, FALSE, 0},
      {"2147483648", FALSE, TRUE, 2147483648u},
      {"4294967296", FALSE, FALSE, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text);
    dlg.SetDlgItemText(kNumber, r.text);
    BOOL ok = -1;
    EXPECT_EQ(dlg.GetDlgItemInt(kNumber, &ok, r.isSigned), r.value);
    EXPECT_EQ(ok, r.ok);
  }

  platform::ScopedRecordingBoxes boxes;
  for (const char* bad : {"x1", "100"}) {
    dlg.SetDlgItemText(kNumber, bad);
    EXPECT_FALSE(dlg.UpdateData(TRUE));
  }
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[0].text, GBK("请输入一个整数。"));
  EXPECT_EQ(boxes.Boxes()[1].text, GBK("请输入一个介于 0 和 99 之间的整数。"));
}

}  // namespace
