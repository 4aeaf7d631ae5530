#include "sharecode/color_hsl.h"

#include <algorithm>

namespace {

double HueValue(double m1, double m2, double h) {
  if (h > 360) h -= 360;
  if (h < 0) h += 360;
  if (h < 60) return m1 + (m2 - m1) * h / 60;
  if (h < 180) return m2;
  if (h < 240) return m1 + (m2 - m1) * (240 - h) / 60;
  return m1;
}

int Adjust(int value, int percent) {
  if (percent > 0) value += (255 - value) * percent / 100;
  else if (percent < 0) value = value * (100 + percent) / 100;
  return std::clamp(value, 0, 255);
}

}  // namespace

uint32_t RgbToHsl(COLORREF color) {
  const int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  const int max = std::max({r, g, b}), min = std::min({r, g, b});
  const double l = (max + min) / 510.0;
  double h = 0, s = 0;
  if (max != min) {
    const double d = max - min;
    s = l <= 0.5 ? d / (max + min) : d / (510 - max - min);
    const double rc = (max - r) / d, gc = (max - g) / d, bc = (max - b) / d;
    if (b == max) h = (4 + gc - rc) * 60;
    else if (g == max) h = (2 + rc - bc) * 60;
    else h = (6 + bc - gc) * 60;
    if (h > 360) h -= 360;
  }
  const uint32_t hue = (uint32_t)(h * 255 / 360), light = (uint32_t)(l * 255),
                 sat = (uint32_t)(s * 255);
  return (hue & 0xFF) | (light & 0xFF) << 8 | (sat & 0xFF) << 16;
}

COLORREF HslToRgb(uint32_t hsl) {
  const int hueByte = hsl & 0xFF, lightByte = (hsl >> 8) & 0xFF, satByte = (hsl >> 16) & 0xFF;
  const double s = satByte / 255.0;
  if (s == 0) return RGB(lightByte, lightByte, lightByte);
  const double l = lightByte / 255.0;
  const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double m1 = 2 * l - m2;
  const double h = hueByte * 360.0 / 255;
  auto channel = [&](double hue) { return std::clamp((int)(HueValue(m1, m2, hue) * 255), 0, 255); };
  return RGB(channel(h + 120), channel(h), channel(h - 120));
}

COLORREF AdjustColorHsl(COLORREF color, int lightPercent, int satPercent) {
  uint32_t hsl = RgbToHsl(color);
  int light = Adjust((hsl >> 8) & 0xFF, lightPercent);
  int sat = Adjust((hsl >> 16) & 0xFF, satPercent);
  return HslToRgb((hsl & 0xFF) | (uint32_t)light << 8 | (uint32_t)sat << 16);
}
