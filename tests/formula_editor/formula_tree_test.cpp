// The editor's formula tree, group list and tree commands.
#include <cstring>
#include <string>

#include "editor_test_support.h"
#include "formula/editor/FormulaEditorCore.h"
#include "formula/editor/FormulaTree.h"
#include "platform/gbk.h"

namespace formula {
namespace {

class FormulaTreeTest : public editor_test::StoreFolder {
 protected:
  SFormulaRecord* Add(int kind, const char* code, const char* group) {
    SFormulaRecord record;
    record.nKind = int16_t(kind);
    std::strcpy(record.szCode, code);
    std::strcpy(record.szName, GBK("名"));
    record.nGroupHash = group ? CCalcFace::GroupHash(group) : 210;
    record.strFormula = "A:1;";
    TheFormulaStore().Formulas(kind).push_back(record);
    return &TheFormulaStore().Formulas(kind).back();
  }
  static std::vector<std::string> Texts(const SFormulaTreeNode& node) {
    std::vector<std::string> out;
    for (const SFormulaTreeNode& child : node.children) out.push_back(child.text);
    return out;
  }
  // A name other than name with the same group hash.
  static std::string SameHashAs(const char* name) {
    const int hash = CCalcFace::GroupHash(name);
    for (int i = 0;; ++i) {
      const std::string candidate = "g" + std::to_string(i);
      if (CCalcFace::GroupHash(candidate.c_str()) == hash && candidate != name) return candidate;
    }
  }
};

TEST_F(FormulaTreeTest, FormulasStandUnderTheGroupOfTheirHash) {
  TheFormulaStore().Formulas(0).clear();
  Add(0, "F1", GBK("趋势型"));
  Add(0, "F2", nullptr);  // matches no group
  Add(0, "F3", GBK("趋势型"));
  Add(0, "F4", GBK("其他"));
  const SFormulaTree tree = BuildFormulaTree(TheFormulaStore());
  ASSERT_EQ(tree.kinds.size(), 5u);
  EXPECT_EQ(tree.kinds[1].text, GBK("条件选股公式"));
  const SFormulaTreeNode& indicators = tree.kinds[0];
  ASSERT_EQ(indicators.children.size(), 8u);  // seven groups, then F2
  EXPECT_EQ(indicators.children[2].text, GBK("趋势型"));
  EXPECT_EQ(
      Texts(indicators.children[2]),
      (std::vector<std::string>{std::string("F1  ") + GBK("名"), std::string("F3  ") + GBK("名")}));
  EXPECT_EQ(indicators.children[2].children[1].group, 2);
  EXPECT_EQ(indicators.children[6].children.size(), 1u);
  EXPECT_EQ(indicators.children[7].record->szCode, std::string("F2"));
  EXPECT_EQ(indicators.children[7].group, -1);
  EXPECT_EQ(FindFormulaItem(indicators, "f3"), &indicators.children[2].children[1]);
  EXPECT_EQ(FindFormulaItem(indicators, "nothing"), nullptr);

  EXPECT_EQ(GroupListEntries(TheFormulaStore(), 0).size(), 8u);
  EXPECT_EQ(GroupListSelection(TheFormulaStore(), 0, CCalcFace::GroupHash(GBK("趋势型"))), 3);
  EXPECT_EQ(GroupListSelection(TheFormulaStore(), 0, 210), 0);
}

TEST_F(FormulaTreeTest, DeletingAGroupMovesItsFormulasUp) {
  Add(0, "F1", GBK("趋势型"));
  TheFormulaStore().SaveAll();
  CFormulaEditorCore editor;
  editor.Open();
  const unsigned generation = editor.TreeGeneration();
  const SFormulaTreeNode* trend = &editor.Tree().kinds[0].children[2];
  ASSERT_EQ(trend->children.size(), 1u);
  EXPECT_TRUE(editor.DeleteGroup(trend));
  EXPECT_NE(editor.TreeGeneration(), generation);
  const SFormulaTreeNode& indicators = editor.Tree().kinds[0];
  EXPECT_EQ(TheFormulaStore().Groups(0).size(), 6u);
  EXPECT_EQ(editor.GroupList().size(), 7u);
  ASSERT_NE(FindFormulaItem(indicators, "F1"), nullptr);
  EXPECT_EQ(FindFormulaItem(indicators, "F1")->group, -1);  // directly below its kind
  EXPECT_EQ(TheFormulaStore().Find(0, "F1")->nGroupHash, CCalcFace::GroupHash(GBK("趋势型")));

  boxes.Clear();
  EXPECT_FALSE(editor.DeleteGroup(FindFormulaItem(indicators, "F1")));
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{GBK("确定要删除这个分组吗？"), GBK("不是分组，无法删除!")}));
  boxes.QueueAnswer(IDNO);
  EXPECT_FALSE(editor.DeleteGroup(&editor.Tree().kinds[0].children[0]));
  EXPECT_EQ(TheFormulaStore().Groups(0).size(), 6u);
}

TEST_F(FormulaTreeTest, NewGroupWithACollidingHashIsRefused) {
  CFormulaEditorCore editor;
  editor.Open();
  const std::string twin = SameHashAs(GBK("其他"));
  boxes.Clear();
  EXPECT_FALSE(editor.NewGroup(twin.c_str()));
  EXPECT_FALSE(editor.NewGroup(GBK("其他")));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{GBK("分组重复!"), GBK("分组重复!")}));
  EXPECT_EQ(TheFormulaStore().Groups(0).size(), 7u);
  EXPECT_TRUE(editor.NewGroup(GBK("我的分组")));
  EXPECT_EQ(TheFormulaStore().Groups(0).size(), 8u);
  EXPECT_EQ(editor.Tree().kinds[0].children[7].text, GBK("我的分组"));
  EXPECT_EQ(editor.GroupList().back(), GBK("我的分组"));
}

TEST_F(FormulaTreeTest, DeleteFormulaRefusalsAndQuestion) {
  Add(0, "F1", GBK("趋势型"));
  TheFormulaStore().SaveAll();
  CFormulaEditorCore editor;
  editor.Open();
  boxes.Clear();
  EXPECT_FALSE(editor.DeleteFormula(&editor.Tree().kinds[0].children[2]));  // a group with formulas
  EXPECT_FALSE(editor.DeleteFormula(nullptr));
  EXPECT_TRUE(BoxTexts().empty());
  EXPECT_FALSE(editor.DeleteFormula(&editor.Tree().kinds[0].children[0]));  // an empty group
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{GBK("没有选中公式!")});
  boxes.Clear();
  boxes.QueueAnswer(IDCANCEL);
  EXPECT_FALSE(editor.DeleteFormula(FindFormulaItem(editor.Tree().kinds[0], "F1")));
  EXPECT_EQ(BoxTexts(),
            std::vector<std::string>{std::string(GBK("您确定要删除公式: F1[指标公式] "))});
  EXPECT_NE(TheFormulaStore().Find(0, "F1"), nullptr);
}

TEST_F(FormulaTreeTest, DeletingAFormulaDropsPointersToItAndToTheRecordsThatMove) {
  CFormulaStore& store = TheFormulaStore();
  Add(0, "F1", nullptr);
  Add(0, "F2", nullptr);
  Add(0, "F3", nullptr);
  store.SaveAll();
  CFormulaEditorCore editor;
  editor.Open();
  auto node = [&](const char* name) { return FindFormulaItem(editor.Tree().kinds[0], name); };

  // The evaluator's selection is the deleted record itself.
  ASSERT_EQ(TheCalcFace().SelectFormular(0, "F1"), 1);
  ASSERT_TRUE(editor.DeleteFormula(node("F1")));
  EXPECT_EQ(TheCalcFace().Selected(), nullptr);
  EXPECT_EQ(store.Find(0, "F1"), nullptr);
  EXPECT_EQ(editor.Mode(), 0);  // an empty new formula, without asking
  EXPECT_EQ(editor.Fields().formula, std::string(GBK("/*请在这里输入公式内容*/")) + "\r\n");

  // A record after the deleted one moves up: its holders drop it too.
  ASSERT_EQ(TheCalcFace().SelectFormular(0, "F3"), 1);
  ASSERT_EQ(editor.SelectNode(node("F3")), ELoadResult::Loaded);
  ASSERT_TRUE(editor.DeleteFormula(node("F2")));
  EXPECT_EQ(TheCalcFace().Selected(), nullptr);
  EXPECT_EQ(editor.CurrentRecord(), nullptr);

  // A selection before the deleted record keeps its place.
  ASSERT_EQ(TheCalcFace().SelectFormular(0, "TestZB"), 1);
  const SFormulaRecord* testzb = TheCalcFace().Selected();
  ASSERT_TRUE(editor.DeleteFormula(node("F3")));
  EXPECT_EQ(TheCalcFace().Selected(), testzb);
  EXPECT_EQ(store.SizeAtSet(0), 2);

  // Each deletion was written at once.
  store.Clear();
  store.LoadKind(0);
  EXPECT_EQ(store.SizeAtSet(0), 2);
  EXPECT_EQ(store.Find(0, "F3"), nullptr);
}

}  // namespace
}  // namespace formula
