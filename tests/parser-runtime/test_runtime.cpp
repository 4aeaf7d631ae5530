// The lexer and parser drivers, run on a small generated calculator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc.h"

namespace {

struct Calc {
  CalcLexer lexer;
  CalcParser parser;
  Calc() {
    EXPECT_TRUE(lexer.yycreate(&parser));
    EXPECT_TRUE(parser.yycreate(&lexer));
  }
  int Run(const std::string& text) {
    lexer.SetInput(text);
    return parser.yyparse();
  }
  std::vector<int> Tokens(const std::string& text) {
    lexer.SetInput(text);
    std::vector<int> tokens;
    for (int i = 0; i < 100; ++i) {
      int t = lexer.yylex();
      tokens.push_back(t);
      if (t == 0) break;
    }
    return tokens;
  }
};

TEST(ParserRuntime, EvaluatesWithPrecedenceAndActions) {
  Calc calc;
  EXPECT_EQ(calc.Run("1+2*3; (4+5)*2; 10-2-3; 7;"), 0);
  EXPECT_EQ(calc.parser.results, (std::vector<long>{7, 18, 5, 7}));
  EXPECT_TRUE(calc.parser.errors.empty());
}

TEST(ParserRuntime, LongestMatchAndUnmatchedCharacters) {
  Calc calc;
  // "->" beats "-"; "@" matches no rule and goes to the output routine; an
  // input that ends inside "->" returns what matched ("-"), then 0.
  EXPECT_EQ(calc.Tokens("1->2 @-"),
            (std::vector<int>{calctok::NUM, calctok::ARROW, calctok::NUM, '-', 0}));
  EXPECT_EQ(calc.lexer.echoed, "@");
  // At its end the lexer keeps returning 0.
  EXPECT_EQ(calc.lexer.yylex(), 0);
}

TEST(ParserRuntime, TokenOverHundredCharactersGrowsTheTextBuffer) {
  Calc calc;
  std::string digits(150, '1');
  calc.lexer.SetInput(digits + ";");
  EXPECT_EQ(calc.lexer.TextSize(), 100);
  EXPECT_EQ(calc.lexer.yylex(), calctok::NUM);
  EXPECT_EQ(calc.lexer.yyleng, 150);
  EXPECT_EQ(std::string(calc.lexer.yytext), digits);
  EXPECT_EQ(calc.lexer.TextSize(), 200);
  EXPECT_EQ(calc.lexer.yylex(), ';');
}

TEST(ParserRuntime, TextBufferThatCannotGrowFailsTheParseWithItsReport) {
  Calc calc;
  calc.lexer.yytext_max = 100;
  EXPECT_EQ(calc.Run(std::string(150, '2') + ";"), 1);
  ASSERT_EQ(calc.lexer.errors.size(), 1u);
  EXPECT_EQ(calc.lexer.errors[0], "lexer text buffer overflow (100)");
  EXPECT_TRUE(calc.parser.results.empty());
}

TEST(ParserRuntime, OneReportPerSyntaxErrorAndRecoveryAtErrorRule) {
  Calc calc;
  // Two bad statements, each reported once however many tokens follow it;
  // a new report needs three tokens shifted since the last recovery.
  EXPECT_EQ(calc.Run("1+; 2; 3 4 5 + ; 6*7;"), 0);
  EXPECT_EQ(calc.parser.errors, (std::vector<std::string>{"syntax error", "syntax error"}));
  EXPECT_EQ(calc.parser.recoveries, 2);
  EXPECT_EQ(calc.parser.results, (std::vector<long>{2, 42}));
  EXPECT_EQ(calc.parser.yyerrorcount(), 2);
}

TEST(ParserRuntime, ErrorAtEndOfInputFailsAfterOneReport) {
  Calc calc;
  EXPECT_EQ(calc.Run("1+2"), 1);
  EXPECT_EQ(calc.parser.errors, (std::vector<std::string>{"syntax error"}));
}

TEST(ParserRuntime, StackAtItsMaximumReportsOverflowAndFails) {
  const std::string nested = std::string(40, '(') + "1" + std::string(40, ')') + ";";
  {
    Calc calc;
    calc.parser.yystack_max = 30;
    EXPECT_EQ(calc.Run(nested), 1);
    EXPECT_EQ(calc.parser.errors, (std::vector<std::string>{"parser stack overflow (30)"}));
  }
  {
    Calc calc;  // the same input with room grows the stack and succeeds
    EXPECT_EQ(calc.Run(nested + std::string(150, '(') + "2" + std::string(150, ')') + ";"), 0);
    EXPECT_EQ(calc.parser.results, (std::vector<long>{1, 2}));
    EXPECT_GE(calc.parser.yystacksize(), 200);
  }
}

TEST(ParserRuntime, ActionAbortEndsTheParse) {
  Calc calc;
  EXPECT_EQ(calc.Run("4/2; 1/0; 3;"), 1);
  EXPECT_EQ(calc.parser.results, (std::vector<long>{2}));
  EXPECT_TRUE(calc.parser.errors.empty());
  // The parser is reusable afterwards.
  calc.parser.results.clear();
  EXPECT_EQ(calc.Run("3;"), 0);
  EXPECT_EQ(calc.parser.results, (std::vector<long>{3}));
}

}  // namespace
