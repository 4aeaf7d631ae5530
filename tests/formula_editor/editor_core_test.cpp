// The formula editor's logic over the library's store in a temporary
// formula folder: opening, loading, new formulas, testing, submitting and
// closing, with the message boxes recorded.
#include <cstring>
#include <string>

#include "editor_test_support.h"
#include "formula/editor/FormulaEditorCore.h"
#include "formula/editor/ParamText.h"
#include "formula/functions/builtin_functions.h"
#include "formula/trace/FormulaTrace.h"
#include "platform/gbk.h"

namespace formula {
namespace {

class EditorCore : public editor_test::StoreFolder {
 protected:
  // Opens a new formula of kind 0 with a name, a Chinese name and a text.
  void TypeNewFormula(const char* name, const char* chinese, const char* text) {
    editor.Open();
    editor.Fields().kindSelection = 0;
    editor.NewFormula();  // the recorded box answers Yes
    editor.Fields().name = name;
    editor.Fields().chineseName = chinese;
    editor.Fields().formula = text;
  }

  // A condition formula in the kind-1 file (Open reloads the store from the files).
  void AddCondition() {
    SFormulaRecord record;
    record.nKind = 1;
    std::strcpy(record.szCode, "COND1");
    record.strFormula = "C>O;";
    TheFormulaStore().Formulas(1).push_back(record);
    TheFormulaStore().SaveAll();
  }

  CFormulaEditorCore editor;
};

TEST_F(EditorCore, TypedTestedSubmittedAndReloaded) {
  TypeNewFormula("MYMA", GBK("我的均线"), "A:MA(CLOSE,N);\r\nB:A*2;");
  editor.Fields().grid.cells[0] = {"N", "1", "100", "12", "1"};
  editor.Fields().groupSelection = 6;  // "均线型"
  ASSERT_EQ(editor.TestButton(), 1) << platform::GbkToUtf8(editor.Fields().messages);
  EXPECT_EQ(editor.Status().text, GBK("公式测试正常.....OK !"));
  EXPECT_EQ(editor.Status().colour, kStatusBlue);
  EXPECT_NE(editor.Fields().messages.find("A:......OK"),
            std::string::npos);  // the compiler's lines arrive

  ASSERT_EQ(editor.SubmitFormula(), ESubmitResult::Submitted);
  editor.Close();
  EXPECT_EQ(GetTraceWindow(), nullptr);

  TheFormulaStore().Clear();
  TheFormulaStore().LoadAll();
  const SFormulaRecord* stored = TheFormulaStore().Find(0, "myma");
  ASSERT_NE(stored, nullptr);
  EXPECT_STREQ(stored->szName, GBK("我的均线"));
  EXPECT_STREQ(stored->szParams, "n:^p(1,100,12,1);\r\n");
  EXPECT_EQ(stored->strFormula, "a:ma(close,n);\r\nb:a*2;");
  EXPECT_EQ(stored->nGroupHash, CCalcFace::GroupHash(GBK("均线型")));
  EXPECT_TRUE(BoxTexts().size() == 1 &&
              BoxTexts()[0] == GBK("您清空当前内容，新建公式,还是保留当前内容进行修改?"));
}

TEST_F(EditorCore, SubmitRefusals) {
  struct Case {
    const char* what;
    const char* name;
    const char* chinese;
    const char* text;
    const char* message;
  } cases[] = {
      {"empty name", "", GBK("名称"), "A:1;", GBK("公式编译没有中英文名称，不能提交!")},
      {"empty Chinese name", "NEWONE", "", "A:1;", GBK("公式编译没有中英文名称，不能提交!")},
      {"same name in the kind, other case", "testzb", GBK("名称"), "A:1;",
       GBK("同种类型公式不能重名，不能提交!")},
      {"does not compile", "NEWONE", GBK("名称"), "A:1+;", GBK("公式编译没有通过，不能提交!")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CFormulaEditorCore fresh;
    fresh.Open();
    fresh.NewFormula();
    fresh.Fields().name = c.name;
    fresh.Fields().chineseName = c.chinese;
    fresh.Fields().formula = c.text;
    boxes.Clear();
    EXPECT_EQ(fresh.SubmitFormula(), ESubmitResult::Refused);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.message});
    EXPECT_EQ(TheFormulaStore().SizeAtSet(0), 2);
    fresh.Close();
  }
}

TEST_F(EditorCore, TooLongParameterTextIsRefusedNotCut) {
  TypeNewFormula("LONGP", GBK("长参数"), "A:1;");
  for (int r = 0; r < kGridRows; ++r)
    editor.Fields().grid.cells[size_t(r)] = {"P" + std::to_string(r), "1", std::string(40, '9'),
                                             "5." + std::string(40, '0'),
                                             "1"};  // about 97 characters a row
  boxes.Clear();
  EXPECT_EQ(editor.TestButton(), 0);
  EXPECT_EQ(editor.Status().text, ParamTextTooLongMessage());
  EXPECT_EQ(editor.Status().colour, kStatusRed);
  EXPECT_EQ(editor.SubmitFormula(), ESubmitResult::Refused);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{ParamTextTooLongMessage()});
  EXPECT_EQ(TheFormulaStore().Find(0, "LONGP"), nullptr);
}

TEST_F(EditorCore, EmptyGridValueIsReportedOncePerRowAndFailsTheTest) {
  TypeNewFormula("GAP", GBK("空值"), "A:N;");
  editor.Fields().grid.cells[0] = {"N", "1", "", "5", "1"};
  editor.Fields().grid.cells[1] = {"M", "1", "2", "", ""};
  boxes.Clear();
  EXPECT_EQ(editor.TestButton(), 0);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{GBK("参数的值不能为空!"), GBK("参数的值不能为空!")}));
  EXPECT_EQ(editor.ParamText(), "n:^p(1);\r\nm:^p(1,2);\r\n");
  EXPECT_EQ(editor.Status().colour, kStatusRed);
  EXPECT_NE(editor.Fields().messages.find(GBK("参数定义不对")), std::string::npos);
}

TEST_F(EditorCore, PresetIndicatorIsLoadedUpperCaseAndTestedLowerCase) {
  editor.SetPresetName("zb2param");
  editor.Open();
  ASSERT_NE(editor.PresetNode(), nullptr);
  EXPECT_EQ(editor.PresetNode()->record, TheFormulaStore().Find(0, "ZB2Param"));
  EXPECT_EQ(editor.Mode(), 1);
  EXPECT_FALSE(editor.KeyFieldsEnabled());
  EXPECT_TRUE(editor.IsClean());
  EXPECT_EQ(editor.Fields().name, "ZB2Param");
  EXPECT_EQ(editor.Fields().formula, "T:N;\r\nS:M;");
  EXPECT_EQ(editor.WorkingRecord().strFormula, "t:n;\r\ns:m;");
  EXPECT_EQ(editor.Status().text, GBK("公式测试正常.....OK !"));
  EXPECT_EQ(editor.Fields().grid.cells[0][GRID_NAME], "N");
  EXPECT_EQ(editor.Fields().grid.cells[1][GRID_DEFAULT], "80.000");
  EXPECT_TRUE(editor.Fields().grid.cells[2][GRID_NAME].empty());

  // Submitting an existing formula keeps its name and kind.
  editor.Fields().name = "OTHER";
  editor.Fields().kindSelection = 3;
  editor.Fields().chineseName = GBK("改过");
  ASSERT_EQ(editor.SubmitFormula(), ESubmitResult::Submitted);
  const SFormulaRecord* record = TheFormulaStore().Find(0, "ZB2Param");
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->szName, GBK("改过"));
  EXPECT_EQ(TheFormulaStore().SizeAtSet(3), 0);
  EXPECT_STREQ(record->szParams,
               "n:^p(1.000,100.000,80.000,2.000);\r\nm:^p(1.000,100.000,80.000,2.000);\r\n");
}

TEST_F(EditorCore, PresetIsSearchedAmongIndicatorsOnly) {
  AddCondition();
  editor.SetPresetName("COND1");
  editor.Open();
  EXPECT_EQ(editor.PresetNode(), nullptr);
  EXPECT_TRUE(editor.Fields().name.empty());
}

TEST_F(EditorCore, NewFormulaStartTextByKind) {
  editor.Open();
  struct Case {
    int kind;
    const char* tail;
  } cases[] = {{0, ""}, {1, ""}, {2, "EXITSHORT: ;"}, {4, "RETURN: ;"}};
  for (const Case& c : cases) {
    editor.Fields().kindSelection = c.kind;
    editor.NewFormula();
    const std::string& text = editor.Fields().formula;
    EXPECT_EQ(text.rfind(GBK("/*请在这里输入公式内容*/\r\n"), 0), 0u) << c.kind;
    EXPECT_TRUE(text.size() >= std::strlen(c.tail) &&
                text.compare(text.size() - std::strlen(c.tail), std::string::npos, c.tail) == 0)
        << c.kind;
    EXPECT_EQ(editor.Mode(), 0);
    EXPECT_FALSE(editor.IsClean());
  }
  // Answering No keeps the text but still empties the names.
  editor.Fields().formula = "KEEP:1;";
  editor.Fields().name = "X";
  boxes.QueueAnswer(IDNO);
  editor.NewFormula();
  EXPECT_EQ(editor.Fields().formula, "KEEP:1;");
  EXPECT_TRUE(editor.Fields().name.empty());
}

TEST_F(EditorCore, ANewFormulaIsTestedUnderItsKindsRules) {
  TypeNewFormula("SYS", GBK("系统"), "X:CLOSE;");
  editor.Fields().kindSelection = 2;  // trading systems have no named outputs
  EXPECT_EQ(editor.TestButton(), 0);
  editor.Fields().formula = "ENTERLONG:CLOSE>OPEN;";
  EXPECT_EQ(editor.TestButton(), 1);
  ASSERT_EQ(editor.SubmitFormula(), ESubmitResult::Submitted);
  ASSERT_NE(TheFormulaStore().Find(2, "SYS"), nullptr);
  EXPECT_EQ(TheFormulaStore().Find(2, "SYS")->nKind, 2);
}

TEST_F(EditorCore, ChangedContentAsksBeforeAnotherFormulaIsShown) {
  editor.Open();
  const SFormulaTreeNode& kind0 = editor.Tree().kinds[0];
  const SFormulaTreeNode* testzb = FindFormulaItem(kind0, "TestZB");
  const SFormulaTreeNode* zb2 = FindFormulaItem(kind0, "ZB2Param");
  ASSERT_EQ(editor.SelectNode(testzb), ELoadResult::Loaded);
  editor.Fields().formula = "T:13;";
  editor.OnFormulaChanged();
  boxes.Clear();
  boxes.QueueAnswer(IDNO);
  EXPECT_EQ(editor.SelectNode(zb2), ELoadResult::Declined);
  EXPECT_EQ(editor.Fields().formula, "T:13;");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{GBK("您确定要清空当前内容，浏览其他公式吗?")});
  EXPECT_EQ(editor.SelectNode(zb2), ELoadResult::Loaded);  // Yes this time
  EXPECT_EQ(editor.Fields().name, "ZB2Param");
  EXPECT_EQ(editor.SelectNode(&editor.Tree().kinds[2]), ELoadResult::KindOnly);
  EXPECT_EQ(editor.CurrentKind(), 2);
  EXPECT_EQ(editor.Fields().kindSelection, 2);
  // By name, in any case, among the indicators only.
  EXPECT_TRUE(editor.SelectFormulaByName("testzb"));
  EXPECT_EQ(editor.Fields().name, "TestZB");
  EXPECT_EQ(editor.PresetNode(), testzb);
  EXPECT_FALSE(editor.SelectFormulaByName("NOSUCH"));
  EXPECT_EQ(editor.Fields().name, "TestZB");
}

TEST_F(EditorCore, CompilerMessagesGoNowhereOnceClosed) {
  TypeNewFormula("T1", GBK("一"), "A:1;\r\nA:2;");
  EXPECT_EQ(editor.TestButton(), 0);
  EXPECT_EQ(editor.Status().text, GBK("编译出错,具体见下边状态栏!"));
  const std::string messages = editor.Fields().messages;
  EXPECT_FALSE(messages.empty());
  editor.Close();
  EXPECT_EQ(GetTraceWindow(), nullptr);
  // A compile after the close (a chart's, say) reaches no editor.
  EXPECT_EQ(TheCalcFace().SelectFormular(0, "TestZB"), 1);
  EXPECT_EQ(editor.Fields().messages, messages);
}

TEST_F(EditorCore, ResultCarriesAreaAndFixedAxis) {
  struct Case {
    const char* lines;
    int axis;
  } cases[] = {
      {"0.0", 0}, {" -20,50", -20}, {"80,20", 80}, {"x", 0}, {"99999999999999", 2147483647}};
  for (const Case& c : cases) {
    CFormulaEditorCore fresh;
    fresh.Open();
    fresh.Fields().gridLines = c.lines;
    fresh.Fields().areaSelection = 1;
    fresh.Close();
    int area = -1, axis = -1;
    EXPECT_EQ(fresh.GetResult(area, axis), 1);
    EXPECT_EQ(axis, c.axis) << c.lines;
  }
}

TEST_F(EditorCore, ImportFunctionAppendsTheNameAndItsBrackets) {
  editor.Open();
  editor.Fields().formula = "A:";
  const auto table = BuiltinTable();
  int close = -1, ma = -1;
  for (size_t i = 0; i < table.size(); ++i) {
    if (std::strcmp(table[i].szName, "CLOSE") == 0) close = int(i);
    if (std::strcmp(table[i].szName, "MA") == 0) ma = int(i);
  }
  ASSERT_TRUE(editor.ImportFunction(ma));
  ASSERT_TRUE(editor.ImportFunction(close));
  EXPECT_EQ(editor.Fields().formula, "A:MA(  )CLOSE");
  EXPECT_FALSE(editor.ImportFunction(int(table.size())));
}

}  // namespace
}  // namespace formula
