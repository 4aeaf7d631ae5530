// Tool bar image lists and the key-colour rule; see toolbar_images.h.
#include "zeb/controls/toolbar_images.h"

#include <QColor>

namespace zebui {

namespace {

constexpr BLENDFUNCTION kPixelAlpha{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

}  // namespace

void RecolorKeyPixels(QImage& image, COLORREF from, COLORREF to) {
  if (image.isNull()) return;
  const QRgb key = qRgb(GetRValue(from), GetGValue(from), GetBValue(from));
  const QRgb face = qRgb(GetRValue(to), GetGValue(to), GetBValue(to));
  if (image.format() == QImage::Format_RGB888) {
    // 24-bit rows are padded to whole words: each row from its own start.
    for (int y = 0; y < image.height(); ++y) {
      uchar* p = image.scanLine(y);
      for (int x = 0; x < image.width(); ++x, p += 3) {
        if (p[0] == qRed(key) && p[1] == qGreen(key) && p[2] == qBlue(key)) {
          p[0] = (uchar)qRed(face);
          p[1] = (uchar)qGreen(face);
          p[2] = (uchar)qBlue(face);
        }
      }
    }
    return;
  }
  if (image.format() != QImage::Format_ARGB32 && image.format() != QImage::Format_RGB32)
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(row[x]) == 255 && (row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) row[x] = face;
    }
  }
}

CToolImageList::CToolImageList() = default;
CToolImageList::~CToolImageList() = default;

BOOL CToolImageList::Create(const QImage& strip, int cx, int cy) {
  DeleteImageList();
  if (strip.isNull() || cx <= 0 || cy <= 0) return FALSE;
  strip_.FromImage(strip);
  stripDC_ = std::make_unique<CDC>();
  stripDC_->CreateCompatibleDC(nullptr);
  stripDC_->SelectObject(&strip_);
  cx_ = cx;
  cy_ = cy;
  count_ = strip.width() / cx;
  return TRUE;
}

void CToolImageList::DeleteImageList() {
  stripDC_.reset();
  strip_.DeleteObject();
  cx_ = cy_ = count_ = 0;
}

const QImage* CToolImageList::GetStrip() const { return strip_.Image(); }

void CToolImageList::Draw(CDC* dc, int index, int x, int y) const {
  if (!dc || index < 0 || index >= count_) return;
  dc->AlphaBlend(x, y, cx_, cy_, stripDC_.get(), index * cx_, 0, cx_, cy_, kPixelAlpha);
}

void CToolImageList::DrawMono(CDC* dc, int index, int x, int y, COLORREF color) const {
  if (!dc || index < 0 || index >= count_ || !strip_.Image()) return;
  QImage cell =
      strip_.Image()->copy(index * cx_, 0, cx_, cy_).convertToFormat(QImage::Format_ARGB32);
  const QRgb ink = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
  for (int row = 0; row < cell.height(); ++row) {
    auto* p = reinterpret_cast<QRgb*>(cell.scanLine(row));
    for (int col = 0; col < cell.width(); ++col)
      p[col] = (ink & 0xFFFFFF) | ((QRgb)qAlpha(p[col]) << 24);
  }
  CBitmap bitmap;
  bitmap.FromImage(cell);
  CDC cellDC;
  cellDC.CreateCompatibleDC(nullptr);
  cellDC.SelectObject(&bitmap);
  dc->AlphaBlend(x, y, cx_, cy_, &cellDC, 0, 0, cx_, cy_, kPixelAlpha);
}

}  // namespace zebui
