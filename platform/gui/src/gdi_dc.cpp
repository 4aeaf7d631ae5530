// The device context: selected objects, modes, clipping, shapes and copies.
#include <QImage>
#include <QLine>
#include <QPolygon>
#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

#include "gdi_internal.h"

using namespace platform::gdi_detail;

namespace platform::gdi_detail {
namespace {
std::atomic<bool> shortcuts{true};
}
bool ShortcutsEnabled() { return shortcuts.load(std::memory_order_relaxed); }
void SetShortcutsEnabled(bool enabled) { shortcuts.store(enabled, std::memory_order_relaxed); }
}  // namespace platform::gdi_detail

CDC::CDC() { ResetObjects(); }

CDC::CDC(QPaintDevice* device) : CDC() { device_ = device; }

CDC::~CDC() = default;

void CDC::ResetObjects() {
  state_ = State{};
  state_.penObj = static_cast<CPen*>(GetStockObject(BLACK_PEN));
  state_.brushObj = static_cast<CBrush*>(GetStockObject(WHITE_BRUSH));
  state_.fontObj = GetStockFont(SYSTEM_FONT);
  state_.pen = state_.penObj->Data();
  state_.brush = state_.brushObj->Data();
  state_.font = state_.fontObj->Data();
  saved_.clear();
}

void CDC::Attach(QPaintDevice* device) {
  Detach();
  device_ = device;
}

void CDC::AttachPainter(QPainter* painter) {
  Detach();
  painter_ = painter;
}

void CDC::Detach() {
  ReleasePainter();
  device_ = nullptr;
  painter_ = nullptr;
}

BOOL CDC::CreateCompatibleDC(CDC*) {
  DeleteDC();
  memory_ = true;
  // Like GDI, a new memory DC has a 1 x 1 picture until a bitmap is selected.
  defaultBitmap_ = std::make_unique<CBitmap>();
  defaultBitmap_->CreateBitmap(1, 1);
  SelectObject(defaultBitmap_.get());
  return TRUE;
}

BOOL CDC::DeleteDC() {
  Detach();
  memory_ = false;
  bitmapImage_.reset();
  bitmapObj_ = nullptr;
  defaultBitmap_.reset();
  ResetObjects();
  return TRUE;
}

QPaintDevice* CDC::Device() const {
  if (memory_) return bitmapImage_.get();
  if (painter_) return painter_->device();
  return device_;
}

HeldPainter* CDC::HeldPainterReady() const {
  if (!bitmapImage_) return nullptr;
  if (!held_) held_ = std::make_unique<HeldPainter>();
  if (held_->IsOpen() && held_->picture == bitmapImage_) return held_.get();
  return held_->Open(bitmapImage_) ? held_.get() : nullptr;
}

void CDC::ReleasePainter() const {
  if (held_) held_->Close();
}

QImage* CDC::GetImage() const {
  ReleasePainter();
  return Picture();
}

QImage* CDC::Picture() const {
  if (memory_) return bitmapImage_.get();
  QPaintDevice* device = Device();
  if (device && device->devType() == QInternal::Image) return static_cast<QImage*>(device);
  return nullptr;
}

SIZE CDC::GetDeviceSize() const {
  QPaintDevice* device = Device();
  if (!device) return SIZE{};
  return SIZE{device->width(), device->height()};
}

RECT CDC::DeviceRect() const {
  SIZE size = GetDeviceSize();
  return RECT{0, 0, size.cx, size.cy};
}

void CDC::ApplyState(QPainter& painter, const QRect* clipRect) const {
  // Pen and brush are set by the calls that draw with them (Canvas::Shapes).
  painter.setRenderHint(QPainter::Antialiasing, false);
  // The clip is in device units, so it goes in before the origin moves.
  if (state_.clip) {
    painter.setClipRegion(state_.clip->region,
                          painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  painter.translate(OffsetX(), OffsetY());
  // Brush patterns line up with the device, as GDI's brush origin.
  painter.setBrushOrigin(-OffsetX(), -OffsetY());
  if (clipRect)
    painter.setClipRect(*clipRect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

namespace {
// True when a rectangle given as origin and extent has its far edges inside
// int, so Qt's rectangle arithmetic cannot overflow.
bool ExtentFits(long long x, long long y, long long width, long long height) {
  return x + width <= INT_MAX && y + height <= INT_MAX && x + width >= INT_MIN &&
         y + height >= INT_MIN;
}

// True when right - left and bottom - top fit in int.
bool SpansFit(int left, int top, int right, int bottom) {
  return (long long)right - left <= INT_MAX && (long long)bottom - top <= INT_MAX;
}

}  // namespace

POINT CDC::SetWindowOrg(int x, int y) {
  POINT previous = state_.windowOrg;
  state_.windowOrg = POINT{x, y};
  return previous;
}

POINT CDC::SetViewportOrg(int x, int y) {
  POINT previous = state_.viewportOrg;
  state_.viewportOrg = POINT{x, y};
  return previous;
}

POINT CDC::OffsetViewportOrg(int dx, int dy) {
  POINT previous = state_.viewportOrg;
  state_.viewportOrg = POINT{previous.x + dx, previous.y + dy};
  return previous;
}

int CDC::SetROP2(int mode) {
  if (mode != R2_COPYPEN && mode != R2_NOT && mode != R2_XORPEN) return 0;
  int previous = state_.rop2;
  state_.rop2 = mode;
  return previous;
}

// ---- objects

CPen* CDC::SelectObject(CPen* pen) {
  if (!pen || !pen->Data()) return nullptr;
  CPen* previous = state_.penObj;
  state_.penObj = pen;
  state_.pen = pen->Data();
  return previous;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (!brush || !brush->Data()) return nullptr;
  CBrush* previous = state_.brushObj;
  state_.brushObj = brush;
  state_.brush = brush->Data();
  return previous;
}

CFont* CDC::SelectObject(CFont* font) {
  if (!font || !font->Data()) return nullptr;
  CFont* previous = state_.fontObj;
  state_.fontObj = font;
  state_.font = font->Data();
  return previous;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  // Only a memory DC takes a bitmap; the picture stays alive while selected.
  if (!memory_ || !bitmap || !bitmap->SharedImage()) return nullptr;
  ReleasePainter();
  CBitmap* previous = bitmapObj_;
  bitmapObj_ = bitmap;
  bitmapImage_ = bitmap->SharedImage();
  return previous;
}

int CDC::SelectObject(CRgn* region) { return SelectClipRgn(region); }

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (!object) return nullptr;
  switch (object->GetKind()) {
    case CGdiObject::Kind::Pen: return SelectObject(static_cast<CPen*>(object));
    case CGdiObject::Kind::Brush: return SelectObject(static_cast<CBrush*>(object));
    case CGdiObject::Kind::Font: return SelectObject(static_cast<CFont*>(object));
    case CGdiObject::Kind::Bitmap: return SelectObject(static_cast<CBitmap*>(object));
    case CGdiObject::Kind::Region: SelectClipRgn(static_cast<CRgn*>(object)); return nullptr;
  }
  return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) { return SelectObject(GetStockObject(index)); }

COLORREF CDC::SetTextColor(COLORREF color) {
  COLORREF previous = state_.textColor;
  state_.textColor = color & 0xFFFFFF;
  return previous;
}

COLORREF CDC::SetBkColor(COLORREF color) {
  COLORREF previous = state_.bkColor;
  state_.bkColor = color & 0xFFFFFF;
  return previous;
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  int previous = state_.bkMode;
  state_.bkMode = mode;
  return previous;
}

UINT CDC::SetTextAlign(UINT align) {
  UINT previous = state_.textAlign;
  state_.textAlign = align;
  return previous;
}

int CDC::SaveDC() {
  saved_.push_back(state_);
  if (state_.clip) {
    // The saved clip must not change with later clipping calls.
    saved_.back().clip = std::make_shared<RegionData>(*state_.clip);
  }
  return (int)saved_.size();
}

BOOL CDC::RestoreDC(int saved) {
  int level = saved < 0 ? (int)saved_.size() + 1 + saved : saved;
  if (level < 1 || level > (int)saved_.size()) return FALSE;
  state_ = saved_[level - 1];
  saved_.resize(level - 1);
  return TRUE;
}

// ---- clipping

int CDC::ClipKind() const { return state_.clip ? RegionKind(state_.clip->region) : SIMPLEREGION; }

void CDC::SetClip(const QRegion& region) {
  auto clip = std::make_shared<RegionData>();
  clip->region = region;
  state_.clip = std::move(clip);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  left += OffsetX(), right += OffsetX(), top += OffsetY(), bottom += OffsetY();
  QRegion base = state_.clip ? state_.clip->region : QRegion(ToQRect(DeviceRect()));
  QRegion rect =
      right > left && bottom > top ? QRegion(ToQRect(left, top, right, bottom)) : QRegion();
  SetClip(base & rect);
  return ClipKind();
}

int CDC::ExcludeClipRect(int left, int top, int right, int bottom) {
  left += OffsetX(), right += OffsetX(), top += OffsetY(), bottom += OffsetY();
  QRegion base = state_.clip ? state_.clip->region : QRegion(ToQRect(DeviceRect()));
  if (right > left && bottom > top) base -= QRegion(ToQRect(left, top, right, bottom));
  SetClip(base);
  return ClipKind();
}

int CDC::SelectClipRgn(CRgn* region) {
  if (!region) {
    state_.clip.reset();
    return SIMPLEREGION;
  }
  if (!region->Region()) return RGN_ERROR;
  SetClip(*region->Region());
  return ClipKind();
}

int CDC::GetClipBox(RECT* rect) const {
  if (rect) {
    if (!state_.clip) *rect = DeviceRect();
    else if (state_.clip->region.isEmpty()) *rect = RECT{};
    else *rect = FromQRect(state_.clip->region.boundingRect());
    if (!(state_.clip && state_.clip->region.isEmpty())) OffsetRect(*rect, -OffsetX(), -OffsetY());
  }
  return ClipKind();
}

BOOL CDC::PtVisible(int x, int y) const {
  x += OffsetX();
  y += OffsetY();
  if (state_.clip) return state_.clip->region.contains(QPoint(x, y));
  RECT device = DeviceRect();
  return PtInRect(device, POINT{x, y});
}

// ---- lines

namespace {
// Draws lines leaving out their last point, as GDI does. A solid one-pixel
// pen copying its colour onto an unscaled device paints exactly the pixels
// from one end of a level or upright line to the other: those are filled
// as runs, far cheaper than stroking. Other lines are stroked with the pen.
class LineDrawer {
 public:
  LineDrawer(Canvas& canvas, const std::shared_ptr<const PenData>& pen,
             const std::shared_ptr<const BrushData>& brush, int rop2)
      : canvas_(canvas), pen_(pen), brush_(brush), rop2_(rop2) {
    if (pen && pen->width == 1 && pen->pen.style() == Qt::SolidLine && rop2 == R2_COPYPEN &&
        ShortcutsEnabled() && canvas.Unscaled())
      run_ = ToQColor(pen->color);
    // Slanted lines of one solid pen copying its colour give the same pixels
    // in any order, so they go to the painter in one call (a polyline's
    // thousands of segments cost one call's overhead, not one each).
    batch_ = pen && pen->pen.style() == Qt::SolidLine && rop2 == R2_COPYPEN && ShortcutsEnabled();
  }
  ~LineDrawer() { Flush(); }
  LineDrawer(const LineDrawer&) = delete;
  LineDrawer& operator=(const LineDrawer&) = delete;

  void Flush() {
    if (!lines_.empty()) Stroking().drawLines(lines_.data(), static_cast<int>(lines_.size()));
    lines_.clear();
  }

  void Draw(QPoint a, QPoint b) {
    // Ends far apart must not overflow.
    const long long dx = (long long)b.x() - a.x(), dy = (long long)b.y() - a.y();
    const long long steps = std::max(std::llabs(dx), std::llabs(dy));
    if (steps == 0) return;
    if (steps == 1) {
      if (run_) canvas_.Fill(QRect(a, a), *run_);
      else Stroking().drawPoint(a);
      return;
    }
    // End one pixel short along the line.
    QPoint end((int)(a.x() + std::llround(dx * double(steps - 1) / steps)),
               (int)(a.y() + std::llround(dy * double(steps - 1) / steps)));
    // A run as long as a QRect can hold.
    constexpr long long kLongestRun = INT_MAX / 2;
    if (run_ && steps <= kLongestRun && (a.x() == end.x() || a.y() == end.y())) {
      canvas_.Fill(QRect(QPoint(std::min(a.x(), end.x()), std::min(a.y(), end.y())),
                         QPoint(std::max(a.x(), end.x()), std::max(a.y(), end.y()))),
                   *run_);
      return;
    }
    if (batch_) lines_.emplace_back(a, end);
    else Stroking().drawLine(a, end);
  }

 private:
  QPainter& Stroking() {
    if (!stroking_) canvas_.Shapes(pen_, brush_, rop2_);
    stroking_ = true;
    return canvas_.Painter();
  }

  Canvas& canvas_;
  const std::shared_ptr<const PenData>& pen_;
  const std::shared_ptr<const BrushData>& brush_;
  int rop2_;
  std::optional<QColor> run_;
  bool stroking_ = false;
  bool batch_ = false;
  std::vector<QLine> lines_;
};
}  // namespace

POINT CDC::MoveTo(int x, int y) {
  POINT previous = state_.current;
  state_.current = POINT{x, y};
  return previous;
}

BOOL CDC::LineTo(int x, int y) {
  QPoint from(state_.current.x, state_.current.y), to(x, y);
  state_.current = POINT{x, y};
  return Paint(
      [&](Canvas& c) { LineDrawer(c, state_.pen, state_.brush, state_.rop2).Draw(from, to); });
}

BOOL CDC::Polyline(const POINT* points, int count) {
  if (!points || count < 2) return FALSE;
  return Paint([&](Canvas& c) {
    LineDrawer lines(c, state_.pen, state_.brush, state_.rop2);
    for (int i = 1; i < count; ++i)
      lines.Draw(QPoint(points[i - 1].x, points[i - 1].y), QPoint(points[i].x, points[i].y));
  });
}

BOOL CDC::Polygon(const POINT* points, int count) {
  if (!points || count < 2) return FALSE;
  QPolygon polygon;
  for (int i = 0; i < count; ++i) polygon << QPoint(points[i].x, points[i].y);
  return Paint([&](Canvas& c) {
    c.Shapes(state_.pen, state_.brush, state_.rop2);
    c.Painter().drawPolygon(polygon, Qt::OddEvenFill);
  });
}

// ---- shapes

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return TRUE;
  if (!SpansFit(left, top, right, bottom)) return FALSE;
  return Paint([&](Canvas& c) {
    // A solid one-pixel pen copying its colour outlines the edge pixels and
    // a solid brush fills the rest: written as fills, far cheaper than
    // stroking (a chart's thousands of narrow candles).
    const PenData* pen = state_.pen.get();
    const BrushData* brush = state_.brush.get();
    if (ShortcutsEnabled() && c.Unscaled() && state_.rop2 == R2_COPYPEN && pen && brush &&
        pen->width <= 1 && pen->pen.style() == Qt::SolidLine &&
        (brush->hollow || brush->brush.style() == Qt::SolidPattern)) {
      if (!brush->hollow && right - left > 2 && bottom - top > 2)
        c.Fill(ToQRect(left + 1, top + 1, right - 1, bottom - 1), ToQColor(brush->color));
      const QColor ink = ToQColor(pen->color);
      c.Fill(ToQRect(left, top, right, top + 1), ink);
      c.Fill(ToQRect(left, bottom - 1, right, bottom), ink);
      c.Fill(ToQRect(left, top, left + 1, bottom), ink);
      c.Fill(ToQRect(right - 1, top, right, bottom), ink);
      return;
    }
    c.Shapes(state_.pen, state_.brush, state_.rop2);
    c.Painter().drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
  });
}

BOOL CDC::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  if (right <= left || bottom <= top) return TRUE;
  if (!SpansFit(left, top, right, bottom)) return FALSE;
  return Paint([&](Canvas& c) {
    c.Shapes(state_.pen, state_.brush, state_.rop2);
    c.Painter().drawRoundedRect(QRect(left, top, right - left - 1, bottom - top - 1),
                                cornerWidth / 2.0, cornerHeight / 2.0, Qt::AbsoluteSize);
  });
}

BOOL CDC::Ellipse(int left, int top, int right, int bottom) {
  if (right <= left || bottom <= top) return TRUE;
  if (!SpansFit(left, top, right, bottom)) return FALSE;
  return Paint([&](Canvas& c) {
    c.Shapes(state_.pen, state_.brush, state_.rop2);
    c.Painter().drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
  });
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
  if (!rect) return;
  FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, color);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  // MFC paints through the background colour and leaves it set.
  SetBkColor(color);
  long long left = x, top = y, width = cx, height = cy;
  if (width < 0) {
    left += width;
    width = -width;
  }
  if (height < 0) {
    top += height;
    height = -height;
  }
  if (width == 0 || height == 0) return;
  // Far beyond any device: cut to what a QRect can hold.
  const long long lo = INT_MIN / 2, hi = INT_MAX / 2;
  long long right = std::min(left + width, hi), bottom = std::min(top + height, hi);
  left = std::max(left, lo), top = std::max(top, lo);
  if (right <= left || bottom <= top) return;
  x = (int)left, y = (int)top, cx = (int)(right - left), cy = (int)(bottom - top);
  Paint([&](Canvas& c) { c.Fill(QRect(x, y, cx, cy), ToQColor(color)); });
}

void CDC::FillRect(const RECT* rect, CBrush* brush) {
  if (!rect || !brush || brush->IsHollow() || IsRectEmpty(*rect)) return;
  const QBrush& qbrush = brush->Data()->brush;
  Paint([&](Canvas& c) { c.Painter().fillRect(ToQRect(*rect), qbrush); });
}

void CDC::FrameRect(const RECT* rect, CBrush* brush) {
  if (!rect || !brush || brush->IsHollow() || IsRectEmpty(*rect)) return;
  const QBrush& qbrush = brush->Data()->brush;
  const RECT& r = *rect;
  Paint([&](Canvas& c) {
    QPainter& p = c.Painter();
    p.fillRect(ToQRect(r.left, r.top, r.right, r.top + 1), qbrush);
    p.fillRect(ToQRect(r.left, r.bottom - 1, r.right, r.bottom), qbrush);
    p.fillRect(ToQRect(r.left, r.top, r.left + 1, r.bottom), qbrush);
    p.fillRect(ToQRect(r.right - 1, r.top, r.right, r.bottom), qbrush);
  });
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight) {
  if (!rect) return;
  Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft,
             bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  // Top and left edges in one colour, right and bottom in the other, as MFC.
  FillSolidRect(x, y, cx - 1, 1, topLeft);
  FillSolidRect(x, y, 1, cy - 1, topLeft);
  FillSolidRect(x + cx - 1, y, 1, cy, bottomRight);
  FillSolidRect(x, y + cy - 1, cx, 1, bottomRight);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF color) {
  if (!ExtentFits(x, y, 1, 1)) return CLR_INVALID;
  bool painted = Paint([&](Canvas& c) { c.Fill(QRect(x, y, 1, 1), ToQColor(color)); });
  return painted ? color & 0xFFFFFF : CLR_INVALID;
}

BOOL CDC::FillRgn(CRgn* region, CBrush* brush) {
  if (!region || !region->Region() || !brush || !brush->Data()) return FALSE;
  if (brush->IsHollow()) return TRUE;
  const QBrush& qbrush = brush->Data()->brush;
  const QRegion& area = *region->Region();
  return Paint([&](Canvas& c) {
    QPainter& p = c.Painter();
    for (const QRect& r : area) p.fillRect(r, qbrush);
  });
}

BOOL CDC::PaintRgn(CRgn* region) { return FillRgn(region, state_.brushObj); }

COLORREF CDC::GetPixel(int x, int y) const {
  const long long dx = (long long)x + OffsetX(), dy = (long long)y + OffsetY();
  const QImage* image = Picture();
  if (!image || dx < 0 || dy < 0 || dx >= image->width() || dy >= image->height())
    return CLR_INVALID;
  return FromQColor(image->pixelColor((int)dx, (int)dy));
}

// ---- copies

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  return Blit(x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, nullptr, nullptr);
}

BOOL CDC::AlphaBlend(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, BLENDFUNCTION blend) {
  if (blend.BlendOp != AC_SRC_OVER) return FALSE;
  return Blit(x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, &blend, nullptr);
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc,
                         int srcWidth, int srcHeight, UINT transparentColor) {
  const COLORREF key = transparentColor & 0xFFFFFF;
  return Blit(x, y, width, height, source, xSrc, ySrc, srcWidth, srcHeight, nullptr, &key);
}

BOOL CDC::Blit(int x, int y, int width, int height, CDC* source, int xSrc, int ySrc, int srcWidth,
               int srcHeight, const BLENDFUNCTION* blend, const COLORREF* key) {
  if (!source || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return FALSE;
  const QImage* sourceImage = source->GetImage();
  if (!sourceImage) return FALSE;
  if (!ExtentFits(x, y, width, height) ||
      !ExtentFits((long long)xSrc + source->OffsetX(), (long long)ySrc + source->OffsetY(),
                  srcWidth, srcHeight))
    return FALSE;
  QRect sourceRect(xSrc + source->OffsetX(), ySrc + source->OffsetY(), srcWidth, srcHeight);
  // Copying within one picture, or keying a colour out: take the block out first.
  QImage block;
  if (sourceImage == Picture() || key) {
    block = sourceImage->copy(sourceRect);
    if (key) platform::gdi_detail::KeyOutColor(&block, *key);
    sourceImage = &block;
    sourceRect = QRect(0, 0, srcWidth, srcHeight);
  }
  // Without AC_SRC_ALPHA the source counts as opaque.
  if (blend && !(blend->AlphaFormat & AC_SRC_ALPHA) && sourceImage->hasAlphaChannel()) {
    block = sourceImage->copy(sourceRect).convertToFormat(QImage::Format_RGB32);
    sourceImage = &block;
    sourceRect = QRect(0, 0, srcWidth, srcHeight);
  }
  return Paint([&](Canvas& c) {
    // A plain copy replaces what is there; a mixed or keyed one draws over it.
    c.Composition((blend || key) ? QPainter::CompositionMode_SourceOver
                                 : QPainter::CompositionMode_Source);
    QPainter& p = c.Painter();
    const qreal opacity = blend ? blend->SourceConstantAlpha / 255.0 : 1.0;
    if (opacity != 1.0) p.setOpacity(opacity);
    p.drawImage(QRect(x, y, width, height), *sourceImage, sourceRect);
    if (opacity != 1.0) p.setOpacity(1.0);  // a kept painter serves the next call as fresh
  });
}

namespace platform::gdi_detail {

void KeyOutColor(QImage* image, COLORREF key) {
  if (!image || image->isNull()) return;
  if (image->format() != QImage::Format_ARGB32)
    *image = image->convertToFormat(QImage::Format_ARGB32);
  const QRgb rgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
  for (int y = 0; y < image->height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
    for (int x = 0; x < image->width(); ++x)
      if ((line[x] & 0xFFFFFF) == rgb) line[x] = 0;
  }
}

}  // namespace platform::gdi_detail
