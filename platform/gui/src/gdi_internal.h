// What the painter's objects hold, shared between the object files of the
// device context. Not part of the layer's interface.
#pragma once
#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QRegion>
#include <cstdint>
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
  // Names this font for caches of what it draws: never reused, unlike the
  // address of a font deleted and made again.
  const uint64_t serial = NextSerial();
  // The Qt font is worked out on first use: it needs the font database and
  // so a QGuiApplication, which making a font must not.
  const QFont& Resolved() const;

 private:
  static uint64_t NextSerial();
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
inline RECT FromQRect(const QRect& r) {
  return RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
int RegionKind(const QRegion& region);

// Makes the pixels of exactly the key colour (alpha aside) fully
// transparent, converting the image to ARGB32 first: GDI's transparent
// copies and image-list masks.
void KeyOutColor(QImage* image, COLORREF key);

// The stock font drawn when a DC has no font selected yet.
const FontData& DefaultFontData();

// Shortcuts: memory DCs keeping their painter open, laid-out text kept for
// the next call, solid lines filled as rectangles. Each draws exactly what
// the plain way draws; off, every call takes the plain way (tests compare
// the two).
bool ShortcutsEnabled();
void SetShortcutsEnabled(bool enabled);

}  // namespace platform::gdi_detail

#include "gdi_canvas.h"

// A memory DC paints through the painter it keeps open on its picture (see
// gdi_canvas.h). Any other DC opens a painter on the device for each call
// (or borrows the attached one), applies the DC's state and closes it
// again. The clip rectangle, in logical units, narrows the DC's clip.
template <class Fn>
bool CDC::Paint(Fn&& fn, const QRect* clipRect) const {
  using platform::gdi_detail::Canvas;
  if (memory_ && platform::gdi_detail::ShortcutsEnabled()) {
    platform::gdi_detail::HeldPainter* held = HeldPainterReady();
    if (!held) return false;
    held->Prepare(QPoint(OffsetX(), OffsetY()), state_.clip, clipRect);
    Canvas canvas(held->painter, held);
    fn(canvas);
    return true;
  }
  if (painter_ && !memory_) {
    if (!painter_->isActive()) return false;
    painter_->save();
    ApplyState(*painter_, clipRect);
    Canvas canvas(*painter_, nullptr);
    fn(canvas);
    painter_->restore();
    return true;
  }
  QPaintDevice* device = Device();
  if (!device) return false;
  platform::gdi_detail::ReleaseHeldPainter(device);
  QPainter painter;
  if (!painter.begin(device)) return false;
  ApplyState(painter, clipRect);
  Canvas canvas(painter, nullptr);
  fn(canvas);
  painter.end();
  return true;
}
