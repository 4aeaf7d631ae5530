// The operator and condition table of formula expressions, element by
// element, and the ASCII-only case folding of formula text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "formula/text/GbkText.h"
#include "formula/text/ValueOps.h"

using namespace formula;

namespace {

struct OpCase {
  int op;
  float a, b, expected;
};

class OperatorTable : public ::testing::TestWithParam<OpCase> {};

TEST_P(OperatorTable, GivesTheTableResult) {
  const OpCase& c = GetParam();
  EXPECT_FLOAT_EQ(ApplyBinary(c.op, c.a, c.b), c.expected)
      << "op " << c.op << " " << c.a << " " << c.b;
  // The series form agrees with the element form, scalar on either side.
  float a[3] = {c.a, c.a, c.a}, b[3] = {c.b, c.b, c.b}, out[3] = {};
  ApplyBinarySeries(c.op, a, 0, b, 0, out, 3);
  EXPECT_FLOAT_EQ(out[2], c.expected);
  ApplyBinarySeries(c.op, nullptr, c.a, b, 0, out, 3);
  EXPECT_FLOAT_EQ(out[1], c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formula, OperatorTable,
    ::testing::Values(OpCase{OP_ADD, 1.5f, 2.25f, 3.75f}, OpCase{OP_SUB, 1.0f, 3.0f, -2.0f},
                      OpCase{OP_MUL, 3.0f, -2.0f, -6.0f}, OpCase{OP_DIV, 7.0f, 2.0f, 3.5f},
                      // "%": remainder of the integer parts, with the sign of a.
                      OpCase{OP_MOD, 7.0f, 2.9f, 1.0f}, OpCase{OP_MOD, -7.0f, 2.0f, -1.0f},
                      OpCase{OP_MOD, 7.9f, -3.5f, 1.0f},
                      // Comparisons work on d = a - b with the 0.001 tolerance: equal
                      // operands compare as less, and not as greater-or-equal.
                      OpCase{OP_LT, 3.0f, 3.0f, 1.0f}, OpCase{OP_LT, 3.0f, 2.0f, 0.0f},
                      OpCase{OP_LE, 3.0f, 3.0f, 1.0f}, OpCase{OP_LE, 3.01f, 3.0f, 0.0f},
                      OpCase{OP_GT, 3.0f, 3.0f, 0.0f}, OpCase{OP_GT, 3.01f, 3.0f, 1.0f},
                      OpCase{OP_GE, 3.0f, 3.0f, 0.0f}, OpCase{OP_GE, 3.01f, 3.0f, 1.0f},
                      OpCase{OP_EQ, 1.0f, 1.0005f, 1.0f}, OpCase{OP_EQ, 1.0f, 1.01f, 0.0f},
                      OpCase{OP_NE, 1.0f, 1.0005f, 0.0f}, OpCase{OP_NE, 1.0f, 1.01f, 1.0f},
                      OpCase{OP_AND, 0.5f, -2.0f, 1.0f}, OpCase{OP_AND, 0.0009f, 1.0f, 0.0f},
                      OpCase{OP_OR, 0.0f, 0.002f, 1.0f}, OpCase{OP_OR, 0.0f, -0.0005f, 0.0f}));

TEST(FormulaOperators, InvalidValueIsFalseInConditionsAndSpreadsThroughArithmetic) {
  const float bad = INVALID_VALUE;
  for (int op : {OP_LT, OP_LE, OP_GT, OP_GE, OP_EQ, OP_NE, OP_AND}) {
    EXPECT_EQ(ApplyBinary(op, bad, 1.0f), 0.0f) << op;
    EXPECT_EQ(ApplyBinary(op, 1.0f, bad), 0.0f) << op;
  }
  EXPECT_EQ(ApplyBinary(OP_OR, bad, 0.0f), 0.0f);
  EXPECT_EQ(ApplyBinary(OP_OR, bad, 1.0f), 1.0f);
  for (int op : {OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD}) {
    EXPECT_TRUE(IsInvalidValue(ApplyBinary(op, bad, 2.0f))) << op;
    EXPECT_TRUE(IsInvalidValue(ApplyBinary(op, 2.0f, bad))) << op;
  }
  EXPECT_FALSE(IsTrue(bad));
}

// Long series take the operators several bars at a time: every bar, the
// tail after the last whole block included, is the element form's, bit for
// bit, whatever value meets whatever.
TEST(FormulaOperators, TheSeriesFormMatchesTheElementFormOnEveryBar) {
  const float inf = INFINITY;
  const float values[] = {1.5f,          -2.0f,         0.0f,  -0.0f,  inf, -inf,
                          INVALID_VALUE, std::nanf(""), 3e38f, 1e-40f, 7.0f};
  constexpr int n = 11 * 11;
  float a[n], b[n], out[n];
  for (int i = 0; i < n; ++i) {
    a[i] = values[i % 11];
    b[i] = values[i / 11];
  }
  auto bits = [](float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
  };
  for (int op : {OP_ADD, OP_SUB, OP_MUL, OP_DIV, OP_MOD, OP_LT, OP_GE, OP_EQ, OP_AND, OP_OR}) {
    ApplyBinarySeries(op, a, 0, b, 0, out, n);
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(bits(out[i]), bits(ApplyBinary(op, a[i], b[i]))) << op << " bar " << i;
    for (float scalar : values) {
      ApplyBinarySeries(op, nullptr, scalar, b, 0, out, n);
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(bits(out[i]), bits(ApplyBinary(op, scalar, b[i]))) << op << " bar " << i;
      ApplyBinarySeries(op, a, 0, nullptr, scalar, out, n);
      for (int i = 0; i < n; ++i)
        ASSERT_EQ(bits(out[i]), bits(ApplyBinary(op, a[i], scalar))) << op << " bar " << i;
    }
  }
}

TEST(FormulaOperators, UnaryMinusKeepsTheInvalidValueInvalid) {
  EXPECT_TRUE(IsInvalidValue(Negate(INVALID_VALUE)));
  EXPECT_EQ(Negate(2.5f), -2.5f);
  float in[3] = {1.0f, INVALID_VALUE, -4.0f}, out[3];
  NegateSeries(in, out, 3);
  EXPECT_EQ(out[0], -1.0f);
  EXPECT_TRUE(IsInvalidValue(out[1]));
  EXPECT_EQ(out[2], 4.0f);
}

TEST(FormulaOperators, ModuloByAZeroIntegerPartOrNonFiniteGivesInvalid) {
  EXPECT_TRUE(IsInvalidValue(ApplyBinary(OP_MOD, 7.0f, 0.5f)));
  EXPECT_TRUE(IsInvalidValue(ApplyBinary(OP_MOD, 7.0f, 0.0f)));
  EXPECT_TRUE(IsInvalidValue(ApplyBinary(OP_MOD, INFINITY, 3.0f)));
  // Beyond the 32-bit range the remainder is still the integer one.
  EXPECT_FLOAT_EQ(ApplyBinary(OP_MOD, 1e10f, 7.0f), float(std::fmod(1e10, 7.0)));
}

TEST(FormulaOperators, ArithmeticNaNBecomesInvalidDivisionByZeroStaysInfinite) {
  EXPECT_TRUE(IsInvalidValue(ApplyBinary(OP_DIV, 0.0f, 0.0f)));
  EXPECT_TRUE(std::isinf(ApplyBinary(OP_DIV, 1.0f, 0.0f)));
}

TEST(FormulaText, FoldingTouchesOnlyAsciiLettersNeverGbkBytes) {
  // "指标" in GBK is D6 B8 B1 EA; "A" as a trail byte (0x41) must survive.
  char text[] = "MA\xD6\xB8X\x81\x41Zz\xFF";
  FoldLowerAscii(text);
  EXPECT_STREQ(text, "ma\xD6\xB8x\x81\x41zz\xFF");
  FoldUpperAscii(text);
  EXPECT_STREQ(text, "MA\xD6\xB8X\x81\x41ZZ\xFF");
}

TEST(FormulaText, CompareIgnoresAsciiCaseOnly) {
  EXPECT_TRUE(EqualNoCase("TestZB", "testzb"));
  EXPECT_FALSE(EqualNoCase("\x81\x41", "\x81\x61"));  // two different characters
  EXPECT_TRUE(EqualNoCase("\x81\x41X", "\x81\x41x"));
  EXPECT_FALSE(EqualNoCase("ab", "abc"));
}

}  // namespace
