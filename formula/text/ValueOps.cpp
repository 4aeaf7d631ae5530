#include "formula/text/ValueOps.h"

#include <cmath>

#include "formula/functions/float_vectors.h"

namespace formula {
namespace {

float Modulo(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b)) return InvalidFloat();
  double ia = std::trunc(double(a));
  double ib = std::trunc(double(b));
  if (ib == 0.0) return InvalidFloat();
  // fmod of the integer parts is the integer remainder with the sign of a,
  // and stays exact beyond the 32-bit range.
  return float(std::fmod(ia, ib));
}

inline float Arith(float r) { return std::isnan(r) ? InvalidFloat() : r; }

// An operand without a value (a NaN) makes the arithmetic NaN, so testing
// the result alone gives the same values as testing the operands first.
template <int Op, class T>
inline T Arithmetic(T a, T b) {
  if constexpr (Op == OP_ADD) return a + b;
  if constexpr (Op == OP_SUB) return a - b;
  if constexpr (Op == OP_MUL) return a * b;
  return a / b;
}
constexpr bool IsArithmetic(int op) {
  return op == OP_ADD || op == OP_SUB || op == OP_MUL || op == OP_DIV;
}

template <int Op>
inline float Apply(float a, float b) {
  const double d = double(a) - double(b);
  if constexpr (IsArithmetic(Op)) {
    return Arith(Arithmetic<Op>(a, b));
  } else if constexpr (Op == OP_MOD) {
    return Modulo(a, b);
  } else if constexpr (Op == OP_LT) {
    return d < kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_LE) {
    return d <= kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_GT) {
    return d > kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_GE) {
    return d >= kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_EQ) {
    return std::fabs(d) < kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_NE) {
    return std::fabs(d) > kTruthTolerance ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_AND) {
    return (IsTrue(a) && IsTrue(b)) ? 1.0f : 0.0f;
  } else if constexpr (Op == OP_OR) {
    return (IsTrue(a) || IsTrue(b)) ? 1.0f : 0.0f;
  }
  return InvalidFloat();
}

// The arithmetic operators four bars at a time (the same float operations
// lane by lane), a NaN lane replaced by the invalid value.
template <int Op, bool kSeriesA, bool kSeriesB>
int ArithmeticBlocks(const float* a, float as, const float* b, float bs, float* out, int n) {
  using routines::Float4;
  const Float4 invalid = Float4{} + InvalidFloat();
  const Float4 a4 = {as, as, as, as}, b4 = {bs, bs, bs, bs};  // -0 stays -0
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const Float4 r = Arithmetic<Op>(kSeriesA ? routines::Load4(a + i) : a4,
                                    kSeriesB ? routines::Load4(b + i) : b4);
    routines::Store4(out + i, r != r ? invalid : r);
  }
  return i;
}

template <int Op>
int ArithmeticBlocks(const float* a, float as, const float* b, float bs, float* out, int n) {
  if (a && b) return ArithmeticBlocks<Op, true, true>(a, as, b, bs, out, n);
  if (a) return ArithmeticBlocks<Op, true, false>(a, as, b, bs, out, n);
  return ArithmeticBlocks<Op, false, true>(a, as, b, bs, out, n);
}

template <int Op>
void Loop(const float* a, float as, const float* b, float bs, float* out, int n) {
  if constexpr (IsArithmetic(Op)) {
    if (a || b) {
      const int done = ArithmeticBlocks<Op>(a, as, b, bs, out, n);
      a = a ? a + done : nullptr;
      b = b ? b + done : nullptr;
      out += done;
      n -= done;
    }
  }
  if (a && b) {
    for (int i = 0; i < n; ++i) out[i] = Apply<Op>(a[i], b[i]);
  } else if (a) {
    for (int i = 0; i < n; ++i) out[i] = Apply<Op>(a[i], bs);
  } else if (b) {
    for (int i = 0; i < n; ++i) out[i] = Apply<Op>(as, b[i]);
  } else {
    const float v = Apply<Op>(as, bs);
    for (int i = 0; i < n; ++i) out[i] = v;
  }
}

}  // namespace

float ApplyBinary(int op, float a, float b) {
  switch (op) {
    case OP_ADD: return Apply<OP_ADD>(a, b);
    case OP_SUB: return Apply<OP_SUB>(a, b);
    case OP_MUL: return Apply<OP_MUL>(a, b);
    case OP_DIV: return Apply<OP_DIV>(a, b);
    case OP_MOD: return Apply<OP_MOD>(a, b);
    case OP_LT: return Apply<OP_LT>(a, b);
    case OP_LE: return Apply<OP_LE>(a, b);
    case OP_GT: return Apply<OP_GT>(a, b);
    case OP_GE: return Apply<OP_GE>(a, b);
    case OP_EQ: return Apply<OP_EQ>(a, b);
    case OP_NE: return Apply<OP_NE>(a, b);
    case OP_AND: return Apply<OP_AND>(a, b);
    case OP_OR: return Apply<OP_OR>(a, b);
    default: return InvalidFloat();
  }
}

void ApplyBinarySeries(int op, const float* a, float as, const float* b, float bs, float* out,
                       int n) {
  switch (op) {
    case OP_ADD: return Loop<OP_ADD>(a, as, b, bs, out, n);
    case OP_SUB: return Loop<OP_SUB>(a, as, b, bs, out, n);
    case OP_MUL: return Loop<OP_MUL>(a, as, b, bs, out, n);
    case OP_DIV: return Loop<OP_DIV>(a, as, b, bs, out, n);
    case OP_MOD: return Loop<OP_MOD>(a, as, b, bs, out, n);
    case OP_LT: return Loop<OP_LT>(a, as, b, bs, out, n);
    case OP_LE: return Loop<OP_LE>(a, as, b, bs, out, n);
    case OP_GT: return Loop<OP_GT>(a, as, b, bs, out, n);
    case OP_GE: return Loop<OP_GE>(a, as, b, bs, out, n);
    case OP_EQ: return Loop<OP_EQ>(a, as, b, bs, out, n);
    case OP_NE: return Loop<OP_NE>(a, as, b, bs, out, n);
    case OP_AND: return Loop<OP_AND>(a, as, b, bs, out, n);
    case OP_OR: return Loop<OP_OR>(a, as, b, bs, out, n);
    default:
      for (int i = 0; i < n; ++i) out[i] = InvalidFloat();
  }
}

float Negate(float v) { return IsInvalidFloat(v) ? v : -v; }

void NegateSeries(const float* in, float* out, int n) {
  for (int i = 0; i < n; ++i) out[i] = Negate(in[i]);
}

}  // namespace formula
