// STD and AVEDEV over a sliding window, O(n) in the bar count whatever the
// window: STD from running sums, AVEDEV by direct sums for short windows
// and from an order-statistics tree for long ones.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "formula/functions/builtin_routines.h"

namespace formula::routines {

namespace {

// The bars a window statistic may write: from f+N-1 up to (not including)
// the first non-finite input, after which the moving mean has no value.
struct StatRange {
  int f = 0, N = 0, end = 0;
  bool any() const { return N > 0 && f + N <= end; }
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
  const float* x = a.pSeries[0];
  s.end = s.f;
  while (s.end < n && std::isfinite(x[s.end])) ++s.end;
  return s;
}

// Window sums of x - shift, recomputed exactly once per window length so
// rounding never builds up over a long series.
struct RunningSums {
  const float* x;
  double shift;
  int N;
  double s1 = 0.0, s2 = 0.0;

  void Recompute(int last) {
    s1 = s2 = 0.0;
    for (int j = last - N + 1; j <= last; ++j) {
      const double d = x[j] - shift;
      s1 += d;
      s2 += d * d;
    }
  }
  void Slide(int i) {  // window moves to end at bar i
    const double in = x[i] - shift, out = x[i - N] - shift;
    s1 += in - out;
    s2 += in * in - out * out;
  }
};

// Fenwick tree over the ranks of every bar's value: counts and sums of the
// window's values below a given rank.
class RankTree {
 public:
  explicit RankTree(int size) : nodes_(static_cast<size_t>(size) + 1) {}
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

// Ranks of x[begin .. end-1] by value (a stable radix sort), and the values
// in rank order.
void RankValues(const float* x, int begin, int end, std::vector<int>& rankOf, std::vector<float>& sorted) {
  const int m = end - begin;
  std::vector<uint32_t> keys(m), keysTmp(m);
  std::vector<int> order(m), orderTmp(m);
  for (int j = 0; j < m; ++j) {
    keys[j] = OrderKey(x[begin + j]);
    order[j] = j;
  }
  for (int shift = 0; shift < 32; shift += 8) {
    size_t counts[257] = {};
    for (int j = 0; j < m; ++j) ++counts[((keys[j] >> shift) & 0xFF) + 1];
    for (int b = 0; b < 256; ++b) counts[b + 1] += counts[b];
    for (int j = 0; j < m; ++j) {
      const size_t to = counts[(keys[j] >> shift) & 0xFF]++;
      keysTmp[to] = keys[j];
      orderTmp[to] = order[j];
    }
    keys.swap(keysTmp);
    order.swap(orderTmp);
  }
  rankOf.assign(m, 0);
  sorted.assign(m, 0.0f);
  for (int pos = 0; pos < m; ++pos) {
    rankOf[order[pos]] = pos;
    sorted[pos] = x[begin + order[pos]];
  }
}

// Windows up to this length sum |X - mean| directly; longer ones use the tree.
constexpr int kDirectAvedevWindow = 128;

void AvedevDirect(float* r, const float* x, const StatRange& s) {
  RunningSums sums{x, x[s.f], s.N};
  for (int i = s.f + s.N - 1; i < s.end; ++i) {
    if ((i - (s.f + s.N - 1)) % s.N == 0) sums.Recompute(i); else sums.Slide(i);
    const double mean = sums.s1 / s.N + sums.shift;
    double dev = 0.0;
    for (int j = i - s.N + 1; j <= i; ++j) dev += std::fabs(x[j] - mean);
    r[i] = static_cast<float>(dev / s.N);
  }
}

void AvedevByRanks(float* r, const float* x, const StatRange& s) {
  std::vector<int> rankOf;
  std::vector<float> sorted;
  RankValues(x, s.f, s.end, rankOf, sorted);
  const double shift = x[s.f];
  RankTree tree(s.end - s.f);
  RunningSums sums{x, shift, s.N};
  const int first = s.f + s.N - 1;
  for (int j = s.f; j < first; ++j) tree.Add(rankOf[j - s.f], x[j] - shift, +1);
  // the number of sorted values below the mean; the mean moves little from
  // bar to bar, so it is searched outwards from where it was
  int below = 0;
  const int total = static_cast<int>(sorted.size());
  auto locate = [&](double target) {
    int lo, hi;  // answer in [lo, hi]
    if (below < total && sorted[below] < target) {
      int step = 1;
      lo = below + 1;
      while (lo + step - 1 < total && sorted[lo + step - 1] < target) {
        lo += step;
        step *= 2;
      }
      hi = std::min(total, lo + step - 1);
    } else {
      int step = 1;
      hi = below;
      while (hi - step >= 0 && !(sorted[hi - step] < target)) {
        hi -= step;
        step *= 2;
      }
      lo = std::max(0, hi - step + 1);
    }
    below = static_cast<int>(std::lower_bound(sorted.begin() + lo, sorted.begin() + hi, target,
                                              [](float v, double m) { return v < m; }) - sorted.begin());
  };
  for (int i = first; i < s.end; ++i) {
    tree.Add(rankOf[i - s.f], x[i] - shift, +1);
    if (i > first) tree.Add(rankOf[i - s.N - s.f], x[i - s.N] - shift, -1);
    if ((i - first) % s.N == 0) sums.Recompute(i); else sums.Slide(i);
    const double mean = sums.s1 / s.N;  // relative to shift
    locate(mean + shift);
    int64_t countBelow;
    double sumBelow;
    tree.Below(below, countBelow, sumBelow);
    const double sumAbove = sums.s1 - sumBelow;
    const double countAbove = static_cast<double>(s.N - countBelow);
    const double dev = (countBelow * mean - sumBelow) + (sumAbove - countAbove * mean);
    r[i] = static_cast<float>(std::max(dev, 0.0) / s.N);
  }
}

}  // namespace

// STD(X,N): sqrt(sum of (X - mean)^2 over the window / N).
void Std(float* r, const SFunctionArgs& a) {
  const StatRange s = RangeOf(a);
  if (!s.any()) return;
  const float* x = a.pSeries[0];
  RunningSums sums{x, x[s.f], s.N};
  for (int i = s.f + s.N - 1; i < s.end; ++i) {
    if ((i - (s.f + s.N - 1)) % s.N == 0) sums.Recompute(i); else sums.Slide(i);
    const double squares = sums.s2 - sums.s1 * sums.s1 / s.N;
    r[i] = static_cast<float>(std::sqrt(std::max(squares, 0.0) / s.N));
  }
}

// AVEDEV(X,N): sum of |X - mean| over the window / N.
void Avedev(float* r, const SFunctionArgs& a) {
  const StatRange s = RangeOf(a);
  if (!s.any()) return;
  if (s.N <= kDirectAvedevWindow)
    AvedevDirect(r, a.pSeries[0], s);
  else
    AvedevByRanks(r, a.pSeries[0], s);
}

}  // namespace formula::routines
