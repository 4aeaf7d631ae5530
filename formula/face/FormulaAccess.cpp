// The installed formula access and the empty library that answers while
// none is (see FormulaAccess.h).
#include "formula/face/FormulaAccess.h"

namespace {

class CNoFormulaAccess final : public CFormulaAccess {
 public:
  int SizeAtSet(short) override { return 0; }
  const char* FormuCode(int, short) override { return nullptr; }
  const char* FormuName(int, short) override { return nullptr; }
  void RegisterDataIO(PDATAIOFUNC) override {}
  int Calc(short, const char*, const SHistoryUnit*, short) override { return 0; }
  float* OutputSeries(int) override { return nullptr; }
  int GetOutVarSize() override { return 0; }
  const char* GetOutVarWord(int) override { return nullptr; }
  int GetOutVarProperty(int) override { return 0; }
  int GetRegParSize() override { return 0; }
  float GetRegParFloat(int) override { return 0.0f; }
  const char* GetFormulaGridInfo(char*) override { return nullptr; }
  void OnOpenFormulaDesc(const char*) override {}
  int OnOpenFormulaParasSet(char*) override { return 0; }
  int OnOpenSingleFormulaParasSet(const char*) override { return 0; }
  int OnOpenDefineTechDlg(SDefineReturn&, const char*) override { return 0; }
};

CFormulaAccess* g_access = nullptr;

}  // namespace

CFormulaAccess& FormulaAccess() {
  static CNoFormulaAccess none;
  return g_access ? *g_access : none;
}

CFormulaAccess* SetFormulaAccess(CFormulaAccess* access) {
  CFormulaAccess* previous = g_access;
  g_access = access;
  return previous;
}
