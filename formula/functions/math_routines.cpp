// The mathematical functions, applied bar by bar by CallBuiltin.
#include <cmath>

#include "formula/functions/builtin_routines.h"

namespace formula::routines {

double MathSqrt(double x) { return std::sqrt(x); }
double MathExp(double x) { return std::exp(x); }
double MathLog(double x) { return std::log(x); }
double MathLog10(double x) { return std::log10(x); }
double MathAbs(double x) { return std::fabs(x); }
double MathAcos(double x) { return std::acos(x); }
double MathAsin(double x) { return std::asin(x); }
double MathAtan(double x) { return std::atan(x); }
double MathCos(double x) { return std::cos(x); }
double MathCosh(double x) { return std::cosh(x); }
double MathSin(double x) { return std::sin(x); }
double MathSinh(double x) { return std::sinh(x); }
double MathTan(double x) { return std::tan(x); }
double MathTanh(double x) { return std::tanh(x); }
double MathPow(double x, double y) { return std::pow(x, y); }
// FMOD and MOD: the floating-point remainder, sign of x; a divisor of 0
// gives NaN, which the caller turns into the invalid value.
double MathFmod(double x, double y) { return std::fmod(x, y); }
double MathMax(double x, double y) { return x > y ? x : y; }
double MathMin(double x, double y) { return x < y ? x : y; }

}  // namespace formula::routines
