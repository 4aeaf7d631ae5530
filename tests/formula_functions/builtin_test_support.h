// Calling a built-in by name from a test, with series and numbers.
#pragma once
#include <string>
#include <variant>
#include <vector>

#include "formula/functions/builtin_functions.h"

namespace formula::test {

inline const float I = INVALID_VALUE;  // a bar without a value, for tables

using Arg = std::variant<float, std::vector<float>>;

// Calls the named built-in over n bars; the series arguments hold n floats.
inline std::vector<float> CallByName(const std::string& name, std::vector<Arg> args, int n,
                                     const SHistoryUnit* units = nullptr) {
  const SFunctionItem* item = FindBuiltin(name.c_str());
  std::vector<float> result(static_cast<size_t>(n) + 1, 12345.0f);
  if (!item) return {};
  std::vector<SRegPar> regs;
  for (Arg& a : args) {
    SRegPar p;
    if (auto* f = std::get_if<float>(&a)) {
      p.cType = REG_NUMBER;
      p.fValue = *f;
    } else {
      p.cType = REG_SERIES;
      p.pSeries = std::get<std::vector<float>>(a).data();
    }
    regs.push_back(p);
  }
  if (!CallBuiltin(*item, regs.data(), static_cast<int>(regs.size()), result.data(), n, units))
    return {};
  result.resize(static_cast<size_t>(n));
  return result;
}

// HHV, LLV, HHVBARS and LLVBARS exactly as described: a cached index from
// the first valid bar f, searched again from the window's oldest bar when
// it leaves the window. Values of type T; none marks bars without a value.
template <typename T>
std::vector<T> RuleExtreme(const std::vector<T>& x, int f, int N, bool high, bool bars, T none) {
  const int n = static_cast<int>(x.size());
  std::vector<T> r(static_cast<size_t>(n), none);
  if (N <= 0) N = n;
  if (f >= n) return r;
  auto takes = [&](T held, T cand) { return high ? held <= cand : held >= cand; };
  auto put = [&](int i, int at) { r[i] = bars ? static_cast<T>(i - at) : x[at]; };
  int at = f, i = f + 1;
  for (int steps = 0; i < n && steps < N - 2; ++i, ++steps) {
    if (takes(x[at], x[i])) at = i;
    if (N == n) put(i, at);
  }
  for (; i < n; ++i) {
    if (i - at >= N) {
      at = i - N + 1;
      for (int j = at; j <= i; ++j)
        if (takes(x[at], x[j])) at = j;
    } else if (takes(x[at], x[i])) {
      at = i;
    }
    put(i, at);
  }
  return r;
}

}  // namespace formula::test
