// A calculator on the yl runtime, generated from calc.l and calc.y.
#pragma once
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "calc_tokens.h"
#include "yl/yylexer.h"
#include "yl/yyparser.h"

struct CalcValue {
  long value;
};

class CalcLexer : public yl::yyflexer {
 public:
  CalcLexer() : yl::yyflexer(yytables()) {
    yyin = nullptr;
    yyerr = nullptr;
  }
  void SetInput(std::string text) {
    input_ = std::move(text);
    pos_ = 0;
    yyreset();
  }
  int yyinput() override {
    return pos_ < input_.size() ? static_cast<unsigned char>(input_[pos_++]) : -1;
  }
  void yyoutput(int c) override { echoed += static_cast<char>(c); }
  void yyerror(const char* text) override { errors.push_back(text); }
  int TextSize() const { return yytextsize; }

  std::string echoed;
  std::vector<std::string> errors;

 protected:
  int yyaction(int rule) override;
  static const yl::yylextables& yytables();

 private:
  CalcValue& yylval() { return *static_cast<CalcValue*>(yyparserptr()->yylval()); }
  std::string input_;
  size_t pos_ = 0;
};

class CalcParser : public yl::yyfparser {
 public:
  using YYSTYPE = CalcValue;
  CalcParser() : yl::yyfparser(yytables(), sizeof(YYSTYPE)) { yyerr = nullptr; }
  void yyerror(const char* text) override { errors.push_back(text); }

  std::vector<long> results;
  int recoveries = 0;
  std::vector<std::string> errors;

 protected:
  void yyaction(int action) override;
  static const yl::yyparsetables& yytables();
};
