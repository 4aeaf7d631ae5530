// CFormulaFaceAccess: CFormulaAccess over the Formula library's exported
// CFormulaFace. Made by whoever links the library (the shell, tests) and
// installed for the window-free libraries (see FormulaAccess.h).
#pragma once
#include "formula/face/FormulaAccess.h"
#include "formula/face/FormulaFace.h"

class CFormulaFaceAccess final : public CFormulaAccess {
 public:
  int SizeAtSet(short kind) override;
  const char* FormuCode(int index, short kind) override;
  const char* FormuName(int index, short kind) override;
  void RegisterDataIO(PDATAIOFUNC func) override;
  int Calc(short kind, const char* name, const SHistoryUnit* bars, short count) override;
  float* OutputSeries(int i) override;
  int GetOutVarSize() override;
  const char* GetOutVarWord(int i) override;
  int GetOutVarProperty(int i) override;
  int GetRegParSize() override;
  float GetRegParFloat(int i) override;
  const char* GetFormulaGridInfo(char* name) override;
  void OnOpenFormulaDesc(const char* name) override;
  int OnOpenFormulaParasSet(char* name) override;
  int OnOpenSingleFormulaParasSet(const char* name) override;
  int OnOpenDefineTechDlg(SDefineReturn& ret, const char* name) override;

 private:
  CFormulaFace m_face;
};
