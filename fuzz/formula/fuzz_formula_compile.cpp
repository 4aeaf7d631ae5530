// Compiles arbitrary text as a formula, in check mode and in calculate mode
// over a short history: deep parentheses, long names, a GBK lead byte at the
// end, unclosed comments and strings must all end in a clean result. The
// store holds an indicator "FZA" with the same text and a custom function
// "FZB" that calls FZA, so calls of stored formulas run, and a text that
// calls FUNCTION.FZB closes a cycle (FZA -> FZB -> FZA).
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "formula/text/FormulaHistory.h"
#include "formula/compiler/QTPar.h"
#include "formula/store/formula_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static std::vector<SHistoryUnit> history = [] {
    std::vector<SHistoryUnit> h(40);
    for (int i = 0; i < 40; ++i) {
      float c = 10.0f + float(i % 7) - float(i % 3);
      h[size_t(i)] = SHistoryUnit{20240101 + i,       c - 0.5f,           c + 1.0f, c - 1.0f, c,
                                  uint32_t(1000 + i), uint32_t(50000 + i)};
    }
    return h;
  }();
  formula::SetHistory(history.data(), int(history.size()));

  // First byte: kind and how much of the text is the parameter part.
  const uint8_t control = data[0];
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  SFormulaRecord rec;
  rec.nKind = int16_t(control % 5);
  std::snprintf(rec.szCode, sizeof rec.szCode, "FUZZ");
  size_t split = (control >> 3) % 8 == 0 ? std::min<size_t>(text.size(), 499) : 0;
  std::string params = text.substr(0, split);
  for (size_t i = 0; i < params.size(); ++i)
    if (params[i] == '\0') params[i] = ' ';
  std::memcpy(rec.szParams, params.c_str(), params.size() + 1);
  rec.strFormula = text.substr(split);

  static SFormulaRecord* callees[2] = {};
  if (!callees[0]) {
    const char* codes[2] = {"FZA", "FZB"};
    const short kinds[2] = {0, 4};
    for (int k = 0; k < 2; ++k) {
      auto& list = formula::TheFormulaStore().Formulas(kinds[k]);
      list.emplace_back();
      callees[k] = &list.back();
      callees[k]->nKind = kinds[k];
      std::snprintf(callees[k]->szCode, sizeof callees[k]->szCode, "%s", codes[k]);
    }
  }
  std::memcpy(callees[0]->szParams, rec.szParams, sizeof rec.szParams);
  callees[0]->strFormula = rec.strFormula;
  callees[1]->strFormula = "X: FZA;";

  CQTPar parser;
  if (!parser.Init()) return 0;
  if (parser.LoadFormula(&rec)) parser.CheckFormula();
  parser.SetPreset(0, SRegPar{REG_NUMBER, 3.0f, nullptr, nullptr});
  if (parser.LoadFormula(&rec) && parser.CalcFormula(int(history.size()))) {
    // Every output of a successful calculation has a full series.
    for (const auto& line : parser.Outputs())
      if (line.value.cType == REG_SERIES && line.value.pSeries) {
        volatile float last = line.value.pSeries[history.size() - 1];
        (void)last;
      }
  }
  parser.ResetAll();
  return 0;
}
