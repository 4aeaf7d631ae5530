// The element operations of formula expressions: the binary operators, unary
// minus and the truth test, all with the language's 0.001 tolerance.
#pragma once
#include "formula/functions/formula_types.h"

namespace formula {

// Operator codes are the token numbers of the grammar.
enum OpCode : int {
  OP_LT = '<',
  OP_GT = '>',
  OP_ADD = '+',
  OP_SUB = '-',
  OP_MUL = '*',
  OP_DIV = '/',
  OP_MOD = '%',
  OP_LE = 292,
  OP_GE = 293,
  OP_EQ = 294,
  OP_NE = 295,
  OP_AND = 298,
  OP_OR = 299,
};

constexpr double kTruthTolerance = 0.001;

inline float InvalidFloat() { return INVALID_VALUE; }
inline bool IsInvalidFloat(float v) { return IsInvalidValue(v); }

// True when |v| > 0.001; the invalid value (a NaN) is false.
inline bool IsTrue(float v) { return v > kTruthTolerance || v < -kTruthTolerance; }

// a op b for one element. The invalid value in either operand of an
// arithmetic operator gives the invalid value; a NaN that arithmetic makes
// (0/0) becomes the invalid value too, so charts never draw it. "%" with a
// divisor whose integer part is 0, or an operand that is not finite, gives
// the invalid value.
float ApplyBinary(int op, float a, float b);

// Unary minus; the invalid value stays invalid.
float Negate(float v);

// Whole-series forms of the above over n elements (the hot loops of
// evaluation). a or b may be null, in which case the scalar is used.
void ApplyBinarySeries(int op, const float* a, float as, const float* b, float bs, float* out,
                       int n);
void NegateSeries(const float* in, float* out, int n);

}  // namespace formula
