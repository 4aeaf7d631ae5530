// Every built-in against a plain double-precision reference written
// straight from the rules (window rescans and all), on random series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <set>

#include "builtin_test_support.h"

namespace formula::test {
namespace {

using Series = std::vector<double>;
const double NONE = std::nan("");  // reference's "no value"

struct RefArgs {
  int n;
  std::vector<Series> s;  // series arguments (numbers spread)
  std::vector<double> w;  // numeric arguments (first bar of a series)
};

int Win(double v) { return WindowArg(static_cast<float>(v)); }
int First(const Series& x) {
  int f = 0;
  while (f < static_cast<int>(x.size()) && std::isnan(x[f])) ++f;
  return f;
}
Series Empty(int n) { return Series(n, NONE); }

Series RefSma(const RefArgs& a) {
  Series r = Empty(a.n);
  int N = Win(a.w[1]), M = Win(a.w[2]), f = First(a.s[0]);
  if (N <= M || N < 1 || f >= a.n) return r;
  r[f] = a.s[0][f];
  for (int i = f + 1; i < a.n; ++i) r[i] = (M * a.s[0][i] + (N - M) * r[i - 1]) / N;
  return r;
}
Series RefMa(const RefArgs& a) {
  Series r = Empty(a.n);
  int N = Win(a.w[1]), f = First(a.s[0]);
  if (N <= 0 || a.n < f + N) return r;
  for (int i = f + N - 1; i < a.n; ++i) {
    double s = 0;
    for (int j = i - N + 1; j <= i; ++j) s += a.s[0][j];
    r[i] = s / N;
  }
  return r;
}
Series RefExpLike(const RefArgs& a, int N, int f, int seedAt, bool seedMean, double weight,
                  double div) {
  Series r = Empty(a.n);
  const Series& x = a.s[0];
  double seed = 0;
  if (seedMean) {
    for (int j = f; j <= seedAt; ++j) seed += x[j];
    seed /= N;
  } else {
    seed = x[f];
  }
  r[seedAt] = seed;
  for (int i = seedAt + 1; i < a.n; ++i) r[i] = ((N - 1) * r[i - 1] + weight * x[i]) / div;
  return r;
}
Series RefExpma(const RefArgs& a) {
  int N = Win(a.w[1]), f = First(a.s[0]);
  if (N <= 0 || a.n < f + N) return Empty(a.n);
  return RefExpLike(a, N, f, f, false, 2, N + 1);
}
Series RefEma(const RefArgs& a) {
  int f = First(a.s[0]);
  float given = static_cast<float>(a.w[1]);
  if (given < 1 || a.n < f + given) return Empty(a.n);
  int N = Win(given);
  return RefExpLike(a, N, f, f, false, 2, N + 1);
}
Series RefMema(const RefArgs& a) {
  int N = Win(a.w[1]), f = First(a.s[0]);
  if (N <= 0 || f + N >= a.n) return Empty(a.n);
  return RefExpLike(a, N, f, f + N - 1, true, 1, N);
}
Series RefExpmema(const RefArgs& a) {
  int N = Win(a.w[1]), f = First(a.s[0]);
  if (N <= 0 || f + N > a.n) return Empty(a.n);
  return RefExpLike(a, N, f, f + N - 1, true, 2, N + 1);
}
Series RefDma(const RefArgs& a) {
  Series r = Empty(a.n);
  const Series &x = a.s[0], &w = a.s[1];
  int f = 0;
  while (f < a.n && (std::isnan(x[f]) || std::isnan(w[f]))) ++f;
  if (f >= a.n) return r;
  r[f] = x[f];
  for (int i = f + 1; i < a.n; ++i) r[i] = w[i] < 1 ? r[i - 1] * (1 - w[i]) + w[i] * x[i] : x[i];
  return r;
}
Series RefBackset(const RefArgs& a) {
  Series r = Empty(a.n);
  const Series& x = a.s[0];
  int f = First(x);
  if (f >= a.n) return r;
  int N = Win(a.w[1]);
  int W = std::min(N > 0 ? N : 1, a.n - f);
  for (int i = f; i < a.n; ++i) r[i] = 0;
  for (int i = a.n - 1; i >= f + W; --i)
    if (x[i] != 0)
      for (int j = i - W + 1; j <= i; ++j) r[j] = 1;
  if (x[f + W - 1] != 0)
    for (int j = f; j < f + W; ++j) r[j] = 1;
  return r;
}
Series RefBarscount(const RefArgs& a) {
  Series r = Empty(a.n);
  for (int i = First(a.s[0]); i < a.n; ++i) r[i] = i - First(a.s[0]);
  return r;
}
int FirstTrue(const Series& x) {
  int s = 0;
  while (s < static_cast<int>(x.size()) && (std::isnan(x[s]) || x[s] == 0)) ++s;
  return s;
}
Series RefBarslast(const RefArgs& a) {
  Series r = Empty(a.n);
  for (int i = FirstTrue(a.s[0]); i < a.n; ++i) {
    int j = i;
    while (a.s[0][j] == 0) --j;
    r[i] = i - j;
  }
  return r;
}
Series RefBarssince(const RefArgs& a) {
  Series r = Empty(a.n);
  int s = FirstTrue(a.s[0]);
  for (int i = s; i < a.n; ++i) r[i] = i - s;
  return r;
}
Series RefCount(const RefArgs& a) {
  Series r = Empty(a.n);
  int N = Win(a.w[1]);
  if (N < 1) N = a.n;
  int f = First(a.s[0]);
  for (int i = f; i < a.n; ++i) {
    int c = 0;
    for (int j = std::max(f, i - N + 1); j <= i; ++j) c += a.s[0][j] != 0;
    r[i] = c;
  }
  return r;
}
// HHV family exactly as described (the rule is shared with the bit-exact test).
Series RefExtreme(const RefArgs& a, bool high, bool bars) {
  return RuleExtreme<double>(a.s[0], First(a.s[0]), Win(a.w[1]), high, bars, NONE);
}
Series RefRef(const RefArgs& a) {
  Series r = Empty(a.n);
  int A = Win(a.w[1]);
  if (A < 0 || A >= a.n) return r;
  for (int i = A; i < a.n; ++i) r[i] = a.s[0][i - A];
  return r;
}
Series RefSum(const RefArgs& a) {
  Series r = Empty(a.n);
  int N = Win(a.w[1]);
  if (N < 1 || N > a.n) N = a.n;
  int f = First(a.s[0]);
  for (int i = f; i < a.n; ++i) {
    double s = 0;
    for (int j = std::max(f, i - N + 1); j <= i; ++j) s += a.s[0][j];
    r[i] = s;
  }
  return r;
}
Series RefSumbars(const RefArgs& a) {
  Series r = Empty(a.n);
  const Series &x = a.s[0], &t = a.s[1];
  int f = First(x);
  for (int k = f; k < a.n; ++k) {
    double s = 0;
    int l = k;
    while (l >= f && t[k] > s) s += x[l--];
    if (s >= t[k] && l >= f) r[k] = k - l;
    else r[k] = k == f ? NONE : r[k - 1];
  }
  return r;
}
Series RefCross(const RefArgs& a) {
  Series r = Empty(a.n);
  const Series &x = a.s[0], &y = a.s[1];
  int f = 0;
  while (f < a.n && (std::isnan(x[f]) || std::isnan(y[f]))) ++f;
  for (int i = f + 1; i < a.n; ++i) r[i] = (x[i] > y[i] && x[i - 1] < y[i - 1]) ? 1 : 0;
  return r;
}
Series RefWindowStat(const RefArgs& a, bool stdDev) {
  Series r = Empty(a.n);
  int N = Win(a.w[1]), f = First(a.s[0]);
  if (N <= 0 || a.n < f + N) return r;
  for (int i = f + N - 1; i < a.n; ++i) {
    double mean = 0, dev = 0;
    for (int j = i - N + 1; j <= i; ++j) mean += a.s[0][j] / N;
    for (int j = i - N + 1; j <= i; ++j) {
      double d = a.s[0][j] - mean;
      dev += stdDev ? d * d : std::fabs(d);
    }
    r[i] = stdDev ? std::sqrt(dev / N) : dev / N;
  }
  return r;
}
Series RefMath(const RefArgs& a, const std::function<double(double, double)>& fn, bool two) {
  Series r = Empty(a.n);
  int start = First(a.s[0]);
  if (two)
    while (start < a.n && std::isnan(a.s[1][start])) ++start;
  for (int i = start; i < a.n; ++i) r[i] = fn(a.s[0][i], two ? a.s[1][i] : 0);
  return r;
}

using Ref = std::function<Series(const RefArgs&)>;
std::map<std::string, Ref> References() {
  auto m1 = [](double (*fn)(double)) {
    return Ref([fn](const RefArgs& a) {
      return RefMath(
          a, [fn](double x, double) { return fn(x); }, false);
    });
  };
  auto m2 = [](std::function<double(double, double)> fn) {
    return Ref([fn](const RefArgs& a) { return RefMath(a, fn, true); });
  };
  return {
      {"SMA", RefSma},
      {"MA", RefMa},
      {"EXPMA", RefExpma},
      {"EMA", RefEma},
      {"MEMA", RefMema},
      {"EXPMEMA", RefExpmema},
      {"DMA", RefDma},
      {"BACKSET", RefBackset},
      {"BARSCOUNT", RefBarscount},
      {"BARSLAST", RefBarslast},
      {"BARSSINCE", RefBarssince},
      {"COUNT", RefCount},
      {"HHV", [](const RefArgs& a) { return RefExtreme(a, true, false); }},
      {"HHVBARS", [](const RefArgs& a) { return RefExtreme(a, true, true); }},
      {"LLV", [](const RefArgs& a) { return RefExtreme(a, false, false); }},
      {"LLVBARS", [](const RefArgs& a) { return RefExtreme(a, false, true); }},
      {"REF", RefRef},
      {"SUM", RefSum},
      {"SUMBARS", RefSumbars},
      {"CROSS", RefCross},
      {"STD", [](const RefArgs& a) { return RefWindowStat(a, true); }},
      {"AVEDEV", [](const RefArgs& a) { return RefWindowStat(a, false); }},
      {"SQRT", m1(std::sqrt)},
      {"EXP", m1(std::exp)},
      {"LOG", m1(std::log)},
      {"LN", m1(std::log)},
      {"LOG10", m1(std::log10)},
      {"ABS", m1(std::fabs)},
      {"ACOS", m1(std::acos)},
      {"ASIN", m1(std::asin)},
      {"ATAN", m1(std::atan)},
      {"COS", m1(std::cos)},
      {"COSH", m1(std::cosh)},
      {"SIN", m1(std::sin)},
      {"SINH", m1(std::sinh)},
      {"TAN", m1(std::tan)},
      {"TANH", m1(std::tanh)},
      {"POW", m2([](double x, double y) { return std::pow(x, y); })},
      {"FMOD", m2([](double x, double y) { return std::fmod(x, y); })},
      {"MOD", m2([](double x, double y) { return std::fmod(x, y); })},
      {"MAX", m2([](double x, double y) { return x > y ? x : y; })},
      {"MIN", m2([](double x, double y) { return x < y ? x : y; })},
  };
}

// Quote series read the history; everything else gets random inputs.
TEST(BuiltinReference, EveryFunctionMatchesThePlainReference) {
  const auto refs = References();
  const std::set<std::string> windowedSum = {"MA", "SUM", "STD", "AVEDEV"};
  std::mt19937 rng(20240611);
  int compared = 0;
  for (const SFunctionItem& item : BuiltinTable()) {
    if (item.nCategory == FUNC_QUOTE) continue;
    const auto ref = refs.find(item.szName);
    ASSERT_NE(ref, refs.end()) << item.szName;
    SCOPED_TRACE(item.szName);
    const int argc = BuiltinArgCount(item);
    for (int round = 0; round < 60; ++round) {
      const int n = std::uniform_int_distribution<int>(1, 160)(rng);
      const int lead = std::uniform_int_distribution<int>(0, std::min(n, 6))(rng);
      const int style = round % 3;  // 0 small integers with ties, 1 prices, 2 flags
      auto value = [&]() -> float {
        if (style == 0) return static_cast<float>(std::uniform_int_distribution<int>(0, 9)(rng));
        if (style == 2)
          return static_cast<float>(std::uniform_int_distribution<int>(0, 3)(rng) == 0);
        return std::uniform_real_distribution<float>(0.5f, 100.0f)(rng);
      };
      std::vector<Arg> args;
      RefArgs ra{n, {}, {}};
      for (int k = 0; k < argc; ++k) {
        const bool series =
            item.szSignature[k + 1] == '2' || (k == 1 && std::string(item.szName) == "DMA");
        if (k == 0 || (series && rng() % 2)) {
          std::vector<float> s(n);
          for (int i = 0; i < n; ++i) s[i] = (k == 0 && i < lead) ? I : value();
          // a later bar without a value is not skipped: running sums keep it
          // for ever, so only the other functions are compared with one
          if (k == 0 && round % 4 == 3 && !windowedSum.count(item.szName)) s[rng() % n] = I;
          if (std::string(item.szName) == "DMA" && k == 1)
            for (float& v : s) v = IsInvalidValue(v) ? v : v / 10.0f;
          ra.s.emplace_back(s.begin(), s.end());
          for (double& v : ra.s.back()) v = IsInvalidValue(static_cast<float>(v)) ? NONE : v;
          ra.w.push_back(s[0]);
          args.push_back(std::move(s));
        } else {
          float v = item.nCategory == FUNC_MATH
                        ? value()
                        : static_cast<float>(
                              std::uniform_int_distribution<int>(-2, round % 2 ? 130 : 40)(rng));
          if (k == 1 && std::string(item.szName) == "EMA" && rng() % 2) v += 0.5f;
          if (k == 1 && std::string(item.szName) == "DMA") v /= 40.0f;
          ra.s.emplace_back(n, v);
          ra.w.push_back(v);
          args.push_back(v);
        }
      }
      const std::vector<float> got = CallByName(item.szName, args, n);
      const Series want = ref->second(ra);
      ASSERT_EQ(got.size(), want.size());
      for (int i = 0; i < n; ++i) {
        const bool wantNone = std::isnan(want[i]);
        const float wantF = static_cast<float>(want[i]);  // results are stored as floats
        if (wantNone) {
          ASSERT_TRUE(IsInvalidValue(got[i])) << "bar " << i << " of " << n << " got " << got[i];
        } else {
          ASSERT_FALSE(IsInvalidValue(got[i])) << "bar " << i << " of " << n << " want " << want[i];
          if (std::isinf(wantF)) {
            ASSERT_EQ(got[i], wantF) << "bar " << i << " of " << n;
          } else {
            ASSERT_NEAR(got[i], wantF, 2e-4 * std::max(1.0f, std::fabs(wantF)))
                << "bar " << i << " of " << n;
          }
        }
      }
      ++compared;
    }
  }
  EXPECT_EQ(compared, 42 * 60);
}

}  // namespace
}  // namespace formula::test

namespace formula::test {
namespace {

// Long windows over long series (several blocks of the ranked AVEDEV).
TEST(BuiltinReference, LongWindowStatisticsMatchThePlainReference) {
  std::mt19937 rng(99);
  const int n = 1500;
  std::vector<float> x(n);
  float price = 50.0f;
  for (int i = 0; i < n; ++i) {
    price += std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng);
    x[i] = i < 3 ? I : (i % 7 == 0 ? std::round(price) : price);  // some equal values
  }
  RefArgs ra{n, {Series(x.begin(), x.end())}, {0, 0}};
  for (double& v : ra.s[0]) v = IsInvalidValue(static_cast<float>(v)) ? NONE : v;
  for (int window : {65, 129, 200, 333, 1000}) {
    for (bool stdDev : {false, true}) {
      SCOPED_TRACE(std::string(stdDev ? "STD " : "AVEDEV ") + std::to_string(window));
      ra.w[1] = window;
      const Series want = RefWindowStat(ra, stdDev);
      const std::vector<float> got =
          CallByName(stdDev ? "STD" : "AVEDEV", {x, static_cast<float>(window)}, n);
      for (int i = 0; i < n; ++i) {
        if (std::isnan(want[i])) {
          ASSERT_TRUE(IsInvalidValue(got[i])) << i;
        } else {
          ASSERT_NEAR(got[i], want[i], 1e-4 * std::max(1.0, std::fabs(want[i]))) << i;
        }
      }
    }
  }
}

}  // namespace
}  // namespace formula::test
