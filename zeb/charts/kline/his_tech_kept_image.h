// The K-line chart's kept picture: its last full paint and what lay under
// it, each in a memory DC of the chart's rectangle, for the cheap repaint
// after ticks.
#pragma once
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
};
