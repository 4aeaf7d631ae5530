// Hue, lightness and saturation of COLORREF colours, for deriving light and
// dark shades of one base colour.
#pragma once
#include <cstdint>

#include "platform/types.h"

// Packed HSL: hue in bits 0-7 (0-255 for 0-360 degrees), lightness in bits
// 8-15, saturation in bits 16-23 (each 0-255).
uint32_t RgbToHsl(COLORREF color);
COLORREF HslToRgb(uint32_t hsl);
// Moves lightness and saturation by percentages (-100..100): towards 255
// for a positive percent, towards 0 for a negative one.
COLORREF AdjustColorHsl(COLORREF color, int lightPercent, int satPercent);
