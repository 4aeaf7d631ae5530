#include "formula/compiler/Bindings.h"

#include <cstring>

#include "formula/text/FormulaHistory.h"
#include "formula/text/GbkText.h"
#include "formula/functions/builtin_functions.h"
#include "formula/store/formula_kinds.h"
#include "formula/store/formula_store.h"
#include "platform/gbk.h"

namespace formula {

const char* TypeName(char type) {
  const char* name = ValueTypeName(type);
  return *name ? name : ValueTypeName(REG_NUMBER);
}

const SFunctionItem* FindFunction(const char* name) { return FindBuiltin(name); }
const char* FunctionName(const SFunctionItem* row) { return row->szName; }
const char* FunctionSignature(const SFunctionItem* row) { return row->szSignature; }
bool FunctionHasRoutine(const SFunctionItem* row) { return HasRoutine(*row); }

void CallFunction(const SFunctionItem* row, float* result, const SRegPar* args, int argCount,
                  int barCount) {
  // The quote series read the history; a calculation longer than the
  // history gets none rather than reading past it.
  const HistoryView history = CurrentHistory();
  const SHistoryUnit* units = history.count >= barCount ? history.units : nullptr;
  CallBuiltin(*row, args, argCount, result, barCount, units);
}

const char* KindName(short kind) { return FormulaKindName(kind); }

int FormulaCount(short kind) { return TheFormulaStore().SizeAtSet(kind); }

SFormulaRecord* FormulaAt(short kind, int index) {
  if (kind < 0 || kind > 4) return nullptr;
  return TheFormulaStore().FormulaAt(kind, index);
}

short FormulaKind(const SFormulaRecord* rec) { return rec->nKind; }
const char* FormulaCode(const SFormulaRecord* rec) { return rec->szCode; }

const char* FormulaParamText(const SFormulaRecord* rec) {
  // The field is fixed-size: never read past it, even without a zero.
  static thread_local char text[sizeof rec->szParams + 1];
  std::memcpy(text, rec->szParams, sizeof rec->szParams);
  text[sizeof rec->szParams] = '\0';
  return text;
}

const char* FormulaBodyText(const SFormulaRecord* rec) { return rec->strFormula.c_str(); }

const SFormulaRecord* FindCalledFormula(short kind, const char* name,
                                        const SFormulaRecord* current) {
  if (kind < 0 || kind > 4 || !name || !*name) return nullptr;
  // A formula never calls itself: its own name reads as a variable.
  if (current && SameCode(current->szCode, name)) return nullptr;
  return TheFormulaStore().FindForCall(kind, name);
}

bool IsIndicatorName(const char* name) {
  return name && TheFormulaStore().Find(0, name) != nullptr;
}

SFormulaRecord* FindFormulaByCode(short kind, const char* name) {
  if (kind < 0 || kind > 4 || !name) return nullptr;
  return TheFormulaStore().Find(kind, name);
}

void LoadKind(int kind) { TheFormulaStore().LoadKind(kind); }
void SaveKind(int kind) { TheFormulaStore().SaveKind(kind); }

int GroupCount(int kind) {
  if (kind < 0 || kind > 4) return 0;
  return int(TheFormulaStore().Groups(kind).size());
}

const char* GroupName(int kind, int index) {
  if (index < 0 || index >= GroupCount(kind)) return nullptr;
  return TheFormulaStore().Groups(kind)[size_t(index)].szName;
}

}  // namespace formula
