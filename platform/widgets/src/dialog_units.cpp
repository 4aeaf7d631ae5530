// Dialog units. Win32 derives a dialog's base units from its font as the
// machine draws it; here they are fixed per dialog font, so a layout given
// in dialog units comes out the same on every machine.
#include <cmath>
#include <cstring>
#include <string>

#include "platform/dialog.h"
#include "platform/gbk.h"

namespace platform {
namespace {

struct FontUnits {
  const char* faceUtf8;
  int points;
  SIZE units;
};

// Average character width and cell height of the dialog fonts the system uses.
constexpr FontUnits kUnits[] = {
    {"宋体", 9, {6, 12}},          {"新宋体", 9, {6, 12}},
    {"MS Shell Dlg", 8, {6, 13}},  {"MS Shell Dlg 2", 8, {6, 13}},
    {"MS Sans Serif", 8, {6, 13}}, {"Microsoft Sans Serif", 8, {6, 13}},
    {"Tahoma", 8, {6, 13}},        {"Segoe UI", 9, {7, 15}},
};

// The MulDiv rounding Win32 uses: half away from zero.
int MulDiv(int value, int numerator, int denominator) {
  const long long product = (long long)value * numerator;
  const long long half = denominator / 2;
  return (int)(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

}  // namespace

SIZE DialogBaseUnits(const char* faceGbk, int points) {
  const std::string face = faceGbk ? GbkToUtf8(faceGbk) : "宋体";
  for (const FontUnits& f : kUnits)
    if (face == f.faceUtf8 && points == f.points) return f.units;
  // Other fonts: a cell of the font's pixel height, half as wide.
  const int pixels = std::max(1, (int)std::lround(points * 96.0 / 72.0));
  return SIZE{(pixels + 1) / 2, pixels};
}

void MapDialogUnits(SIZE base, RECT* rect) {
  if (!rect) return;
  rect->left = MulDiv(rect->left, base.cx, 4);
  rect->right = MulDiv(rect->right, base.cx, 4);
  rect->top = MulDiv(rect->top, base.cy, 8);
  rect->bottom = MulDiv(rect->bottom, base.cy, 8);
}

}  // namespace platform
