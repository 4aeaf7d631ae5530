// What the compiler needs of the built-in table and of the formula store,
// in one place, so the compiler reads neither table's layout directly.
#pragma once
#include "formula/compiler/FormulaValue.h"

struct SFunctionItem;
struct SFormulaRecord;

namespace formula {

// Built-in functions.
const SFunctionItem* FindFunction(const char* name);  // case-insensitive; nullptr when none
const char* FunctionName(const SFunctionItem* row);
const char* FunctionSignature(const SFunctionItem* row);  // result type, then one char per argument
bool FunctionHasRoutine(const SFunctionItem* row);
// Runs a built-in over barCount bars into result (barCount floats at least,
// already filled with the invalid value), reading the current history.
// args are of the types the compiler accepted for the row.
void CallFunction(const SFunctionItem* row, float* result, const SRegPar* args, int argCount,
                  int barCount);

// Formula store.
const char* KindName(short kind);  // "指标公式" ... "自定义函数公式"
int FormulaCount(short kind);
SFormulaRecord* FormulaAt(short kind, int index);  // nullptr outside the list
short FormulaKind(const SFormulaRecord* rec);
const char* FormulaCode(const SFormulaRecord* rec);
const char* FormulaParamText(const SFormulaRecord* rec);
const char* FormulaBodyText(const SFormulaRecord* rec);
// The formula of that kind a name calls: the first whose code equals name
// (case-insensitive); none when the list reaches an empty code first, or
// when the name is the current formula's own (a formula never calls itself).
const SFormulaRecord* FindCalledFormula(short kind, const char* name,
                                        const SFormulaRecord* current);
// Any indicator formula whose code equals name (case-insensitive).
bool IsIndicatorName(const char* name);
// Loading and saving one kind's files; group lists.
void LoadKind(int kind);
void SaveKind(int kind);
int GroupCount(int kind);
const char* GroupName(int kind, int index);
// The first formula of a kind whose code equals name (case-insensitive).
SFormulaRecord* FindFormulaByCode(short kind, const char* name);

}  // namespace formula
