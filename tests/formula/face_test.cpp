// CFormulaFace over the library's evaluator and store: selection,
// calculation, outputs, parameters, the store lists and the trace channel.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "formula/face/CalcFace.h"
#include "formula/face/FormulaFace.h"
#include "link/code_info.h"
#include "formula/trace/FormulaMessages.h"
#include "formula/trace/FormulaTrace.h"
#include "formula_test_support.h"
#include "platform/gbk.h"
#include "platform/window.h"
#include "support/temp_folder.h"

using namespace formula;

namespace {}  // namespace

namespace {

long FakeDataIO(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

class FormulaFace : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "test_formula_face";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: Qt objects do not survive exit handlers.
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }
  void SetUp() override {
    dir = folder_.Path();
    TheFormulaStore().Clear();
    TheFormulaStore().SetDirectoryOverride(dir.string() + "/");
    TheCalcFace().RegisterDataIO(nullptr);
    CFormulaFace::InitDefineTech();
    bars = formula_test::RisingOnOddBars(6);
  }
  void TearDown() override {
    TheCalcFace().ForgetSelection();
    TheFormulaStore().Clear();
    TheFormulaStore().SetDirectoryOverride("");
  }

  test_support::TempFolder folder_{"formula_face"};
  std::filesystem::path dir;
  std::vector<SHistoryUnit> bars;
  CFormulaFace face;
};

TEST_F(FormulaFace, SelectingWithoutBarsNeedsNoDataCallback) {
  ASSERT_EQ(face.Calc(0, "testzb", nullptr, 0), 1) << face.GetLastErr();
  EXPECT_EQ(face.GetOutVarSize(), 1);
  EXPECT_STREQ(face.GetOutVarWord(0), "t");
  EXPECT_EQ(face.GetOutVarProperty(0), 287);
  EXPECT_EQ(face[0], nullptr);  // compiled, not evaluated
}

TEST_F(FormulaFace, CalculatingNeedsTheDataCallback) {
  EXPECT_EQ(face.Calc(0, "TestZB", bars.data(), short(bars.size())), 0);
  EXPECT_STREQ(face.GetLastErr(), GBK("取数据的回调函数指针为空,无法取得数据,不能计算!"));
  face.RegisterDataIO(FakeDataIO);
  ASSERT_EQ(face.Calc(0, "TestZB", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  ASSERT_NE(face[0], nullptr);
  for (size_t i = 0; i < bars.size(); ++i) EXPECT_EQ(face[0][i], 12.0f);
  // Zero bars: selected and compiled, nothing evaluated.
  EXPECT_EQ(face.Calc(0, "TestZB", bars.data(), 0), 1);
  EXPECT_EQ(face[0], nullptr);
}

TEST_F(FormulaFace, AllFacesShareOneEvaluator) {
  CFormulaFace other;
  other.RegisterDataIO(FakeDataIO);
  SFormulaRecord* close = formula_test::AddToStore(0, "CL", "C: CLOSE;");
  (void)close;
  ASSERT_EQ(face.Calc(0, "TestZB", bars.data(), short(bars.size())), 1);
  ASSERT_EQ(other.Calc(0, "CL", bars.data(), short(bars.size())), 1);
  EXPECT_STREQ(face.GetOutVarWord(0), "c");
  EXPECT_EQ(face[0][1], bars[1].fClose);
}

TEST_F(FormulaFace, UnknownOrBrokenFormulasFailWithTheirTexts) {
  EXPECT_EQ(face.SelectFormular(0, "NOSUCH"), 0);
  EXPECT_EQ(face.SelectFormular(5, "TestZB"), 0);
  formula_test::AddToStore(0, "BAD", "X: nothing;");
  EXPECT_EQ(face.SelectFormular(0, "BAD"), 0);
  EXPECT_STREQ(face.GetLastErr(), GBK("公式编写有错,可能是与其他公式冲突,请察看公式,检查错误!"));
}

// A chart computes the same formula again and again; an edit in between,
// of the text, of the parameters or of a formula it calls, takes effect at
// the next computation, a broken one with the compile error.
TEST_F(FormulaFace, AnEditedFormulaIsComputedWithItsNewText) {
  face.RegisterDataIO(FakeDataIO);
  SFormulaRecord* callee = formula_test::AddToStore(0, "INNER", "V: CLOSE;");
  SFormulaRecord* edited = formula_test::AddToStore(0, "EDITED", "A: CLOSE+N;", "N:^P(0,100,1,1);");
  formula_test::AddToStore(0, "OUTER", "B: INNER;");
  const short n = short(bars.size());
  auto lastOf = [&](const char* code) {
    EXPECT_EQ(face.Calc(0, code, bars.data(), n), 1) << face.GetLastErr();
    return face[0] ? face[0][n - 1] : -1.0f;
  };
  const float close = bars[size_t(n) - 1].fClose;
  ASSERT_EQ(lastOf("EDITED"), close + 1);
  ASSERT_EQ(lastOf("OUTER"), close);
  struct Edit {
    const char* what;
    std::function<void()> apply;
    const char* code;
    float want;
  };
  const Edit edits[] = {
      {"body", [&] { edited->strFormula = "A: CLOSE*2+N;"; }, "EDITED", close * 2 + 1},
      {"parameters",
       [&] { std::snprintf(edited->szParams, sizeof edited->szParams, "N:^P(0,100,7,1);"); },
       "EDITED", close * 2 + 7},
      {"callee", [&] { callee->strFormula = "V: OPEN;"; }, "OUTER", bars[size_t(n) - 1].fOpen},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.what);
    e.apply();
    EXPECT_EQ(lastOf(e.code), e.want);
    EXPECT_EQ(lastOf(e.code), e.want);  // and again, as a chart does
  }
  // A preset replaces the default, and the next computation sees it.
  ASSERT_EQ(face.SetRegParFloat(0, 3.0f), 1);
  EXPECT_EQ(lastOf("EDITED"), close * 2 + 3);
  face.ResetIt();
  // Broken by an edit: refused with the compile error, not computed.
  edited->strFormula = "A: CLOSE+nothing;";
  EXPECT_EQ(face.Calc(0, "EDITED", bars.data(), n), 0);
  EXPECT_STREQ(face.GetLastErr(), GBK("公式编写有错,可能是与其他公式冲突,请察看公式,检查错误!"));
  callee->strFormula = "V: nothing;";
  EXPECT_EQ(face.Calc(0, "OUTER", bars.data(), n), 0);
}

TEST_F(FormulaFace, ParametersAndPresets) {
  face.RegisterDataIO(FakeDataIO);
  ASSERT_EQ(face.SelectFormular(0, "ZB2Param"), 1) << face.GetLastErr();
  ASSERT_EQ(face.GetRegParSize(), 2);
  EXPECT_STREQ(face.GetParaName(1), "m");
  EXPECT_EQ(face.GetRegParFloat(0), 80.0f);
  EXPECT_EQ(face.SetRegParFloat(0, 5.0f), 1);
  EXPECT_EQ(face.SetRegParFloat(3, 1.0f), 0);  // beyond the next preset: refused
  ASSERT_EQ(face.Calc(0, "ZB2Param", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  EXPECT_EQ(face[0][0], 5.0f);
  EXPECT_EQ(face[1][0], 80.0f);
  EXPECT_EQ(face.GetRegParFloat(0), 80.0f);  // the declared default, not the preset
  face.ResetIt();
  EXPECT_EQ(face.GetOutVarSize(), 0);
}

TEST_F(FormulaFace, IndexesOutsideTheListsGiveNullOrZero) {
  ASSERT_EQ(face.SelectFormular(0, "TestZB"), 1);
  EXPECT_EQ(face[265], nullptr);  // trading codes only for trading systems
  EXPECT_EQ(face[20], nullptr);
  EXPECT_EQ(face[-1], nullptr);
  EXPECT_EQ(face.GetOutVarWord(1), nullptr);
  EXPECT_EQ(face.GetOutVarProperty(-3), 0);
  EXPECT_EQ(face.GetParaName(0), nullptr);
  EXPECT_EQ(face.GetRegParFloat(9), 0.0f);
  EXPECT_EQ(CFormulaFace::SizeAtSet(5), 0);
  EXPECT_EQ(CFormulaFace::FormuCode(2, 0), nullptr);
  EXPECT_EQ(CFormulaFace::FormuName(-1, 0), nullptr);
  EXPECT_EQ(CFormulaFace::FormuCode(0, 7), nullptr);
  EXPECT_EQ(CFormulaFace::FormuEnumName(99), nullptr);
}

TEST_F(FormulaFace, TradingSignalsByTheirCodes) {
  face.RegisterDataIO(FakeDataIO);
  formula_test::AddToStore(2, "SYS", "ENTERLONG: CLOSE>OPEN;");
  ASSERT_EQ(face.Calc(2, "sys", bars.data(), short(bars.size())), 1) << face.GetLastErr();
  EXPECT_EQ(face.GetOutVarSize(), 4);
  ASSERT_NE(face[265], nullptr);
  EXPECT_EQ(face[265][1], 1.0f);
  EXPECT_EQ(face[265][0], 0.0f);
  for (int code : {266, 267, 268}) {
    ASSERT_NE(face[code], nullptr);
    EXPECT_EQ(face[code][1], 0.0f);
  }
  EXPECT_EQ(face[265], face[0]);
}

TEST_F(FormulaFace, StoreListsExamplesAndGroups) {
  EXPECT_EQ(CFormulaFace::SizeAtSet(0), 2);
  EXPECT_EQ(CFormulaFace::SizeAtSet(1), 0);
  EXPECT_STREQ(CFormulaFace::FormuCode(1, 0), "ZB2Param");
  EXPECT_STREQ(CFormulaFace::FormuName(0, 0), GBK("测试指标"));
  // A formula names its group by the hash of the group's name.
  TheFormulaStore().Formulas(0)[0].nGroupHash = CCalcFace::GroupHash(GBK("趋势型"));
  EXPECT_STREQ(CFormulaFace::FormuEnumName(0), GBK("趋势型"));
  TheFormulaStore().Groups(0).clear();  // the group was deleted
  EXPECT_EQ(CFormulaFace::FormuEnumName(0), nullptr);
}

TEST_F(FormulaFace, GroupHashOfNames) {
  EXPECT_EQ(CCalcFace::GroupHash(""), 0);
  EXPECT_EQ(CCalcFace::GroupHash("ab"), 160);        // (97*2) ^ 98
  EXPECT_EQ(CCalcFace::GroupHash("\xB4"), 76);       // -76, taken as its absolute value
  EXPECT_EQ(CCalcFace::GroupHash("\xB4\xF3"), 155);  // (-152) ^ (-13)
  for (const char* name : CFormulaStore::kDefaultGroups) {
    int h = CCalcFace::GroupHash(name);
    EXPECT_GE(h, 0);
    EXPECT_LE(h, 210);
  }
}

TEST_F(FormulaFace, GridInfoAndPeriodValues) {
  ASSERT_EQ(face.SelectFormular(0, "TestZB"), 1);
  EXPECT_STREQ(face.GetFormulaGridInfo(const_cast<char*>("TestZB")), "0.0");
  EXPECT_EQ(face.GetFormulaGridInfo(const_cast<char*>("testzb")), nullptr);  // case matters here
  // The examples have no parameter sets: the default period values.
  float(&periods)[12] = face.PeriodsPar(9);
  EXPECT_EQ(periods[0], 1.0f);
  EXPECT_EQ(periods[11], 12.0f);
  // A linked set that is still unset takes the compiled default.
  SParamSet set;
  SFormulaRecord* rec = TheFormulaStore().Find(0, "ZB2Param");
  rec->pParamSet = &set;
  ASSERT_EQ(face.SelectFormular(0, "ZB2Param"), 1);
  float(&values)[12] = face.PeriodsPar(1);
  EXPECT_EQ(values[5], 80.0f);
  EXPECT_EQ(&values[0], &set.fValues[1][0]);
  EXPECT_TRUE(IsInvalidValue(set.fValues[7][0]));
  face.PeriodsPar(12);  // taken as parameter 7, which the formula lacks: left unset
  EXPECT_TRUE(IsInvalidValue(set.fValues[7][0]));
  rec->pParamSet = nullptr;
}

TEST_F(FormulaFace, ExitWritesTheStoreFiles) {
  CFormulaFace::ExitDefineTech();
  EXPECT_EQ(std::filesystem::file_size(dir / "ZBFormu.dat"), 1752u);
  EXPECT_EQ(std::filesystem::file_size(dir / "ZBFormu.grp"), 2800u);
  EXPECT_EQ(std::filesystem::file_size(dir / "TJFormu.dat"), 88u);
}

// ---- the trace channel --------------------------------------------------------

class TraceRecorder : public platform::MsgTarget {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_FORMULA_TRACE && lParam == 0)
      lines.emplace_back(reinterpret_cast<const char*>(wParam));
    return 0;
  }
  std::vector<std::string> lines;
};

TEST_F(FormulaFace, CompilerMessagesReachTheRegisteredWindowUpperCased) {
  TraceRecorder recorder;
  SetTraceWindow(recorder.GetSafeHwnd());
  formula_test::AddToStore(0, "MY", "ma5:=MA(CLOSE,5); \xD6\xD0x: ma5 # 1;");
  EXPECT_EQ(face.SelectFormular(0, "MY"), 0);  // "# 1" has no operator between
  SetTraceWindow(nullptr);
  // The output statement is reduced before the stray "1" is refused, as
  // LALR parsers do; its Chinese name keeps its bytes.
  ASSERT_EQ(recorder.lines.size(), 4u);
  EXPECT_EQ(recorder.lines[0], "MA5:=......OK\r\n");
  EXPECT_EQ(recorder.lines[1], "#\r\n");
  EXPECT_EQ(recorder.lines[2], "\xD6\xD0X:......OK\r\n");
  EXPECT_EQ(recorder.lines[3].rfind(
                GBK("[错误行号]：1\r\n[错误单词]：1\r\n[错误信息]：SYNTAX ERROR\r\n"), 0),
            0u)
      << platform::GbkToUtf8(recorder.lines[3]);
  face.SelectFormular(0, "TestZB");
  EXPECT_EQ(recorder.lines.size(), 4u);  // nobody listens any more
}

TEST_F(FormulaFace, ALongTraceLineIsCutBeforeItsLineEnd) {
  char line[1024];
  std::string text(1100, 'a');
  int n = FormatTraceLine(line, "%s", text.c_str());
  EXPECT_EQ(n, 1023);
  EXPECT_EQ(std::string(line), std::string(1021, 'A') + "\r\n");
  // A cut never splits a Chinese character.
  std::string chinese = std::string(1020, 'b') + "\xD6\xD0";
  n = FormatTraceLine(line, "%s", chinese.c_str());
  EXPECT_EQ(std::string(line), std::string(1020, 'B') + "\r\n");
}

}  // namespace
