// What the controls' tests share: rectangles as text for comparisons, the
// exact key-colour mask check, and the test scheme (test_scheme.h).
#pragma once
#include <QImage>
#include <QRegion>
#include <span>
#include <string>

#include <gtest/gtest.h>

#include "platform/dialog.h"
#include "platform/types.h"
#include "test_scheme.h"

inline std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

// Every pixel of the image is in the region exactly when it is not the key
// colour (the ARGB value of its top-left pixel); nothing outside the image
// is in it.
inline void ExpectKeyMask(const QImage& image, const QRegion& region) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = argb.pixel(0, 0);
  int kept = 0;
  for (int y = 0; y < argb.height(); ++y)
    for (int x = 0; x < argb.width(); ++x) {
      const bool keep = argb.pixel(x, y) != key;
      kept += keep;
      ASSERT_EQ(region.contains(QPoint(x, y)), keep) << x << "," << y;
    }
  EXPECT_TRUE(QRect(0, 0, argb.width(), argb.height()).contains(region.boundingRect()) ||
              region.isEmpty());
  EXPECT_GT(kept, 0);
}
