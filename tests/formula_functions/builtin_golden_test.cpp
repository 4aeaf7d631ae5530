// Every built-in on short series that start with bars without a value,
// against values worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "builtin_test_support.h"
#include "platform/gbk.h"

namespace formula::test {
namespace {

struct GoldenCase {
  const char* call;  // shown on failure
  const char* name;
  std::vector<Arg> args;
  std::vector<float> expected;
};

const std::vector<float> X = {I, I, 1, 3, 2, 5, 4};
const std::vector<float> B = {I, 1, 0, 1, 0, 0, 1};
const std::vector<float> C = {I, 0, 0, 1, 0, 1, 0};

std::vector<GoldenCase> Cases() {
  return {
      {"SMA(X,3,1)", "SMA", {X, 3.0f, 1.0f}, {I, I, 1, 1.666667f, 1.777778f, 2.851852f, 3.234568f}},
      {"SMA(X,5,5)", "SMA", {X, 5.0f, 5.0f}, {I, I, I, I, I, I, I}},
      {"SMA(X,0,-1)", "SMA", {X, 0.0f, -1.0f}, {I, I, I, I, I, I, I}},
      {"MA(X,3)", "MA", {X, 3.0f}, {I, I, I, I, 2, 3.333333f, 3.666667f}},
      {"MA(X,5)", "MA", {X, 5.0f}, {I, I, I, I, I, I, 3}},
      {"MA(X,6)", "MA", {X, 6.0f}, {I, I, I, I, I, I, I}},
      {"MA(X,0)", "MA", {X, 0.0f}, {I, I, I, I, I, I, I}},
      {"EXPMA(X,3)", "EXPMA", {X, 3.0f}, {I, I, 1, 2, 2, 3.5f, 3.75f}},
      {"EXPMA(X,6)", "EXPMA", {X, 6.0f}, {I, I, I, I, I, I, I}},
      {"EMA(X,3)", "EMA", {X, 3.0f}, {I, I, 1, 2, 2, 3.5f, 3.75f}},
      {"EMA(X,2.5)", "EMA", {X, 2.5f}, {I, I, 1, 2.333333f, 2.111111f, 4.037037f, 4.012346f}},
      {"EMA(X,5.5)", "EMA", {X, 5.5f}, {I, I, I, I, I, I, I}},
      {"EMA(X,0.5)", "EMA", {X, 0.5f}, {I, I, I, I, I, I, I}},
      {"MEMA(X,3)", "MEMA", {X, 3.0f}, {I, I, I, I, 2, 3, 3.333333f}},
      {"MEMA(X,5)", "MEMA", {X, 5.0f}, {I, I, I, I, I, I, I}},
      {"EXPMEMA(X,3)", "EXPMEMA", {X, 3.0f}, {I, I, I, I, 2, 3.5f, 3.75f}},
      {"EXPMEMA(X,5)", "EXPMEMA", {X, 5.0f}, {I, I, I, I, I, I, 3}},
      {"DMA(X,A)",
       "DMA",
       {X, std::vector<float>{I, 0.5f, 0.5f, 0.5f, 2, 0.5f, 0.5f}},
       {I, I, 1, 2, 2, 3.5f, 3.75f}},
      {"DMA(X,0.5)", "DMA", {X, 0.5f}, {I, I, 1, 2, 2, 3.5f, 3.75f}},
      {"BACKSET(B,2)", "BACKSET", {B, 2.0f}, {I, 0, 1, 1, 0, 1, 1}},
      {"BACKSET(rise at f+1,2)",
       "BACKSET",
       {std::vector<float>{I, 0, 1, 0, 0, 0, 0}, 2.0f},
       {I, 1, 1, 0, 0, 0, 0}},
      {"BACKSET(B,0)", "BACKSET", {B, 0.0f}, {I, 1, 0, 1, 0, 0, 1}},
      {"BACKSET(C,9)", "BACKSET", {C, 9.0f}, {I, 0, 0, 0, 0, 0, 0}},
      {"BARSCOUNT(B)", "BARSCOUNT", {B}, {I, 0, 1, 2, 3, 4, 5}},
      {"BARSLAST(B)", "BARSLAST", {B}, {I, 0, 1, 0, 1, 2, 0}},
      {"BARSLAST(C)", "BARSLAST", {C}, {I, I, I, 0, 1, 0, 1}},
      {"BARSSINCE(C)", "BARSSINCE", {C}, {I, I, I, 0, 1, 2, 3}},
      {"COUNT(B,2)", "COUNT", {B, 2.0f}, {I, 1, 1, 1, 1, 0, 1}},
      {"COUNT(B,0)", "COUNT", {B, 0.0f}, {I, 1, 1, 2, 2, 2, 3}},
      {"HHV(X,3)", "HHV", {X, 3.0f}, {I, I, I, I, 3, 5, 5}},
      {"HHV(X,0)", "HHV", {X, 0.0f}, {I, I, I, 3, 3, 5, 5}},
      {"HHV(X,7)", "HHV", {X, 7.0f}, {I, I, I, 3, 3, 5, 5}},
      {"HHV(X,1)", "HHV", {X, 1.0f}, {I, I, I, 3, 2, 5, 4}},
      {"HHV(X,9)", "HHV", {X, 9.0f}, {I, I, I, I, I, I, I}},
      {"HHVBARS(X,3)", "HHVBARS", {X, 3.0f}, {I, I, I, I, 1, 0, 1}},
      {"HHVBARS(X,0)", "HHVBARS", {X, 0.0f}, {I, I, I, 0, 1, 0, 1}},
      {"HHVBARS(ties,2)", "HHVBARS", {std::vector<float>{I, 2, 2, 1, 1}, 2.0f}, {I, I, 0, 1, 0}},
      {"LLV(X,3)", "LLV", {X, 3.0f}, {I, I, I, I, 1, 2, 2}},
      {"LLVBARS(X,3)", "LLVBARS", {X, 3.0f}, {I, I, I, I, 2, 1, 2}},
      {"LLV(X,0)", "LLV", {X, 0.0f}, {I, I, I, 1, 1, 1, 1}},
      {"REF(X,2)", "REF", {X, 2.0f}, {I, I, I, I, 1, 3, 2}},
      {"REF(X,0)", "REF", {X, 0.0f}, X},
      {"REF(X,7)", "REF", {X, 7.0f}, {I, I, I, I, I, I, I}},
      {"REF(X,-1)", "REF", {X, -1.0f}, {I, I, I, I, I, I, I}},
      {"SUM(X,3)", "SUM", {X, 3.0f}, {I, I, 1, 4, 6, 10, 11}},
      {"SUM(X,0)", "SUM", {X, 0.0f}, {I, I, 1, 4, 6, 11, 15}},
      {"SUM(X,99)", "SUM", {X, 99.0f}, {I, I, 1, 4, 6, 11, 15}},
      {"SUMBARS(X,5)", "SUMBARS", {X, 5.0f}, {I, I, I, I, 2, 1, 2}},
      {"SUMBARS(X,4)", "SUMBARS", {X, 4.0f}, {I, I, I, I, 2, 1, 1}},
      {"SUMBARS with a falling bar",
       "SUMBARS",
       {std::vector<float>{I, 2, -1, 3, 4}, 2.0f},
       {I, I, I, 1, 1}},
      {"SUMBARS(X,0)", "SUMBARS", {X, 0.0f}, {I, I, 0, 0, 0, 0, 0}},
      {"SUMBARS(X,99)", "SUMBARS", {X, 99.0f}, {I, I, I, I, I, I, I}},
      {"CROSS(A,B)",
       "CROSS",
       {std::vector<float>{I, 1, 1, 3, 1, 3}, std::vector<float>{0, 2, 2, 2, 2, 2}},
       {I, I, 0, 1, 0, 1}},
      {"STD(X,3)", "STD", {X, 3.0f}, {I, I, I, I, 0.816497f, 1.247219f, 1.247219f}},
      {"STD(X,6)", "STD", {X, 6.0f}, {I, I, I, I, I, I, I}},
      {"AVEDEV(X,3)", "AVEDEV", {X, 3.0f}, {I, I, I, I, 0.666667f, 1.111111f, 1.111111f}},
      {"MA keeps a later gap",
       "MA",
       {std::vector<float>{1, 2, I, 4, 5, 6}, 2.0f},
       {I, 1.5f, I, I, I, I}},
      {"STD keeps a later gap", "STD", {std::vector<float>{1, 3, I, 4}, 2.0f}, {I, 1, I, I}},
      {"HHV window opening on a gap",
       "HHV",
       {std::vector<float>{1, 3, I, 2, 1}, 2.0f},
       {I, 3, 3, I, 2}},
      {"SQRT(X)", "SQRT", {X}, {I, I, 1, 1.732051f, 1.414214f, 2.236068f, 2}},
      {"SQRT(-1) has no value", "SQRT", {std::vector<float>{I, 4, -1}}, {I, 2, I}},
      {"EXP(X)", "EXP", {X}, {I, I, 2.718282f, 20.085537f, 7.389056f, 148.413159f, 54.598150f}},
      {"LOG(X)", "LOG", {X}, {I, I, 0, 1.098612f, 0.693147f, 1.609438f, 1.386294f}},
      {"LN(X)", "LN", {X}, {I, I, 0, 1.098612f, 0.693147f, 1.609438f, 1.386294f}},
      {"LOG10(X)", "LOG10", {X}, {I, I, 0, 0.477121f, 0.301030f, 0.698970f, 0.602060f}},
      {"ABS(-X)", "ABS", {std::vector<float>{I, -2, 3}}, {I, 2, 3}},
      {"ACOS", "ACOS", {std::vector<float>{I, 1, 0}}, {I, 0, 1.570796f}},
      {"ASIN", "ASIN", {std::vector<float>{I, 1, 0}}, {I, 1.570796f, 0}},
      {"ATAN", "ATAN", {std::vector<float>{I, 1, 0}}, {I, 0.785398f, 0}},
      {"COS", "COS", {std::vector<float>{I, 0, 3.141593f}}, {I, 1, -1}},
      {"COSH", "COSH", {std::vector<float>{I, 0, 1}}, {I, 1, 1.543081f}},
      {"SIN", "SIN", {std::vector<float>{I, 0, 1.570796f}}, {I, 0, 1}},
      {"SINH", "SINH", {std::vector<float>{I, 0, 1}}, {I, 0, 1.175201f}},
      {"TAN", "TAN", {std::vector<float>{I, 0, 0.785398f}}, {I, 0, 1}},
      {"TANH", "TANH", {std::vector<float>{I, 0, 1}}, {I, 0, 0.761594f}},
      {"POW(X,Y)", "POW", {X, std::vector<float>{I, I, I, 2, 2, 2, 2}}, {I, I, I, 9, 4, 25, 16}},
      {"FMOD(X,2)", "FMOD", {X, 2.0f}, {I, I, 1, 1, 0, 1, 0}},
      {"FMOD(7,3)", "FMOD", {7.0f, 3.0f}, {1, 1, 1}},
      {"MOD(7,3)", "MOD", {7.0f, 3.0f}, {1, 1, 1}},
      {"MOD(-7,3)", "MOD", {-7.0f, 3.0f}, {-1, -1}},
      {"MOD(7,2.5)", "MOD", {7.0f, 2.5f}, {2}},
      {"MOD(X,0)", "MOD", {X, 0.0f}, {I, I, I, I, I, I, I}},
      {"MAX(X,2.5)", "MAX", {X, 2.5f}, {I, I, 2.5f, 3, 2.5f, 5, 4}},
      {"MIN(X,2.5)", "MIN", {X, 2.5f}, {I, I, 1, 2.5f, 2, 2.5f, 2.5f}},
  };
}

::testing::AssertionResult SameSeries(const std::vector<float>& got,
                                      const std::vector<float>& want) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "size " << got.size();
  for (size_t i = 0; i < want.size(); ++i) {
    const bool gotNone = IsInvalidValue(got[i]), wantNone = IsInvalidValue(want[i]);
    if (gotNone != wantNone ||
        (!wantNone && std::fabs(got[i] - want[i]) > 1e-5f * std::max(1.0f, std::fabs(want[i]))))
      return ::testing::AssertionFailure()
             << "bar " << i << ": got " << (gotNone ? std::string("none") : std::to_string(got[i]))
             << ", want " << (wantNone ? std::string("none") : std::to_string(want[i]));
  }
  return ::testing::AssertionSuccess();
}

TEST(BuiltinGolden, EveryFunctionOnShortSeries) {
  for (const GoldenCase& c : Cases()) {
    SCOPED_TRACE(c.call);
    EXPECT_TRUE(
        SameSeries(CallByName(c.name, c.args, static_cast<int>(c.expected.size())), c.expected));
  }
}

TEST(BuiltinGolden, QuoteSeriesCopyTheHistory) {
  const SHistoryUnit units[2] = {{20240102, 1.5f, 2.5f, 1.0f, 2.0f, 3000000000u, 12345u},
                                 {20240103, 2.0f, 3.0f, 1.5f, 2.5f, 7u, 100u}};
  EXPECT_TRUE(SameSeries(CallByName("OPEN", {}, 2, units), {1.5f, 2.0f}));
  EXPECT_TRUE(SameSeries(CallByName("HIGH", {}, 2, units), {2.5f, 3.0f}));
  EXPECT_TRUE(SameSeries(CallByName("LOW", {}, 2, units), {1.0f, 1.5f}));
  EXPECT_TRUE(SameSeries(CallByName("CLOSE", {}, 2, units), {2.0f, 2.5f}));
  EXPECT_TRUE(SameSeries(CallByName("VOL", {}, 2, units), {3e9f, 7.0f}));
  EXPECT_TRUE(SameSeries(CallByName("amount", {}, 2, units), {123.45f, 1.0f}));
}

TEST(BuiltinGolden, WindowArgumentsTruncateToSixteenBits) {
  EXPECT_EQ(WindowArg(5.9f), 5);
  EXPECT_EQ(WindowArg(-1.5f), -1);
  EXPECT_EQ(WindowArg(70000.0f), 4464);
  EXPECT_EQ(WindowArg(65535.0f), -1);
  EXPECT_EQ(WindowArg(std::nanf("")), 0);
  EXPECT_EQ(WindowArg(1e20f), -1);
  // a window given as a series is read from its first bar
  const std::vector<float> window = {3, 100, 100, 100, 100, 100, 100};
  EXPECT_TRUE(SameSeries(CallByName("MA", {X, window}, 7), {I, I, I, I, 2, 3.333333f, 3.666667f}));
  // a NaN window counts as 0: MA refuses it, HHV takes the whole series
  EXPECT_TRUE(SameSeries(CallByName("MA", {X, std::nanf("")}, 7), {I, I, I, I, I, I, I}));
  EXPECT_TRUE(SameSeries(CallByName("HHV", {X, std::nanf("")}, 7), {I, I, I, 3, 3, 5, 5}));
}

TEST(BuiltinGolden, SeriesWithoutValuesStayWithoutValues) {
  const std::vector<float> none(5, I);
  for (const SFunctionItem& item : BuiltinTable()) {
    if (item.nCategory == FUNC_QUOTE) continue;
    SCOPED_TRACE(item.szName);
    std::vector<Arg> args;
    for (int k = 0; k < BuiltinArgCount(item); ++k) args.push_back(k == 0 ? Arg(none) : Arg(2.0f));
    EXPECT_TRUE(SameSeries(CallByName(item.szName, args, 5), none));
  }
}

TEST(BuiltinTable, RowsNamesSignaturesAndHelp) {
  const auto table = BuiltinTable();
  ASSERT_EQ(table.size(), 48u);
  for (const SFunctionItem& item : table) {
    SCOPED_TRACE(item.szName);
    EXPECT_EQ(item.szSignature[0], '2');
    EXPECT_TRUE(HasRoutine(item));
    EXPECT_EQ(FindBuiltin(item.szName), &item);
    EXPECT_NE(std::strstr(item.szDescription, GBK("用法:")), nullptr);
    EXPECT_GT(std::strlen(item.szLabel), 0u);
    const int c = item.nCategory;
    EXPECT_TRUE(c == 0 || c == 2 || c == 3 || c == 5 || c == 10);
  }
  EXPECT_EQ(FindBuiltin("hhv"), FindBuiltin("HHV"));
  EXPECT_EQ(FindBuiltin("AMOUNT"), FindBuiltin("Amount"));
  EXPECT_EQ(FindBuiltin("nosuch"), nullptr);
  EXPECT_EQ(FindBuiltin(nullptr), nullptr);
  EXPECT_STREQ(FindBuiltin("MA")->szLabel, GBK("简单移动平均"));
  EXPECT_STREQ(
      FindBuiltin("SMA")->szDescription,
      GBK("返回累积平均\r\n用法:\r\nSMA(X,N,M):X的M日累积平均,M为权重,如Y=(X*M+Y'*(N-M))/N"));
  EXPECT_STREQ(
      FindBuiltin("COUNT")->szDescription,
      GBK("统计满足条件的周期数.\r\n用法:COUNT(X,N),统计N周期中满足X条件的周期数,若N=0则从第一个有效值开始.\r\n"
          "例如:COUNT(CLOSE>OPEN,20)表示统计20周期内收阳的周期数"));
  EXPECT_STREQ(FindBuiltin("CROSS")->szDescription,
               GBK("两条线交叉.\r\n用法:\r\nCROSS(A,B)表示当A从下方向上穿过B时返回1,否则返回0\r\n"
                   "例如:CROSS(MA(CLOSE,5),MA(CLOSE,10))表示5日均线与10日均线交金叉"));
  EXPECT_STREQ(FindBuiltin("SMA")->szSignature, "2200");
  EXPECT_STREQ(FindBuiltin("SUMBARS")->szSignature, "222");
  EXPECT_STREQ(FindBuiltin("OPEN")->szSignature, "2");
}

TEST(BuiltinCall, RefusesWrongArgumentsAndLeavesNoValues) {
  const SFunctionItem* ma = FindBuiltin("MA");
  std::vector<float> x = {1, 2, 3};
  std::vector<float> out(3, 0.0f);
  SRegPar one[1] = {{REG_SERIES, 0, x.data(), nullptr}};
  EXPECT_FALSE(CallBuiltin(*ma, one, 1, out.data(), 3, nullptr));
  for (float v : out) EXPECT_TRUE(IsInvalidValue(v));
  char text[] = "\"abc\"";
  SRegPar wrongType[2] = {{REG_SERIES, 0, x.data(), nullptr}, {REG_TEXT, 0, nullptr, text}};
  EXPECT_FALSE(CallBuiltin(*ma, wrongType, 2, out.data(), 3, nullptr));
  // no history: the quote series have nothing to copy
  EXPECT_TRUE(CallBuiltin(*FindBuiltin("CLOSE"), nullptr, 0, out.data(), 3, nullptr));
  for (float v : out) EXPECT_TRUE(IsInvalidValue(v));
}

}  // namespace
}  // namespace formula::test
