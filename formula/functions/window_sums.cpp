// Running window sums: the exact fast path and the plain order.
#include "formula/functions/window_sums.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"

namespace formula::routines {

namespace {

constexpr int kBlock = 512;  // bars checked at once

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
  bool Add(const float* x, int from, int to) {
    // Positive values (prices, volumes) take the quick scan: the extremes
    // of the values themselves are those of the magnitudes. v - v is NaN
    // for an infinity or a NaN, and a NaN stays in a sum.
    // Two independent accumulators of each kind keep the loop from waiting
    // on one chain.
    if (from >= to) return true;
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
    const Float4 low = low0 < low1 ? low0 : low1, high = high0 > high1 ? high0 : high1, odd = odd0 + odd1;
    float lowest = std::min(std::min(low[0], low[1]), std::min(low[2], low[3]));
    float highest = std::max(std::max(high[0], high[1]), std::max(high[2], high[3]));
    float oddSum = (odd[0] + odd[1]) + (odd[2] + odd[3]);
    for (; i < to; ++i) {
      lowest = std::min(lowest, x[i]);
      highest = std::max(highest, x[i]);
      oddSum += x[i] - x[i];
    }
    if (oddSum != 0.0f) return false;  // an infinity or a NaN
    if (lowest > 0.0f) {
      largest_ = std::max(largest_, std::bit_cast<int32_t>(highest));
      smallest_ = std::min(smallest_, std::bit_cast<int32_t>(lowest));
    } else {
      // zeros or negative values: the magnitudes one by one, as bit
      // patterns (which order like the magnitudes)
      int32_t belowSmallest = INT32_MAX;  // smallest nonzero magnitude - 1
      for (i = from; i < to; ++i) {
        const int32_t magnitude = std::bit_cast<int32_t>(x[i]) & 0x7FFFFFFF;
        largest_ = std::max(largest_, magnitude);
        belowSmallest = std::min(belowSmallest, (magnitude - 1) & INT32_MAX);  // 0 ranks above all
      }
      if (belowSmallest != INT32_MAX) smallest_ = std::min(smallest_, belowSmallest + 1);
    }
    if (smallest_ == INT32_MAX) return true;  // only zeros so far
    return (largest_ >> 23) - std::max(smallest_ >> 23, 1) <= spreadLimit_;  // subnormals share the unit of exponent 1
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
    if constexpr (kWindowFull)
      sum += static_cast<double>(x[i]) - static_cast<double>(x[i - N]);
    else
      sum += x[i];
    r[i] = static_cast<float>(kDivide ? sum / divisor : sum);
  }
  return sum;
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
  ExactRange range(N);
  bool exact = range.Add(x, f, filled);
  if (exact) {
    // The first window without a chain through every bar: the bars before
    // firstWritten only add to the sum, the rest are written four at once.
    const int quiet = std::clamp(firstWritten, i, filled);
    sum = ExactTotal(x, i, quiet, sum);
    sum = ExactBlock<kDivide, false>(r, x, quiet, filled, N, sum, divisor);
    i = filled;
  }
  for (; i < filled; ++i) {
    sum += x[i];
    put(i, sum);
  }
  while (exact && i < n) {
    const int end = std::min(n, i + kBlock);
    const double next = ExactBlock<kDivide>(r, x, i, end, N, sum, divisor);
    exact = range.Add(x, i, end);  // checked after the block: it is redone below when not exact
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

void WriteWindowSums(float* r, const float* x, int f, int n, int N, int firstWritten, int divisor) {
  if (divisor == 1)
    Run<false>(r, x, f, n, N, firstWritten, 1.0);
  else
    Run<true>(r, x, f, n, N, firstWritten, divisor);
}

}  // namespace formula::routines
