// STD and AVEDEV over a sliding window: STD from running sums, O(n)
// whatever the window; AVEDEV by direct sums for short windows and from
// ranked blocks for long ones, O(n log N).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"

namespace formula::routines {

namespace {

// The bars a window statistic may write: from f+N-1 up to (not including)
// the first non-finite input, after which the moving mean has no value.
struct StatRange {
  int f = 0, N = 0, end = 0;
  bool any() const { return N > 0 && f + N <= end; }
  // every bar outside f+N-1 .. end-1 has no value
  void FillOutside(float* r, int n) const {
    if (!any()) return FillInvalid(r, 0, n, n);
    FillInvalid(r, 0, f + N - 1, n);
    FillInvalid(r, end, n, n);
  }
};

StatRange RangeOf(const SFunctionArgs& a) {
  StatRange s;
  const int n = a.nBars;
  s.N = WindowArg(a.fNumber[1]);
  s.f = FirstValid(a.pSeries[0], n);
  if (s.N <= 0 || n < s.f + s.N) {
    s.N = 0;
    return s;
  }
  s.end = FirstNonFinite(a.pSeries[0], s.f, n);
  return s;
}

// Window sums of x - shift. Every N bars the window's sums are taken
// afresh (from 0, oldest bar first) so that rounding never builds up over a
// long series; the fresh sums are gathered while the window slides over
// those bars, which keeps them off the chain of the running sums.
struct RunningSums {
  const float* x;
  double shift;
  int N;
  double s1 = 0.0, s2 = 0.0;

  // The window ending at bar last, summed afresh.
  void Start(int last) { Fresh<false>(last, nullptr); }
  // Start, also marking the window's bars in r as without a value (the
  // caller writes bar last afterwards): the stores fill the time the loop
  // waits on its additions.
  void StartMarking(int last, float* r) { Fresh<true>(last, r); }

  template <bool kMark>
  void Fresh(int last, float* r) {
    s1 = s2 = 0.0;
    for (int j = last - N + 1; j <= last; ++j) {
      const double d = x[j] - shift;
      s1 += d;
      s2 += d * d;
      if constexpr (kMark) r[j] = INVALID_VALUE;
    }
    fresh1 = fresh2 = 0.0;
    untilFresh = N;
  }
  // The window moves on to end at bar i, one bar after the last.
  void Next(int i) {
    const double in = x[i] - shift, out = x[i - N] - shift;
    fresh1 += in;
    fresh2 += in * in;
    if (--untilFresh == 0) {  // the fresh sums cover the window ending at i
      s1 = fresh1;
      s2 = fresh2;
      fresh1 = fresh2 = 0.0;
      untilFresh = N;
    } else {
      s1 += in - out;
      s2 += in * in - out * out;
    }
  }

  double fresh1 = 0.0, fresh2 = 0.0;  // sums of the bars since the last fresh start
  int untilFresh = 0;
};

// Fenwick tree over value ranks: counts and sums of the values inserted
// below a given rank.
class RankTree {
 public:
  void Reset(int size) { nodes_.assign(static_cast<size_t>(size) + 1, Node{}); }
  void Add(int rank, double value, int sign) {
    for (int k = rank + 1; k < static_cast<int>(nodes_.size()); k += k & -k) {
      nodes_[k].count += sign;
      nodes_[k].sum += sign * value;
    }
  }
  // count and sum of the ranks 0 .. rank-1
  void Below(int rank, int64_t& count, double& sum) const {
    count = 0;
    sum = 0.0;
    for (int k = rank; k > 0; k -= k & -k) {
      count += nodes_[k].count;
      sum += nodes_[k].sum;
    }
  }

 private:
  struct Node {
    double sum = 0.0;
    int64_t count = 0;
  };
  std::vector<Node> nodes_;
};

// Unsigned keys that sort like the (finite) floats they come from.
uint32_t OrderKey(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

// Windows up to this length sum |X - mean| directly; longer ones use ranks.
constexpr int kDirectAvedevWindow = 64;

void AvedevDirect(float* r, const float* x, const StatRange& s) {
  RunningSums sums{x, x[s.f], s.N};
  for (int i = s.f + s.N - 1; i < s.end; ++i) {
    if (i == s.f + s.N - 1) sums.Start(i);
    else sums.Next(i);
    const double mean = sums.s1 / s.N + sums.shift;
    double dev = 0.0;
    for (int j = i - s.N + 1; j <= i; ++j) dev += std::fabs(x[j] - mean);
    r[i] = StoredValue(static_cast<float>(dev / s.N));
  }
}

// Sorted keys (value order, then bar) of the bars from .. to-1.
void SortedKeys(const float* x, int from, int to, std::vector<uint64_t>& keys) {
  keys.resize(static_cast<size_t>(std::max(0, to - from)));
  for (int j = from; j < to; ++j)
    keys[j - from] = static_cast<uint64_t>(OrderKey(x[j])) << 32 | static_cast<uint32_t>(j);
  std::sort(keys.begin(), keys.end());
}

// Position of the first sorted value not below target, searched outwards
// from the previous answer (the mean moves little from bar to bar).
int Locate(const std::vector<float>& sorted, double target, int from) {
  const int total = static_cast<int>(sorted.size());
  auto below = [&](int pos) { return static_cast<double>(sorted[pos]) < target; };
  int lo, hi;  // the answer lies in lo .. hi
  if (from < total && below(from)) {
    lo = from + 1;
    int step = 1;
    while (lo + step - 1 < total && below(lo + step - 1)) {
      lo += step;
      step *= 2;
    }
    hi = std::min(total, lo + step - 1);
  } else {
    hi = from;
    int step = 1;
    while (hi - step >= 0 && !below(hi - step)) {
      hi -= step;
      step *= 2;
    }
    lo = std::max(0, hi - step + 1);
  }
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (below(mid)) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// Long windows: the bars are taken in blocks of N. Every window ending in a
// block lies within the 2N bars from N-1 before the block to one past its
// end; those are ranked by merging two sorted runs of N bars, each sorted
// once (O(log N) per bar), and a Fenwick tree over their ranks gives the
// count and sum of the window's values below the mean in O(log N) per bar.
// The whole pass is O(n log N).
void AvedevByRanks(float* r, const float* x, const StatRange& s) {
  const int N = s.N;
  const double shift = x[s.f];
  RunningSums sums{x, shift, N};
  RankTree tree;
  std::vector<uint64_t> older, newer, merged;
  std::vector<int> rankOf;
  std::vector<float> sorted;
  const int first = s.f + N - 1;
  SortedKeys(x, first - N + 1, std::min(s.end, first + 1), older);
  for (int block = first; block < s.end; block += N) {
    const int lo = block - N + 1;
    const int hi = std::min(s.end, block + N);  // one past the last bar of the block
    SortedKeys(x, std::min(s.end, lo + N), std::min(s.end, lo + 2 * N), newer);
    merged.resize(older.size() + newer.size());
    std::merge(older.begin(), older.end(), newer.begin(), newer.end(), merged.begin());
    const int m = static_cast<int>(merged.size());
    rankOf.resize(m);
    sorted.resize(m);
    for (int pos = 0; pos < m; ++pos) {
      const int j = static_cast<int>(merged[pos] & 0xFFFFFFFFu);
      rankOf[j - lo] = pos;
      sorted[pos] = x[j];
    }
    older.swap(newer);

    tree.Reset(m);
    for (int j = lo; j < block; ++j) tree.Add(rankOf[j - lo], x[j] - shift, +1);
    int below = 0;
    for (int i = block; i < hi; ++i) {
      tree.Add(rankOf[i - lo], x[i] - shift, +1);
      if (i > block) tree.Add(rankOf[i - N - lo], x[i - N] - shift, -1);
      if (i == first) sums.Start(i);
      else sums.Next(i);
      const double mean = sums.s1 / N;  // relative to shift
      below = Locate(sorted, mean + shift, below);
      int64_t countBelow;
      double sumBelow;
      tree.Below(below, countBelow, sumBelow);
      const double dev =
          (countBelow * mean - sumBelow) + ((sums.s1 - sumBelow) - (N - countBelow) * mean);
      r[i] = StoredValue(static_cast<float>(std::max(dev, 0.0) / N));
    }
  }
}

}  // namespace

// STD(X,N): sqrt(sum of (X - mean)^2 over the window / N), four bars per
// step: their divisions and square roots run two bars per instruction. The
// inputs are finite, so no NaN comes out.
//
// The first window's sums wait on one addition per bar; the bars before
// the first value are marked invalid in that same loop, and whether the
// first window is finite is read from its sum of squares, so a chart-sized
// series costs little more than that chain.
void Std(float* r, const SFunctionArgs& a) {
  const int n = a.nBars;
  const int N = WindowArg(a.fNumber[1]);
  const float* x = a.pSeries[0];
  const int f = FirstValid(x, n);
  if (N <= 0 || n < f + N) return FillInvalid(r, 0, n, n);
  if (f > 0) FillInvalid(r, 0, f, n);
  RunningSums sums{x, x[f], N};
  int i = f + N - 1;
  sums.StartMarking(i, r);
  // A square is never negative: once an infinity or a NaN is met, the sum
  // of squares stays infinite or NaN. Then no window has a value.
  if (!std::isfinite(sums.s2)) return FillInvalid(r, 0, n, n);
  const int end = i + 1 < n ? FirstNonFinite(x, i + 1, n) : n;
  if (end < n) FillInvalid(r, end, n, n);
  auto deviation = [N = static_cast<double>(N)](Double2 s1, Double2 s2) {
    const Double2 squares = s2 - s1 * s1 / N;
    return SquareRoot((squares < 0.0 ? Double2{} : squares) / N);
  };
  r[i] = static_cast<float>(deviation(Both(sums.s1), Both(sums.s2))[0]);
  for (++i; i + 4 <= end; i += 4) {
    sums.Next(i);
    const double a1 = sums.s1, a2 = sums.s2;
    sums.Next(i + 1);
    const double b1 = sums.s1, b2 = sums.s2;
    sums.Next(i + 2);
    const double c1 = sums.s1, c2 = sums.s2;
    sums.Next(i + 3);
    Store4(r + i, ToFloat4(deviation(Double2{a1, b1}, Double2{a2, b2}),
                           deviation(Double2{c1, sums.s1}, Double2{c2, sums.s2})));
  }
  for (; i < end; ++i) {
    sums.Next(i);
    r[i] = static_cast<float>(deviation(Both(sums.s1), Both(sums.s2))[0]);
  }
}

// AVEDEV(X,N): sum of |X - mean| over the window / N.
void Avedev(float* r, const SFunctionArgs& a) {
  const StatRange s = RangeOf(a);
  s.FillOutside(r, a.nBars);
  if (!s.any()) return;
  if (s.N <= kDirectAvedevWindow) AvedevDirect(r, a.pSeries[0], s);
  else AvedevByRanks(r, a.pSeries[0], s);
}

}  // namespace formula::routines
