// LALR(1) parser driver: the state and value stacks, error recovery and
// reports. yyfparser runs the tables that yltables generates from a bison
// grammar; a concrete parser derives from it, names its semantic value type
// YYSTYPE and gets its rule actions (yyaction) and tables generated.
#pragma once
#include <cstdio>
#include "yl/yytables.h"

namespace yl {

class yylexer;

class yyparser {
 public:
  // attributesize: bytes of one semantic value (sizeof(YYSTYPE)); values
  // are copied bytewise, so YYSTYPE must be trivially copyable.
  explicit yyparser(int attributesize);
  yyparser(const yyparser&) = delete;
  yyparser& operator=(const yyparser&) = delete;
  virtual ~yyparser();

  // ---- overridable operations ----
  virtual void yyaction(int action) = 0;
  // Attribute copies between the result record, the stack and yylval.
  virtual void yystacktoresult(int index);
  virtual void yyresulttostack(int index);
  virtual void yylvaltoresult();
  virtual void yyresulttolval();
  virtual void yylvaltostack(int index);
  // count x attribute size bytes; nullptr when that overflows or fails.
  virtual void* yynewattribute(int count);
  virtual void yydeleteattribute(void* attribute);
  virtual void yycopyattribute(void* dest, const void* src, int count);
  virtual int yywork() = 0;
  // Called for a lookahead left over at clean-up and for tokens discarded
  // during error recovery; nothing by default.
  virtual void yydiscard(int token);
  virtual int yygettoken();
  virtual void yysyntaxerror();
  virtual void yystackoverflow();
  virtual void yyerror(const char* text);

  // ---- life cycle ----
  bool yycreate(yylexer* lexer);
  void yydestroy();
  // 0 accepted, 1 failed.
  int yyparse();
  bool yysetup();
  bool yypush(int state) {
    if (yytop + 1 < yystack_size && (yystack_max == 0 || yytop + 1 < yystack_max)) {
      yystatestack[++yytop] = static_cast<short>(state);
      return true;
    }
    return yypushgrow(state);
  }
  void yypop(int count) { yytop = count <= yytop + 1 ? yytop - count : -1; }
  void yycleanup();
  bool yysetstacksize(int size);

  // ---- helpers for rule actions (YYABORT, YYACCEPT, YYERROR ...) ----
  void yyabort(int exitcode = 1) {
    yyabortflg = true;
    yyexitcode = exitcode;
  }
  void yyretire(int value = 0) {
    yyretireflg = true;
    yyretirevalue = value;
  }
  void yyforceerror() { yyerrorflg = true; }
  void yyerrok() { yyskip = 0; }
  void yyclearin() { yylookahead = false; }
  bool yyrecovering() const { return yyskip > 0; }

  void* yylval() { return yylvalptr; }
  int yyerrorcount() const { return yyerrorcounter; }
  int yystacksize() const { return yystack_size; }
  int yytoken() const { return yylookahead ? yychar : -1; }

  FILE* yyerr = stderr;
  int yystack_max = 0;  // 0: no limit
  bool yystackgrow = true;
  bool yydocleanup = true;

 protected:
  void* yyattribute(int index) {
    return yyattributestack + static_cast<long>(index) * yyattributesize;
  }
  void* yyresult() { return yyresultptr; }
  bool yyfetchlookahead();

  int yyattributesize;
  int yyinitstacksize = 100;
  short* yystatestack = nullptr;
  char* yyattributestack = nullptr;
  int yystack_size = 0;
  int yytop = -1;
  void* yyresultptr = nullptr;
  void* yylvalptr = nullptr;

  int yychar = 0;
  bool yylookahead = false;
  int yyskip = 0;  // error recovery count-down
  int yyerrorcounter = 0;
  bool yyabortflg = false;
  int yyexitcode = 0;
  bool yyretireflg = false;
  int yyretirevalue = 0;
  bool yyerrorflg = false;
  yylexer* yylexerptr = nullptr;

 private:
  bool yypushgrow(int state);
  bool yygrowstack();
  bool yyreallocstack(int size);
};

// The table-driven parser.
class yyfparser : public yyparser {
 public:
  yyfparser(const yyparsetables& tables, int attributesize)
      : yyparser(attributesize), yytables_(&tables) {}
  int yywork() override;

 protected:
  // The action of state for the current lookahead.
  void yylookup(int state, int& type, int& value);
  int yygoto(int state, int nonterm) const;
  // Error recovery; false when the parse must fail.
  bool yyrecover(bool forced);
  int yyfinish(int result);
  const yyparsetables* yytables_;
};

}  // namespace yl
