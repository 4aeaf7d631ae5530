// The lists a formula parse produces: output lines, intermediate variables
// and parameters.
#pragma once
#include <cstdint>

#include "formula/functions/formula_types.h"

namespace formula {

struct SOutputLine {
  const char* name = nullptr;  // interned, lower case
  int32_t property = 287;      // token number of the style word
  SRegPar value;
};

struct SVariableLine {
  const char* name = nullptr;
  SRegPar value;
};

struct SParamRecord {
  char name[10] = {};  // at most 9 characters kept
  float minimum = 0, maximum = 0, defaultValue = 0, step = 0;
  float periods[12] = {};
  char type = REG_NUMBER;
  float number = 0;
  float* series = nullptr;
  char* text = nullptr;
};

}  // namespace formula
