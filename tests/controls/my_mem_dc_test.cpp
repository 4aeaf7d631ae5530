// The per-paint memory DC: drawing keeps the target's coordinates, the
// area starts in the target's background colour, and only that area is
// copied back, once, when the DC goes.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "zeb/controls/my_mem_dc.h"
#include "platform/testing/app.h"

namespace {

TEST(MyMemDc, DrawsOffScreenAndCopiesItsAreaOnce) {
  platform::testing::EnsureApplication();
  QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  CDC target(&image);
  target.SetBkColor(RGB(0, 0, 128));
  {
    const RECT area{10, 5, 50, 35};
    CMyMemDC dc(&target, &area);
    dc.FillSolidRect(20, 10, 5, 5, RGB(255, 0, 0));  // the target's coordinates
    dc.FillSolidRect(0, 0, 5, 5, RGB(0, 255, 0));    // outside the area: lost
    EXPECT_EQ(target.GetPixel(20, 10), RGB(255, 255, 255))
        << "nothing reaches the target before the end";
  }
  EXPECT_EQ(target.GetPixel(20, 10), RGB(255, 0, 0));
  EXPECT_EQ(target.GetPixel(24, 14), RGB(255, 0, 0));
  EXPECT_EQ(target.GetPixel(10, 5), RGB(0, 0, 128));  // the area's background
  EXPECT_EQ(target.GetPixel(49, 34), RGB(0, 0, 128));
  EXPECT_EQ(target.GetPixel(50, 34), RGB(255, 255, 255));  // right of the area
  EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 255, 255));

  // Without a rectangle the target's clip box is the area.
  target.IntersectClipRect(30, 0, 60, 40);
  {
    CMyMemDC dc(&target);
    EXPECT_EQ(dc.GetRect().left, 30);
    EXPECT_EQ(dc.GetRect().right, 60);
  }
  EXPECT_EQ(target.GetPixel(35, 2), RGB(0, 0, 128));
  EXPECT_EQ(target.GetPixel(2, 2), RGB(255, 255, 255));
}

}  // namespace
