// The statement table, the error frames and the expression evaluation of
// the formula parser, in check and calculate mode.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "formula/compiler/QTPar.h"
#include "formula_test_support.h"
#include "platform/gbk.h"

using namespace formula;
using formula_test::MakeRecord;

namespace {

constexpr int kBars = 8;

class FormulaParser : public ::testing::Test {
 protected:
  void SetUp() override {
    TheFormulaStore().Clear();
    history = formula_test::RisingOnOddBars(kBars);
    SetHistory(history.data(), kBars);
    ASSERT_TRUE(parser.Init());
  }
  void TearDown() override { TheFormulaStore().Clear(); }

  bool Check(const char* body, short kind = 0, const char* params = "") {
    rec = MakeRecord(kind, "UNDERTEST", body, params);
    return parser.LoadFormula(&rec) && parser.CheckFormula();
  }
  bool Calc(const char* body, short kind = 0, const char* params = "") {
    rec = MakeRecord(kind, "UNDERTEST", body, params);
    return parser.LoadFormula(&rec) && parser.CalcFormula(kBars);
  }
  std::vector<float> Output(size_t i) const {
    const SRegPar& v = parser.Outputs().at(i).value;
    EXPECT_EQ(v.cType, REG_SERIES);
    if (!v.pSeries) return {};
    return std::vector<float>(v.pSeries, v.pSeries + kBars);
  }
  std::string Error() const { return parser.GetLastError(); }

  std::vector<SHistoryUnit> history;
  SFormulaRecord rec;
  CQTPar parser;
};

// ---- statements -----------------------------------------------------------

struct StatementCase {
  short kind;
  const char* body;
  bool accepted;
  const char* messageUtf8;  // a part of the last error when refused
};

class StatementTable : public FormulaParser, public ::testing::WithParamInterface<StatementCase> {};

TEST_P(StatementTable, AcceptsOrRefusesWithTheMessage) {
  const StatementCase& c = GetParam();
  EXPECT_EQ(Check(c.body, c.kind), c.accepted) << c.body << "\n" << Error();
  if (!c.accepted) {
    EXPECT_NE(Error().find(GBK(c.messageUtf8)), std::string::npos) << platform::GbkToUtf8(Error());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formula, StatementTable,
    ::testing::Values(
        StatementCase{0, "A:CLOSE; B:=A*2; C:B, COLORRED;", true, ""},
        StatementCase{0, "", false, "公式没有输出"},
        StatementCase{0, "/* only a note */", false, "公式没有输出"},
        StatementCase{0, "a:=1; a:=2; x:a;", false, "变量a已经定义为临时变量，不能重复定义!"},
        StatementCase{0, "a:1; a:=2;", false, "变量a已经定义为输出变量，不能重复定义!"},
        StatementCase{0, "N:=^P(1,100,12,1); N:1;", false,
                      "变量n已经定义为参数变量，不能重复定义!"},
        StatementCase{0, "N:=^P(1,100,12); x:N;", false, "参数定义不对,至少要四个"},
        StatementCase{0, "N:=^P(1,100,12,1); N:=^P(2,50,5,1); x:N;", true, ""},
        StatementCase{0, "S:=^T(1); S:=^T(0); x:1;", false, "前后参数类型定义不一致"},
        StatementCase{0, "ENTERLONG: CLOSE>OPEN;", true, ""},
        StatementCase{
            2, "X: CLOSE;", false,
            "交易系统公式的输出变量下列指定变量之一:\r\n ENTERLONG/BUYPOINT(多头买入)、EXITLONG/SELPOINT(多头卖出)；\r\n ENTERSHORT(空头买入)、EXITSHORT(空头卖出)! \r\n"},
        StatementCase{2, "X: CLOSE, COLORRED;", false, "! 并且交易系统没有修饰符号!"},
        StatementCase{2, "RETURN: CLOSE;", false, "EXITSHORT(空头卖出)! \r\n"},
        StatementCase{4, "RETURN: CLOSE;", true, ""},
        StatementCase{0, "x: abc;", false, "发现未知变量---> abc"},
        StatementCase{0, "x: MA(CLOSE);", false, "参数个不对，函数MA( 浮点数组, 浮点数) 有2个参数"},
        StatementCase{0, "x: CLOSE(1);", false, "参数个不对，函数CLOSE 有0个参数"},
        StatementCase{0, "x: MA(\"c\", 5);", false,
                      "函数MA的第1个参数类型不匹配，应当是浮点数组类型"},
        StatementCase{0, "x: MA(,CLOSE);", false, "参数个不对"},
        StatementCase{0, "x: 1 ! 2;", false, "syntax error"},
        StatementCase{0, "Close: 1; x: CLOSE;", false, "syntax error"}));

TEST_F(FormulaParser, OutputsCarryTheirStyleAndNumbersBecomeFlatSeries) {
  ASSERT_TRUE(Calc("MA5: 5; A: CLOSE, COLORSTICK; B: 2, NODRAW;")) << Error();
  ASSERT_EQ(parser.Outputs().size(), 3u);
  EXPECT_STREQ(parser.Outputs()[0].name, "ma5");
  EXPECT_EQ(parser.Outputs()[0].property, 287);
  EXPECT_EQ(parser.Outputs()[1].property, 289);
  EXPECT_EQ(parser.Outputs()[2].property, 291);
  EXPECT_EQ(Output(0), std::vector<float>(kBars, 5.0f));
  // In check mode the same outputs exist without series.
  ASSERT_TRUE(Check("MA5: 5;"));
  EXPECT_EQ(parser.Outputs()[0].value.cType, REG_SERIES);
  EXPECT_EQ(parser.Outputs()[0].value.pSeries, nullptr);
}

TEST_F(FormulaParser, ParametersRedeclareInPlaceAndPresetsOverrideDefaults) {
  ASSERT_TRUE(Calc("T:N; U:M;", 0, "N:=^P(1,100,12,1,3,4); M:^P(0,9,2,1); N:=^P(2,50,5,1);"))
      << Error();
  ASSERT_EQ(parser.Params().size(), 2u);
  EXPECT_STREQ(parser.Params()[0].name, "n");
  EXPECT_EQ(parser.Params()[0].defaultValue, 5.0f);
  EXPECT_EQ(parser.Params()[0].minimum, 2.0f);
  EXPECT_EQ(parser.Params()[0].periods[0],
            0.0f);  // the second declaration replaced the first whole
  EXPECT_EQ(Output(0)[0], 5.0f);
  EXPECT_TRUE(parser.SetPreset(0, NumberValue(7.0f)));
  EXPECT_FALSE(parser.SetPreset(2, NumberValue(1.0f)));  // only the next index may be added
  ASSERT_TRUE(Calc("T:N; U:M;", 0, "N:=^P(1,100,12,1); M:^P(0,9,2,1);"));
  EXPECT_EQ(Output(0)[3], 7.0f);
  EXPECT_EQ(Output(1)[3], 2.0f);
}

TEST_F(FormulaParser, TheParameterTextIsNeverCutShortOfItsFiveHundredBytes) {
  std::string params;
  for (int i = 0; params.size() < 440; ++i) params += "P" + std::to_string(i) + ":^P(1,100,12,1);";
  params += "LAST:^P(1,9,4,1);";
  ASSERT_LT(params.size(), 500u);
  ASSERT_TRUE(Calc("T: LAST;", 0, params.c_str())) << Error();
  EXPECT_EQ(Output(0)[0], 4.0f);
}

TEST_F(FormulaParser, TradingSystemLeavesExactlyTheFourSignalsInOrder) {
  ASSERT_TRUE(Calc("EXITLONG: CLOSE>OPEN;", 2)) << Error();
  ASSERT_EQ(parser.Outputs().size(), 4u);
  EXPECT_STREQ(parser.Outputs()[1].name, "exitlong");
  for (size_t i : {0u, 2u, 3u}) EXPECT_EQ(Output(i), std::vector<float>(kBars, 0.0f)) << i;
  EXPECT_EQ(Output(1)[1], 1.0f);
  EXPECT_EQ(Output(1)[0], 0.0f);
}

TEST_F(FormulaParser, ChineseOutputNamesKeepTheirBytes) {
  // 0x81 0x41 is one character whose second byte looks like "A".
  ASSERT_TRUE(Check("\x81\x41X: CLOSE;"));
  EXPECT_STREQ(parser.Outputs()[0].name, "\x81\x41x");
}

// ---- error frames -----------------------------------------------------------

TEST_F(FormulaParser, ASyntaxErrorReportsLineWordMessageAndTheTextThatFollows) {
  EXPECT_FALSE(Check("a:=1 b:=2;"));
  EXPECT_EQ(
      Error(),
      std::string(GBK(
          "[错误行号]：1\r\n[错误单词]：b\r\n[错误信息]：syntax error\r\n[参考下文]：b:=2;\r\n")));
  EXPECT_FALSE(Check("A:1;\r\nB:2;\r\nC:+;"));
  EXPECT_EQ(Error().rfind(GBK("[错误行号]：3\r\n"), 0), 0u) << platform::GbkToUtf8(Error());
  // The report stays until the next check.
  EXPECT_TRUE(Check("A:1;"));
  EXPECT_EQ(Error(), "");
}

TEST_F(FormulaParser, AnIndicatorNameUsedAsAVariableAddsTheHint) {
  formula_test::AddToStore(0, "MACD", "DIF:1;");
  EXPECT_FALSE(Check("macd:=1;"));
  const std::string hint =
      std::string(GBK("\r\n【推断】可能错误原因在于，用指标名")) + "\"macd\"" + GBK("作为变量");
  EXPECT_NE(Error().find(hint), std::string::npos) << platform::GbkToUtf8(Error());
}

TEST_F(FormulaParser, TheLastErrorIsCutTo254BytesOnACharacterBoundary) {
  std::string body = "x: 1 1";
  for (int i = 0; i < 300; ++i) body += "\xD6\xD0";
  EXPECT_FALSE(Check(body.c_str()));
  EXPECT_LE(Error().size(), 254u);
  EXPECT_EQ(platform::GbkCutLength(Error().c_str(), 254), Error().size());
}

// ---- expressions ------------------------------------------------------------

struct ValueCase {
  const char* body;
  std::vector<float> first;  // the first two bars of output 0
};

class ExpressionTable : public FormulaParser, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(ExpressionTable, Evaluates) {
  ASSERT_TRUE(Calc(GetParam().body)) << GetParam().body << "\n" << platform::GbkToUtf8(Error());
  std::vector<float> out = Output(0);
  ASSERT_GE(out.size(), 2u);
  EXPECT_EQ(out[0], GetParam().first[0]) << GetParam().body;
  EXPECT_EQ(out[1], GetParam().first[1]) << GetParam().body;
}

// Bar 0 falls (open 10, close 9), bar 1 rises (open 11, close 12).
INSTANTIATE_TEST_SUITE_P(
    Formula, ExpressionTable,
    ::testing::Values(ValueCase{"a: 3 < 3;", {1, 1}}, ValueCase{"a: 3 >= 3;", {0, 0}},
                      ValueCase{"a: 7 % 2.9;", {1, 1}}, ValueCase{"a: -7 % 2;", {-1, -1}},
                      ValueCase{"a: 0x1f + 007;", {38, 38}},
                      ValueCase{"a: 1 + 2 * 3 % 2;", {3, 3}},  // % binds tighter than *
                      ValueCase{"a: 1 or 0 and 0;", {0, 0}},   // one level: (1 or 0) and 0
                      ValueCase{"a: IF(CLOSE>OPEN, 1, 0);", {0, 1}},
                      ValueCase{"a: IFN(CLOSE>OPEN, 1, 0);", {1, 0}},
                      ValueCase{"a: IFF(CLOSE>OPEN, CLOSE, 5);", {5, 12}},
                      ValueCase{"a: IF(1, CLOSE, OPEN);", {9, 12}},
                      ValueCase{"a: IF(0, 5, CLOSE);", {9, 12}},
                      ValueCase{"a: CLOSE - OPEN;", {-1, 1}},
                      ValueCase{"a: -(CLOSE - OPEN);", {1, -1}},
                      ValueCase{"a: CLOSE = 9 && OPEN != 9;", {1, 0}},
                      ValueCase{"a: COUNT(CLOSE > OPEN, 0);", {0, 1}},
                      ValueCase{"a: MAX(CLOSE, 10.5);", {10.5f, 12}}));

TEST_F(FormulaParser, UnaryMinusKeepsInvalidBarsInvalidAndLeavesItsOperand) {
  ASSERT_TRUE(Calc("a: REF(CLOSE,1); b: -a; c: a;")) << Error();
  EXPECT_TRUE(IsInvalidValue(Output(1)[0]));
  EXPECT_EQ(Output(1)[1], -9.0f);
  EXPECT_EQ(Output(2)[1], 9.0f);
}

TEST_F(FormulaParser, ModuloByZeroGivesTheInvalidValueOverSeries) {
  ASSERT_TRUE(Calc("a: CLOSE % 0.5;")) << Error();
  for (float v : Output(0)) EXPECT_TRUE(IsInvalidValue(v));
}

// ---- calls of other formulas ------------------------------------------------

TEST_F(FormulaParser, ADottedCallPicksTheNamedOutputOrElseTheFirst) {
  formula_test::AddToStore(0, "MACD", "DIF: CLOSE; DEA: OPEN; MACD: 3;");
  ASSERT_TRUE(Calc("a: MACD.DEA; b: MACD.XYZ; c: macd;")) << platform::GbkToUtf8(Error());
  EXPECT_EQ(Output(0)[1], 11.0f);
  EXPECT_EQ(Output(1)[1], 12.0f);
  EXPECT_EQ(Output(2)[1], 12.0f);
}

TEST_F(FormulaParser, CallsOfOtherKindsTakeTheirFirstOutputInBothModes) {
  formula_test::AddToStore(2, "SYS", "EXITLONG: CLOSE>OPEN; ENTERLONG: 1;");
  formula_test::AddToStore(4, "FN", "RETURN: CLOSE*2;");
  ASSERT_TRUE(Check("a: system.sys; b: function.fn;")) << platform::GbkToUtf8(Error());
  EXPECT_EQ(parser.Outputs()[0].value.cType, REG_SERIES);
  ASSERT_TRUE(Calc("a: system.sys; b: function.fn;")) << platform::GbkToUtf8(Error());
  EXPECT_EQ(Output(0)[1], 1.0f);  // the callee's outputs are arranged: enterlong first
  EXPECT_EQ(Output(1)[1], 24.0f);
}

// The messages put the kind name ("指标公式") before their own "公式", as
// the texts stand.
TEST_F(FormulaParser, CallArgumentsSetTheCalleesParametersInOrder) {
  formula_test::AddToStore(0, "TWO", "T: N*10 + M;", "N:^P(1,100,1,1);M:^P(1,100,2,1);");
  ASSERT_TRUE(Calc("a: TWO(5); b: TWO(5, 6);")) << platform::GbkToUtf8(Error());
  EXPECT_EQ(Output(0)[0], 52.0f);
  EXPECT_EQ(Output(1)[0], 56.0f);
  EXPECT_FALSE(Calc("a: TWO(1, 2, 3);"));
  EXPECT_NE(Error().find(GBK("参数个太多，指标公式公式TWO有2个参数!")), std::string::npos)
      << platform::GbkToUtf8(Error());
  EXPECT_FALSE(Calc("a: TWO(\"x\");"));
  EXPECT_NE(Error().find(GBK("指标公式公式TWO的第1个参数类型不匹配，应当是浮点常数")),
            std::string::npos);
}

TEST_F(FormulaParser, ACalleeThatFailsFailsTheCall) {
  formula_test::AddToStore(0, "BROKEN", "T: nothing;");
  EXPECT_FALSE(Calc("a: BROKEN;"));
  EXPECT_NE(Error().find(GBK("调用指标公式公式BROKEN计算出错!")), std::string::npos);
}

TEST_F(FormulaParser, ACallCycleIsRefusedInsteadOfRecursingForever) {
  formula_test::AddToStore(0, "AAA", "T: BBB + 1;");
  formula_test::AddToStore(0, "BBB", "T: AAA + 1;");
  rec = MakeRecord(0, "AAA", "T: BBB + 1;");
  SFormulaRecord* aaa = &TheFormulaStore().Formulas(0).front();
  EXPECT_TRUE(parser.LoadFormula(aaa));
  EXPECT_FALSE(parser.CalcFormula(kBars));
  EXPECT_NE(Error().find(GBK("调用指标公式公式BBB计算出错!")), std::string::npos)
      << platform::GbkToUtf8(Error());
}

TEST_F(FormulaParser, ALongChainOfCallsIsCapped) {
  // F0 calls F1 calls F2 ... F39: deeper than the cap, refused cleanly.
  for (int i = 0; i < 40; ++i) {
    std::string code = "F" + std::to_string(i);
    std::string body = i < 39 ? "T: F" + std::to_string(i + 1) + " + 1;" : "T: 1;";
    formula_test::AddToStore(0, code.c_str(), body.c_str());
  }
  EXPECT_FALSE(Check("a: F0;"));
  EXPECT_NE(Error().find(GBK("调用指标公式公式F0计算出错!")), std::string::npos);
  // A short chain works.
  EXPECT_TRUE(Calc("a: F35;")) << platform::GbkToUtf8(Error());
  EXPECT_EQ(Output(0)[0], 5.0f);
}

// ---- the series pool ------------------------------------------------------

// A chart recomputes its panes over one more bar, again and again: the
// buffers of the earlier, shorter parses are not kept beside the new ones.
TEST(FormulaSeriesPool, StaysFlatWhileTheSeriesGrow) {
  constexpr int kFirst = 100, kRecomputes = 10000;
  const std::vector<SHistoryUnit> history = formula_test::RisingOnOddBars(kFirst + kRecomputes);
  const SFormulaRecord rec = MakeRecord(0, "UNDERTEST",
                                        "DIF:EMA(CLOSE,12)-EMA(CLOSE,26);\r\nDEA:EMA(DIF,9);\r\n"
                                        "RSV:=(CLOSE-LLV(LOW,9))/(HHV(HIGH,9)-LLV(LOW,9))*100;\r\n"
                                        "K:SMA(RSV,3,1);\r\nJ:IF(1,K,DEA);");
  CQTPar parser;
  ASSERT_TRUE(parser.Init());
  size_t perBar = 0;  // bytes the formula's series take per bar, from the first parse
  for (int bars = kFirst; bars < kFirst + kRecomputes; ++bars) {
    SetHistory(history.data(), bars);
    ASSERT_TRUE(parser.LoadFormula(&rec) && parser.CalcFormula(bars))
        << platform::GbkToUtf8(parser.GetLastError());
    if (bars == kFirst) perBar = parser.HeldSeriesBytes() / size_t(kFirst);
    ASSERT_GT(perBar, 0u);
    // one parse's worth, with room for some bars to come
    ASSERT_LE(parser.HeldSeriesBytes(), 2 * perBar * size_t(bars)) << "after " << bars << " bars";
  }
  ASSERT_EQ(parser.Outputs().size(), 4u);
  EXPECT_EQ(parser.Outputs()[3].value.pSeries[kFirst + kRecomputes - 2],
            parser.Outputs()[2].value.pSeries[kFirst + kRecomputes - 2]);
  parser.ResetAll();
  EXPECT_EQ(parser.HeldSeriesBytes(), 0u);
}

}  // namespace
