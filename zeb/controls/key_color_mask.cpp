// Key-colour masks: one pass over the rows, each row's runs of kept pixels
// become rectangles; a row with the same runs as the one above extends
// that band instead, so a skin with a few cut corners gives a handful of
// rectangles and the region is built in one call.
#include "zeb/controls/key_color_mask.h"

#include <vector>

namespace zebui {

QRegion KeyColorMask(const QImage& image) {
  if (image.isNull()) return QRegion();
  // Exact ARGB comparison needs straight (not premultiplied) 32-bit pixels.
  const QImage argb = image.format() == QImage::Format_ARGB32
                          ? image
                          : image.convertToFormat(QImage::Format_ARGB32);
  const int width = argb.width(), height = argb.height();
  const QRgb key = reinterpret_cast<const QRgb*>(argb.constScanLine(0))[0];

  std::vector<QRect> rects;
  size_t bandStart = 0;   // first rectangle of the band above
  std::vector<int> runs;  // this row's runs: start, end (exclusive), ...
  std::vector<int> previous;
  bool havePrevious = false;
  for (int y = 0; y < height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    runs.clear();
    for (int x = 0; x < width;) {
      while (x < width && row[x] == key) ++x;
      if (x == width) break;
      const int start = x;
      while (x < width && row[x] != key) ++x;
      runs.push_back(start);
      runs.push_back(x);
    }
    if (havePrevious && runs == previous) {
      for (size_t i = bandStart; i < rects.size(); ++i) rects[i].setBottom(rects[i].bottom() + 1);
      continue;
    }
    bandStart = rects.size();
    for (size_t i = 0; i < runs.size(); i += 2)
      rects.emplace_back(runs[i], y, runs[i + 1] - runs[i], 1);
    previous.swap(runs);
    havePrevious = true;
  }
  QRegion mask;
  if (!rects.empty()) mask.setRects(rects.data(), (int)rects.size());
  return mask;
}

QRegion WindowShapeFromMask(const QRegion& mask, QSize imageSize, QSize windowSize) {
  const QRect window(QPoint(0, 0), windowSize);
  const QRect image(QPoint(0, 0), imageSize);
  return (mask & window) | (QRegion(window) - QRegion(image));
}

}  // namespace zebui
