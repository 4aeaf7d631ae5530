#include "yl/yylexer.h"

#include <climits>
#include <cstdio>
#include <new>

namespace yl {

yylexer::yylexer() = default;
yylexer::~yylexer() = default;

int yylexer::yyinput() {
  if (yyin == nullptr) return -1;
  int c = std::fgetc(yyin);
  return c == EOF ? -1 : c;
}

int yylexer::yygetchar() {
  int c;
  if (yyunputindex > 0) {
    c = yyunputbuf[--yyunputindex];
  } else {
    c = yyinput();
  }
  if (c == '\n') ++yylineno;
  return c;
}

void yylexer::yyoutput(int c) {
  if (yyout != nullptr) std::fputc(c, yyout);
}

bool yylexer::yyunput(int c) {
  if (yyunputindex >= yyunputsize) {
    int grown = yyunputgrow ? yygrowsize(yyunputsize, yyunput_max) : yyunputsize;
    if (grown <= yyunputsize || !yyresizeunput(grown)) {
      yyunputoverflow();
      yyfail();
      return false;
    }
  }
  yyunputbuf[yyunputindex++] = c;
  if (c == '\n') --yylineno;
  return true;
}

int yylexer::yywrap() { return 1; }

void yylexer::yytextoverflow() {
  char text[64];
  std::snprintf(text, sizeof text, "lexer text buffer overflow (%d)", yytextsize);
  yyerror(text);
}

void yylexer::yyunputoverflow() {
  char text[64];
  std::snprintf(text, sizeof text, "lexer unput buffer overflow (%d)", yyunputsize);
  yyerror(text);
}

void yylexer::yyerror(const char* text) {
  if (yyerr == nullptr) return;
  std::fputs(text, yyerr);
  std::fputc('\n', yyerr);
}

bool yylexer::yycreate(yyparser* parser) {
  yyparser_ = parser;
  yyinittextsize = yytextsize;
  yyinitunputsize = yyunputsize;
  try {
    yytextbuf.assign(static_cast<size_t>(yytextsize) + 1, '\0');
    yystatebuf.assign(static_cast<size_t>(yytextsize), 0);
    yyunputbuf.assign(static_cast<size_t>(yyunputsize), 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  yytext = yytextbuf.data();
  yycreated = true;
  yyreset();
  return true;
}

void yylexer::yyreset() {
  yyleng = 0;
  if (yytext != nullptr) yytext[0] = '\0';
  yylineno = 1;
  yyunputindex = 0;
  yymoreflg = yyrejectflg = yyreturnflg = false;
  yyfailedflg = false;
  yyeol = yyoldeol = true;
  yystart = 0;
}

void yylexer::yycleanup() {
  if (yytextsize > yyinittextsize && yyleng <= yyinittextsize) yyresizetext(yyinittextsize);
  if (yyunputsize > yyinitunputsize && yyunputindex <= yyinitunputsize)
    yyresizeunput(yyinitunputsize);
}

bool yylexer::yysettextsize(int size) {
  if (size < yyleng || size == INT_MAX || (yytext_max != 0 && size > yytext_max)) return false;
  return yyresizetext(size);
}

bool yylexer::yysetunputsize(int size) {
  if (size < yyunputindex || size == INT_MAX || (yyunput_max != 0 && size > yyunput_max))
    return false;
  return yyresizeunput(size);
}

void yylexer::yyless(int n) {
  if (n < 0) n = 0;
  while (yyleng > n) {
    if (!yyunput(static_cast<unsigned char>(yytext[yyleng - 1]))) return;
    --yyleng;
  }
  yytext[yyleng] = '\0';
}

void yylexer::yyecho() {
  for (int i = 0; i < yyleng; ++i) yyoutput(static_cast<unsigned char>(yytext[i]));
}

bool yylexer::yyensuretext() {
  if (yyleng < yytextsize) return true;
  int grown = yytextgrow ? yygrowsize(yytextsize, yytext_max) : yytextsize;
  if (grown <= yytextsize || !yyresizetext(grown)) {
    yytextoverflow();
    yyfail();
    return false;
  }
  return true;
}

int yylexer::yygrowsize(int size, int maximum) {
  long grown = size == 0 ? 100 : 2L * size;
  if (grown >= INT_MAX) grown = maximum != 0 ? maximum : INT_MAX - 1;
  if (maximum != 0 && grown > maximum) grown = maximum;
  return static_cast<int>(grown);
}

bool yylexer::yyresizetext(int size) {
  try {
    yytextbuf.resize(static_cast<size_t>(size) + 1);
    yystatebuf.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  yytextsize = size;
  yytext = yytextbuf.data();
  return true;
}

bool yylexer::yyresizeunput(int size) {
  try {
    yyunputbuf.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  yyunputsize = size;
  return true;
}

}  // namespace yl
