// Running window sums: the exact fast path (128 or 256 bits wide) and the
// plain order.
#include "formula/functions/window_sums.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <climits>
#include <cstdint>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ZEB_WIDE_SUMS 1
#define ZEB_WIDE __attribute__((target("avx2")))
#endif

namespace formula::routines {

namespace {

constexpr int kBlock = 512;  // bars checked at once

// The lowest and highest of some values, and the sum of each value minus
// itself: v - v is NaN for an infinity or a NaN, and a NaN stays in a sum.
// (Which of two equal zeros, or what beside a NaN, is lowest does not
// matter: a NaN fails the values, and zeros take the magnitude scan.)
struct Extremes {
  float lowest, highest, oddSum;
};

// Takes the values x[i .. to-1] one by one into e: the tail a vector step
// leaves.
Extremes WithTail(Extremes e, const float* x, int i, int to) {
  for (; i < to; ++i) {
    e.lowest = std::min(e.lowest, x[i]);
    e.highest = std::max(e.highest, x[i]);
    e.oddSum += x[i] - x[i];
  }
  return e;
}

// Two independent accumulators of each kind keep the loop from waiting on
// one chain.
Extremes ExtremesOf(const float* x, int from, int to) {
  Float4 low0 = Float4{x[from], x[from], x[from], x[from]}, high0 = low0, odd0 = {};
  Float4 low1 = low0, high1 = low0, odd1 = {};
  int i = from;
  for (; i + 8 <= to; i += 8) {
    const Float4 v0 = Load4(x + i), v1 = Load4(x + i + 4);
    low0 = v0 < low0 ? v0 : low0;
    low1 = v1 < low1 ? v1 : low1;
    high0 = v0 > high0 ? v0 : high0;
    high1 = v1 > high1 ? v1 : high1;
    odd0 += v0 - v0;
    odd1 += v1 - v1;
  }
  const Float4 low = low0 < low1 ? low0 : low1, high = high0 > high1 ? high0 : high1,
               odd = odd0 + odd1;
  Extremes e{std::min(std::min(low[0], low[1]), std::min(low[2], low[3])),
             std::max(std::max(high[0], high[1]), std::max(high[2], high[3])),
             (odd[0] + odd[1]) + (odd[2] + odd[3])};
  return WithTail(e, x, i, to);
}

#if ZEB_WIDE_SUMS
// The same, eight values a step.
ZEB_WIDE Extremes ExtremesWide(const float* x, int from, int to) {
  __m256 low = _mm256_set1_ps(x[from]), high = low, odd = _mm256_setzero_ps();
  int i = from;
  for (; i + 8 <= to; i += 8) {
    const __m256 v = _mm256_loadu_ps(x + i);
    low = _mm256_min_ps(v, low);
    high = _mm256_max_ps(v, high);
    odd = _mm256_add_ps(odd, _mm256_sub_ps(v, v));
  }
  const __m128 low4 = _mm_min_ps(_mm256_castps256_ps128(low), _mm256_extractf128_ps(low, 1));
  const __m128 high4 = _mm_max_ps(_mm256_castps256_ps128(high), _mm256_extractf128_ps(high, 1));
  const __m128 odd4 = _mm_add_ps(_mm256_castps256_ps128(odd), _mm256_extractf128_ps(odd, 1));
  float l[4], h[4], o[4];
  _mm_storeu_ps(l, low4);
  _mm_storeu_ps(h, high4);
  _mm_storeu_ps(o, odd4);
  Extremes e{std::min(std::min(l[0], l[1]), std::min(l[2], l[3])),
             std::max(std::max(h[0], h[1]), std::max(h[2], h[3])), (o[0] + o[1]) + (o[2] + o[3])};
  return WithTail(e, x, i, to);
}
#endif

// Whether the sums of the values met so far are exact in double.
//
// Every float is a whole multiple of the unit in the last place of the
// smallest nonzero value met, 2^(low-150) for the exponent field low (1 for
// subnormals). Each value the running chain computes (a sum of at most N+1
// values, of up to four differences of two values, or of those with a
// window sum) is a multiple of 2^(low-150) below 2 * max(N+1, 8) *
// 2^(high-126) for the largest exponent field high. Double holds every
// multiple of 2^(low-150) up to 2^(low-97) exactly, which covers them when
// high - low <= 28 - ceil(log2(max(N+1, 8))).
class ExactRange {
 public:
  explicit ExactRange(int N) {
    int bits = 3;
    while (bits < 32 && (int64_t{1} << bits) < int64_t{N} + 1) ++bits;
    spreadLimit_ = 28 - bits;
  }

  // Takes in the values x[from .. to-1]; false once the sums may be inexact.
  bool Add(const float* x, int from, int to, bool wide) {
    if (from >= to) return true;
#if ZEB_WIDE_SUMS
    const Extremes e = wide ? ExtremesWide(x, from, to) : ExtremesOf(x, from, to);
#else
    (void)wide;
    const Extremes e = ExtremesOf(x, from, to);
#endif
    if (e.oddSum != 0.0f) return false;  // an infinity or a NaN
    if (e.lowest > 0.0f) {
      // Positive values (prices, volumes): the extremes of the values
      // themselves are those of the magnitudes.
      largest_ = std::max(largest_, std::bit_cast<int32_t>(e.highest));
      smallest_ = std::min(smallest_, std::bit_cast<int32_t>(e.lowest));
    } else {
      // zeros or negative values: the magnitudes one by one, as bit
      // patterns (which order like the magnitudes)
      int32_t belowSmallest = INT32_MAX;  // smallest nonzero magnitude - 1
      for (int i = from; i < to; ++i) {
        const int32_t magnitude = std::bit_cast<int32_t>(x[i]) & 0x7FFFFFFF;
        largest_ = std::max(largest_, magnitude);
        belowSmallest = std::min(belowSmallest, (magnitude - 1) & INT32_MAX);  // 0 ranks above all
      }
      if (belowSmallest != INT32_MAX) smallest_ = std::min(smallest_, belowSmallest + 1);
    }
    if (smallest_ == INT32_MAX) return true;  // only zeros so far
    return (largest_ >> 23) - std::max(smallest_ >> 23, 1) <=
           spreadLimit_;  // subnormals share the unit of exponent 1
  }

 private:
  int spreadLimit_;
  int32_t largest_ = 0, smallest_ = INT32_MAX;  // magnitudes met, as bits
};

// Bars from .. to-1, from the exact sum before bar from; returns the sum at
// bar to-1. Four bars per step: their differences X[i] - X[i-N] (or, while
// the window fills, X[i] alone) are summed within the step, and the running
// sum advances once per step.
template <bool kDivide, bool kWindowFull = true>
double ExactBlock(float* r, const float* x, int from, int to, int N, double sum, double divisor) {
  Double2 running = Both(sum);
  int i = from;
  for (; i + 4 <= to; i += 4) {
    const Float4 entering = Load4(x + i);
    const Float4 leaving = kWindowFull ? Load4(x + i - N) : Float4{};
    const Double2 d01 = LowToDouble(entering) - LowToDouble(leaving);
    const Double2 d23 = HighToDouble(entering) - HighToDouble(leaving);
    const Double2 to01 = d01 + Double2{0.0, d01[0]};  // d0, d0+d1
    const Double2 to23 = d23 + Double2{0.0, d23[0]};  // d2, d2+d3
    Double2 first = running + to01;
    Double2 second = running + (to23 + BothHigh(to01));
    running = BothHigh(second);
    if constexpr (kDivide) {
      first /= divisor;
      second /= divisor;
    }
    Store4(r + i, ToFloat4(first, second));  // finite: no NaN to clean
  }
  sum = running[0];
  for (; i < to; ++i) {
    if constexpr (kWindowFull) sum += static_cast<double>(x[i]) - static_cast<double>(x[i - N]);
    else sum += x[i];
    r[i] = static_cast<float>(kDivide ? sum / divisor : sum);
  }
  return sum;
}

#if ZEB_WIDE_SUMS
// ExactBlock with four bars in one 256-bit register: the differences are
// summed within the step by two shifts, and the running sum advances by
// the step's total off the chain of the bars' sums.
template <bool kDivide, bool kWindowFull = true>
ZEB_WIDE double ExactBlockWide(float* r, const float* x, int from, int to, int N, double sum,
                               double divisor) {
  const __m256d zero = _mm256_setzero_pd(), by = _mm256_set1_pd(divisor);
  __m256d running = _mm256_set1_pd(sum);
  int i = from;
  for (; i + 4 <= to; i += 4) {
    __m256d d = _mm256_cvtps_pd(_mm_loadu_ps(x + i));
    if constexpr (kWindowFull) d = _mm256_sub_pd(d, _mm256_cvtps_pd(_mm_loadu_ps(x + i - N)));
    const __m256d pairs = _mm256_add_pd(d, _mm256_unpacklo_pd(zero, d));  // d0, d0+d1, d2, d2+d3
    const __m256d below =
        _mm256_blend_pd(zero, _mm256_permute4x64_pd(pairs, 0x55), 0xC);  // 0, 0, d0+d1, d0+d1
    const __m256d upTo = _mm256_add_pd(pairs, below);  // d0, d0+d1, d0+d1+d2, d0+..+d3
    __m256d sums = _mm256_add_pd(running, upTo);
    running = _mm256_add_pd(running, _mm256_permute4x64_pd(upTo, 0xFF));
    if constexpr (kDivide) sums = _mm256_div_pd(sums, by);
    _mm_storeu_ps(r + i, _mm256_cvtpd_ps(sums));  // finite: no NaN to clean
  }
  // Fewer than four bars are left: the narrow kernel's tail takes them.
  return ExactBlock<kDivide, kWindowFull>(r, x, i, to, N, _mm256_cvtsd_f64(running), divisor);
}
#endif

// Whether the 256-bit kernels run: on processors that have them, unless a
// test asks for the 128-bit ones.
std::atomic<bool> g_narrowOnly{false};
bool Wide() {
#if ZEB_WIDE_SUMS
  static const bool has = [] {
    __builtin_cpu_init();  // in case the first sum runs while statics are made
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has && !g_narrowOnly.load(std::memory_order_relaxed);
#else
  return false;
#endif
}

template <bool kDivide, bool kWindowFull = true>
double Block(bool wide, float* r, const float* x, int from, int to, int N, double sum,
             double divisor) {
#if ZEB_WIDE_SUMS
  if (wide) return ExactBlockWide<kDivide, kWindowFull>(r, x, from, to, N, sum, divisor);
#else
  (void)wide;
#endif
  return ExactBlock<kDivide, kWindowFull>(r, x, from, to, N, sum, divisor);
}

// The exact sum of x[from .. to-1] added to sum: in double these sums are
// exact, so four chains side by side give the bits of the serial order.
double ExactTotal(const float* x, int from, int to, double sum) {
  Double2 a = Both(0.0), b = Both(0.0), c = Both(0.0), d = Both(0.0);
  int i = from;
  for (; i + 8 <= to; i += 8) {
    const Float4 v0 = Load4(x + i), v1 = Load4(x + i + 4);
    a += LowToDouble(v0);
    b += HighToDouble(v0);
    c += LowToDouble(v1);
    d += HighToDouble(v1);
  }
  const Double2 all = (a + b) + (c + d);
  sum += all[0] + all[1];
  for (; i < to; ++i) sum += x[i];
  return sum;
}

template <bool kDivide>
void Run(float* r, const float* x, int f, int n, int N, int firstWritten, double divisor) {
  auto put = [&](int i, double sum) {
    if (i >= firstWritten) r[i] = StoredValue(static_cast<float>(kDivide ? sum / divisor : sum));
  };
  double sum = 0.0;
  int i = f;
  const int filled = std::min(n, f + N);
  const bool wide = Wide();
  ExactRange range(N);
  bool exact = range.Add(x, f, filled, wide);
  if (exact) {
    // The first window without a chain through every bar: the bars before
    // firstWritten only add to the sum, the rest are written four at once.
    const int quiet = std::clamp(firstWritten, i, filled);
    sum = ExactTotal(x, i, quiet, sum);
    sum = Block<kDivide, false>(wide, r, x, quiet, filled, N, sum, divisor);
    i = filled;
  }
  for (; i < filled; ++i) {
    sum += x[i];
    put(i, sum);
  }
  while (exact && i < n) {
    const int end = std::min(n, i + kBlock);
    const double next = Block<kDivide>(wide, r, x, i, end, N, sum, divisor);
    exact =
        range.Add(x, i, end, wide);  // checked after the block: it is redone below when not exact
    if (exact) {
      sum = next;
      i = end;
    }
  }
  for (; i < n; ++i) {
    sum += x[i];
    sum -= x[i - N];
    put(i, sum);
  }
}

}  // namespace

void UseNarrowWindowSums(bool narrow) { g_narrowOnly.store(narrow); }

void WriteWindowSums(float* r, const float* x, int f, int n, int N, int firstWritten, int divisor) {
  if (divisor == 1) Run<false>(r, x, f, n, N, firstWritten, 1.0);
  else Run<true>(r, x, f, n, N, firstWritten, divisor);
}

}  // namespace formula::routines
