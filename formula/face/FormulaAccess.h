// CFormulaAccess: the formula library as the program's window-free
// libraries reach it (the keyboard index, the command router, the chart
// pictures and the K-line chart). They never link the Formula library,
// which carries the editor's dialogs and Qt Widgets with them: the shell
// installs the implementation over CFormulaFace (FormulaFaceAccess.h) as
// its frame is made, and tests install that one or their own. While none
// is installed the answers are an empty library's: no formulas, and every
// calculation and dialog fails.
//
// The members are CFormulaFace's, with its meaning: one evaluator for the
// process, whose outputs and parameters last until the next Calc.
// User-interface thread only.
#pragma once
#include "formula/face/FormulaFaceTypes.h"
#include "formula/functions/formula_types.h"

class CFormulaAccess {
 public:
  virtual ~CFormulaAccess() = default;

  // The store: formulas of a kind (0 indicators) by index.
  virtual int SizeAtSet(short kind) = 0;
  virtual const char* FormuCode(int index, short kind) = 0;
  virtual const char* FormuName(int index, short kind) = 0;

  // The evaluator.
  virtual void RegisterDataIO(PDATAIOFUNC func) = 0;
  virtual int Calc(short kind, const char* name, const SHistoryUnit* bars, short count) = 0;
  // The series of output i; null when there is none.
  virtual float* OutputSeries(int i) = 0;
  virtual int GetOutVarSize() = 0;
  virtual const char* GetOutVarWord(int i) = 0;
  virtual int GetOutVarProperty(int i) = 0;
  virtual int GetRegParSize() = 0;
  virtual float GetRegParFloat(int i) = 0;
  virtual const char* GetFormulaGridInfo(char* name) = 0;

  // The dialogs.
  virtual void OnOpenFormulaDesc(const char* name) = 0;
  virtual int OnOpenFormulaParasSet(char* name) = 0;
  virtual int OnOpenSingleFormulaParasSet(const char* name) = 0;
  virtual int OnOpenDefineTechDlg(SDefineReturn& ret, const char* name) = 0;
};

// The installed access, or the empty library's while none is.
CFormulaAccess& FormulaAccess();
// Installs an access (null: none) and returns the previous one.
CFormulaAccess* SetFormulaAccess(CFormulaAccess* access);

// Installs an access for its scope.
class CScopedFormulaAccess {
 public:
  explicit CScopedFormulaAccess(CFormulaAccess* access) : m_previous(SetFormulaAccess(access)) {}
  ~CScopedFormulaAccess() { SetFormulaAccess(m_previous); }
  CScopedFormulaAccess(const CScopedFormulaAccess&) = delete;
  CScopedFormulaAccess& operator=(const CScopedFormulaAccess&) = delete;

 private:
  CFormulaAccess* m_previous;
};
