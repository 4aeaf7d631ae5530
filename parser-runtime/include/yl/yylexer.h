// Lexer driver: the buffers, character I/O and error reports of a scanner.
// yyflexer walks the DFA tables that yltables generates from a flex rule
// file; a concrete lexer derives from it and gets its rule actions
// (yyaction) and its tables generated.
#pragma once
#include <cstdio>
#include <vector>
#include "yl/yytables.h"

namespace yl {

class yyparser;

class yylexer {
 public:
  yylexer();
  yylexer(const yylexer&) = delete;
  yylexer& operator=(const yylexer&) = delete;
  virtual ~yylexer();

  // ---- overridable operations ----
  virtual int yylex() = 0;
  // One character from the input stream, -1 at its end.
  virtual int yyinput();
  // From the unput buffer when it holds any, else yyinput; counts lines.
  virtual int yygetchar();
  // Characters no rule matched end up here (the default action).
  virtual void yyoutput(int c);
  // Pushes a character back; false when the unput buffer cannot grow.
  virtual bool yyunput(int c);
  // 1: no further input.
  virtual int yywrap();
  virtual void yytextoverflow();
  virtual void yyunputoverflow();
  // Writes the text and a line feed to the error stream.
  virtual void yyerror(const char* text);
  // The rule actions: return a token, or call yyskip-style fall through
  // (the generated code clears yyreturnflg when an action does not return).
  virtual int yyaction(int rule) = 0;

  // ---- life cycle ----
  // Links the parser whose yylval the actions fill and allocates the
  // buffers; false when that fails.
  bool yycreate(yyparser* parser = nullptr);
  // Ready for a new input: length 0, line 1, no pushed-back characters,
  // at line start, start condition 0, no failure.
  void yyreset();
  // Returns grown buffers to their initial sizes.
  void yycleanup();
  // Refused (false) below the current content, above the maximum or at the
  // integer limit.
  bool yysettextsize(int size);
  bool yysetunputsize(int size);

  // True once a buffer could not grow; yylex then returns 0 for good and
  // the parser fails the parse. The library never ends the process.
  bool yyfailed() const { return yyfailedflg; }
  yyparser* yyparserptr() const { return yyparser_; }

  // ---- helpers for rule actions ----
  void yymore() { yymoreflg = true; }
  void yyreject() { yyrejectflg = true; }
  // Keeps the first n characters of the match and pushes the rest back.
  void yyless(int n);
  // Copies the matched text to the output routine.
  void yyecho();

  // ---- state, open to rule actions as in every lex-style scanner ----
  char* yytext = nullptr;
  int yyleng = 0;
  int yylineno = 1;
  int yystart = 0;       // start condition: 0, 2, 4 ...
  bool yyeol = true;     // at line start
  bool yyoldeol = true;  // at line start when the current match began

  FILE* yyin = stdin;
  FILE* yyout = stdout;
  FILE* yyerr = stderr;

  int yytext_max = 0;  // 0: no limit
  int yyunput_max = 0;
  bool yytextgrow = true;
  bool yyunputgrow = true;

 protected:
  // Makes room for one more character of text; reports and fails when the
  // buffer may not or cannot grow.
  bool yyensuretext();
  void yyfail() { yyfailedflg = true; }

  int yytextsize = 100;  // current capacity (the text buffer holds one more for the zero)
  int yyinittextsize = 100;
  int yyunputsize = 100;
  int yyinitunputsize = 100;
  std::vector<char> yytextbuf;
  std::vector<int> yystatebuf;  // DFA state reached after each character
  std::vector<int> yyunputbuf;
  int yyunputindex = 0;

  bool yymoreflg = false;
  bool yyrejectflg = false;
  bool yyreturnflg = false;
  bool yyfailedflg = false;
  bool yycreated = false;
  yyparser* yyparser_ = nullptr;

 private:
  static int yygrowsize(int size, int maximum);
  bool yyresizetext(int size);
  bool yyresizeunput(int size);
};

// The table-driven lexer.
class yyflexer : public yylexer {
 public:
  explicit yyflexer(const yylextables& tables) : yytables_(&tables) {}
  int yylex() override;

 protected:
  int yynextstate(int state, int c) const;
  bool yyhasexit(int state) const;
  const yylextables* yytables_;
};

}  // namespace yl
