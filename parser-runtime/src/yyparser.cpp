#include "yl/yyparser.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <new>

#include "yl/yylexer.h"

namespace yl {

yyparser::yyparser(int attributesize) : yyattributesize(attributesize > 0 ? attributesize : 1) {}

yyparser::~yyparser() { yydestroy(); }

// Plain byte copies; a parser whose values need more overrides these.
void yyparser::yystacktoresult(int index) {
  std::memcpy(yyresultptr, yyattribute(index), yyattributesize);
}
void yyparser::yyresulttostack(int index) {
  std::memcpy(yyattribute(index), yyresultptr, yyattributesize);
}
void yyparser::yylvaltoresult() { std::memcpy(yyresultptr, yylvalptr, yyattributesize); }
void yyparser::yyresulttolval() { std::memcpy(yylvalptr, yyresultptr, yyattributesize); }
void yyparser::yylvaltostack(int index) {
  std::memcpy(yyattribute(index), yylvalptr, yyattributesize);
}

void* yyparser::yynewattribute(int count) {
  if (count <= 0 || count > INT_MAX / yyattributesize) return nullptr;
  return new (std::nothrow) char[static_cast<size_t>(count) * yyattributesize]();
}

void yyparser::yydeleteattribute(void* attribute) { delete[] static_cast<char*>(attribute); }

void yyparser::yycopyattribute(void* dest, const void* src, int count) {
  if (dest != src) std::memmove(dest, src, static_cast<size_t>(count) * yyattributesize);
}

void yyparser::yydiscard(int) {}

int yyparser::yygettoken() { return yylexerptr != nullptr ? yylexerptr->yylex() : 0; }

void yyparser::yysyntaxerror() { yyerror("syntax error"); }

void yyparser::yystackoverflow() {
  char text[64];
  int size = yystack_max != 0 && yystack_max < yystack_size ? yystack_max : yystack_size;
  std::snprintf(text, sizeof text, "parser stack overflow (%d)", size);
  yyerror(text);
}

void yyparser::yyerror(const char* text) {
  if (yyerr == nullptr) return;
  std::fputs(text, yyerr);
  std::fputc('\n', yyerr);
}

bool yyparser::yycreate(yylexer* lexer) {
  yylexerptr = lexer;
  if (yystatestack == nullptr && yyinitstacksize > 0 && !yyreallocstack(yyinitstacksize))
    return false;
  if (yyresultptr == nullptr) yyresultptr = yynewattribute(1);
  if (yylvalptr == nullptr) yylvalptr = yynewattribute(1);
  return yyresultptr != nullptr && yylvalptr != nullptr;
}

void yyparser::yydestroy() {
  delete[] yystatestack;
  yystatestack = nullptr;
  if (yyattributestack != nullptr) yydeleteattribute(yyattributestack);
  yyattributestack = nullptr;
  yystack_size = 0;
  yytop = -1;
  if (yyresultptr != nullptr) yydeleteattribute(yyresultptr);
  if (yylvalptr != nullptr) yydeleteattribute(yylvalptr);
  yyresultptr = yylvalptr = nullptr;
}

int yyparser::yyparse() {
  if (!yysetup()) return 1;
  return yywork();
}

bool yyparser::yysetup() {
  if ((yyresultptr == nullptr || yylvalptr == nullptr) && !yycreate(yylexerptr)) return false;
  yytop = -1;
  yylookahead = false;
  yychar = 0;
  yyskip = 0;
  yyerrorcounter = 0;
  yyabortflg = yyretireflg = yyerrorflg = false;
  yyexitcode = yyretirevalue = 0;
  return yypush(0);
}

bool yyparser::yypushgrow(int state) {
  const bool atMaximum = yystack_max != 0 && yytop + 1 >= yystack_max;
  if (atMaximum || (yytop + 1 >= yystack_size && !yygrowstack())) {
    yystackoverflow();
    return false;
  }
  ++yytop;
  yystatestack[yytop] = static_cast<short>(state);
  return true;
}

void yyparser::yycleanup() {
  yypop(yytop + 1);
  if (yylookahead) {
    yydiscard(yychar);
    yylookahead = false;
  }
}

bool yyparser::yysetstacksize(int size) {
  if (size < yytop + 1 || size <= 0 || size == INT_MAX || (yystack_max != 0 && size > yystack_max))
    return false;
  return yyreallocstack(size);
}

bool yyparser::yyfetchlookahead() {
  if (yylookahead) return true;
  int token = yygettoken();
  if (yylexerptr != nullptr && yylexerptr->yyfailed()) return false;
  yychar = token < 0 ? 0 : token;
  yylookahead = true;
  return true;
}

bool yyparser::yygrowstack() {
  if (!yystackgrow) return false;
  long grown = yystack_size == 0 ? 100 : 2L * yystack_size;
  if (grown >= INT_MAX) grown = yystack_max != 0 ? yystack_max : INT_MAX - 1;
  if (yystack_max != 0 && grown > yystack_max) grown = yystack_max;
  if (grown <= yystack_size) return false;
  return yyreallocstack(static_cast<int>(grown));
}

bool yyparser::yyreallocstack(int size) {
  short* states = new (std::nothrow) short[static_cast<size_t>(size)];
  if (states == nullptr) return false;
  char* attributes = static_cast<char*>(yynewattribute(size));
  if (attributes == nullptr) {
    delete[] states;
    return false;
  }
  int keep = yytop + 1;
  if (keep > 0) {
    std::memcpy(states, yystatestack, static_cast<size_t>(keep) * sizeof(short));
    yycopyattribute(attributes, yyattributestack, keep);
  }
  delete[] yystatestack;
  if (yyattributestack != nullptr) yydeleteattribute(yyattributestack);
  yystatestack = states;
  yyattributestack = attributes;
  yystack_size = size;
  return true;
}

}  // namespace yl
