// HHV, LLV, HHVBARS and LLVBARS: the highest or lowest value of a sliding
// window, or the bars since it, O(n) whatever the window.
//
// The rule: a running extreme index a is kept while it stays inside the
// window, and replaced by a newer bar that equals or beats it; when it falls
// out of the window, the window is searched again from its oldest bar, a
// later bar winning a tie. On a series without NaN that index is always the
// latest best bar of the window. A NaN never wins a comparison, and a window
// whose oldest bar is NaN keeps that bar when the index has to be searched
// again; series with NaN take the kernel that follows the rule step by step.
#include <algorithm>
#include <vector>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"

namespace formula::routines {

namespace {

// True when a bar of x[from .. n-1] is NaN: four bars at a time.
bool HasNaN(const float* x, int from, int n) {
  using Int4 = int __attribute__((vector_size(16)));
  Int4 any{};
  int i = from;
  for (; i + 4 <= n; i += 4) {
    const Float4 v = Load4(x + i);
    any |= (v != v);
  }
  bool found = (any[0] | any[1] | any[2] | any[3]) != 0;
  for (; i < n; ++i) found |= x[i] != x[i];
  return found;
}

// The rule as it reads (an infinity compares as any value does): one
// comparison a bar while the index stays in the window. Its searches are
// answered without scanning the window each time (the van
// Herk / Gil-Werman scheme, built only when a search is needed): a search
// builds, from the bar it is made on back over the window, the latest best
// bar of every suffix; until the window has left those bars, a later search
// takes the better of that suffix's best and the latest best bar since
// (kept as the bars pass), the later winning a tie. At most one build per
// window length of bars, so a series that keeps moving away from its
// extreme costs no more than one that does not.
//
// A NaN never takes the index, as in the rule, so it matters only to a
// search: false (the result partly written) when a search is needed and the
// series has one.
template <bool kHigh, bool kBars>
bool ExtremeByRunningIndex(float* r, const float* x, int f, int n, int N) {
  auto takes = [](float held, float candidate) {
    return kHigh ? held <= candidate : held >= candidate;
  };
  auto beats = [](float held, float candidate) {
    return kHigh ? held < candidate : held > candidate;
  };
  auto write = [&](int i, int at, float value) {
    r[i] = kBars ? static_cast<float>(i - at) : value;
  };
  int a = f;
  float held = x[f];
  const int warmEnd = std::min(n, f + std::max(N - 1, 1));  // first bar of the main phase
  int i = f + 1;
  for (; i < warmEnd; ++i) {
    if (takes(held, x[i])) {
      a = i;
      held = x[i];
    }
    if (N == n) write(i, a, held);
  }
  // Until the first search only the index is kept (a series that keeps
  // rising never needs more).
  for (; i < n; ++i) {
    const float v = x[i];
    if (takes(held, v)) {
      a = i;
      held = v;
    } else if (i - a >= N) {
      break;
    }
    write(i, a, held);
  }
  if (i < n && HasNaN(x, f, n)) return false;
  std::vector<int>
      suffix;         // suffix[k]: the latest best bar of built .. builtEnd, built = builtEnd-N+1+k
  int builtEnd = -1;  // no suffix built yet
  int since = -1;     // the latest best bar after builtEnd (-1: none yet)
  float sinceValue = 0.0f;
  for (; i < n; ++i) {
    const float v = x[i];
    if (since < 0 || takes(sinceValue, v)) {
      since = i;
      sinceValue = v;
    }
    // A bar that takes the index takes it from a search too: it equals or
    // beats every bar of the window before, which covers the new one.
    if (takes(held, v)) {
      a = i;
      held = v;
    } else if (i - a >= N) {
      const int oldest = i - N + 1;
      if (oldest > builtEnd) {  // the window has left the suffix built last
        if (suffix.empty()) suffix.resize(static_cast<size_t>(N));
        int best = i;
        for (int j = i; j >= oldest; --j) {
          if (beats(x[best], x[j])) best = j;
          suffix[static_cast<size_t>(j - oldest)] = best;
        }
        builtEnd = i;
        since = -1;
        a = best;
      } else {
        a = suffix[static_cast<size_t>(oldest - (builtEnd - N + 1))];
        if (since >= 0 && takes(x[a], sinceValue)) a = since;
      }
      held = x[a];
    }
    write(i, a, held);
  }
  return true;
}

// The value alone (HHV, LLV) over a short window of a series without NaN:
// the best of every two bars, of every four, ... doubling up to the window,
// four bars at a time and no branch, then the best of the two halves that
// cover each window. The later bar of a pair is put second, so an equal
// value (-0 against +0) is the later bar's, as the rule has it.
template <bool kHigh>
void ExtremeBySteps(float* r, const float* x, int f, int n, int N, int first) {
  auto better = [](auto earlier, auto later) {
    if constexpr (kHigh) return earlier > later ? earlier : later;
    else return earlier < later ? earlier : later;
  };
  // Best of [i-w+1, i] for every bar i from f+w-1; first the window of one.
  // The steps' buffers stay with the thread and only grow: allocated per
  // call, a long series paid for them (zeroed, faulted in, unmapped again)
  // many times over the steps themselves.
  thread_local std::vector<float> steps[2];
  const float* best = x;
  int w = 1;
  auto pair = [&](float* out, const float* in, int shift, int from) {
    int i = from;
    for (; i + 4 <= n; i += 4) Store4(out + i, better(Load4(in + i - shift), Load4(in + i)));
    for (; i < n; ++i) out[i] = better(in[i - shift], in[i]);
  };
  for (int k = 0; 2 * w <= N; ++k, w *= 2) {
    std::vector<float>& next = steps[k % 2];
    if (next.size() < static_cast<size_t>(n)) next.resize(static_cast<size_t>(n));
    pair(next.data(), best, w, f + 2 * w - 1);
    best = next.data();
  }
  if (w == N) {
    std::copy(best + first, best + n, r + first);
  } else {
    pair(r, best, N - w, first);
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
  // Short windows: the value by doubling steps, when no NaN asks for the rule.
  constexpr int kStepsUpTo = 32;
  if (!kBars && N < n && N <= kStepsUpTo && !HasNaN(x, f, n))
    return ExtremeBySteps<kHigh>(r, x, f, n, N, firstWritten);
  if (!ExtremeByRunningIndex<kHigh, kBars>(r, x, f, n, N))
    ExtremeByRule<kHigh, kBars>(r, x, f, n, N);
}

}  // namespace

void Hhv(float* r, const SFunctionArgs& a) { WindowExtreme<true, false>(r, a); }
void Hhvbars(float* r, const SFunctionArgs& a) { WindowExtreme<true, true>(r, a); }
void Llv(float* r, const SFunctionArgs& a) { WindowExtreme<false, false>(r, a); }
void Llvbars(float* r, const SFunctionArgs& a) { WindowExtreme<false, true>(r, a); }

}  // namespace formula::routines
