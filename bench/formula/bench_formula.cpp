// Compile and evaluate speed of the formula compiler: a 10-statement
// formula checked without data, and a MACD-style formula over 100,000 bars.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "formula/text/FormulaHistory.h"
#include "formula/compiler/QTPar.h"
#include "formula/face/FormulaFace.h"
#include "link/code_info.h"
#include "formula/store/formula_store.h"

namespace {

SFormulaRecord MakeRecord(const char* params, const char* body) {
  SFormulaRecord rec;
  rec.nKind = 0;
  std::snprintf(rec.szCode, sizeof rec.szCode, "BENCH");
  std::snprintf(rec.szParams, sizeof rec.szParams, "%s", params);
  rec.strFormula = body;
  return rec;
}

std::vector<SHistoryUnit> MakeHistory(int n) {
  std::vector<SHistoryUnit> h(static_cast<size_t>(n));
  float price = 10.0f;
  for (int i = 0; i < n; ++i) {
    price += 0.05f * std::sin(float(i) * 0.37f) + 0.01f * float((i * 7919) % 13 - 6);
    if (price < 1.0f) price = 1.0f;
    h[size_t(i)] = SHistoryUnit{i,
                                price - 0.1f,
                                price + 0.2f,
                                price - 0.2f,
                                price,
                                uint32_t(1000 + i % 500),
                                uint32_t(100000 + i)};
  }
  return h;
}

void BM_CompileTenStatements(benchmark::State& state) {
  SFormulaRecord rec =
      MakeRecord("N:^P(1,100,12,1);M:^P(1,100,26,1);",
                 "A:=MA(CLOSE,N);\r\nB:=MA(CLOSE,M);\r\nC:=A-B;\r\nD:=EMA(C,9);\r\n"
                 "E:=HHV(HIGH,N);\r\nF:=LLV(LOW,N);\r\nG:=(CLOSE-F)/(E-F)*100;\r\n"
                 "K:SMA(G,3,1),COLORRED;\r\nDD:SMA(K,3,1);\r\nJ:3*K-2*DD;");
  CQTPar parser;
  parser.Init();
  for (auto _ : state) {
    bool ok = parser.LoadFormula(&rec) && parser.CheckFormula();
    if (!ok) state.SkipWithError(parser.GetLastError());
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_CompileTenStatements)->Unit(benchmark::kMicrosecond);

void BM_MacdOver100kBars(benchmark::State& state) {
  const int bars = 100000;
  std::vector<SHistoryUnit> history = MakeHistory(bars);
  formula::SetHistory(history.data(), bars);
  SFormulaRecord rec = MakeRecord("SHORT:^P(2,200,12,1);LONG:^P(2,200,26,1);M:^P(2,200,9,1);",
                                  "DIF:EMA(CLOSE,SHORT)-EMA(CLOSE,LONG);\r\nDEA:EMA(DIF,M);\r\n"
                                  "MACD:(DIF-DEA)*2,COLORSTICK;");
  CQTPar parser;
  parser.Init();
  for (auto _ : state) {
    bool ok = parser.LoadFormula(&rec) && parser.CalcFormula(bars);
    if (!ok) state.SkipWithError(parser.GetLastError());
    benchmark::DoNotOptimize(parser.Outputs().data());
  }
}
BENCHMARK(BM_MacdOver100kBars)->Unit(benchmark::kMillisecond);

long NoData(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

// The whole path a chart takes on each redraw: select, compile, load the
// bars, evaluate. Calc takes a 16-bit bar count, so 30,000 bars here.
void BM_FaceCalcMacd30kBars(benchmark::State& state) {
  const int bars = 30000;
  std::vector<SHistoryUnit> history = MakeHistory(bars);
  auto& list = formula::TheFormulaStore().Formulas(0);
  list.push_back(MakeRecord("SHORT:^P(2,200,12,1);LONG:^P(2,200,26,1);M:^P(2,200,9,1);",
                            "DIF:EMA(CLOSE,SHORT)-EMA(CLOSE,LONG);\r\nDEA:EMA(DIF,M);\r\n"
                            "MACD:(DIF-DEA)*2,COLORSTICK;"));
  CFormulaFace face;
  face.RegisterDataIO(NoData);
  for (auto _ : state) {
    int ok = face.Calc(0, "BENCH", history.data(), short(bars));
    if (!ok) state.SkipWithError(face.GetLastErr());
    benchmark::DoNotOptimize(face[2]);
  }
  face.ResetIt();
  list.clear();
}
BENCHMARK(BM_FaceCalcMacd30kBars)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
