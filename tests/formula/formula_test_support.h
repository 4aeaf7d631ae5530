// Small helpers shared by the formula tests: records in the store, a short
// history, GBK literals.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "formula/text/FormulaHistory.h"
#include "formula/functions/formula_types.h"
#include "formula/store/formula_store.h"

namespace formula_test {

inline SFormulaRecord MakeRecord(short kind, const char* code, const char* body,
                                 const char* params = "") {
  SFormulaRecord rec;
  rec.nKind = kind;
  std::snprintf(rec.szCode, sizeof rec.szCode, "%s", code);
  std::snprintf(rec.szParams, sizeof rec.szParams, "%s", params);
  rec.strFormula = body;
  return rec;
}

// Puts a formula into the library's store (kind lists keep addresses).
inline SFormulaRecord* AddToStore(short kind, const char* code, const char* body,
                                  const char* params = "") {
  auto& list = formula::TheFormulaStore().Formulas(kind);
  list.push_back(MakeRecord(kind, code, body, params));
  return &list.back();
}

// Bars with open i, close i + (i odd ? 1 : -1): odd bars rise.
inline std::vector<SHistoryUnit> RisingOnOddBars(int n) {
  std::vector<SHistoryUnit> h(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    float open = float(10 + i);
    float close = open + ((i % 2) ? 1.0f : -1.0f);
    h[size_t(i)] = SHistoryUnit{
        20240101 + i, open, open + 2.0f, open - 2.0f, close, uint32_t(100 * i), uint32_t(1000 * i)};
  }
  return h;
}

}  // namespace formula_test
