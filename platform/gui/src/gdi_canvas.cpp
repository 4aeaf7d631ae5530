// The painter a memory DC keeps open, the pictures such painters are open
// on, and what a single call sets on its painter.
#include "gdi_canvas.h"

#include <QImage>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "gdi_internal.h"

namespace platform::gdi_detail {

namespace {

// Which held painter is open on which picture, so that another DC or a
// caller taking the picture can close it first: Qt lets one painter at a
// time paint on a device.
struct OpenPainters {
  std::mutex mutex;
  std::unordered_map<const QPaintDevice*, HeldPainter*> byDevice;
  std::atomic<int> count{0};
};

OpenPainters& Open() {
  // Never destroyed: DCs kept in statics may close their painter at exit.
  static OpenPainters* open = new OpenPainters;
  return *open;
}

// Ends the painter; the caller holds the mutex.
void EndLocked(OpenPainters& open, HeldPainter& held) {
  if (!held.picture) return;
  open.byDevice.erase(held.picture.get());
  open.count.fetch_sub(1, std::memory_order_release);
  held.painter.end();
  held.picture.reset();
}

QPainter::CompositionMode PenMixing(int rop2) {
  if (rop2 == R2_NOT) return QPainter::RasterOp_NotDestination;
  if (rop2 == R2_XORPEN) return QPainter::RasterOp_SourceXorDestination;
  return QPainter::CompositionMode_SourceOver;
}

}  // namespace

void ReleaseHeldPainter(const QPaintDevice* device) {
  OpenPainters& open = Open();
  if (!device || open.count.load(std::memory_order_acquire) == 0) return;
  std::lock_guard<std::mutex> lock(open.mutex);
  auto it = open.byDevice.find(device);
  if (it != open.byDevice.end()) EndLocked(open, *it->second);
}

bool HeldPainter::Open(std::shared_ptr<QImage> image) {
  Close();
  if (!image) return false;
  ReleaseHeldPainter(image.get());
  if (!painter.begin(image.get())) return false;
  {
    OpenPainters& open = gdi_detail::Open();
    std::lock_guard<std::mutex> lock(open.mutex);
    open.byDevice[image.get()] = this;
    open.count.fetch_add(1, std::memory_order_release);
  }
  picture = std::move(image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  // What a fresh painter has: no offset, no clip, source-over; pen, brush
  // and font are set by the first call that draws with them.
  setOffset = QPoint();
  setClip.reset();
  clipKnown = true;
  setHasClipRect = false;
  setMode = QPainter::CompositionMode_SourceOver;
  pen.reset();
  brush.reset();
  textPen = false;
  font = 0;
  return true;
}

void HeldPainter::Close() {
  if (!picture) return;
  OpenPainters& open = gdi_detail::Open();
  std::lock_guard<std::mutex> lock(open.mutex);
  EndLocked(open, *this);
}

void HeldPainter::Prepare(QPoint at, const std::shared_ptr<RegionData>& dcClip, const QRect* rect) {
  offset = at;
  clip = dcClip;
  hasClipRect = rect != nullptr;
  if (rect) clipRect = *rect;
  mode = QPainter::CompositionMode_SourceOver;
}

namespace {
// The part of the rectangle inside the region when the region (device
// units) meets it in one rectangle only; empty otherwise.
QRect OnlyPartInside(const QRegion& region, QRect rect, QPoint offset) {
  rect.translate(offset);
  QRect part;
  for (const QRect& r : region) {
    const QRect common = r & rect;
    if (common.isEmpty()) continue;
    if (!part.isEmpty()) return QRect();
    part = common;
  }
  return part.translated(-offset);
}
}  // namespace

void HeldPainter::Sync() {
  if (offset != setOffset) {
    painter.setTransform(QTransform::fromTranslate(offset.x(), offset.y()));
    // Brush patterns line up with the device, as GDI's brush origin.
    painter.setBrushOrigin(-offset.x(), -offset.y());
    setOffset = offset;
    // The clip goes in through the offset: set it again.
    if (setClip || setHasClipRect) clipKnown = false;
  }
  if (!clipKnown || setClip != clip || setHasClipRect != hasClipRect ||
      (hasClipRect && setClipRect != clipRect)) {
    const QRect within =
        clip && hasClipRect ? OnlyPartInside(clip->region, clipRect, offset) : QRect();
    if (!within.isEmpty()) {
      // A rectangle meeting one rectangle of the region clips to their
      // common part: set once, where the region and the rectangle over it
      // cost two clips (a text each).
      painter.setClipRect(within);
    } else if (clip) {
      // The DC's clip is in device units.
      painter.setClipRegion(clip->region.translated(-offset.x(), -offset.y()));
      if (hasClipRect) painter.setClipRect(clipRect, Qt::IntersectClip);
    } else if (hasClipRect) {
      painter.setClipRect(clipRect);
    } else {
      painter.setClipping(false);
    }
    setClip = clip;
    setHasClipRect = hasClipRect;
    setClipRect = clipRect;
    clipKnown = true;
  }
  if (setMode != mode) {
    painter.setCompositionMode(mode);
    setMode = mode;
  }
}

namespace {
// Fills the part of the device rectangle inside the bounds.
void FillPixels(QImage& image, uchar* bits, QRect area, QRgb pixel) {
  area &= image.rect();
  if (area.isEmpty()) return;
  const qsizetype stride = image.bytesPerLine();
  for (int y = area.top(); y <= area.bottom(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(bits + stride * y);
    std::fill(line + area.left(), line + area.right() + 1, pixel);
  }
}
}  // namespace

bool HeldPainter::FillDirectly(const QRect& rect, QRgb opaque) {
  const QImage::Format format = picture->format();
  if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_ARGB32 &&
      format != QImage::Format_RGB32)
    return false;
  if (picture->devicePixelRatio() != 1) return false;
  if (mode != QPainter::CompositionMode_SourceOver && mode != QPainter::CompositionMode_Source)
    return false;
  // To device units, cut to the picture first so nothing overflows.
  const QRect bounds = picture->rect();
  const long long left = std::max<long long>((long long)rect.left() + offset.x(), bounds.left());
  const long long top = std::max<long long>((long long)rect.top() + offset.y(), bounds.top());
  const long long right = std::min<long long>((long long)rect.right() + offset.x(), bounds.right());
  const long long bottom =
      std::min<long long>((long long)rect.bottom() + offset.y(), bounds.bottom());
  if (rect.isEmpty() || left > right || top > bottom) return true;
  QRect area(QPoint((int)left, (int)top), QPoint((int)right, (int)bottom));
  if (hasClipRect) area &= clipRect.translated(offset);
  if (area.isEmpty()) return true;
  // The painter writes into the same pixels; the picture is not shared
  // while it is open (copies of a picture being painted are deep).
  uchar* bits = picture->bits();
  const QRgb pixel = 0xFF000000u | opaque;
  if (!clip) {
    FillPixels(*picture, bits, area, pixel);
  } else {
    for (const QRect& part : clip->region) FillPixels(*picture, bits, area & part, pixel);
  }
  return true;
}

QPainter& Canvas::Painter() {
  if (held_) held_->Sync();
  return painter_;
}

void Canvas::Shapes(const std::shared_ptr<const PenData>& pen,
                    const std::shared_ptr<const BrushData>& brush, int rop2) {
  if (!held_ || held_->textPen || !held_->pen || held_->pen != pen) {
    painter_.setPen(pen ? pen->pen : QPen(Qt::black));
    if (held_) {
      held_->pen = pen;
      held_->textPen = false;
    }
  }
  if (!held_ || !held_->brush || held_->brush != brush) {
    painter_.setBrush(brush ? brush->brush : QBrush(Qt::NoBrush));
    if (held_) held_->brush = brush;
  }
  Composition(PenMixing(rop2));
}

void Canvas::Composition(QPainter::CompositionMode mode) {
  if (held_) held_->mode = mode;
  // A fresh (or borrowed) painter keeps what it has for plain mixing.
  else if (mode != QPainter::CompositionMode_SourceOver) painter_.setCompositionMode(mode);
}

void Canvas::TextPen(COLORREF color) {
  if (held_) {
    if (held_->textPen && held_->textColor == color) return;
    held_->textPen = true;
    held_->textColor = color;
  }
  painter_.setPen(ToQColor(color));
}

void Canvas::Font(const FontData& font) {
  if (held_) {
    if (held_->font == font.serial) return;
    held_->font = font.serial;
  }
  painter_.setFont(font.Resolved());
}

void Canvas::ClipTo(const QRect& rect) {
  if (held_) {
    held_->clipRect = held_->hasClipRect ? held_->clipRect & rect : rect;
    held_->hasClipRect = true;
    return;
  }
  painter_.setClipRect(rect, painter_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

bool Canvas::Unscaled() const {
  const QPaintDevice* device = painter_.device();
  return device && device->devicePixelRatio() == 1 &&
         painter_.deviceTransform().type() <= QTransform::TxTranslate;
}

void Canvas::Fill(const QRect& rect, const QColor& opaque) {
  // Qt's own fill is quicker over large areas; small ones (lines, cells)
  // cost more to set up than to write.
  constexpr long long kLargeArea = 4096;
  const bool small = (long long)rect.width() * rect.height() <= kLargeArea;
  if (held_ && small && held_->FillDirectly(rect, opaque.rgb())) return;
  Painter().fillRect(rect, opaque);
}

}  // namespace platform::gdi_detail
