// HHV, LLV, HHVBARS and LLVBARS: the highest or lowest value of a sliding
// window, or the bars since it, O(n) whatever the window.
//
// The rule: a running extreme index a is kept while it stays inside the
// window, and replaced by a newer bar that equals or beats it; when it falls
// out of the window, the window is searched again from its oldest bar, a
// later bar winning a tie. On a series without NaN that index is always the
// latest best bar of the window, which the block kernel finds directly. A
// NaN never wins a comparison, and a window whose oldest bar is NaN keeps
// that bar when the index has to be searched again; series with NaN (or an
// infinity) take the kernel that follows the rule step by step.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "formula/functions/builtin_routines.h"

namespace formula::routines {

namespace {

// Orders bars as the search does: by value (-0 equal to +0; for the lowest
// value the order is reversed), then by bar, the later one above. Only for
// values that are not NaN.
template <bool kHigh>
uint64_t RankKey(const float* x, int i) {
  uint32_t bits = std::bit_cast<uint32_t>(x[i]);
  if ((bits << 1) == 0) bits = 0;
  uint32_t key = (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;  // unsigned order of the values
  if (!kHigh) key = ~key;
  return uint64_t{key} << 32 | static_cast<uint32_t>(i);
}

// Series without NaN from bar f: the best bar of each window is the one with
// the highest rank key. Bars are taken in blocks of N from f; a window
// ending in one block starts in the block before, so its best is the better
// of that block's suffix from the window's start and this block's prefix up
// to its end (the van Herk / Gil-Werman scheme): three key comparisons per
// bar whatever the window.
template <bool kHigh, bool kBars>
void ExtremeByBlocks(float* r, const float* x, int f, int n, int N, int firstWritten) {
  auto write = [&](int i, uint64_t best) {
    const int at = static_cast<int>(static_cast<uint32_t>(best));
    r[i] = kBars ? static_cast<float>(i - at) : x[at];
  };
  // the first block: windows that start at f
  uint64_t prefix = 0;  // below every key
  int i = f;
  for (const int end = std::min(n, f + N); i < end; ++i) {
    prefix = std::max(prefix, RankKey<kHigh>(x, i));
    if (i >= firstWritten) write(i, prefix);
  }
  if (i >= n) return;
  std::vector<uint64_t> suffix(static_cast<size_t>(N) + 1);  // suffix[N] = 0: a window that starts a block
  for (int start = f; i < n; start += N) {
    uint64_t best = 0;
    for (int j = start + N - 1; j >= start; --j) suffix[j - start] = best = std::max(best, RankKey<kHigh>(x, j));
    prefix = 0;
    for (const int end = std::min(n, start + 2 * N); i < end; ++i) {
      prefix = std::max(prefix, RankKey<kHigh>(x, i));
      write(i, std::max(prefix, suffix[i - N + 1 - start]));
    }
  }
}

// Any series: the rule step by step. The search of a window is answered
// from a monotonic queue of the window's comparable (non-NaN) bars.
template <bool kHigh, bool kBars>
void ExtremeByRule(float* r, const float* x, int f, int n, int N) {
  // later bar wins ties: replace a when X[a] <= X[i] (highest) or >= (lowest)
  auto takes = [](float held, float candidate) {
    return kHigh ? held <= candidate : held >= candidate;
  };
  std::vector<int> queue(static_cast<size_t>(n - f));
  int head = 0, tail = 0;  // queue[head .. tail-1]: indices, values strictly ordered
  auto push = [&](int i) {
    if (x[i] != x[i]) return;  // NaN never wins a comparison
    while (tail > head && takes(x[queue[tail - 1]], x[i])) --tail;
    queue[tail++] = i;
  };
  auto write = [&](int i, int at) { r[i] = kBars ? static_cast<float>(i - at) : x[at]; };

  int a_ = f;
  push(f);
  const int warmEnd = f + std::max(N - 1, 1);  // first bar of the main phase
  int i = f + 1;
  for (; i < n && i < warmEnd; ++i) {
    push(i);
    if (takes(x[a_], x[i])) a_ = i;
    if (N == n) write(i, a_);
  }
  for (; i < n; ++i) {
    push(i);
    if (i - a_ >= N) {
      const int oldest = i - N + 1;
      while (head < tail && queue[head] < oldest) ++head;
      a_ = (x[oldest] != x[oldest] || head == tail) ? oldest : queue[head];
    } else if (takes(x[a_], x[i])) {
      a_ = i;
    }
    write(i, a_);
  }
}

template <bool kHigh, bool kBars>
void WindowExtreme(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  int N = WindowArg(a.fNumber[1]);
  if (N <= 0) N = n;
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (f >= n) return FillInvalid(r, 0, n, n);
  // the first bar written: f+1 over the whole series, else the end of the
  // first window (f+1 for N = 1)
  const int firstWritten = N == n ? f + 1 : f + std::max(N - 1, 1);
  FillInvalid(r, 0, firstWritten, n);
  if (firstWritten >= n) return;
  if (FirstNonFinite(x, f, n) == n)
    ExtremeByBlocks<kHigh, kBars>(r, x, f, n, N, firstWritten);
  else
    ExtremeByRule<kHigh, kBars>(r, x, f, n, N);
}

}  // namespace

void Hhv(float* r, const SFunctionArgs& a) { WindowExtreme<true, false>(r, a); }
void Hhvbars(float* r, const SFunctionArgs& a) { WindowExtreme<true, true>(r, a); }
void Llv(float* r, const SFunctionArgs& a) { WindowExtreme<false, false>(r, a); }
void Llvbars(float* r, const SFunctionArgs& a) { WindowExtreme<false, true>(r, a); }

}  // namespace formula::routines
