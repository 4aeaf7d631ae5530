#include "formula/editor/TechNote.h"

#include "formula/editor/KindDescFile.h"
#include "formula/store/formula_store.h"

namespace formula {

std::string LookupTechNote(const std::string& formulaDir, int kind, const char* formulaName) {
  return ReadKindValue(formulaDir + kTechDescFile, kind, formulaName);
}

bool FindFormulaNote(const char* name, STechNote& out) {
  if (!name) return false;
  CFormulaStore& store = TheFormulaStore();
  for (int kind = 0; kind < FORMULA_KIND_COUNT; ++kind) {
    const SFormulaRecord* record = store.Find(kind, name);
    if (!record) continue;
    if (record->strNote.empty()) return false;
    out.title = name;
    out.note = LookupTechNote(store.Directory(), kind, name);
    return true;
  }
  return false;
}

}  // namespace formula
