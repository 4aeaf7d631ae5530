// The colour scheme's scroll-thumb tile, scheme/slider.bmp: 8 x 8 of
// diagonal teal bands, written as a BMP as schemes ship their tiles.
#include "families.h"

namespace images {

ImageList SchemeImages() {
  QImage tile(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      tile.setPixelColor(x, y, (x + y) % 4 < 2 ? QColor(0, 110, 130) : QColor(0, 80, 100));
  return {{"scheme/slider.bmp", tile}};
}

}  // namespace images
