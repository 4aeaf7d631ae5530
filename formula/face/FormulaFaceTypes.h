// The types CFormulaFace's callers share with it: the data callback and
// what the editor hands back. Apart from the face so the window-free
// libraries that reach the formula library through CFormulaAccess
// (FormulaAccess.h) take the types without the exported class.
#pragma once
#include <cstdint>

struct SCodeInfo;  // the item key ("link/code_info.h"); passed through only

// The kind of data a data callback is asked for. The library stores the
// callback and requires it before calculating, but never calls it.
enum DATA_TYPE : int {
  DATA_TYPE_HISTORY = 0,
  DATA_TYPE_MINUTE = 1,
  DATA_TYPE_TICK = 2,
};

typedef long (*PDATAIOFUNC)(SCodeInfo code, DATA_TYPE type, void* buffer, short count);

// What the formula editor hands back when it closes.
struct SDefineReturn {
  int32_t nArea;       // 0 main chart, 1 sub chart
  int32_t nFixedAxis;  // leading integer of the fixed Y-axis lines text
};
static_assert(sizeof(SDefineReturn) == 8);
