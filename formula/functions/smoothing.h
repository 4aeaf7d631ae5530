// The recurrence of the exponential averages (SMA, EXPMA, EMA, MEMA,
// EXPMEMA): Result[i] = (keep * Result[i-1] + weight * X[i]) / divisor in
// float, bit for bit as the plain loop computes it.
//
// The plain loop waits on a multiplication, an addition and a division per
// bar. Long series are cut into eight stretches computed side by side, each
// started some bars early from a guess: with keep < divisor every step
// shrinks the distance to the true values, and the rounded chains meet and
// then stay equal. Where a stretch has not met the true value at its start,
// it is recomputed from there until it does, so the results never depend on
// the guess.
#pragma once

namespace formula::routines {

// Bars start .. n-1 from Result[start-1], which is written; a NaN is stored
// as INVALID_VALUE.
void Smooth(float* r, const float* x, int start, int n, float keep, float weight, float divisor);

}  // namespace formula::routines
