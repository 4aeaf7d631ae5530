// What one drawing call of a DC paints with: an open painter carrying the
// DC's offset and clip, plus what the call itself needs (the pen and brush
// of shapes, a mixing mode, the text colour and font, a clip rectangle).
//
// A memory DC keeps one painter open on its picture from call to call and
// sets on it only what differs from what it has, and only when the call
// draws through it: opening a painter and setting every part of the state
// costs more than most single calls draw. Opaque fills of a 32-bit picture
// are written straight into it, clipped as the painter would clip them
// (the pixels are the same: an opaque colour replaces what is below).
//
// The painter is closed whenever something else may reach the picture:
// GetImage, the bitmap's Image/SharedImage, another DC painting on the same
// picture, the DC changing or dropping its bitmap, DeleteDC and the DC's
// end. Other DCs set everything on a fresh (or borrowed) painter per call.
// Private to the device context.
#pragma once
#include <QColor>
#include <QPainter>
#include <QRect>
#include <cstdint>
#include <memory>

#include "platform/gdi.h"

namespace platform::gdi_detail {

struct PenData;
struct BrushData;
struct FontData;
struct RegionData;

// The painter a memory DC keeps open: what the current call wants of it and
// what it has. Unknown parts (after opening) are null or false and get set
// on first use.
struct HeldPainter {
  HeldPainter() = default;
  HeldPainter(const HeldPainter&) = delete;
  HeldPainter& operator=(const HeldPainter&) = delete;
  ~HeldPainter() { Close(); }

  bool IsOpen() const { return picture != nullptr; }
  // Opens the painter on the picture (kept alive while open) with what a
  // fresh painter has; false when Qt cannot paint on it.
  bool Open(std::shared_ptr<QImage> image);
  void Close();
  // What a call wants: the DC's offset and clip (device units), narrowed
  // by the rectangle (logical units); plain source-over mixing.
  void Prepare(QPoint offset, const std::shared_ptr<RegionData>& clip, const QRect* clipRect);
  // Sets on the painter what the call wants of offset, clip and mixing.
  void Sync();
  // Writes an opaque colour over the rectangle (logical units) within the
  // wanted clip; false when the picture's format needs the painter.
  bool FillDirectly(const QRect& rect, QRgb opaque);

  QPainter painter;
  std::shared_ptr<QImage> picture;

  // Wanted by the current call.
  QPoint offset;
  std::shared_ptr<const RegionData> clip;
  bool hasClipRect = false;
  QRect clipRect;
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;

  // Set on the painter.
  QPoint setOffset;
  std::shared_ptr<const RegionData> setClip;
  bool clipKnown = false;
  bool setHasClipRect = false;
  QRect setClipRect;
  QPainter::CompositionMode setMode = QPainter::CompositionMode_SourceOver;
  std::shared_ptr<const PenData> pen;
  std::shared_ptr<const BrushData> brush;
  bool textPen = false;
  COLORREF textColor = 0;
  uint64_t font = 0;
};

// Closes the painter a memory DC keeps open on the device, if one does, so
// that the device can be painted on or handed out.
void ReleaseHeldPainter(const QPaintDevice* device);

// The painter of one call. With a held painter every setting is compared
// with what it has; otherwise it is set outright on a painter that only
// lives for the call.
class Canvas {
 public:
  Canvas(QPainter& painter, HeldPainter* held) : painter_(painter), held_(held) {}
  // The painter, with the call's offset, clip and mixing set.
  QPainter& Painter();
  // Lines and shapes: the DC's pen and brush, mixed by the pen mode.
  void Shapes(const std::shared_ptr<const PenData>& pen,
              const std::shared_ptr<const BrushData>& brush, int rop2);
  void Composition(QPainter::CompositionMode mode);
  // Text in a colour (a one-pixel pen of it, as Qt draws text with).
  void TextPen(COLORREF color);
  void Font(const FontData& font);
  // Narrows the clip further to the rectangle (logical units).
  void ClipTo(const QRect& rect);
  // QPainter::fillRect with an opaque colour (source-over mixing).
  void Fill(const QRect& rect, const QColor& opaque);
  // True when logical units are device pixels plus an offset: no scaling
  // by the painter's owner, no device pixel ratio.
  bool Unscaled() const;

 private:
  QPainter& painter_;
  HeldPainter* held_;
};

}  // namespace platform::gdi_detail
