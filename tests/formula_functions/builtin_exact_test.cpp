// The window and average built-ins against the plain loops that define
// them, on series long enough for every path of their kernels: bit for bit
// the window sums summed several bars at a time while exact and in the
// plain order after a value that breaks exactness, HHV's searches and its
// step-by-step rule; and within four units in the last place of their
// defining form, the averages carried in double, in stretches that must
// meet the true chain (or be recomputed where they do not).
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <random>
#include <string>

#include "builtin_test_support.h"
#include "formula/functions/window_sums.h"

// A namespace of its own: the suites beside it name their own Series and
// First, over doubles.
namespace formula::test::exact {
namespace {

using Series = std::vector<float>;

float Stored(float v) { return v != v ? INVALID_VALUE : v; }
int First(const Series& x) {
  int f = 0;
  while (f < static_cast<int>(x.size()) && IsInvalidValue(x[f])) ++f;
  return f;
}

// MA (divide) and SUM: a running sum in double, X[i] added, X[i-N] taken off.
Series PlainWindowSum(const Series& x, int N, bool divide) {
  const int n = static_cast<int>(x.size()), f = First(x);
  Series r(n, I);
  double sum = 0.0;
  for (int i = f; i < n; ++i) {
    sum += x[i];
    if (i >= f + N) sum -= x[i - N];
    if (!divide) r[i] = Stored(static_cast<float>(sum));
    else if (i >= f + N - 1) r[i] = Stored(static_cast<float>(sum / N));
  }
  return r;
}

// STD: sums of X - X[f], taken afresh every N bars from the first window on.
Series PlainStd(const Series& x, int N) {
  const int n = static_cast<int>(x.size()), f = First(x);
  Series r(n, I);
  int end = f;
  while (end < n && std::isfinite(x[end])) ++end;
  const double shift = x[f];
  double s1 = 0.0, s2 = 0.0;
  for (int i = f + N - 1; i < end; ++i) {
    if ((i - (f + N - 1)) % N == 0) {
      s1 = s2 = 0.0;
      for (int j = i - N + 1; j <= i; ++j) {
        const double d = x[j] - shift;
        s1 += d;
        s2 += d * d;
      }
    } else {
      const double in = x[i] - shift, out = x[i - N] - shift;
      s1 += in - out;
      s2 += in * in - out * out;
    }
    r[i] = static_cast<float>(std::sqrt(std::max(s2 - s1 * s1 / N, 0.0) / N));
  }
  return r;
}

std::string Bits(float v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(std::bit_cast<uint32_t>(v)));
  return text;
}

// The averages as defined: Y = (keep*Y' + weight*X) / divisor, worked in
// long double from the seed on bar seedAt and rounded once per bar.
Series DefiningRecurrence(const Series& x, int seedAt, float seed, int keep, int weight,
                          int divisor) {
  const int n = static_cast<int>(x.size());
  Series r(n, I);
  long double y = seed;
  r[seedAt] = Stored(seed);
  for (int i = seedAt + 1; i < n; ++i) {
    y = (keep * y + static_cast<long double>(weight) * x[i]) / divisor;
    r[i] = Stored(static_cast<float>(y));
  }
  return r;
}

// Distance in units in the last place (floats of one sign ordered as
// integers, across zero too).
int64_t UlpDistance(float a, float b) {
  auto order = [](float v) {
    const int32_t bits = std::bit_cast<int32_t>(v);
    return bits < 0 ? int64_t{INT32_MIN} - bits : int64_t{bits};
  };
  return std::llabs(order(a) - order(b));
}

// Bars without a value and infinities alike, every other bar within ulps of
// the defining form; or, where the defining form cancels to nearly nothing,
// within a rounding of the values averaged (sizeOfValues, 0 for none).
::testing::AssertionResult WithinUlps(const Series& got, const Series& want, int64_t ulps,
                                      float sizeOfValues = 0) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "size " << got.size();
  for (size_t i = 0; i < want.size(); ++i) {
    const bool same = std::bit_cast<uint32_t>(got[i]) == std::bit_cast<uint32_t>(want[i]);
    if (same) continue;
    if (IsInvalidValue(want[i]) || IsInvalidValue(got[i]) || !std::isfinite(want[i]) ||
        UlpDistance(got[i], want[i]) > ulps) {
      if (std::isfinite(got[i]) && std::isfinite(want[i]) &&
          std::fabs(got[i] - want[i]) <= 1e-13f * sizeOfValues)
        continue;
      return ::testing::AssertionFailure()
             << "bar " << i << ": got " << got[i] << " (" << Bits(got[i]) << "), want " << want[i]
             << " (" << Bits(want[i]) << ")";
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult SameBits(const Series& got, const Series& want) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "size " << got.size();
  for (size_t i = 0; i < want.size(); ++i)
    if (std::bit_cast<uint32_t>(got[i]) != std::bit_cast<uint32_t>(want[i]))
      return ::testing::AssertionFailure()
             << "bar " << i << ": got " << got[i] << " (" << Bits(got[i]) << "), want " << want[i]
             << " (" << Bits(want[i]) << ")";
  return ::testing::AssertionSuccess();
}

// Series of n bars that start with three bars without a value.
struct Shape {
  const char* name;
  std::function<float(int bar, float price, std::mt19937& rng)> value;
};

// Subnormals matter to the exactness of window sums; elsewhere they only
// slow the test down.
std::vector<Shape> Shapes(bool withSubnormals) {
  std::vector<Shape> shapes = {
      {"prices", [](int, float p, std::mt19937&) { return p; }},
      {"prices over forty binades",
       [](int, float p, std::mt19937& rng) {
         return std::ldexp(p, static_cast<int>(rng() % 40) - 20);
       }},
      {"a bar without a value midway",
       [](int i, float p, std::mt19937&) { return i == 11111 ? I : p; }},
      {"an infinity midway",
       [](int i, float p, std::mt19937&) { return i == 12345 ? INFINITY : p; }},
      // within the first window of the long windows
      {"an infinity early", [](int i, float p, std::mt19937&) { return i == 500 ? INFINITY : p; }},
      {"a NaN on the first bar with a value",
       [](int i, float p, std::mt19937&) {
         return i == 3 ? std::numeric_limits<float>::quiet_NaN() : p;
       }},
      {"small signed integers and both zeros",
       [](int, float, std::mt19937& rng) {
         const int v = static_cast<int>(rng() % 7) - 3;
         return v == 0 && rng() % 2 ? -0.0f : static_cast<float>(v);
       }},
      {"prices then flat", [](int i, float p, std::mt19937&) { return i < 3000 ? p : 50.0f; }},
      // each bar a new extreme: no search at all one way, one on every bar
      // the other
      {"rising", [](int i, float, std::mt19937&) { return 10.0f + 0.01f * static_cast<float>(i); }},
      {"falling then an infinity",
       [](int i, float, std::mt19937&) {
         return i == 15000 ? INFINITY : 500.0f - 0.01f * static_cast<float>(i);
       }},
  };
  if (withSubnormals)
    shapes.push_back({"subnormals", [](int, float, std::mt19937& rng) {
                        return 1e-40f * static_cast<float>(rng() % 100);
                      }});
  return shapes;
}

Series Make(const Shape& shape, int n, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> step(0.0f, 1.0f);
  Series x(n);
  float price = 100.0f;
  for (int i = 0; i < n; ++i) {
    price = std::max(1.0f, price + step(rng));
    x[i] = i < 3 ? I : shape.value(i, price, rng);
  }
  return x;
}

// Chart-sized series too, where the first window is most of the series
// (summed in any order while exact) and its length no multiple of the
// kernels' steps. The window sums run at the processor's widest vectors
// and again at the narrow ones every x86-64 has.
class BuiltinExactSums : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { routines::UseNarrowWindowSums(GetParam()); }
  void TearDown() override { routines::UseNarrowWindowSums(false); }
};
INSTANTIATE_TEST_SUITE_P(Widths, BuiltinExactSums, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? "Narrow" : "Widest";
                         });

TEST_P(BuiltinExactSums, WindowSumsAndDeviationsMatchThePlainLoops) {
  for (const Shape& shape : Shapes(true)) {
    for (int n : {1003, 1999}) {
      const Series x = Make(shape, n, 4);
      for (int N : {20, 1000}) {
        SCOPED_TRACE(std::string(shape.name) + ", n=" + std::to_string(n) +
                     ", N=" + std::to_string(N));
        const float w = static_cast<float>(N);
        EXPECT_TRUE(SameBits(CallByName("MA", {x, w}, n), PlainWindowSum(x, N, true)));
        EXPECT_TRUE(SameBits(CallByName("SUM", {x, w}, n), PlainWindowSum(x, N, false)));
        EXPECT_TRUE(SameBits(CallByName("STD", {x, w}, n), PlainStd(x, N)));
      }
    }
    const Series x = Make(shape, 20000, 5);
    for (int N : {1, 2, 5, 20, 1000}) {
      SCOPED_TRACE(std::string(shape.name) + ", N=" + std::to_string(N));
      const float w = static_cast<float>(N);
      EXPECT_TRUE(SameBits(CallByName("MA", {x, w}, 20000), PlainWindowSum(x, N, true)));
      EXPECT_TRUE(SameBits(CallByName("SUM", {x, w}, 20000), PlainWindowSum(x, N, false)));
      EXPECT_TRUE(SameBits(CallByName("STD", {x, w}, 20000), PlainStd(x, N)));
    }
    SCOPED_TRACE(shape.name);
    EXPECT_TRUE(SameBits(CallByName("SUM", {x, 0.0f}, 20000), PlainWindowSum(x, 20000, false)));
  }
}

TEST(BuiltinExact, HighestAndLowestMatchTheRule) {
  for (const Shape& shape : Shapes(true)) {
    const Series x = Make(shape, 20000, 6);
    for (int N : {0, 1, 2, 3, 9, 20, 32, 33, 1000, 20000}) {
      SCOPED_TRACE(std::string(shape.name) + ", N=" + std::to_string(N));
      const float w = static_cast<float>(N);
      EXPECT_TRUE(SameBits(CallByName("HHV", {x, w}, 20000),
                           RuleExtreme<float>(x, First(x), N, true, false, I)));
      EXPECT_TRUE(SameBits(CallByName("LLV", {x, w}, 20000),
                           RuleExtreme<float>(x, First(x), N, false, false, I)));
      EXPECT_TRUE(SameBits(CallByName("HHVBARS", {x, w}, 20000),
                           RuleExtreme<float>(x, First(x), N, true, true, I)));
      EXPECT_TRUE(SameBits(CallByName("LLVBARS", {x, w}, 20000),
                           RuleExtreme<float>(x, First(x), N, false, true, I)));
    }
  }
}

// 200000 bars: long enough for the stretches of every window here; the
// shorter series have stretches only for the shorter windows, some barely
// longer than the bars they run ahead.
TEST(BuiltinExact, AveragesMatchTheirDefiningRecurrence) {
  for (const Shape& shape : Shapes(false)) {
    for (int n : {450, 1000, 4999, 30001, 200000}) {
      const Series x = Make(shape, n, 7);
      const int f = First(x);
      for (int N : {2, 20, 1000}) {
        if (f + N + 1 >= n) continue;  // no value at all: the golden tests see to that
        SCOPED_TRACE(std::string(shape.name) + ", n=" + std::to_string(n) +
                     ", N=" + std::to_string(N));
        const float w = static_cast<float>(N);
        double seedSum = 0.0;
        for (int j = f; j < f + N; ++j) seedSum += x[j];
        const float mean = static_cast<float>(seedSum / N);
        const float size = 3.0f;  // of the signed integers; prices never cancel
        const Series emaLike = DefiningRecurrence(x, f, x[f], N - 1, 2, N + 1);
        EXPECT_TRUE(WithinUlps(CallByName("EXPMA", {x, w}, n), emaLike, 4, size));
        EXPECT_TRUE(WithinUlps(CallByName("EMA", {x, w}, n), emaLike, 4, size));
        EXPECT_TRUE(WithinUlps(CallByName("MEMA", {x, w}, n),
                               DefiningRecurrence(x, f + N - 1, mean, N - 1, 1, N), 4, size));
        EXPECT_TRUE(WithinUlps(CallByName("EXPMEMA", {x, w}, n),
                               DefiningRecurrence(x, f + N - 1, mean, N - 1, 2, N + 1), 4, size));
        EXPECT_TRUE(WithinUlps(CallByName("SMA", {x, w, 1.0f}, n),
                               DefiningRecurrence(x, f, x[f], N - 1, 1, N), 4, size));
        if (N > 2) {
          EXPECT_TRUE(WithinUlps(CallByName("SMA", {x, w, 2.0f}, n),
                                 DefiningRecurrence(x, f, x[f], N - 2, 2, N), 4, size));
        }
      }
    }
  }
}

// ABS, MAX and MIN (and FMOD and MOD, bound to MIN) four bars at a time:
// every bar what the routine gives in double, stored as a float, whatever
// value meets whatever, the bars after the last whole four included.
TEST(BuiltinExact, MathFunctionsMatchTheirRoutinesOnEveryBar) {
  const float values[] = {1.5f, -2.0f,         0.0f,  -0.0f,  INFINITY, -INFINITY,
                          I,    std::nanf(""), 3e38f, 1e-40f, -7.0f};
  constexpr int n = 11 * 11 + 3;
  Series x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = i < 3 ? I : values[(i - 3) % 11];
    y[i] = values[((i - 3) / 11) % 11];
  }
  for (const char* name : {"ABS", "MAX", "MIN", "FMOD", "MOD"}) {
    SCOPED_TRACE(name);
    const SFunctionItem* row = FindBuiltin(name);
    ASSERT_NE(row, nullptr);
    const bool two = row->routine.pMath2 != nullptr;
    const Series got = two ? CallByName(name, {x, y}, n) : CallByName(name, {x}, n);
    int start = First(x);
    while (two && start < n && IsInvalidValue(y[start])) ++start;
    Series want(n, I);
    for (int i = start; i < n; ++i)
      want[i] = Stored(
          static_cast<float>(two ? row->routine.pMath2(x[i], y[i]) : row->routine.pMath1(x[i])));
    EXPECT_TRUE(SameBits(got, want));
  }
}

// The averages step as Y' + k (X - Y'): over a million bars of prices, and
// of prices with a bar without a value, a NaN, or infinities, every bar
// stays within four units in the last place of the defining form (where
// the float loop strays by dozens at long windows).
TEST(BuiltinExact, FactorFormStaysWithinFourUnitsOfTheDefiningForm) {
  constexpr int n = 1000000;
  const std::vector<Shape> shapes = {
      {"prices", [](int, float p, std::mt19937&) { return p; }},
      {"a bar without a value at 600,000",
       [](int i, float p, std::mt19937&) { return i == 600000 ? I : p; }},
      {"a NaN at 700,000",
       [](int i, float p, std::mt19937&) {
         return i == 700000 ? std::numeric_limits<float>::quiet_NaN() : p;
       }},
      {"an infinity at 800,000",
       [](int i, float p, std::mt19937&) { return i == 800000 ? INFINITY : p; }},
      {"both infinities",
       [](int i, float p, std::mt19937&) {
         return i == 500000 ? INFINITY : i == 900000 ? -INFINITY : p;
       }},
  };
  for (const Shape& shape : shapes) {
    const Series x = Make(shape, n, 8);
    const int f = First(x);
    for (int N : {2, 12, 26, 1000}) {
      SCOPED_TRACE(std::string(shape.name) + ", N=" + std::to_string(N));
      const float w = static_cast<float>(N);
      const Series want = DefiningRecurrence(x, f, x[f], N - 1, 2, N + 1);
      EXPECT_TRUE(WithinUlps(CallByName("EMA", {x, w}, n), want, 4));
      EXPECT_TRUE(WithinUlps(CallByName("EXPMA", {x, w}, n), want, 4));
      EXPECT_TRUE(WithinUlps(CallByName("SMA", {x, w, 1.0f}, n),
                             DefiningRecurrence(x, f, x[f], N - 1, 1, N), 4));
    }
  }
}

}  // namespace
}  // namespace formula::test::exact
