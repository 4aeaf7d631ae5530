// The series routines and mathematical routines behind the built-in table.
// Each series routine writes every bar of its result, in the pass that
// computes it: the bars it can compute get their value, all others
// INVALID_VALUE. A routine that computes a NaN (domain errors, infinities
// meeting) stores INVALID_VALUE instead; routines that only copy or compare
// their inputs copy them as they are.
#pragma once
#include "formula/functions/builtin_functions.h"

namespace formula::routines {

// First bar whose value is not INVALID_VALUE; n when there is none.
// Inline: on every call of nearly every routine, usually at bar 0.
inline int FirstValid(const float* x, int n) {
  int i = 0;
  while (i < n && IsInvalidValue(x[i])) ++i;
  return i;
}
// First bar from from on whose value is an infinity or a NaN; n when there
// is none.
int FirstNonFinite(const float* x, int from, int n);
// Bars from .. to-1 (clamped to 0 .. n) become INVALID_VALUE.
void FillInvalid(float* r, int from, int to, int n);
// A computed value as it is stored: a NaN is no value.
inline float StoredValue(float v) { return v != v ? INVALID_VALUE : v; }

void QuoteOpen(float* r, const SFunctionArgs& a);
void QuoteHigh(float* r, const SFunctionArgs& a);
void QuoteLow(float* r, const SFunctionArgs& a);
void QuoteClose(float* r, const SFunctionArgs& a);
void QuoteVolume(float* r, const SFunctionArgs& a);
void QuoteAmount(float* r, const SFunctionArgs& a);

void Sma(float* r, const SFunctionArgs& a);
void Ma(float* r, const SFunctionArgs& a);
void Expma(float* r, const SFunctionArgs& a);
void Ema(float* r, const SFunctionArgs& a);
void Mema(float* r, const SFunctionArgs& a);
void Expmema(float* r, const SFunctionArgs& a);
void Dma(float* r, const SFunctionArgs& a);
void Backset(float* r, const SFunctionArgs& a);
void Barscount(float* r, const SFunctionArgs& a);
void Barslast(float* r, const SFunctionArgs& a);
void Barssince(float* r, const SFunctionArgs& a);
void Count(float* r, const SFunctionArgs& a);
void Hhv(float* r, const SFunctionArgs& a);
void Hhvbars(float* r, const SFunctionArgs& a);
void Llv(float* r, const SFunctionArgs& a);
void Llvbars(float* r, const SFunctionArgs& a);
void Ref(float* r, const SFunctionArgs& a);
void Sum(float* r, const SFunctionArgs& a);
void Sumbars(float* r, const SFunctionArgs& a);
void Cross(float* r, const SFunctionArgs& a);
void Std(float* r, const SFunctionArgs& a);
void Avedev(float* r, const SFunctionArgs& a);

double MathSqrt(double x);
double MathExp(double x);
double MathLog(double x);
double MathLog10(double x);
double MathAbs(double x);
double MathAcos(double x);
double MathAsin(double x);
double MathAtan(double x);
double MathCos(double x);
double MathCosh(double x);
double MathSin(double x);
double MathSinh(double x);
double MathTan(double x);
double MathTanh(double x);
double MathPow(double x, double y);
double MathFmod(double x, double y);
double MathMax(double x, double y);
double MathMin(double x, double y);

}  // namespace formula::routines
