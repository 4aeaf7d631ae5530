// The shape of a skinned window, cut out of its skin image: every pixel of
// exactly the key colour (the ARGB value of the image's top-left pixel) is
// left out. The scan reads each row of the image by its own stride and
// never past the image; the window's area outside the image keeps its
// pixels.
#pragma once
#include <QImage>
#include <QRegion>
#include <QSize>

namespace zebui {

// The image's area (0, 0, width, height) without its key-coloured pixels;
// empty for a null image.
QRegion KeyColorMask(const QImage& image);

// The window's shape from an image's mask: the mask where the image lies
// (cut to the window), the whole window elsewhere.
QRegion WindowShapeFromMask(const QRegion& mask, QSize imageSize, QSize windowSize);

}  // namespace zebui
