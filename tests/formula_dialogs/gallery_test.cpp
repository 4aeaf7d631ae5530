// A gallery of the formula library's dialogs, opened through its exports
// and rendered offscreen into PNG files under the build tree
// (gallery/formula/) for a person to look at. The checks are coarse (a
// picture was written and is not blank); glyphs are never compared.
#include "platform/testing/gallery.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <cstring>
#include <fstream>

#include "formula/store/store_files.h"
#include "library_folder.h"
#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/menu_script.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"

namespace {

using platform::testing::ClickCtl;
using platform::testing::FindCtl;
using platform::testing::ScopedMenuScript;
using platform::testing::ScopedModalScript;

// Renders the dialog and keeps the picture.
void Keep(CDialog& d, const char* name) {
  platform::PumpMessages(20);  // pending layout and paints
  QWidget* w = d.GetWidget();
  QImage image(w->size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  w->render(&image);
  platform::testing::KeepPicture(image, "formula", name);
}

HTREEITEM FindItem(CTreeCtrl* tree, HTREEITEM from, const char* prefix) {
  for (HTREEITEM item = from; item; item = tree->GetNextSiblingItem(item)) {
    if (tree->GetItemText(item).rfind(prefix, 0) == 0) return item;
    if (HTREEITEM found = FindItem(tree, tree->GetChildItem(item), prefix)) return found;
  }
  return nullptr;
}

class Gallery : public formula_dialogs_test::LibraryFolder {};

TEST_F(Gallery, EditorAndTheDialogsItOpens) {
  SDefineReturn ret{};
  ScopedMenuScript menu{32774};
  ScopedModalScript script{
      [&](CDialog& d) {
        Keep(d, "editor.png");
        ClickCtl(d, 2026);  // 参数精灵
        ClickCtl(d, 2025);  // 指标说明
        ClickCtl(d, 5);     // 导入函数
        auto* tree = FindCtl<CTreeCtrl>(d, 11001);
        RECT first{};
        tree->GetItemRect(tree->GetRootItem(), &first, TRUE);
        QTest::mouseClick(tree->viewport(), Qt::RightButton, {},
                          QPoint(first.left + 4, first.top + 4));
        platform::PumpUntil([&] { return menu.Offered().size() == 1; }, 5000);
        platform::PumpMessages(50);  // the group dialog, from the posted command

        // A new formula with a mistake: the messages and the red status.
        ASSERT_TRUE(platform::testing::ShowAndActivate(d.GetWidget()));  // Enter reaches the focus
        QTest::keyClick(FindCtl<QWidget>(d, 11002), Qt::Key_F2);
        auto* script = FindCtl<QPlainTextEdit>(d, 11004);
        script->setFocus();
        script->selectAll();
        for (const char* line :
             {"'a first line", "x:ma(close,5)+hhv(high,10);", "y:\"text\" + 1.5e3;"}) {
          QTest::keyClicks(script, line);
          QTest::keyClick(script, Qt::Key_Return);
        }
        QTest::keyClicks(script, "z:ma(close;");
        QTest::keyClick(script, Qt::Key_F7);
        Keep(d, "editor_errors.png");
        QTest::keyClick(script, Qt::Key_Escape);
      },
      [&](CDialog& desc) {
        Keep(desc, "params_desc.png");
        ClickCtl(desc, IDCANCEL);
      },
      [&](CDialog& note) {
        Keep(note, "note.png");
        ClickCtl(note, IDOK);
      },
      [&](CDialog& picker) {
        auto* tree = FindCtl<CTreeCtrl>(picker, 11001);
        if (HTREEITEM item = FindItem(tree, tree->GetRootItem(), "HHV")) tree->SelectItem(item);
        Keep(picker, "function_picker.png");
        ClickCtl(picker, IDCANCEL);
      },
      [&](CDialog& group) {
        group.SetDlgItemText(11003, GBK("自选组"));
        Keep(group, "group.png");
        ClickCtl(group, IDCANCEL);
      }};
  CFormulaFace::OnOpenDefineTechDlg(ret, "ZB2Param");
}

TEST_F(Gallery, ParameterDialogs) {
  // The examples, and a three-line "MA" without descriptions.
  std::deque<SFormulaRecord> saved(1);
  std::strcpy(saved[0].szCode, "MA");
  std::snprintf(saved[0].szName, sizeof saved[0].szName, "%s", GBK("均线"));
  std::strcpy(saved[0].szParams,
              "M1:^P(1,250,5,1);\r\nM2:^P(1,250,10,1);\r\nM3:^P(1,250,20,1);\r\n");
  saved[0].strFormula = "MA1:MA(CLOSE,M1);\r\nMA2:MA(CLOSE,M2);\r\nMA3:MA(CLOSE,M3);";
  std::ofstream(Formulas() / "ZBFormu.dat", std::ios::binary) << formula::BuildDatFile(saved);
  CFormulaFace::InitDefineTech();
  ScopedModalScript script{[&](CDialog& d) {
                             Keep(d, "single_tech_set_ma.png");
                             ClickCtl(d, IDCANCEL);
                           },
                           [&](CDialog& d) {
                             Keep(d, "tech_set.png");
                             ClickCtl(d, IDCANCEL);
                           }};
  CFormulaFace::OnOpenSingleFormulaParasSet("MA");
  char name[20] = "MA";
  CFormulaFace::OnOpenFormulaParasSet(name);
}

TEST_F(Gallery, DescribedParameters) {
  ScopedModalScript script{[&](CDialog& d) {
                             Keep(d, "single_tech_set.png");
                             ClickCtl(d, IDCANCEL);
                           },
                           [&](CDialog& d) {
                             Keep(d, "tech_set_described.png");
                             ClickCtl(d, IDCANCEL);
                           }};
  CFormulaFace::OnOpenSingleFormulaParasSet("ZB2Param");
  char name[20] = "ZB2Param";
  CFormulaFace::OnOpenFormulaParasSet(name);
}

}  // namespace
