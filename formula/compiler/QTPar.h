// CQTPar: the parser of the formula language. There is no intermediate
// code: every statement and expression is carried out on whole series at
// the moment the parser reduces it, so one parse either checks a formula
// (check mode) or computes all of its output lines over a number of bars
// (calculate mode).
#pragma once
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "formula/compiler/QTFX.h"
#include "formula/compiler/QTParTypes.h"
#include "formula/compiler/QTParRules.h"
#include "yl/yyparser.h"

class CQTPar : public yl::yyfparser {
 public:
  using YYSTYPE = formula::SQTValue;

  CQTPar();
  ~CQTPar() override;
  CQTPar(const CQTPar&) = delete;
  CQTPar& operator=(const CQTPar&) = delete;

  // Creates the parser stacks and the lexer buffers; true when both exist.
  bool Init();
  // Preset index := value; index may be at most the number of presets.
  // False (nothing stored) for an index outside that range.
  bool SetPreset(int index, const SRegPar& value);
  // Everything LoadFormula resets, and the presets too.
  void ResetAll();

  bool LoadFormula(const SFormulaRecord* rec);
  bool CheckFormula();
  bool CalcFormula(int bars);

  // Results of the last parse.
  const std::vector<formula::SOutputLine>& Outputs() const { return m_outputs; }
  const std::vector<formula::SVariableLine>& Variables() const { return m_variables; }
  const std::vector<formula::SParamRecord>& Params() const { return m_params; }
  const std::vector<SRegPar>& Presets() const { return m_presets; }
  const char* GetLastError() const { return m_lastError; }
  const char* Label() const { return m_label; }
  int BarCount() const { return m_bars; }
  const SFormulaRecord* Formula() const { return m_formula; }
  const char* SourceText() const { return m_source.c_str(); }
  // True when the last parse called another stored formula (its outcome
  // then depends on more than the loaded text).
  bool CalledOtherFormula() const { return m_calledFormula; }
  // Bytes of the series buffers held: those of the last parse and the
  // spares kept for the next.
  size_t HeldSeriesBytes() const;

  // The formulas this parser runs inside (its callers, outermost first).
  // A call of any of them, or a call deeper than kMaxCallDepth, is refused.
  static constexpr int kMaxCallDepth = 16;
  void SetCallChain(std::vector<const SFormulaRecord*> chain) { m_callChain = std::move(chain); }

  // The error report: frames the message with the line, the current token
  // and the text that follows, keeps it as the last error and traces it.
  void ReportError(const char* message);

 protected:
  static const yl::yyparsetables& yytables();  // generated
  void yyaction(int action) override;          // generated from the grammar
  // The runtime's syntax-error and stack-overflow reports come here.
  void yyerror(const char* text) override { ReportError(text); }
  int yygettoken() override;

  // Carries out one production: rhs holds its length right-hand values,
  // result receives the production's value. False aborts the parse.
  bool OnReduce(int rule, formula::SQTValue* rhs, int length, formula::SQTValue& result);
  // Replaces the last-error text (cut to 254 bytes on a character boundary).
  void SetLastError(const char* text);

 private:
  bool Fail(const char* message);
  bool FailF(const char* format, ...);
  void ClearParseState();
  bool RunParse(bool calculate, int bars);
  // A series of count floats, each set to fill from bar filledFrom on (the
  // caller writes every bar before it).
  float* NewSeries(int count, float fill, int filledFrom = 0);

  // Statements.
  bool DefineCheck(const formula::SSymbol& sym);
  bool DefineVariable(const formula::SQTValue& name, const SRegPar& value);
  bool DefineOutput(const formula::SQTValue& name, const SRegPar& value, int property);
  bool OutputKindCheck(bool styled);
  bool DefineParamP(const formula::SQTValue& name);
  bool DefineParamT(const formula::SQTValue& name, float typeNumber);
  void ApplyPreset(int index, formula::SParamRecord& rec);
  // Index of the parameter record named name; a new record of that name is
  // appended when there is none.
  int ParamIndexNamed(const char (&name)[sizeof formula::SParamRecord::name]);
  // Makes sym the parameter of record index, with the formula's preset over it.
  void NameParam(formula::SSymbol& sym, int index);
  void ArrangeTradingOutputs();

  // Expressions.
  bool EvalName(const formula::SQTValue& name, SRegPar& out);
  void EvalNegate(const SRegPar& in, SRegPar& out);
  void EvalBinary(int op, const SRegPar& a, const SRegPar& b, SRegPar& out);
  void EvalIf(const SRegPar& c, const SRegPar& x, const SRegPar& y, SRegPar& out);
  bool CallFunction(formula::SQTValue& call);
  bool CallFormula(formula::SQTValue& call);
  void MakeUsable(SRegPar& v);

  CQTFX m_lexer;
  std::string m_source;
  const SFormulaRecord* m_formula = nullptr;
  short m_kind = 0;
  bool m_calculate = false;
  bool m_calledFormula = false;
  int m_bars = 0;
  std::vector<formula::SOutputLine> m_outputs;
  std::vector<formula::SVariableLine> m_variables;
  std::vector<formula::SParamRecord> m_params;
  std::vector<SRegPar> m_presets;
  std::vector<float> m_pending;
  struct SeriesBuffer {
    std::unique_ptr<float[]> data;
    int capacity = 0;
  };
  std::vector<SeriesBuffer> m_series;  // series of the current parse
  std::vector<SeriesBuffer> m_spare;   // freed by the last load, reused before allocating
  std::vector<std::vector<SRegPar>> m_argLists;
  // The series of the built-ins without arguments (quotes) this parse made.
  std::vector<std::pair<const SFunctionItem*, float*>> m_historySeries;
  std::vector<const SFormulaRecord*> m_callChain;
  char m_label[255] = {};
  char m_lastError[255] = {};
};
