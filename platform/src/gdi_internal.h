// What the painter's objects hold, shared between the object files of the
// device context. Not part of the layer's interface.
#pragma once
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QRegion>
#include <memory>
#include <mutex>

#include "platform/gdi.h"

namespace platform::gdi_detail {

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
  QPen pen;
};

struct BrushData {
  bool hollow = false;
  COLORREF color = 0;
  QBrush brush;
};

struct FontData {
  LOGFONT logFont;
  // The Qt font is worked out on first use: it needs the font database and
  // so a QGuiApplication, which making a font must not.
  const QFont& Resolved() const;

 private:
  mutable std::once_flag once_;
  mutable std::unique_ptr<QFont> font_;
};

struct RegionData {
  QRegion region;
};

inline QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
inline COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }
// RECT's right and bottom are exclusive, QRect's are inclusive.
inline QRect ToQRect(int left, int top, int right, int bottom) {
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}
inline QRect ToQRect(const RECT& r) { return ToQRect(r.left, r.top, r.right, r.bottom); }
inline RECT FromQRect(const QRect& r) { return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
int RegionKind(const QRegion& region);

// Makes the pixels of exactly the key colour (alpha aside) fully
// transparent, converting the image to ARGB32 first: GDI's transparent
// copies and image-list masks.
void KeyOutColor(QImage* image, COLORREF key);

// The stock font drawn when a DC has no font selected yet.
const FontData& DefaultFontData();

}  // namespace platform::gdi_detail

#include <QPainter>

// Every drawing call opens a painter on the device (or borrows the attached
// one), applies the DC's pen, brush and clip, draws and closes again, so a
// DC never holds a device open between calls.
template <class Fn>
bool CDC::Paint(Fn&& fn) const {
  if (painter_ && !memory_) {
    if (!painter_->isActive()) return false;
    painter_->save();
    ApplyState(*painter_);
    fn(*painter_);
    painter_->restore();
    return true;
  }
  QPaintDevice* device = Device();
  if (!device) return false;
  QPainter painter;
  if (!painter.begin(device)) return false;
  ApplyState(painter);
  fn(painter);
  painter.end();
  return true;
}
