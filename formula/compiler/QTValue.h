// The semantic record of one parser stack entry. The parser runtime copies
// these records byte for byte, so the record stays trivially copyable: it
// refers to symbols, built-in rows and formula records, it never owns them.
#pragma once
#include <type_traits>

#include "formula/compiler/FormulaValue.h"

struct SFunctionItem;
struct SFormulaRecord;

namespace formula {

constexpr int kMaxNameParts = 5;
constexpr int kNamePartChars = 29;

struct SQTValue {
  int symbol;        // IDENT and trade words: index in the lexer's symbol list; -1 none
  SRegPar value;     // expressions and call results
  int property;      // style words: the drawing property (token number)
  float number;      // NUMBER
  const char* text;  // STRING: the interned literal, quotes included; names: the interned name
  const SFunctionItem* function;  // FUNC: the built-in row
  const SFormulaRecord* formula;  // FORMULA: the called formula
  short kind;                     // FORMULA: the called formula's kind
  int partCount;                  // FORMULA: parts of a dotted name
  char parts[kMaxNameParts][kNamePartChars + 1];
};

static_assert(std::is_trivially_copyable_v<SQTValue>);

inline void ClearValue(SQTValue& v) {
  v = SQTValue{};
  v.symbol = -1;
}

}  // namespace formula
