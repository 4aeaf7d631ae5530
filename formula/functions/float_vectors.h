// Short vectors of floats and doubles for the kernels of the built-ins,
// written with the compiler's vector extensions (GCC and Clang): each
// operation works lane by lane with the same IEEE rounding as the scalar
// operation, so a kernel that uses them gives the scalar results bit for
// bit, and the compiler maps them to the target's SIMD registers (two
// halves of an SSE2 register on x86-64).
#pragma once
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace formula::routines {

using Float4 = float __attribute__((vector_size(16)));
using Float2 = float __attribute__((vector_size(8)));
using Double2 = double __attribute__((vector_size(16)));

inline Float4 Load4(const float* p) {
  Float4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Store4(float* p, Float4 v) { std::memcpy(p, &v, sizeof v); }
inline Double2 Load2(const double* p) {
  Double2 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void Store2(double* p, Double2 v) { std::memcpy(p, &v, sizeof v); }

// The low and the high two lanes of v, widened to double. (GCC 12 widens
// a vector lane by lane; SSE2 has the instruction that does both lanes.)
inline Double2 LowToDouble(Float4 v) {
#if defined(__SSE2__)
  return reinterpret_cast<Double2>(_mm_cvtps_pd(reinterpret_cast<__m128>(v)));
#else
  return __builtin_convertvector(__builtin_shufflevector(v, v, 0, 1), Double2);
#endif
}
inline Double2 HighToDouble(Float4 v) {
  return LowToDouble(__builtin_shufflevector(v, v, 2, 3, 2, 3));
}
// Lanes rounded to float: a's two lanes, then b's.
inline Float4 ToFloat4(Double2 a, Double2 b) {
#if defined(__SSE2__)
  return reinterpret_cast<Float4>(_mm_movelh_ps(_mm_cvtpd_ps(reinterpret_cast<__m128d>(a)),
                                                _mm_cvtpd_ps(reinterpret_cast<__m128d>(b))));
#else
  const Float2 lo = __builtin_convertvector(a, Float2), hi = __builtin_convertvector(b, Float2);
  return __builtin_shufflevector(lo, hi, 0, 1, 2, 3);
#endif
}
// The square root of each lane.
inline Double2 SquareRoot(Double2 v) {
#if defined(__SSE2__)
  return reinterpret_cast<Double2>(_mm_sqrt_pd(reinterpret_cast<__m128d>(v)));
#else
  return Double2{__builtin_sqrt(v[0]), __builtin_sqrt(v[1])};
#endif
}
// Both lanes set to v.
inline Double2 Both(double v) { return Double2{v, v}; }
// Both lanes set to lane 1 of v.
inline Double2 BothHigh(Double2 v) { return __builtin_shufflevector(v, v, 1, 1); }

}  // namespace formula::routines
