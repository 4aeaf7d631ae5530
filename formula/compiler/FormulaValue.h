// Helpers for the value records the compiler passes around while it
// evaluates: a number, a text or a whole series (one float per bar).
#pragma once
#include "formula/functions/formula_types.h"

namespace formula {

// Type names used in messages: "浮点数", "字符串", "浮点数组".
const char* TypeName(char type);

// '0' and '2' are interchangeable; '1' matches only '1'.
inline bool TypesCompatible(char a, char b) {
  if (a == b) return true;
  return (a == REG_NUMBER || a == REG_SERIES) && (b == REG_NUMBER || b == REG_SERIES);
}

inline SRegPar NumberValue(float v) {
  SRegPar r;
  r.cType = REG_NUMBER;
  r.fValue = v;
  return r;
}

}  // namespace formula
