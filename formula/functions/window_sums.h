// Running sums of a series over a sliding window, shared by MA and SUM.
//
// The results are those of a plain running sum in double, bit for bit:
// from bar f add X[i], and once the window is full subtract X[i-N]. While
// every value met is finite and the values lie within a range where every
// such sum is exact in double, the sums do not depend on the order of the
// additions, and four bars are summed per step with one addition on the
// running chain. Past the first block that breaks the range the plain
// order is kept.
#pragma once

namespace formula::routines {

// Result[i] = (sum of X over the last N bars, fewer from bar f on while
// fewer have passed) / divisor, stored as float (a NaN as INVALID_VALUE),
// for the bars firstWritten .. n-1 (firstWritten >= f, at most f+N-1).
// Other bars are not written.
void WriteWindowSums(float* r, const float* x, int f, int n, int N, int firstWritten, int divisor);

// Tests: true keeps the sums to the 128-bit kernels every x86-64 has, so
// that both widths are checked on one machine.
void UseNarrowWindowSums(bool narrow);

}  // namespace formula::routines
