// CFormulaAccess over CFormulaFace: each member forwards to the face's.
#include "formula/face/FormulaFaceAccess.h"

int CFormulaFaceAccess::SizeAtSet(short kind) { return CFormulaFace::SizeAtSet(kind); }
const char* CFormulaFaceAccess::FormuCode(int index, short kind) {
  return CFormulaFace::FormuCode(index, kind);
}
const char* CFormulaFaceAccess::FormuName(int index, short kind) {
  return CFormulaFace::FormuName(index, kind);
}
void CFormulaFaceAccess::RegisterDataIO(PDATAIOFUNC func) { m_face.RegisterDataIO(func); }
int CFormulaFaceAccess::Calc(short kind, const char* name, const SHistoryUnit* bars, short count) {
  return m_face.Calc(kind, name, bars, count);
}
float* CFormulaFaceAccess::OutputSeries(int i) { return m_face[i]; }
int CFormulaFaceAccess::GetOutVarSize() { return m_face.GetOutVarSize(); }
const char* CFormulaFaceAccess::GetOutVarWord(int i) { return m_face.GetOutVarWord(i); }
int CFormulaFaceAccess::GetOutVarProperty(int i) { return m_face.GetOutVarProperty(i); }
int CFormulaFaceAccess::GetRegParSize() { return m_face.GetRegParSize(); }
float CFormulaFaceAccess::GetRegParFloat(int i) { return m_face.GetRegParFloat(i); }
const char* CFormulaFaceAccess::GetFormulaGridInfo(char* name) {
  return m_face.GetFormulaGridInfo(name);
}
void CFormulaFaceAccess::OnOpenFormulaDesc(const char* name) {
  CFormulaFace::OnOpenFormulaDesc(name);
}
int CFormulaFaceAccess::OnOpenFormulaParasSet(char* name) {
  return CFormulaFace::OnOpenFormulaParasSet(name);
}
int CFormulaFaceAccess::OnOpenSingleFormulaParasSet(const char* name) {
  return CFormulaFace::OnOpenSingleFormulaParasSet(name);
}
int CFormulaFaceAccess::OnOpenDefineTechDlg(SDefineReturn& ret, const char* name) {
  return CFormulaFace::OnOpenDefineTechDlg(ret, name);
}
