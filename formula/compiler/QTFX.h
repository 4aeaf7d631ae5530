// CQTFX: the scanner of the formula language. It cuts the lower-cased source
// into tokens, and classifies every name as a built-in function, a call of
// another stored formula or a variable of the formula being parsed.
#pragma once
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "formula/compiler/QTFXRules.h"
#include "formula/compiler/QTValue.h"
#include "yl/yylexer.h"

namespace formula {

// One distinct name of the formula being parsed.
struct SSymbol {
  enum : short { UNDEFINED = 0, VARIABLE = 1, OUTPUT = 2, PARAMETER = 3 };
  short kind = UNDEFINED;
  const char* name = nullptr;  // interned, lower case
  SRegPar value;
};

class CQTFXCore {
 public:
  CQTFXCore() = default;
  CQTFXCore(const CQTFXCore&) = delete;
  CQTFXCore& operator=(const CQTFXCore&) = delete;

  void SetInput(const char* text);
  // The input routine: the next byte (0-255), -1 at the end of the text.
  int ReadInputByte();
  // Empties the text pool, the symbol list and the message buffer.
  void ResetCore();

  // Runs the action of a rule on its matched text: the token number, or 0
  // when the text is skipped. newCondition receives the start condition to
  // switch to (unchanged when the action does not switch).
  int OnRule(int rule, const char* text, int length, int& newCondition);
  // The scanner reached the end of the text: the current token is empty.
  void MarkEnd();

  // The semantic value the actions write (the parser's yylval).
  void SetValueSlot(SQTValue* slot) { m_value = slot; }

  // The formula being parsed: its own name is never read as a call.
  void SetCurrentFormula(const SFormulaRecord* rec) { m_current = rec; }
  const SFormulaRecord* CurrentFormula() const { return m_current; }

  const char* Intern(const char* text);
  std::vector<SSymbol>& Symbols() { return m_symbols; }
  const std::vector<SSymbol>& Symbols() const { return m_symbols; }

  // The current token (the last text matched) and where it starts in the
  // source; the line it ends on, counted from 1.
  const std::string& TokenText() const { return m_tokenText; }
  size_t TokenStart() const { return m_tokenStart; }
  int TokenLine() const;
  const char* Source() const { return m_source; }

  // The lexer's own error line: "错误行号:%d 当前标记:%s 错误信息:%s", kept
  // (254 characters at most) and written to the trace.
  void ReportLexerError(const char* message);
  const char* LexerMessage() const { return m_message; }

 private:
  int ClassifyName(const char* name);
  int ClassifyDotted(const char* text);
  int AddSymbol(const char* name, char type);
  int FindOrAddSymbol(const char* name);
  int NumberToken(float value);
  int TradeWord(int token, const char* text);

  const char* m_source = nullptr;
  size_t m_consumed = 0;
  size_t m_scanPos = 0;  // every byte is matched by some rule, so this tracks the scan
  size_t m_tokenStart = 0;
  std::string m_tokenText;
  SQTValue* m_value = nullptr;
  SQTValue m_scratch{};
  const SFormulaRecord* m_current = nullptr;
  std::deque<std::string> m_pool;
  std::unordered_map<std::string, const char*> m_poolIndex;  // lower-cased text -> pooled text
  std::vector<SSymbol> m_symbols;
  std::unordered_map<const char*, int> m_symbolIndex;  // interned name -> first entry
  char m_message[255] = {};
};

}  // namespace formula

// The scanner itself: the generated DFA tables and rule actions (from
// qtfx.l) over the runtime's table-driven driver, reading its input from the
// source text instead of a stream.
class CQTFX : public yl::yyflexer, public formula::CQTFXCore {
 public:
  CQTFX() : yl::yyflexer(yytables()) {}

  static const yl::yylextables& yytables();  // generated
  int yyaction(int rule) override;           // generated from the rule file

  int yyinput() override { return ReadInputByte(); }
  void yyoutput(int) override {}  // unknown characters are traced by their rule
  void yyerror(const char* text) override { ReportLexerError(text); }

  // Resets the driver for a new text and empties the pool and symbols.
  void Reset() {
    ResetCore();
    yyreset();
  }

 private:
  // Runs a rule's action: the token, or skips the text.
  int Act(int rule) {
    int condition = yystart;
    int token = OnRule(rule, yytext, yyleng, condition);
    yystart = condition;
    if (token == 0) yyreturnflg = false;
    return token;
  }
};
