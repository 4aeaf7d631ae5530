// Quote series and the moving averages.
#include <algorithm>
#include <cmath>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"
#include "formula/functions/smoothing.h"
#include "formula/functions/window_sums.h"

namespace formula::routines {

// v - v is 0 for a finite v and NaN otherwise, and a NaN stays in a sum:
// 64 bars are tested with one comparison (the sum across the lanes costs
// more than the bars themselves), then the block that failed eight at once.
int FirstNonFinite(const float* x, int from, int n) {
  int i = from;
  for (; i + 64 <= n; i += 64) {
    Float4 odd0{}, odd1{}, odd2{}, odd3{};
    for (int j = i; j < i + 64; j += 16) {
      const Float4 a = Load4(x + j), b = Load4(x + j + 4), c = Load4(x + j + 8),
                   d = Load4(x + j + 12);
      odd0 += a - a;
      odd1 += b - b;
      odd2 += c - c;
      odd3 += d - d;
    }
    const Float4 odd = (odd0 + odd1) + (odd2 + odd3);
    if ((odd[0] + odd[1]) + (odd[2] + odd[3]) != 0.0f) break;
  }
  for (; i + 8 <= n; i += 8) {
    const Float4 a = Load4(x + i), b = Load4(x + i + 4);
    const Float4 odd = (a - a) + (b - b);
    if ((odd[0] + odd[1]) + (odd[2] + odd[3]) != 0.0f) break;
  }
  while (i < n && std::isfinite(x[i])) ++i;
  return i;
}

void FillInvalid(float* r, int from, int to, int n) {
  from = std::clamp(from, 0, n);
  to = std::clamp(to, from, n);
  std::fill(r + from, r + to, INVALID_VALUE);
}

namespace {

// Copies one field of the history; a NaN in the caller's history is no value.
template <typename Field>
void CopyQuoteField(float* r, const SFunctionArgs& a, Field field) {
  if (!a.pUnits) return FillInvalid(r, 0, a.nBars, a.nBars);
  for (int i = 0; i < a.nBars; ++i) {
    const float v = field(a.pUnits[i]);
    r[i] = v != v ? INVALID_VALUE : v;
  }
}

// Result[f+N-1] = mean of X[f .. f+N-1]; the caller has checked f+N <= n.
float SeedMean(const float* x, int f, int N) {
  double sum = 0.0;
  for (int j = f; j < f + N; ++j) sum += x[j];
  return static_cast<float>(sum / N);
}

// The averages seeded with one value on bar seedAt: bars before it have no
// value.
void Seed(float* r, int seedAt, float value, int n) {
  FillInvalid(r, 0, seedAt, n);
  r[seedAt] = StoredValue(value);
}

}  // namespace

void QuoteOpen(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return u.fOpen; });
}
void QuoteHigh(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return u.fHigh; });
}
void QuoteLow(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return u.fLow; });
}
void QuoteClose(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return u.fClose; });
}
void QuoteVolume(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return static_cast<float>(u.nVolume); });
}
void QuoteAmount(float* r, const SFunctionArgs& a) {
  CopyQuoteField(r, a, [](const SHistoryUnit& u) { return static_cast<float>(u.nAmount / 100.0); });
}

// SMA(X,N,M): Y = (M*X + (N-M)*Y') / N, seeded with X on the first valid
// bar, as Y' + k (X - Y') with k = M/N.
void Sma(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const int M = WindowArg(a.fNumber[2]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= M || N < 1 || f >= n) return FillInvalid(r, 0, n, n);
  Seed(r, f, x[f], n);
  SmoothByFactor(r, x, f + 1, n, static_cast<double>(M) / N);
}

// MA(X,N): plain moving average; the first value on bar f+N-1.
void Ma(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= 0 || n < f + N) return FillInvalid(r, 0, n, n);
  FillInvalid(r, 0, f + N - 1, n);
  WriteWindowSums(r, x, f, n, N, f + N - 1, N);
}

// EXPMA(X,N): Y = ((N-1)*Y' + 2*X) / (N+1), seeded with X on bar f, as
// Y' + k (X - Y') with k = 2/(N+1).
void Expma(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= 0 || n < f + N) return FillInvalid(r, 0, n, n);
  Seed(r, f, x[f], n);
  SmoothByFactor(r, x, f + 1, n, 2.0 / (N + 1));
}

// EMA(X,N): the EXPMA recurrence, but the guard reads the argument as given.
void Ema(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float given = a.fNumber[1];
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (!(given >= 1.0f) || static_cast<double>(n) < f + static_cast<double>(given))
    return FillInvalid(r, 0, n, n);
  const int N = WindowArg(given);
  Seed(r, f, x[f], n);
  SmoothByFactor(r, x, f + 1, n, 2.0 / (N + 1));
}

// MEMA(X,N): seeded with the mean of the first N valid bars, then
// Y = ((N-1)*Y' + X) / N. Needs more than f+N bars.
void Mema(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= 0 || f + N >= n) return FillInvalid(r, 0, n, n);
  Seed(r, f + N - 1, SeedMean(x, f, N), n);
  SmoothByFactor(r, x, f + N, n, 1.0 / N);
}

// EXPMEMA(X,N): seeded like MEMA, then the EXPMA recurrence. f+N bars suffice.
void Expmema(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= 0 || f + N > n) return FillInvalid(r, 0, n, n);
  Seed(r, f + N - 1, SeedMean(x, f, N), n);
  SmoothByFactor(r, x, f + N, n, 2.0 / (N + 1));
}

// DMA(X,A): Y = A*X + (1-A)*Y' while A < 1, else X; A is read bar by bar.
void Dma(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float* x = a.pSeries[0];
  const float* w = a.pSeries[1];
  int f = 0;
  while (f < n && (IsInvalidValue(x[f]) || IsInvalidValue(w[f]))) ++f;
  if (f >= n) return FillInvalid(r, 0, n, n);
  Seed(r, f, x[f], n);
  for (int i = f + 1; i < n; ++i)
    r[i] = StoredValue(w[i] < 1.0f ? r[i - 1] * (1.0f - w[i]) + w[i] * x[i] : x[i]);
}

// CROSS(A,B): 1 where A rises through B (both comparisons strict), else 0.
void Cross(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const float* x = a.pSeries[0];
  const float* y = a.pSeries[1];
  int f = 0;
  while (f < n && (IsInvalidValue(x[f]) || IsInvalidValue(y[f]))) ++f;
  FillInvalid(r, 0, f + 1, n);
  for (int i = f + 1; i < n; ++i) r[i] = (x[i] > y[i] && x[i - 1] < y[i - 1]) ? 1.0f : 0.0f;
}

}  // namespace formula::routines
