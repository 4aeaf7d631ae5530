// The recurrence of the exponential averages (SMA, EXPMA, EMA, MEMA,
// EXPMEMA), each defined as Result[i] = (keep * Result[i-1] + weight *
// X[i]) / divisor, worked as Y' + k (X - Y') with k = weight / divisor (2/(N+1),
// M/N or 1/N), carried in double from bar to bar and stored as float. The
// defining form in float waits on a multiplication, an addition and a
// division per bar, and its rounding drifts: over 1,000,000 prices an
// EMA(1000) in float strays up to 46 units in the last place from the exact
// recurrence; the double chain waits on a multiplication and an addition
// and stays within one.
//
// Long series are cut into eight stretches computed side by side, each
// started some bars early from a guess: every step of a contracting
// recurrence shrinks the distance to the true values, and the rounded
// chains meet and then stay equal. Where a stretch has not met the true
// value at its start, it is recomputed from there until it does, so the
// results never depend on the guess.
#pragma once

namespace formula::routines {

// Bars start .. n-1 from Result[start-1], which is written; a NaN is stored
// as INVALID_VALUE.
void SmoothByFactor(float* r, const float* x, int start, int n, double k);

}  // namespace formula::routines
