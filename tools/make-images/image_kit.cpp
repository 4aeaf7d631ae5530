// The shared drawing helpers of make_images (see image_kit.h).
#include "image_kit.h"

namespace images {

QImage Strip(const Canvas& frame, int count, Layout layout, const FrameDraw& draw, Origin origin) {
  const bool stacked = layout == Layout::kStacked;
  const int w = frame.size.width(), h = frame.size.height();
  QImage image(stacked ? w : w * count, stacked ? h * count : h, frame.format);
  image.fill(frame.background);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, frame.antialias);
  for (int i = 0; i < count; ++i) {
    const QRectF at(stacked ? 0 : i * w, stacked ? i * h : 0, w, h);
    p.save();
    if (origin == Origin::kFrame) p.translate(at.topLeft());
    const QRectF r = origin == Origin::kFrame ? QRectF(0, 0, w, h) : at;
    p.setClipRect(r);
    draw(p, r, i);
    p.restore();
  }
  return image;
}

QImage Picture(const Canvas& canvas, const std::function<void(QPainter& p)>& draw) {
  return Strip(canvas, 1, Layout::kSideBySide, [&](QPainter& p, const QRectF&, int) { draw(p); });
}

QLinearGradient Ramp(QPointF from, QPointF to, std::initializer_list<QColor> colours) {
  QLinearGradient ramp(from, to);
  const int last = static_cast<int>(colours.size()) - 1;
  int i = 0;
  for (const QColor& colour : colours)
    ramp.setColorAt(last > 0 ? static_cast<qreal>(i++) / last : 0, colour);
  return ramp;
}

QLinearGradient Ramp(QPointF from, QPointF to, const QGradientStops& stops) {
  QLinearGradient ramp(from, to);
  ramp.setStops(stops);
  return ramp;
}

void RoundedFrame(QPainter& p, const QRectF& r, qreal radius, const QPen& pen,
                  const QBrush& brush) {
  p.setPen(pen);
  p.setBrush(brush);
  p.drawRoundedRect(r, radius, radius);
}

void RuledSheet(QPainter& p, QColor edge, QColor rule, int ruleStep) {
  p.setPen(edge);
  p.setBrush(Qt::white);
  p.drawRect(3, 1, 10, 13);
  p.setPen(rule);
  for (int y = 4; y <= 11; y += ruleStep) p.drawLine(5, y, 11, y);
}

QFont SizedFont(QFont base, int pixels, bool bold, bool italic) {
  base.setPixelSize(pixels);
  base.setBold(bold);
  if (italic) base.setItalic(true);
  return base;
}

}  // namespace images
