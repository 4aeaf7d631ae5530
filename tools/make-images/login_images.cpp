// The login dialog's images, login/: the skin (a dark blue panel with the
// emblem, the title and a form panel; the corners outside its rounded
// shape are the cut-out colour, its top-left pixel) and the button strips.
#include <QPainterPath>
#include <QRadialGradient>

#include "families.h"
#include "image_kit.h"

namespace images {
namespace {

// The cut-out colour is nearly black, so a desktop that cannot shape
// windows shows dark corners, not a bright key.
const QColor kKey(1, 1, 1);

QFont Font(int pixels, bool bold = false) {
  return SizedFont(QFont("WenQuanYi Micro Hei"), pixels, bold);
}

QImage Background() {
  const int w = 560, h = 420;
  return Picture({QSize(w, h), kKey, QImage::Format_ARGB32, false}, [&](QPainter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 0, w, h), 10, 10);
    p.fillPath(body, Ramp(QPointF(0, 0), QPointF(0, h),
                          QGradientStops{{0, QColor(16, 52, 96)},
                                         {0.45, QColor(24, 86, 140)},
                                         {1, QColor(10, 34, 64)}}));
    p.setRenderHint(QPainter::Antialiasing, true);
    // A faint price line across the upper band.
    QPainterPath line;
    const double pts[] = {0.78, 0.70, 0.74, 0.58, 0.63, 0.49, 0.55, 0.41, 0.45, 0.30, 0.36, 0.28};
    for (int i = 0; i < 12; ++i) {
      const QPointF at(20 + i * (w - 40) / 11.0, 16 + pts[i] * 70);
      i ? line.lineTo(at) : line.moveTo(at);
    }
    p.setPen(QPen(QColor(120, 200, 255, 90), 2));
    p.drawPath(line);
    // The emblem: a round stamp with the letter Z.
    QRadialGradient gold(QPointF(96, 46), 26);
    gold.setColorAt(0, QColor(255, 222, 120));
    gold.setColorAt(1, QColor(196, 140, 30));
    p.setBrush(gold);
    p.setPen(QPen(QColor(255, 240, 190), 2));
    p.drawEllipse(QPointF(96, 46), 24, 24);
    p.setPen(QColor(90, 50, 0));
    p.setFont(Font(28, true));
    p.drawText(QRectF(72, 22, 48, 48), Qt::AlignCenter, "Z");
    p.setPen(Qt::white);
    p.setFont(Font(26, true));
    p.drawText(QRectF(132, 20, 360, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("ZEB 藏品行情交易系统"));
    p.setPen(QColor(170, 210, 245));
    p.setFont(Font(13));
    p.drawText(QRectF(134, 52, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromUtf8("邮票 · 钱币 · 卡片 · 封片"));
    // The form panel, centred.
    RoundedFrame(p, QRectF((w - 400) / 2.0, 138, 400, 170), 8, QPen(QColor(255, 255, 255, 40), 1),
                 QColor(255, 255, 255, 22));
    // The bottom band.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 26, 50));
    QPainterPath band;
    band.addRect(QRectF(0, h - 50, w, 50));
    p.drawPath(band.intersected(body));
  });
}

// Frames stacked top to bottom: normal, hover, pressed, disabled (four
// frames) or normal, selected (two). The button is drawn `margin` pixels in
// from the frame's sides, so buttons placed side by side stand apart.
QImage ButtonStrip(int w, int h, int frames, const QString& text, QColor base, int margin = 0) {
  return Strip(
      {QSize(w, h)}, frames, Layout::kStacked, [&](QPainter& p, const QRectF& frame, int f) {
        QColor top = base.lighter(frames == 4 && f == 1 ? 135 : 120);
        QColor bottom = base.darker(frames == 4 && f == 2 ? 140 : 110);
        QColor textColour = Qt::white;
        if (frames == 4 && f == 3)
          top = bottom = QColor(120, 120, 120), textColour = QColor(200, 200, 200);
        if (frames == 2 && f == 0)
          top = QColor(60, 90, 130), bottom = QColor(40, 62, 96),
          textColour = QColor(200, 215, 235);
        const bool selected = frames == 2 && f == 1;
        const QRectF r = frame.adjusted(1 + margin, 1, -1 - margin, -1);
        RoundedFrame(
            p, r, 5,
            QPen(selected ? QColor(255, 220, 120) : QColor(255, 255, 255, 90), selected ? 2 : 1),
            Ramp(r.topLeft(), r.bottomLeft(), {top, bottom}));
        if (text.isEmpty()) return;
        p.setPen(textColour);
        p.setFont(Font(14, true));
        p.drawText(r.translated(0, frames == 4 && f == 2 ? 1 : 0), Qt::AlignCenter, text);
      });
}

}  // namespace

ImageList LoginImages() {
  const QColor orange(200, 110, 20);
  // The buttons of kind 0 draw their own caption over the image; the
  // quotes-only button (kind 1) shows the image alone, so its text is in it.
  return {{"login/ImgBk.png", Background()},
          {"login/ImgOkBtn.png", ButtonStrip(70, 30, 4, QString(), QColor(214, 120, 20), 5)},
          {"login/ImgCancleBtn.png", ButtonStrip(70, 30, 4, QString(), QColor(70, 110, 160), 5)},
          {"login/QuoteLog.png", ButtonStrip(110, 30, 2, QString::fromUtf8("行情"), orange)},
          {"login/QuoteTradeLog.png", ButtonStrip(110, 30, 2, QString(), orange)},
          {"login/TradeLog.png", ButtonStrip(110, 30, 2, QString(), orange)}};
}

}  // namespace images
