// The data the formula editor's benchmarks work on: a 2,000-line formula
// of the kinds a formula holds, and a store of 500 indicator formulas
// written to a formula folder.
#pragma once
#include <cstdio>
#include <string>

#include "formula/store/formula_store.h"
#include "platform/gbk.h"

namespace formula_bench {

// 2,000 lines: statements with calls and numbers, GBK comments, strings;
// lines end in CR LF.
inline std::string LongFormula() {
  std::string text;
  char line[256];
  for (int i = 0; i < 2000; ++i) {
    switch (i % 4) {
      case 0:
        std::snprintf(line, sizeof line, "MA%d:MA(CLOSE,%d)+HHV(HIGH,N)*1.5e2-REF(LOW,3);", i,
                      i % 250 + 1);
        break;
      case 1: std::snprintf(line, sizeof line, "%s %d", GBK("'均线和最高价的组合, 第"), i); break;
      case 2:
        std::snprintf(line, sizeof line, "V%d:=IF(VOL>MA(VOL,5),\"%s\",AMOUNT/100.25);", i,
                      GBK("放量"));
        break;
      default:
        std::snprintf(line, sizeof line, "/*%s*/ X%d:SUM(CLOSE-OPEN,%d),COLORRED;", GBK("累计涨跌"),
                      i, i % 30 + 1);
        break;
    }
    text += line;
    text += "\r\n";
  }
  return text;
}

// The examples and 500 indicators "F000".."F499" in the store's folder, saved.
inline void Store500Formulas(formula::CFormulaStore& store) {
  store.Clear();
  store.LoadAll();
  for (int i = 0; i < 500; ++i) {
    SFormulaRecord r;
    std::snprintf(r.szCode, sizeof r.szCode, "F%03d", i);
    std::snprintf(r.szName, sizeof r.szName, "%s%d", GBK("指标"), i);
    std::snprintf(r.szParams, sizeof r.szParams, "N:^P(1,100,%d,1);\r\nM:^P(1,100,5,1);\r\n",
                  i % 90 + 2);
    r.nGroupHash = i % 211;
    r.strFormula = "A:MA(CLOSE,N);\r\nB:EMA(A,M);\r\nC:A-B,COLORRED;";
    store.Formulas(0).push_back(r);
  }
  store.SaveAll();
}

}  // namespace formula_bench
