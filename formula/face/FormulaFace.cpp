#include "formula/face/FormulaFace.h"

#include "formula/compiler/Bindings.h"
#include "formula/text/GbkText.h"
#include "formula/face/CalcFace.h"
#include "platform/types.h"

using namespace formula;

CFormulaFace::CFormulaFace() = default;
CFormulaFace::CFormulaFace(const CFormulaFace&) {}
CFormulaFace& CFormulaFace::operator=(const CFormulaFace&) { return *this; }
CFormulaFace::~CFormulaFace() = default;

void CFormulaFace::RegisterDataIO(PDATAIOFUNC func) { TheCalcFace().RegisterDataIO(func); }

int CFormulaFace::Calc(short kind, const char* name, const SHistoryUnit* bars, short count) {
  return TheCalcFace().Calc(kind, name, bars, count);
}

int CFormulaFace::SelectFormular(short kind, const char* name) {
  return TheCalcFace().SelectFormular(kind, name);
}

float* CFormulaFace::operator[](int i) { return TheCalcFace().OutputSeries(i); }
int CFormulaFace::GetOutVarSize() { return TheCalcFace().OutputCount(); }
const char* CFormulaFace::GetOutVarWord(int i) { return TheCalcFace().OutputName(i); }
int CFormulaFace::GetOutVarProperty(int i) { return TheCalcFace().OutputProperty(i); }
int CFormulaFace::GetRegParSize() { return TheCalcFace().ParamCount(); }
const char* CFormulaFace::GetParaName(int i) { return TheCalcFace().ParamName(i); }
float CFormulaFace::GetRegParFloat(int i) { return TheCalcFace().ParamDefault(i); }
int CFormulaFace::SetRegParFloat(int i, float v) { return TheCalcFace().SetRegParFloat(i, v); }
float (&CFormulaFace::PeriodsPar(int i))[12] { return TheCalcFace().PeriodsPar(i); }
const char* CFormulaFace::GetLastErr() { return TheCalcFace().GetLastErr(); }
const char* CFormulaFace::GetFormulaGridInfo(char* name) {
  return TheCalcFace().GetFormulaGridInfo(name);
}
void CFormulaFace::ResetIt() { TheCalcFace().ResetIt(); }

void CFormulaFace::InitDefineTech() {
  // Loading replaces the records the evaluator may still point at.
  TheCalcFace().ForgetSelection();
  for (int kind = 0; kind < 5; ++kind) LoadKind(kind);
}

void CFormulaFace::ExitDefineTech() {
  for (int kind = 0; kind < 5; ++kind) SaveKind(kind);
}

int CFormulaFace::SizeAtSet(short kind) {
  if (kind < 0 || kind > 4) return 0;
  return FormulaCount(kind);
}

const char* CFormulaFace::FormuCode(int index, short kind) {
  const SFormulaRecord* rec = (kind >= 0 && kind <= 4) ? FormulaAt(kind, index) : nullptr;
  return rec ? rec->szCode : nullptr;
}

const char* CFormulaFace::FormuName(int index, short kind) {
  const SFormulaRecord* rec = (kind >= 0 && kind <= 4) ? FormulaAt(kind, index) : nullptr;
  return rec ? rec->szName : nullptr;
}

const char* CFormulaFace::FormuEnumName(int index) {
  const SFormulaRecord* rec = FormulaAt(0, index);
  if (!rec) return nullptr;
  for (int kind = 0; kind < 5; ++kind) {
    const int groups = GroupCount(kind);
    for (int g = 0; g < groups; ++g) {
      const char* name = GroupName(kind, g);
      if (name && CCalcFace::GroupHash(name) == rec->nGroupHash) return name;
    }
  }
  return nullptr;
}

// The dialog entry points (OnOpen...) live with the dialogs, in the Formula
// library's own sources.
