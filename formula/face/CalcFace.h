// CCalcFace: the library's one evaluator. It selects a stored formula by kind
// and name, compiles it, loads a caller's history, evaluates the formula and
// keeps the output lines and parameters until the next selection.
#pragma once
#include <string>
#include <unordered_set>

#include "formula/compiler/QTPar.h"
#include "formula/face/FormulaFace.h"

class CCalcFace : public CQTPar {
 public:
  CCalcFace();
  ~CCalcFace() override;

  void RegisterDataIO(PDATAIOFUNC func) { m_dataIO = func; }
  PDATAIOFUNC DataIO() const { return m_dataIO; }

  int SelectFormular(short kind, const char* name);
  int Calc(short kind, const char* name, const SHistoryUnit* bars, short count);

  float* OutputSeries(int i) const;
  const char* OutputName(int i) const;
  int OutputProperty(int i) const;
  int OutputCount() const { return int(Outputs().size()); }

  int ParamCount() const { return int(Params().size()); }
  const char* ParamName(int i) const;
  float ParamDefault(int i) const;
  int SetRegParFloat(int i, float v);
  float (&PeriodsPar(int i))[12];

  const char* GetLastErr() const { return GetLastError(); }
  const char* GetFormulaGridInfo(const char* name) const;
  void ResetIt() {
    ResetAll();
    m_checked.clear();
  }

  const SFormulaRecord* Selected() const { return m_selected; }
  // Drops the selection and the compiled state: the store is about to
  // replace the records they point into.
  void ForgetSelection() {
    ResetIt();
    m_selected = nullptr;
  }

  // The group hash of a name: 0-210.
  static int GroupHash(const char* name);

 private:
  void SetError(const char* text);
  // What a formula's check depends on: its kind, its texts and the presets.
  std::string CheckKey(const SFormulaRecord* rec) const;
  // Selects and checks, or only selects when this very text passed its
  // check before: a chart recomputing its panes then parses each formula
  // once per computation, not twice.
  int SelectForCalc(short kind, const char* name);

  // Keys of the formulas whose check passed, each compared whole, so an
  // edited text or parameter is checked again. A formula that calls
  // another is never kept: the other may have changed.
  std::unordered_set<std::string> m_checked;

  PDATAIOFUNC m_dataIO = nullptr;
  SFormulaRecord* m_selected = nullptr;
};

// The library-wide evaluator every CFormulaFace forwards to.
CCalcFace& TheCalcFace();
