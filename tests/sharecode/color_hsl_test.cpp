#include <gtest/gtest.h>

#include <cstdlib>

#include "sharecode/color_hsl.h"

namespace {

TEST(ColorHsl, PrimariesConvertAsComputedByHand) {
  // Pure red: hue 360 degrees stays 360 (byte 255), lightness 0.5 -> 127.
  EXPECT_EQ(RgbToHsl(RGB(255, 0, 0)), 0xFF7FFFu);
  EXPECT_EQ(RgbToHsl(RGB(0, 255, 0)), 0xFF7F55u);
  EXPECT_EQ(RgbToHsl(RGB(0, 0, 255)), 0xFF7FAAu);
  EXPECT_EQ(HslToRgb(0xFF7FFFu), RGB(254, 0, 0));
}

TEST(ColorHsl, GreysKeepHueAndSaturationZero) {
  for (int v : {0, 1, 77, 128, 200, 255}) {
    uint32_t hsl = RgbToHsl(RGB(v, v, v));
    EXPECT_EQ(hsl & 0xFF, 0u);
    EXPECT_EQ((hsl >> 16) & 0xFF, 0u);
    EXPECT_EQ(HslToRgb(hsl), RGB(v, v, v)) << v;
  }
}

TEST(ColorHsl, AdjustWithoutChangeRoundTripsWithinRounding) {
  const COLORREF colours[] = {RGB(255, 0, 0),    RGB(12, 200, 90), RGB(250, 240, 10),
                              RGB(30, 60, 200),  RGB(128, 64, 32), RGB(1, 2, 3),
                              RGB(240, 120, 250)};
  // Hue is kept in 256 steps of 1.4 degrees and every byte is cut, not
  // rounded: a saturated colour may come back up to 8 off per channel.
  for (COLORREF c : colours) {
    COLORREF back = AdjustColorHsl(c, 0, 0);
    EXPECT_LE(std::abs(GetRValue(back) - GetRValue(c)), 8) << std::hex << c;
    EXPECT_LE(std::abs(GetGValue(back) - GetGValue(c)), 8) << std::hex << c;
    EXPECT_LE(std::abs(GetBValue(back) - GetBValue(c)), 8) << std::hex << c;
    EXPECT_EQ(AdjustColorHsl(c, 100, 0), RGB(255, 255, 255));
    EXPECT_EQ(AdjustColorHsl(c, -100, 0), RGB(0, 0, 0));
  }
}

TEST(ColorHsl, PercentagesMoveLightnessAndSaturation) {
  const COLORREF base = RGB(30, 60, 200);
  auto light = [](COLORREF c) { return (RgbToHsl(c) >> 8) & 0xFF; };
  auto sat = [](COLORREF c) { return (RgbToHsl(c) >> 16) & 0xFF; };
  EXPECT_GT(light(AdjustColorHsl(base, 40, 0)), light(base));
  EXPECT_LT(light(AdjustColorHsl(base, -40, 0)), light(base));
  EXPECT_LT(sat(AdjustColorHsl(base, 0, -60)), sat(base));
  // Full desaturation leaves a grey.
  COLORREF grey = AdjustColorHsl(base, 0, -100);
  EXPECT_EQ(GetRValue(grey), GetGValue(grey));
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
}

}  // namespace
