// Window and counting routines: BACKSET, BARS*, COUNT, REF, SUM, SUMBARS.
// All run in one pass (SUMBARS walks back as far as its target needs).
#include <algorithm>
#include <vector>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/window_sums.h"

namespace formula::routines {

namespace {

// Start and first bar of BARSLAST/BARSSINCE: valid and not 0.
int FirstTrue(const float* x, int n) {
  int s = 0;
  while (s < n && (IsInvalidValue(x[s]) || x[s] == 0.0f)) ++s;
  return s;
}

}  // namespace

// BACKSET(X,N): where X is not 0, the bar and the N-1 bars before it become 1.
void Backset(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (f >= n) return FillInvalid(r, 0, n, n);
  const int N = WindowArg(a.fNumber[1]);
  const int W = std::min(N > 0 ? N : 1, n - f);
  FillInvalid(r, 0, f, n);
  std::fill(r + f, r + n, 0.0f);
  int low = n;  // lowest bar set so far; everything from low to the last set range is 1
  for (int i = n - 1; i >= f + W; --i) {
    if (x[i] == 0.0f) continue;
    const int from = i - W + 1;
    for (int j = from; j <= std::min(i, low - 1); ++j) r[j] = 1.0f;
    low = std::min(low, from);
  }
  if (x[f + W - 1] != 0.0f) std::fill(r + f, r + f + W, 1.0f);
}

// BARSCOUNT(X): 0, 1, 2 ... from the first valid bar.
void Barscount(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int f = FirstValid(a.pSeries[0], n);
  FillInvalid(r, 0, f, n);
  for (int i = f; i < n; ++i) r[i] = static_cast<float>(i - f);
}

// BARSLAST(X): bars since X was last not 0.
void Barslast(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float* x = a.pSeries[0];
  int count = 0;
  const int s = FirstTrue(x, n);
  FillInvalid(r, 0, s, n);
  for (int i = s; i < n; ++i) {
    if (x[i] != 0.0f) count = 0;
    r[i] = static_cast<float>(count++);
  }
}

// BARSSINCE(X): bars since X was first valid and not 0.
void Barssince(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int s = FirstTrue(a.pSeries[0], n);
  FillInvalid(r, 0, s, n);
  for (int i = s; i < n; ++i) r[i] = static_cast<float>(i - s);
}

// COUNT(X,N): bars of the last N where X is not 0; N < 1 counts from the
// first valid bar.
void Count(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  int N = WindowArg(a.fNumber[1]);
  if (N < 1) N = n;
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  FillInvalid(r, 0, f, n);
  int count = 0;
  const int end = std::min(n, f + N);
  int i = f;
  for (; i < end; ++i) {
    count += x[i] != 0.0f;
    r[i] = static_cast<float>(count);
  }
  for (; i < n; ++i) {
    count -= (x[i - N] != 0.0f) & (count > 0);
    count += x[i] != 0.0f;
    r[i] = static_cast<float>(count);
  }
}

// REF(X,A): X of A bars before; invalid inputs are copied as they are.
void Ref(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int A = WindowArg(a.fNumber[1]);
  if (A < 0 || A >= n) return FillInvalid(r, 0, n, n);
  FillInvalid(r, 0, A, n);
  const float* x = a.pSeries[0];
  std::copy(x, x + (n - A), r + A);
}

// SUM(X,N): running sum of the last N bars; N < 1 or above the bar count
// sums from the first valid bar. No warm-up bars stay invalid.
void Sum(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  int N = WindowArg(a.fNumber[1]);
  if (N < 1 || N > n) N = n;
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  FillInvalid(r, 0, f, n);
  WriteWindowSums(r, x, f, n, N, f, 1);
}

// SUMBARS(X,A): how many bars, counting back from each bar, X must be added
// up to reach A. A target not reached before bar f carries the previous
// bar's answer (invalid on bar f). When no X is negative the sums of the
// last c bars grow with c, so the count is found by a binary search over
// running totals instead of walking back bar by bar: a target that is never
// reached costs O(log n), not O(n), per bar.
void Sumbars(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float* x = a.pSeries[0];
  const float* target = a.pSeries[1];
  const int f = FirstValid(x, n);
  if (f >= n) return FillInvalid(r, 0, n, n);
  FillInvalid(r, 0, f, n);
  constexpr float kNotReached = -1.0f;  // never a real bar count

  bool nonNegative = true;
  for (int j = f; j < n && nonNegative; ++j) nonNegative = x[j] >= 0.0f && x[j] <= 3.4e38f;
  if (nonNegative) {
    std::vector<double> total(static_cast<size_t>(n - f) + 1,
                              0.0);  // total[j-f] = X[f] + ... + X[j-1]
    for (int j = f; j < n; ++j) total[j - f + 1] = total[j - f] + x[j];
    for (int k = f; k < n; ++k) {
      const double want = target[k];
      if (!(want > 0.0)) {  // nothing to add: 0 bars, or no answer for a NaN target
        r[k] = want <= 0.0 ? 0.0f : kNotReached;
        continue;
      }
      // smallest c in 1 .. k-f with total[k+1-f] - total[k+1-f-c] >= want
      const double end = total[k + 1 - f];
      int lo = 1, hi = k - f;  // c = k-f+1 would need X[f]: not reached
      if (hi < 1 || end - total[1] < want) {
        r[k] = kNotReached;
        continue;
      }
      while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (end - total[k + 1 - f - mid] >= want) hi = mid;
        else lo = mid + 1;
      }
      r[k] = static_cast<float>(lo);
    }
  } else {
    for (int k = n - 1; k >= f; --k) {
      int l = k;
      double sum = 0.0;
      while (l >= f && target[k] > sum) sum += x[l--];
      r[k] = (sum >= target[k] && l >= f) ? static_cast<float>(k - l) : kNotReached;
    }
  }
  if (r[f] == kNotReached) r[f] = INVALID_VALUE;
  for (int k = f + 1; k < n; ++k)
    if (r[k] == kNotReached) r[k] = r[k - 1];
}

}  // namespace formula::routines
