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
  if (!CallBuiltin(*item, regs.data(), static_cast<int>(regs.size()), result.data(), n, units)) return {};
  result.resize(static_cast<size_t>(n));
  return result;
}

}  // namespace formula::test
