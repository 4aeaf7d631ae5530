// The standard indicators the program ships, computed as a chart computes
// them, over the bars of a thinly traded item: minutes without a trade
// repeat the last price, so highs, lows and closes stay flat for long
// stretches. A ratio over such a window divides zero by zero; every line
// must still have a value on every bar once its windows are full.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "formula/face/CalcFace.h"
#include "formula/face/FormulaFace.h"
#include "formula/store/formula_store.h"
#include "link/code_info.h"
#include "platform/gbk.h"
#include "zeb/charts/indicators/standard_indicators.h"

namespace {

long NoData(SCodeInfo, DATA_TYPE, void*, short) { return 0; }

// Flat from the first bar, then moving, then flat for longer than any
// smoothing remembers, then a single one-tick move, then flat again.
std::vector<SHistoryUnit> ThinlyTraded() {
  std::vector<SHistoryUnit> bars;
  auto add = [&](float open, float high, float low, float close) {
    bars.push_back(SHistoryUnit{int32_t(bars.size()), open, high, low, close, 0, 0});
  };
  for (int i = 0; i < 120; ++i) add(8.25f, 8.25f, 8.25f, 8.25f);
  float price = 8.25f;
  for (int i = 0; i < 200; ++i) {
    const float next = price + 0.01f * float((i * 7) % 5 - 2);
    add(price, std::max(price, next) + 0.01f, std::min(price, next) - 0.01f, next);
    price = next;
  }
  for (int i = 0; i < 1500; ++i) add(price, price, price, price);
  add(price, price + 0.001f, price, price + 0.001f);
  for (int i = 0; i < 300; ++i) add(price + 0.001f, price + 0.001f, price + 0.001f, price + 0.001f);
  return bars;
}

struct Shipped {
  const char* code;
  float low, high;  // bounds of every line (J of KDJ overshoots by design)
};

class ShippedIndicators : public ::testing::TestWithParam<Shipped> {
 protected:
  static void SetUpTestSuite() {
    const char* src = std::getenv("ZEB_SOURCE_DIR");
    std::ifstream in(std::string(src ? src : ".") +
                     "/zeb/charts/indicators/standard_indicators.txt");
    std::deque<SFormulaRecord> records;
    std::string error;
    ASSERT_TRUE(
        ParseIndicatorList(std::string(std::istreambuf_iterator<char>(in), {}), &records, &error))
        << error;
    auto& list = formula::TheFormulaStore().Formulas(0);
    list.clear();
    for (const SFormulaRecord& r : records) list.push_back(r);
  }
  static void TearDownTestSuite() {
    TheCalcFace().ForgetSelection();
    formula::TheFormulaStore().Clear();
  }
};

// Every shipped indicator, so that one added later is held to it too.
std::vector<Shipped> ShippedTable() {
  constexpr float kAny = 1e30f;
  return {{"MA", 0, kAny},       {"VOL", 0, kAny},    {"MACD", -kAny, kAny}, {"KDJ", -100, 200},
          {"BOLL", -kAny, kAny}, {"RSI", 0, 100},     {"WR", 0, 100},        {"BIAS", -kAny, kAny},
          {"CCI", -kAny, kAny},  {"OBV", -kAny, kAny}};
}

TEST(ShippedIndicatorList, TheTableCoversEveryShippedIndicator) {
  const char* src = std::getenv("ZEB_SOURCE_DIR");
  std::ifstream in(std::string(src ? src : ".") + "/zeb/charts/indicators/standard_indicators.txt");
  std::deque<SFormulaRecord> records;
  std::string error;
  ASSERT_TRUE(
      ParseIndicatorList(std::string(std::istreambuf_iterator<char>(in), {}), &records, &error))
      << error;
  std::vector<std::string> codes;
  for (const SFormulaRecord& r : records) codes.push_back(r.szCode);
  std::vector<std::string> table;
  for (const Shipped& s : ShippedTable()) table.push_back(s.code);
  EXPECT_EQ(codes, table);
}

TEST_P(ShippedIndicators, EveryLineHasAValueAcrossFlatBars) {
  const std::vector<SHistoryUnit> bars = ThinlyTraded();
  const short n = short(bars.size());
  CFormulaFace face;
  face.RegisterDataIO(NoData);
  const Shipped& shipped = GetParam();
  ASSERT_EQ(face.Calc(0, shipped.code, bars.data(), n), 1)
      << platform::GbkToUtf8(face.GetLastErr());
  ASSERT_GT(face.GetOutVarSize(), 0);
  // The longest default window of the shipped indicators is 60 bars; two
  // of them nest (REF then SMA, MA of MA).
  constexpr int kFull = 62;
  for (int line = 0; line < face.GetOutVarSize(); ++line) {
    const float* s = face[line];
    ASSERT_NE(s, nullptr);
    int missing = 0, first = -1;
    for (int i = kFull; i < n; ++i) {
      if (!std::isfinite(s[i])) {
        ++missing;
        if (first < 0) first = i;
      }
      ASSERT_FALSE(s[i] < shipped.low || s[i] > shipped.high)
          << face.GetOutVarWord(line) << " bar " << i << ": " << s[i];
    }
    EXPECT_EQ(missing, 0) << face.GetOutVarWord(line) << ": first at bar " << first;
  }
}

INSTANTIATE_TEST_SUITE_P(Formula, ShippedIndicators, ::testing::ValuesIn(ShippedTable()),
                         [](const ::testing::TestParamInfo<Shipped>& info) {
                           return std::string(info.param.code);
                         });

}  // namespace
