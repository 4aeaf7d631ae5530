// The K-line chart's kept picture: its last full paint and what lay under
// it, each in a memory DC of the chart's rectangle, for the cheap repaint
// after ticks; and, while a cursor is shown, its last paint without the
// crosshair and the drawn figures (bare, made when first needed, in the
// chart's coordinates), which the crosshair is drawn over.
#pragma once
#include <vector>

#include "platform/gdi.h"
#include "zeb/charts/kline/his_tech_obj.h"

struct CHisTechObj::SKeptImage {
  RECT rect{};
  CDC picture, under;
  CBitmap pictureBitmap, underBitmap;
  bool Make(const RECT& r) {
    rect = r;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    return picture.CreateCompatibleDC(nullptr) && under.CreateCompatibleDC(nullptr) &&
           pictureBitmap.CreateBitmap(w, h) && underBitmap.CreateBitmap(w, h) &&
           picture.SelectObject(&pictureBitmap) != nullptr &&
           under.SelectObject(&underBitmap) != nullptr;
  }
  CDC bare;
  CBitmap bareBitmap;
  bool bareMade = false;
  bool MakeBare() {
    if (bareMade) return true;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (!bare.CreateCompatibleDC(nullptr) || !bareBitmap.CreateBitmap(w, h) ||
        bare.SelectObject(&bareBitmap) == nullptr)
      return false;
    bare.SetWindowOrg(rect.left, rect.top);
    bareMade = true;
    return true;
  }
};

// Clips the DC to the areas (its logical units); gives the saved state the
// caller restores.
int ClipToAreas(CDC* dc, const std::vector<RECT>& areas);
