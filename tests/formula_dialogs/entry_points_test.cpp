// The formula library's dialogs opened through its exports, as the program
// opens them, and worked as a user does: the editor (a formula typed,
// tested, submitted and found again in the reloaded files; a cancelled
// editor still answering its drawing area and fixed axis; the tree menu's
// group dialog and the function picker), the two indicator parameter
// dialogs and the note.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstring>
#include <fstream>

#include "formula/store/store_files.h"
#include "library_folder.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/menu.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/menu_script.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::FindCtl;
using platform::testing::ScopedMenuScript;
using platform::testing::ScopedModalScript;

// Control ids of the dialogs.
enum : int {
  kTree = 11001,
  kKindList = 11076,
  kName = 11002,
  kChineseName = 11003,
  kArea = 11000,
  kGridLines = 11006,
  kScript = 11004,
  kMessages = 11074,
  kStatus = 11046,
  kNew = 4,
  kSubmit = 3,
  kImport = 5,
  kGroupName = 11003,
  kFunctionDesc = 11008,
  kValue0 = 11050,
  kSpin0 = 11064,
  kNoParams = 2022,
  kLineCount = 2030,
  kIndicatorList = 11009,
  kNoteText = 1133,
};
constexpr int kGridRow1[5] = {11011, 11012, 11013, 11014, 11039};
constexpr UINT kMenuNewGroup = 32774;

std::string Text(CDialog& d, int id) {
  std::string text;
  d.GetDlgItemText(id, text);
  return text;
}

void Type(CDialog& d, int id, const char* text) {
  QWidget* edit = FindCtl<QWidget>(d, id);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  QTest::keyClicks(edit, text);
}

// Pixels of a colour (give or take anti-aliasing) in a control as drawn.
int PixelsOf(QWidget* control, QColor colour) {
  QImage image(control->size(), QImage::Format_ARGB32);
  control->render(&image);
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QColor c(image.pixel(x, y));
      if (std::abs(c.red() - colour.red()) < 60 && std::abs(c.green() - colour.green()) < 60 &&
          std::abs(c.blue() - colour.blue()) < 60)
        ++count;
    }
  return count;
}

std::vector<std::string> TopItems(CTreeCtrl* tree) {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree->GetRootItem(); item; item = tree->GetNextSiblingItem(item))
    texts.push_back(tree->GetItemText(item));
  return texts;
}

HTREEITEM FindItem(CTreeCtrl* tree, HTREEITEM from, const std::string& prefix) {
  for (HTREEITEM item = from; item; item = tree->GetNextSiblingItem(item)) {
    if (tree->GetItemText(item).rfind(prefix, 0) == 0) return item;
    if (HTREEITEM found = FindItem(tree, tree->GetChildItem(item), prefix)) return found;
  }
  return nullptr;
}

class Dialogs : public formula_dialogs_test::LibraryFolder {};

TEST_F(Dialogs, EditorTypesTestsAndSubmitsAFormulaTheReloadedFilesHold) {
  SDefineReturn ret{-1, -1};
  ScopedModalScript script{[&](CDialog& d) {
    EXPECT_EQ(d.GetWindowTextString(), GBK("公式编辑平台"));
    auto* tree = FindCtl<CTreeCtrl>(d, kTree);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(TopItems(tree),
              (std::vector<std::string>{GBK("指标公式"), GBK("条件选股公式"), GBK("交易系统公式"),
                                        GBK("五彩K线公式"), GBK("自定义函数公式")}));
    EXPECT_EQ(Text(d, kStatus), GBK("F2:新建公式 F7:测试公式"));

    QTest::keyClick(FindCtl<QWidget>(d, kName),
                    Qt::Key_F2);  // new formula: "clear the content?" Yes
    Type(d, kName, "myma");
    d.SetDlgItemText(kChineseName, GBK("我的均线"));
    const char* row[5] = {"n", "1", "100", "12", "1"};
    for (int c = 0; c < 5; ++c) Type(d, kGridRow1[c], row[c]);
    auto* script = FindCtl<QPlainTextEdit>(d, kScript);
    script->setFocus();
    script->selectAll();
    QTest::keyClicks(script, "a:ma(close,n);");
    EXPECT_EQ(Text(d, kScript), "a:MA(CLOSE,n);");  // known words in their listed spelling

    QTest::keyClick(script, Qt::Key_F7);
    EXPECT_EQ(Text(d, kStatus), GBK("公式测试正常.....OK !"));
    EXPECT_GT(PixelsOf(FindCtl<QWidget>(d, kStatus), QColor(0, 0, 255)), 20);  // blue, bold
    EXPECT_NE(Text(d, kMessages).find("A:"), std::string::npos);
    ClickCtl(d, kSubmit);
  }};
  EXPECT_EQ(CFormulaFace::OnOpenDefineTechDlg(ret, nullptr), IDOK);
  EXPECT_EQ(ret.nArea, 0);
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{GBK("您清空当前内容，新建公式,还是保留当前内容进行修改?")});

  CFormulaFace::InitDefineTech();  // from the files the editor wrote
  ASSERT_EQ(CFormulaFace::SizeAtSet(0), 3);
  EXPECT_STREQ(CFormulaFace::FormuCode(2, 0), "MYMA");
  EXPECT_STREQ(CFormulaFace::FormuName(2, 0), GBK("我的均线"));
  CFormulaFace face;
  ASSERT_EQ(face.SelectFormular(0, "myma"), 1) << face.GetLastErr();
  ASSERT_EQ(face.GetRegParSize(), 1);
  EXPECT_EQ(face.GetRegParFloat(0), 12.0f);
}

TEST_F(Dialogs, EditorLimitsTheFormulaTextAndTheDescriptionsWhatTheUserEnters) {
  SDefineReturn ret{};
  size_t scriptChars = 0, descBytes = 0;
  ScopedModalScript script{[&](CDialog& d) {
                             auto* edit = FindCtl<QPlainTextEdit>(d, kScript);
                             edit->setFocus();
                             edit->selectAll();
                             QApplication::clipboard()->setText(QString(5000, u'a'));
                             QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                             scriptChars = static_cast<size_t>(edit->toPlainText().size());
                             ClickCtl(d, 2026);  // 参数精灵
                             ClickCtl(d, IDCANCEL);
                           },
                           [&](CDialog& desc) {
                             desc.SetDlgItemText(2028, "");
                             auto* edit = FindCtl<QPlainTextEdit>(desc, 2028);
                             edit->setFocus();
                             QApplication::clipboard()->setText(QString(1200, u'b'));
                             QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
                             descBytes = Text(desc, 2028).size();
                             ClickCtl(desc, IDCANCEL);
                           }};
  CFormulaFace::OnOpenDefineTechDlg(ret, "ZB2Param");
  EXPECT_EQ(scriptChars, 4096u);
  EXPECT_EQ(descBytes, 1000u);
}

TEST_F(Dialogs, CancelledEditorStillAnswersItsAreaAndFixedAxisAndWritesTheFiles) {
  SDefineReturn ret{-1, -1};
  ScopedModalScript script{[&](CDialog& d) {
    // The preset indicator is loaded and selected; its name and kind are locked.
    auto* tree = FindCtl<CTreeCtrl>(d, kTree);
    EXPECT_EQ(tree->GetItemText(tree->GetSelectedItem()),
              std::string("ZB2Param  ") + GBK("测试指标参数"));
    EXPECT_EQ(Text(d, kName), "ZB2PARAM");  // an upper-case edit
    const char* expected[5] = {"N", "1.000", "100.000", "80.000", "2.000"};
    for (int c = 0; c < 5; ++c) EXPECT_EQ(Text(d, kGridRow1[c]), expected[c]);
    EXPECT_FALSE(FindCtl<QWidget>(d, kName)->isEnabled());
    EXPECT_FALSE(FindCtl<QWidget>(d, kKindList)->isEnabled());

    // A click on another formula loads it (once: nothing was changed, so no question).
    HTREEITEM other = FindItem(tree, tree->GetRootItem(), "TestZB");
    ASSERT_NE(other, nullptr);
    RECT at{};
    tree->GetItemRect(other, &at, TRUE);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, QPoint(at.left + 4, at.top + 4));
    EXPECT_EQ(Text(d, kName), "TESTZB");
    EXPECT_EQ(Text(d, kScript), "T:12;");

    FindCtl<QComboBox>(d, kArea)->setCurrentIndex(1);  // "副图"
    auto* lines = FindCtl<QLineEdit>(d, kGridLines);
    lines->clear();
    Type(d, kGridLines, "50,80");
    QTest::keyClick(lines, Qt::Key_F7);      // any action reads the controls
    QTest::keyClick(lines, Qt::Key_Escape);  // "leave?" OK
  }};
  EXPECT_EQ(CFormulaFace::OnOpenDefineTechDlg(ret, "zb2param"), IDCANCEL);
  EXPECT_EQ(ret.nArea, 1);
  EXPECT_EQ(ret.nFixedAxis, 50);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{GBK("您确定要退出公式平台吗?")});
  EXPECT_TRUE(std::filesystem::exists(Formulas() / "ZBFormu.dat"));
  EXPECT_TRUE(std::filesystem::exists(Formulas() / "FCFormu.dat"));
}

TEST_F(Dialogs, TreeMenuAddsAGroupAndThePickerImportsAFunction) {
  SDefineReturn ret{};
  ScopedMenuScript menu{kMenuNewGroup};
  ScopedModalScript script{
      [&](CDialog& d) {
        auto* tree = FindCtl<CTreeCtrl>(d, kTree);
        // A right click on the tree offers the group menu; its command opens the group dialog.
        RECT first{};
        tree->GetItemRect(tree->GetRootItem(), &first, TRUE);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                          QPoint(first.left + 4, first.top + 4));
        ASSERT_TRUE(platform::PumpUntil(
            [&] { return FindItem(tree, tree->GetRootItem(), GBK("自选组")); }, 5000));
        ASSERT_NE(menu.Find(kMenuNewGroup), nullptr);
        EXPECT_EQ(menu.Find(kMenuNewGroup)->text, GBK("公式分组"));

        ClickCtl(d, kImport);  // the picker, answered next
        const std::string text = Text(d, kScript);
        EXPECT_EQ(text.substr(text.size() - 7), "HHV(  )");
        QTest::keyClick(FindCtl<QWidget>(d, kName), Qt::Key_Escape);
      },
      [&](CDialog& group) {
        EXPECT_EQ(group.GetWindowTextString(), GBK("分组"));
        group.SetDlgItemText(kGroupName, GBK("自选组"));
        ClickCtl(group, IDOK);
      },
      [&](CDialog& picker) {
        EXPECT_EQ(picker.GetWindowTextString(), GBK("函数表"));
        auto* tree = FindCtl<CTreeCtrl>(picker, kTree);
        EXPECT_EQ(TopItems(tree).size(), 10u);
        ClickCtl(picker, IDOK);  // nothing chosen: stays open
        EXPECT_TRUE(picker.IsInModalLoop());
        HTREEITEM hhv = FindItem(tree, tree->GetRootItem(), "HHV");
        ASSERT_NE(hhv, nullptr);
        tree->SelectItem(hhv);
        EXPECT_FALSE(Text(picker, kFunctionDesc).empty());
        ClickCtl(picker, IDOK);
      }};
  CFormulaFace::OnOpenDefineTechDlg(ret, nullptr);
}

TEST_F(Dialogs, SingleIndicatorDialogLaysOutDescribedRowsAndStoresPositiveValues) {
  ScopedModalScript script{[&](CDialog& d) {
    EXPECT_EQ(d.GetWindowTextString(), GBK("参数显示"));
    EXPECT_FALSE(FindCtl<QWidget>(d, kNoParams)->isVisible());
    EXPECT_FALSE(FindCtl<QWidget>(d, kLineCount)->isVisible());  // not "MA"
    // Two described rows: prefix label, value box, spin button, in a line.
    for (int i = 0; i < 2; ++i) {
      QWidget* value = FindCtl<QWidget>(d, kValue0 + i);
      QWidget* spin = FindCtl<QWidget>(d, kSpin0 + i);
      QWidget* prefix = FindCtl<QWidget>(d, 11057 + i);
      ASSERT_TRUE(value->isVisible() && spin->isVisible() && prefix->isVisible());
      EXPECT_EQ(Text(d, kValue0 + i), "80");
      EXPECT_EQ(prefix->geometry().right() + 1, value->geometry().left());
      EXPECT_EQ(value->geometry().right() + 1, spin->geometry().left());
      EXPECT_EQ(value->geometry().top(), prefix->geometry().top());
    }
    EXPECT_EQ(Text(d, 11057), GBK("第一条线的数值"));
    EXPECT_FALSE(FindCtl<QWidget>(d, kValue0 + 2)->isVisible());

    d.SetDlgItemText(kValue0, "0");
    ClickCtl(d, IDOK);  // refused: stays
    EXPECT_TRUE(d.IsInModalLoop());
    d.SetDlgItemText(kValue0, "30");
    ClickCtl(d, IDOK);
  }};
  EXPECT_EQ(CFormulaFace::OnOpenSingleFormulaParasSet("ZB2Param"), 1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{GBK("参数必须大于零")});
  CFormulaFace::InitDefineTech();  // saved by the entry point
  CFormulaFace face;
  ASSERT_EQ(face.SelectFormular(0, "ZB2Param"), 1);
  EXPECT_EQ(face.GetRegParFloat(0), 30.0f);
  EXPECT_EQ(face.GetRegParFloat(1), 80.0f);
}

TEST_F(Dialogs, MovingAverageLineCountLaysOutItsNewRows) {
  // An "MA" indicator with two lines.
  std::deque<SFormulaRecord> saved(1);
  std::strcpy(saved[0].szCode, "MA");
  std::strcpy(saved[0].szParams, "M1:^P(1,250,5,1);\r\nM2:^P(1,250,10,1);\r\n");
  saved[0].strFormula = "MA1:MA(CLOSE,M1);\r\nMA2:MA(CLOSE,M2);";
  std::ofstream(Formulas() / "ZBFormu.dat", std::ios::binary) << formula::BuildDatFile(saved);
  CFormulaFace::InitDefineTech();

  ScopedModalScript script{[&](CDialog& d) {
    ASSERT_TRUE(platform::testing::ShowAndActivate(d.GetWidget()));  // focus moves for real
    ASSERT_TRUE(FindCtl<QWidget>(d, kLineCount)->isVisible());
    EXPECT_EQ(Text(d, kLineCount), "2");
    auto* count = FindCtl<QLineEdit>(d, kLineCount);
    count->setFocus();
    count->selectAll();
    QTest::keyClicks(count, "4");
    FindCtl<QWidget>(d, kValue0)->setFocus();  // leaving the box changes the lines
    ASSERT_TRUE(
        platform::PumpUntil([&] { return FindCtl<QWidget>(d, kValue0 + 3)->isVisible(); }, 5000));
    EXPECT_EQ(Text(d, kValue0 + 2), "15");
    EXPECT_FALSE(FindCtl<QWidget>(d, kValue0 + 4)->isVisible());
    ClickCtl(d, IDCANCEL);
  }};
  EXPECT_EQ(CFormulaFace::OnOpenSingleFormulaParasSet("ma"), 0);
}

TEST_F(Dialogs, IndicatorListStoresTheValuesOfTheIndicatorLeftAndAnswersTheLastOne) {
  char name[20] = "ZB2Param";
  ScopedModalScript script{[&](CDialog& d) {
    EXPECT_EQ(d.GetWindowTextString(), GBK("请选择指标参数"));
    auto* list = FindCtl<CListCtrl>(d, kIndicatorList);
    ASSERT_EQ(list->GetItemCount(), 2);
    EXPECT_EQ(list->GetItemText(1, 1), GBK("测试指标参数"));
    EXPECT_EQ(list->GetNextItem(-1, LVNI_SELECTED), 1);
    d.SetDlgItemText(kValue0 + 1, "44");
    // The user moves to TestZB, which has no parameters.
    RECT row{};
    list->GetItemRect(0, &row, LVIR_BOUNDS);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(row.left + 10, row.top + 3));
    EXPECT_TRUE(FindCtl<QWidget>(d, kNoParams)->isVisible());
    EXPECT_FALSE(FindCtl<QWidget>(d, kValue0)->isVisible());
    ClickCtl(d, IDOK);
  }};
  EXPECT_EQ(CFormulaFace::OnOpenFormulaParasSet(name), IDOK);
  EXPECT_STREQ(name, "TestZB");
  CFormulaFace::InitDefineTech();
  CFormulaFace face;
  ASSERT_EQ(face.SelectFormular(0, "ZB2Param"), 1);
  EXPECT_EQ(face.GetRegParFloat(1), 44.0f);
}

TEST_F(Dialogs, NoteShowsForAFormulaWithANoteOnly) {
  std::deque<SFormulaRecord> saved(1);
  std::strcpy(saved[0].szCode, "TestZB");
  saved[0].strFormula = "T:12;";
  saved[0].strNote = "x";
  std::ofstream(Formulas() / "ZBFormu.dat", std::ios::binary) << formula::BuildDatFile(saved);
  CFormulaFace::InitDefineTech();

  {
    ScopedModalScript none{};  // no such formula: no dialog
    CFormulaFace::OnOpenFormulaDesc("nothing");
  }
  std::string shown;
  ScopedModalScript script{[&](CDialog& d) {
    EXPECT_EQ(d.GetWindowTextString(), "testzb");
    shown = Text(d, kNoteText);
    ClickCtl(d, IDOK);
  }};
  CFormulaFace::OnOpenFormulaDesc("testzb");
  EXPECT_NE(shown.find(GBK("测试指标")), std::string::npos);
}

}  // namespace
