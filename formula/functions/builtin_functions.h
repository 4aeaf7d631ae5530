// The 48 built-in functions of the formula language: one static table that
// the lexer searches by name, the function picker lists by category, and
// the evaluator calls through CallBuiltin.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "formula/functions/formula_types.h"

// Branches of the function picker.
enum EFunctionCategory : int32_t {
  FUNC_QUOTE = 0,       // "行情函数"
  FUNC_DATE = 1,        // "日期函数"
  FUNC_GEOMETRY = 2,    // "几何函数"
  FUNC_STATISTIC = 3,   // "统计函数"
  FUNC_LOGIC = 4,       // "逻辑函数"
  FUNC_MATH = 5,        // "数学函数"
  FUNC_MARKET = 6,      // "大盘函数"
  FUNC_FINANCE = 7,     // "财务函数"
  FUNC_DYNAMIC = 8,     // "动态行情"
  FUNC_REFERENCE = 10,  // "引用函数"
};

// The inputs of one call as the routines read them. A series argument is
// nBars floats (numbers already spread over every bar); a window argument
// is the float it was given (routines truncate it to a 16-bit integer).
struct SFunctionArgs {
  int nBars = 0;
  const SHistoryUnit* pUnits = nullptr;  // nBars units, for the quote series
  const float* pSeries[3] = {};
  float fNumber[3] = {};
};

using SeriesRoutine = void (*)(float* result, const SFunctionArgs& args);
using MathRoutine1 = double (*)(double);
using MathRoutine2 = double (*)(double, double);

// Exactly one member is set: pSeries for series routines, pMath1/pMath2 for
// the mathematical functions (applied bar by bar).
struct SFunctionRoutine {
  SeriesRoutine pSeries = nullptr;
  MathRoutine1 pMath1 = nullptr;
  MathRoutine2 pMath2 = nullptr;
};

// One row of the table. szSignature: the result type, then one type
// character per argument ('0' number, '1' text, '2' series).
struct SFunctionItem {
  int32_t nCategory;
  char szName[100];
  char szLabel[255];  // Chinese short name (GBK)
  char szSignature[10];
  SFunctionRoutine routine;
  char szDescription[500];  // help text (GBK): summary, "\r\n用法:\r\n", usage
};

namespace formula {

inline constexpr int kBuiltinCount = 48;

// The whole table, in picker order (48 rows).
std::span<const SFunctionItem> BuiltinTable();

// The row whose name equals name without regard to ASCII case, or null.
const SFunctionItem* FindBuiltin(const char* name);

// Number of arguments the row takes (signature length minus one).
int BuiltinArgCount(const SFunctionItem& item);

// True when the row has a routine to call.
bool HasRoutine(const SFunctionItem& item);

// Computes one call over nBars bars into result (at least nBars floats).
// args are argCount value records of the types the compiler accepted for
// the row (a number may stand where a series is declared and the other way
// round). pUnits is the history of the calculation (nBars units; only the
// quote series read it). Every bar without a value ends as INVALID_VALUE,
// NaN results included. Returns false, leaving result wholly invalid, when
// the row has no routine or the argument count or types do not fit.
bool CallBuiltin(const SFunctionItem& item, const SRegPar* args, int argCount, float* result,
                 int nBars, const SHistoryUnit* pUnits);

// A window or count argument as the routines take it: truncated toward
// zero and kept as a 16-bit signed integer; NaN counts as 0. Inline: every
// window routine reads one on every call.
inline int16_t WindowArg(float value) {
  if (std::isnan(value)) return 0;
  // Clamped to the 32-bit range (whose ends are whole numbers), then
  // truncated by the conversion itself: no library calls on every call.
  const double t = std::clamp(static_cast<double>(value), -2147483648.0, 2147483647.0);
  return static_cast<int16_t>(
      static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(t))));
}

}  // namespace formula
