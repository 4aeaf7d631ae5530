// CFormulaFace: the formula library's exported interface. It holds no state:
// every member forwards to the library's one evaluator or to the formula
// store, so any number of objects may exist and all see the same results.
#pragma once
#include "formula/face/FormulaFaceTypes.h"
#include "formula/functions/formula_types.h"

#if defined(_WIN32)
#define FORMULA_API
#else
#define FORMULA_API __attribute__((visibility("default")))
#endif

class FORMULA_API CFormulaFace {
 public:
  CFormulaFace();
  CFormulaFace(const CFormulaFace& other);
  CFormulaFace& operator=(const CFormulaFace& other);
  virtual ~CFormulaFace();

  void RegisterDataIO(PDATAIOFUNC func);
  int Calc(short kind, const char* name, const SHistoryUnit* bars, short count);
  int SelectFormular(short kind, const char* name);
  // The series of output i (0-19), or of the trading signals 265-268 of a
  // trading-system formula; NULL otherwise.
  float* operator[](int i);
  int GetOutVarSize();
  const char* GetOutVarWord(int i);
  int GetOutVarProperty(int i);
  int GetRegParSize();
  const char* GetParaName(int i);
  float GetRegParFloat(int i);
  int SetRegParFloat(int i, float v);
  float (&PeriodsPar(int i))[12];
  const char* GetLastErr();
  const char* GetFormulaGridInfo(char* name);
  void ResetIt();

  static void InitDefineTech();
  static void ExitDefineTech();
  static int SizeAtSet(short kind);
  static const char* FormuCode(int index, short kind);
  static const char* FormuName(int index, short kind);
  static const char* FormuEnumName(int index);
  static void OnOpenFormulaDesc(const char* name);
  static int OnOpenFormulaParasSet(char* name);
  static int OnOpenSingleFormulaParasSet(const char* name);
  static int OnOpenDefineTechDlg(SDefineReturn& ret, const char* name);
};
