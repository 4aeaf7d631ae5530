// The indicator formulas the keyboard index offers: the one place where
// the index reaches into the formula library.
#include "formula/face/FormulaAccess.h"
#include "zeb/core/input/input_key.h"

std::vector<SFormulaKey> FormulaLibraryIndicators() {
  std::vector<SFormulaKey> formulas;
  const short kIndicatorKind = 0;
  CFormulaAccess& library = FormulaAccess();
  const int count = library.SizeAtSet(kIndicatorKind);
  for (int i = 0; i < count; ++i) {
    const char* code = library.FormuCode(i, kIndicatorKind);
    const char* name = library.FormuName(i, kIndicatorKind);
    if (code) formulas.push_back({code, name ? name : ""});
  }
  return formulas;
}
