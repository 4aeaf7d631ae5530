// The exponential averages' recurrences, serial and in stretches side by side.
#include "formula/functions/smoothing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "formula/functions/builtin_routines.h"

namespace formula::routines {

namespace {

constexpr int kStretches = 8;

// Result[i] = Y' + k (X[i] - Y') as (1-k) Y' + k X[i], carried in double
// from bar to bar and stored as float.
struct DoubleFactor {
  using State = double;
  double keep, k;
  template <class T>
  T Step(T previous, T value) const {
    return keep * previous + k * value;
  }
  bool Contracting() const { return k > 0.0 && k <= 1.0; }
  // The distance to the true values shrinks by 1-k per bar, from about the
  // size of the values; below 2^-53 of them after some 37/k bars.
  double Lead() const { return 45.0 / k; }
};

// Stored results are the same when their bits are (bars without a value
// all hold INVALID_VALUE).
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

template <class State>
float Stored(State y) {
  return y != y ? INVALID_VALUE : static_cast<float>(y);
}

template <class Chain>
void Serial(float* r, const float* x, int from, int to, const Chain& chain) {
  if (from >= to) return;
  typename Chain::State y = r[from - 1];
  for (int i = from; i < to; ++i) {
    y = chain.Step(y, static_cast<typename Chain::State>(x[i]));
    r[i] = Stored(y);
  }
}

// Long series are cut into eight stretches computed side by side, each
// started some bars early from a guess (the value itself): a contracting
// recurrence shrinks the distance to the true values on every step, and
// the rounded chains meet and then stay equal. Where a stretch has not met
// the true value at its start, it is recomputed from there until it does,
// so the results never depend on the guess.
template <class Chain>
void Run(float* r, const float* x, int start, int n, const Chain& chain) {
  using S = typename Chain::State;
  // The stretches as many to a vector as an SSE register holds.
  constexpr int kLanes = 16 / sizeof(S);
  typedef S Vec __attribute__((vector_size(16)));
  // The stretches run side by side in about the time of one serial bar per
  // step, (total + 7 lead) / 8 steps in all: they pay once the series is
  // twice the lead (a chart's few thousand bars at short windows).
  if (!chain.Contracting()) return Serial(r, x, start, n, chain);
  const int total = n - start;
  const int lead = static_cast<int>(std::clamp(std::ceil(chain.Lead()), 16.0, 1e8));
  if (total / 2 < lead) return Serial(r, x, start, n, chain);

  // Every stretch runs `steps` bars: the first from start, the others from
  // `lead` bars before their own bars begin[k] .. begin[k]+steps-lead-1.
  const int steps =
      static_cast<int>((int64_t{total} + int64_t{kStretches - 1} * lead) / kStretches);
  int first[kStretches], begin[kStretches];
  first[0] = begin[0] = start;
  begin[1] = start + steps;
  for (int k = 1; k < kStretches; ++k) {
    if (k > 1) begin[k] = begin[k - 1] + steps - lead;
    first[k] = begin[k] - lead;
  }
  const int tail = begin[kStretches - 1] + steps - lead;  // bars from here on follow serially

  // Lane by lane the same steps as the serial chain.
  static_assert(kStretches % kLanes == 0);
  constexpr int kVectors = kStretches / kLanes;
  const float* from[kStretches];  // each stretch's input from its first bar
  float* to[kStretches];          // and its result
  for (int k = 0; k < kStretches; ++k) {
    from[k] = x + first[k];
    to[k] = r + first[k];
  }
  Vec y[kVectors];
  for (int v = 0; v < kVectors; ++v)
    for (int lane = 0; lane < kLanes; ++lane)
      y[v][lane] = static_cast<S>(from[kLanes * v + lane][-1]);
  y[0][0] = static_cast<S>(r[start - 1]);
  auto step = [&](int t) {
    for (int v = 0; v < kVectors; ++v) {
      const float* const* at = from + kLanes * v;
      Vec value;
      for (int lane = 0; lane < kLanes; ++lane) value[lane] = static_cast<S>(at[lane][t]);
      y[v] = chain.Step(y[v], value);
    }
  };
  int t = 0;
  for (; t < lead; ++t) {
    step(t);
    r[start + t] = Stored(y[0][0]);
  }
  float atBegin[kStretches];  // each stretch's value on the bar before its own
  for (int k = 0; k < kStretches; ++k) atBegin[k] = Stored(y[k / kLanes][k % kLanes]);
  for (; t < steps; ++t) {
    step(t);
    for (int k = 0; k < kStretches; ++k) to[k][t] = Stored(y[k / kLanes][k % kLanes]);
  }

  // Each stretch in turn: from the true value before it, recompute until the
  // stretch's value agrees (from there on the two are the same chain).
  for (int k = 1; k < kStretches; ++k) {
    if (Same(atBegin[k], r[begin[k] - 1])) continue;
    const int end = k + 1 < kStretches ? begin[k + 1] : tail;
    S state = r[begin[k] - 1];
    for (int i = begin[k]; i < end; ++i) {
      // a chain without a value never gets one back
      if (IsInvalidValue(r[i - 1])) return FillInvalid(r, i, n, n);
      state = chain.Step(state, static_cast<S>(x[i]));
      const float v = Stored(state);
      if (Same(v, r[i])) break;
      r[i] = v;
    }
  }
  Serial(r, x, tail, n, chain);
}

}  // namespace

void SmoothByFactor(float* r, const float* x, int start, int n, double k) {
  Run(r, x, start, n, DoubleFactor{1.0 - k, k});
}

}  // namespace formula::routines
