// The drawing helpers every image family of make_images shares: canvases
// and strips of frames, colour ramps, rounded frames, ruled sheets and
// fonts by pixel size. The committed pictures were drawn with exactly this
// painter state; change a helper only together with the PNGs it draws.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGradient>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QSize>
#include <functional>
#include <initializer_list>

namespace images {

// What one picture, or one frame of a strip, is drawn on.
struct Canvas {
  QSize size;
  QColor background = Qt::transparent;
  QImage::Format format = QImage::Format_ARGB32;
  bool antialias = true;
};

// A strip's frames lie side by side (left to right) or stacked (top to bottom).
enum class Layout { kSideBySide, kStacked };

// Where a frame is drawn: in its own coordinates (the painter moved to the
// frame's corner) or in the strip's. Both give the same picture for most
// shapes, but antialiased curves can come out a shade apart, so a strip
// keeps the coordinates its committed PNG was drawn in.
enum class Origin { kFrame, kStrip };

// Draws frame `index`, clipped to it; `frame` is its rectangle ((0, 0,
// width, height) with Origin::kFrame). Painter state set inside does not
// reach the next frame.
using FrameDraw = std::function<void(QPainter& p, const QRectF& frame, int index)>;

// `count` frames of `frame` in one image.
QImage Strip(const Canvas& frame, int count, Layout layout, const FrameDraw& draw,
             Origin origin = Origin::kFrame);

// A single picture: a strip of one frame.
QImage Picture(const Canvas& canvas, const std::function<void(QPainter& p)>& draw);

// A linear colour ramp from `from` to `to`, through `colours` spaced evenly
// or through explicit stops.
QLinearGradient Ramp(QPointF from, QPointF to, std::initializer_list<QColor> colours);
QLinearGradient Ramp(QPointF from, QPointF to, const QGradientStops& stops);

// A rounded rectangle outlined with `pen` and filled with `brush`.
void RoundedFrame(QPainter& p, const QRectF& r, qreal radius, const QPen& pen, const QBrush& brush);

// A white sheet of paper in a 16 x 16 tree icon: edged, with grey-ish
// rules every `ruleStep` pixels.
void RuledSheet(QPainter& p, QColor edge, QColor rule, int ruleStep);

// `base` `pixels` high, bold and italic as asked.
QFont SizedFont(QFont base, int pixels, bool bold, bool italic = false);

}  // namespace images
