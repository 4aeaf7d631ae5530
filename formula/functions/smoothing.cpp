// The exponential averages' recurrence, serial and in stretches side by side.
#include "formula/functions/smoothing.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "formula/functions/builtin_routines.h"
#include "formula/functions/float_vectors.h"

namespace formula::routines {

namespace {

constexpr int kStretches = 8;

struct Recurrence {
  float keep, weight, divisor;
  float Step(float previous, float value) const { return (keep * previous + weight * value) / divisor; }
};

// Stored results are the same when their bits are (bars without a value
// all hold INVALID_VALUE).
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

void Serial(float* r, const float* x, int from, int to, const Recurrence& rec) {
  if (from >= to) return;
  float y = r[from - 1];
  for (int i = from; i < to; ++i) {
    y = rec.Step(y, x[i]);
    r[i] = StoredValue(y);
  }
}

// Bars a stretch runs before its own, for 0 <= keep < divisor: the distance
// to the true values shrinks by keep/divisor per bar; measured on prices,
// the rounded chains met within 10 (N+1) bars of an EMA started from the
// price itself, which is 20 / (1 - keep/divisor).
int LeadBars(const Recurrence& rec) {
  const double lead = std::ceil(20.0 * rec.divisor / (rec.divisor - rec.keep));
  return static_cast<int>(std::clamp(lead, 16.0, 1e8));
}

}  // namespace

void Smooth(float* r, const float* x, int start, int n, float keep, float weight, float divisor) {
  const Recurrence rec{keep, weight, divisor};
  // Only a contracting recurrence (0 <= keep < divisor) has chains that
  // meet. The stretches run side by side in about the time of one serial
  // bar per step, (total + 7 lead) / 8 steps in all: they pay once the
  // series is twice the lead (a chart's few thousand bars at short windows).
  if (!(keep >= 0.0f && keep < divisor)) return Serial(r, x, start, n, rec);
  const int total = n - start, lead = LeadBars(rec);
  if (total / 2 < lead) return Serial(r, x, start, n, rec);

  // Every stretch runs `steps` bars: the first from start, the others from
  // `lead` bars before their own bars begin[k] .. begin[k]+steps-lead-1.
  const int steps = static_cast<int>((int64_t{total} + int64_t{kStretches - 1} * lead) / kStretches);
  int first[kStretches], begin[kStretches];
  first[0] = begin[0] = start;
  begin[1] = start + steps;
  for (int k = 1; k < kStretches; ++k) {
    if (k > 1) begin[k] = begin[k - 1] + steps - lead;
    first[k] = begin[k] - lead;
  }
  const int tail = begin[kStretches - 1] + steps - lead;  // bars from here on follow serially

  // The stretches four to a vector: lane by lane the same float steps as
  // Recurrence::Step, a division instruction for four of them.
  static_assert(kStretches % 4 == 0);
  constexpr int kVectors = kStretches / 4;
  const Float4 keep4 = Float4{} + keep, weight4 = Float4{} + weight, divisor4 = Float4{} + divisor;
  const Float4 invalid4 = Float4{} + INVALID_VALUE;
  const float* from[kStretches];  // each stretch's input from its first bar
  float* to[kStretches];          // and its result
  for (int k = 0; k < kStretches; ++k) {
    from[k] = x + first[k];
    to[k] = r + first[k];
  }
  Float4 y[kVectors];
  for (int v = 0; v < kVectors; ++v)
    for (int lane = 0; lane < 4; ++lane) y[v][lane] = from[4 * v + lane][-1];  // the guess: the value itself
  y[0][0] = r[start - 1];
  auto step = [&](int t) {
    for (int v = 0; v < kVectors; ++v) {
      const float* const* at = from + 4 * v;
      const Float4 value = {at[0][t], at[1][t], at[2][t], at[3][t]};
      y[v] = (keep4 * y[v] + weight4 * value) / divisor4;
    }
  };
  auto stored = [&](int v) { return y[v] != y[v] ? invalid4 : y[v]; };  // lane by lane StoredValue
  int t = 0;
  for (; t < lead; ++t) {
    step(t);
    r[start + t] = StoredValue(y[0][0]);
  }
  float atBegin[kStretches];  // each stretch's value on the bar before its own
  for (int v = 0; v < kVectors; ++v) Store4(atBegin + 4 * v, stored(v));
  for (; t < steps; ++t) {
    step(t);
    for (int v = 0; v < kVectors; ++v) {
      const Float4 out = stored(v);
      for (int lane = 0; lane < 4; ++lane) to[4 * v + lane][t] = out[lane];
    }
  }

  // Each stretch in turn: from the true value before it, recompute until the
  // stretch's value agrees (from there on the two are the same chain).
  for (int k = 1; k < kStretches; ++k) {
    if (Same(atBegin[k], r[begin[k] - 1])) continue;
    const int end = k + 1 < kStretches ? begin[k + 1] : tail;
    for (int i = begin[k]; i < end; ++i) {
      // a chain without a value never gets one back
      if (IsInvalidValue(r[i - 1])) return FillInvalid(r, i, n, n);
      const float v = StoredValue(rec.Step(r[i - 1], x[i]));
      if (Same(v, r[i])) break;
      r[i] = v;
    }
  }
  Serial(r, x, tail, n, rec);
}

}  // namespace formula::routines
