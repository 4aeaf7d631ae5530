// The shape of a skinned window: exactly the key-coloured pixels are left
// out, whatever the image's format and stride; the window outside the
// image keeps its pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "zeb/controls/key_color_mask.h"
#include "test_support.h"

namespace {

const QRgb kKey = qRgba(255, 0, 255, 255);

TEST(KeyColorMask, ExcludesExactlyTheKeyColouredPixels) {
  QImage image(7, 5, QImage::Format_ARGB32);
  image.fill(qRgba(10, 20, 30, 255));
  for (QPoint p : {QPoint(0, 0), QPoint(6, 0), QPoint(3, 2), QPoint(0, 4), QPoint(6, 4)})
    image.setPixel(p, kKey);
  for (int x = 0; x < 7; ++x) image.setPixel(x, 1, kKey);  // a whole row of key
  image.setPixel(4, 2, qRgba(255, 0, 255, 254));           // not the key: alpha differs
  image.setPixel(5, 3, qRgba(255, 1, 255, 255));           // nor is a colour one off
  const QRegion mask = zebui::KeyColorMask(image);
  ExpectKeyMask(image, mask);
  EXPECT_TRUE(mask.contains(QPoint(4, 2)));

  // Rows of three bytes a pixel are padded to four-byte strides; each row
  // is read by its own stride and never past the image.
  QImage packed(7, 5, QImage::Format_RGB888);
  packed.fill(QColor(10, 20, 30));
  for (QPoint p : {QPoint(0, 0), QPoint(2, 1), QPoint(6, 4)})
    packed.setPixelColor(p, QColor(255, 0, 255));
  ASSERT_GT(packed.bytesPerLine(), 7 * 3);
  ExpectKeyMask(packed, zebui::KeyColorMask(packed));

  EXPECT_TRUE(zebui::KeyColorMask(QImage()).isEmpty());
}

TEST(KeyColorMask, RandomSkinsMatchPixelForPixel) {
  std::mt19937 random(12);
  for (int round = 0; round < 20; ++round) {
    QImage image(1 + (int)(random() % 64), 1 + (int)(random() % 48), QImage::Format_ARGB32);
    const int keyShare = (int)(random() % 100);
    for (int y = 0; y < image.height(); ++y) {
      // Some rows repeat the one above, so bands of equal rows merge.
      if (y > 0 && random() % 3 == 0) {
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, image.pixel(x, y - 1));
        continue;
      }
      for (int x = 0; x < image.width(); ++x)
        image.setPixel(
            x, y,
            (int)(random() % 100) < keyShare ? kKey : qRgba(0, 0, (int)(random() % 256), 255));
    }
    image.setPixel(0, 0, kKey);
    SCOPED_TRACE(round);
    ExpectKeyMask(image, zebui::KeyColorMask(image));
  }
}

TEST(KeyColorMask, WindowShapeIsBoundedByTheImage) {
  QImage image(4, 3, QImage::Format_ARGB32);
  image.fill(qRgba(1, 2, 3, 255));
  image.setPixel(0, 0, kKey);
  image.setPixel(3, 2, kKey);
  const QRegion mask = zebui::KeyColorMask(image);
  // A window larger than the image keeps everything outside it.
  const QRegion big = zebui::WindowShapeFromMask(mask, image.size(), QSize(6, 5));
  EXPECT_FALSE(big.contains(QPoint(0, 0)));
  EXPECT_FALSE(big.contains(QPoint(3, 2)));
  EXPECT_TRUE(big.contains(QPoint(4, 0)));
  EXPECT_TRUE(big.contains(QPoint(5, 4)));
  EXPECT_TRUE(big.contains(QPoint(1, 1)));
  // A smaller one is cut to the window.
  const QRegion small = zebui::WindowShapeFromMask(mask, image.size(), QSize(2, 2));
  EXPECT_EQ(small.boundingRect(), QRect(0, 0, 2, 2));
  EXPECT_FALSE(small.contains(QPoint(0, 0)));
}

}  // namespace
