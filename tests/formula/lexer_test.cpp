// The token table of the formula scanner: keywords, style words, numbers,
// names and their classification, strings, operators and comments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/compiler/QTFX.h"
#include "formula/compiler/QTFXRules.h"
#include "formula_test_support.h"

using namespace formula;

namespace {

class FormulaLexer : public ::testing::Test {
 protected:
  void SetUp() override {
    TheFormulaStore().Clear();
    ASSERT_TRUE(lexer.yycreate(nullptr));
    lexer.yyerr = nullptr;
  }
  void TearDown() override { TheFormulaStore().Clear(); }

  std::vector<int> Lex(const std::string& text, const SFormulaRecord* current = nullptr) {
    source = text;
    lexer.Reset();
    lexer.SetCurrentFormula(current);
    lexer.SetInput(source.c_str());
    lexer.SetValueSlot(&value);
    std::vector<int> tokens;
    for (int guard = 0; guard < 1000; ++guard) {
      int t = lexer.yylex();
      if (t == 0) break;
      tokens.push_back(t);
      values.push_back(value);
    }
    return tokens;
  }

  CQTFX lexer;
  SQTValue value{};
  std::vector<SQTValue> values;
  std::string source;
};

struct TokenCase {
  const char* text;
  std::vector<int> tokens;
};

class TokenTable : public FormulaLexer, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(TokenTable, CutsTheTextIntoTheTableTokens) {
  EXPECT_EQ(Lex(GetParam().text), GetParam().tokens) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Formula, TokenTable,
    ::testing::Values(
        TokenCase{"ma5:=ma(close,5);", {257, 296, 258, '(', 258, ',', 300, ')', ';'}},
        TokenCase{"iff if iffy ifn", {263, 263, 257, 264}},
        TokenCase{"default defaultkcolor defaults", {287, 286, 257}},
        TokenCase{"colorred colorstick volstick circledot nodraw", {270, 289, 288, 290, 291}},
        TokenCase{"a=b a==b", {257, 294, 257, 257, 294, 257}},
        TokenCase{"and && or || <= >= != : := ^p ^t",
                  {298, 298, 299, 299, 292, 293, 295, 297, 296, 261, 262}},
        TokenCase{"enterlong exitlong entershort exitshort return", {265, 266, 267, 268, 269}},
        TokenCase{"< > ; , ( ) . ! - + * / %",
                  {'<', '>', ';', ',', '(', ')', '.', '!', '-', '+', '*', '/', '%'}},
        TokenCase{"x/*note*/:=1;", {257, 296, 300, ';'}},
        TokenCase{"a /* spans\nlines */ b", {257, 257}}, TokenCase{"a /* never closed ; b", {257}},
        TokenCase{"'it''s' \"say \\\"hi\\\"\"", {301, 301, 301}},
        TokenCase{"\"unclosed ;", {257, ';'}},  // the lone quote is traced and skipped
        TokenCase{"a#b", {257, 257}},
        TokenCase{"\xD6\xD0\xCE\xC4"
                  "1",
                  {257, 300}},      // a digit right after a Chinese character ends the name
        TokenCase{"a\xD6", {257}},  // a lead byte at the end is skipped
        TokenCase{"0x1f 007 .5 5. 12", {300, 300, 300, 300, 300}}));

TEST_F(FormulaLexer, NumbersGetTheirOwnValuesHexAndLeadingZeroIncluded) {
  ASSERT_EQ(Lex("0x1f 007 .5 5. 12.25 0").size(), 6u);
  std::vector<float> expected = {31.0f, 7.0f, 0.5f, 5.0f, 12.25f, 0.0f};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_FLOAT_EQ(values[i].number, expected[i]) << i;
}

TEST_F(FormulaLexer, NamesAreBuiltinsStoredFormulasOrVariables) {
  TheFormulaStore().Formulas(0).push_back(formula_test::MakeRecord(0, "MACD", "DIF:1;"));
  TheFormulaStore().Formulas(2).push_back(formula_test::MakeRecord(2, "SYS1", "ENTERLONG:1;"));
  EXPECT_EQ(Lex("close macd macd.dea system.sys1 mine mine"),
            (std::vector<int>{258, 259, 259, 259, 257, 257}));
  EXPECT_EQ(values[2].partCount, 2);
  EXPECT_STREQ(values[2].parts[1], "dea");
  EXPECT_EQ(values[3].kind, 2);
  EXPECT_EQ(values[4].symbol, values[5].symbol);  // one symbol per distinct name
  // A dotted name that calls nothing is a variable named by the whole text.
  EXPECT_EQ(Lex("close.x other.y"), (std::vector<int>{257, 257}));
  EXPECT_STREQ(lexer.Symbols()[size_t(values.back().symbol)].name, "other.y");
}

TEST_F(FormulaLexer, AFormulasOwnNameIsAVariableNotACall) {
  auto& list = TheFormulaStore().Formulas(0);
  list.push_back(formula_test::MakeRecord(0, "SELF", "A:1;"));
  list.push_back(formula_test::MakeRecord(0, "OTHER", "A:1;"));
  EXPECT_EQ(Lex("self other", &list.front()), (std::vector<int>{257, 259}));
}

TEST_F(FormulaLexer, TradeWordsAreSeriesSymbols) {
  ASSERT_EQ(Lex("enterlong"), (std::vector<int>{265}));
  const SSymbol& sym = lexer.Symbols()[size_t(values[0].symbol)];
  EXPECT_STREQ(sym.name, "enterlong");
  EXPECT_EQ(sym.value.cType, REG_SERIES);
}

TEST_F(FormulaLexer, ALongNameGrowsTheTextBufferAndComesBackWhole) {
  std::string name(300, 'q');
  ASSERT_EQ(Lex(name + ";"), (std::vector<int>{257, ';'}));
  EXPECT_EQ(std::string(lexer.Symbols()[0].name), name);
}

}  // namespace
