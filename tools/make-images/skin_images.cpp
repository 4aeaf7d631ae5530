// The skinned controls' images, skin/: the dialog skin, the caption and
// push button strips (normal, hover, pressed, disabled frames), the mode
// toggle, the information icon, the progress bar and the scroll thumb.
#include <QPainterPath>
#include <QTransform>

#include "families.h"
#include "image_kit.h"

namespace images {
namespace {

// Normal, hover, pressed, disabled shades of a base colour.
QColor Shade(QColor base, int state) {
  switch (state % 4) {
    case 1: return base.lighter(125);
    case 2: return base.darker(130);
    case 3: return QColor(170, 170, 170);
    default: return base;
  }
}

// The rounded patch behind a caption glyph.
void CaptionPatch(QPainter& p, const QRectF& r, QColor colour) {
  RoundedFrame(p, r.adjusted(1, 0, -1, -3), 4, Qt::NoPen, colour);
}

void RoundButton(QPainter& p, const QRectF& r, QColor base, int state) {
  const QColor c = Shade(base, state);
  RoundedFrame(p, r.adjusted(0.5, 0.5, -0.5, -0.5), 5, QPen(c.darker(150), 1),
               Ramp(r.topLeft(), r.bottomLeft(), {c.lighter(130), c, c.darker(115)}));
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawLine(r.topLeft() + QPointF(5, 1.5), r.topRight() + QPointF(-5, 1.5));
}

// A caption band, a light body with a faint wave and a grey bottom band;
// the corners outside the rounded frame are the key colour (magenta).
QImage DialogSkin() {
  const int w = 420, h = 300, top = 30, bottom = 50;
  const QColor key(255, 0, 255);
  QPainterPath frame;
  frame.addRoundedRect(QRectF(0, 0, w, h), 8, 8);
  QImage skin = Picture({QSize(w, h), key, QImage::Format_ARGB32, false}, [&](QPainter& p) {
    p.setClipPath(frame);
    p.fillRect(QRect(0, 0, w, top),
               Ramp(QPointF(0, 0), QPointF(0, top), {QColor(46, 120, 196), QColor(22, 82, 150)}));
    p.fillRect(QRect(0, top, w, h - top - bottom),
               Ramp(QPointF(0, top), QPointF(0, h - bottom),
                    {QColor(236, 244, 252), QColor(208, 226, 244)}));
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath wave;
    wave.moveTo(0, h - bottom - 40);
    wave.cubicTo(w * 0.3, h - bottom - 90, w * 0.6, h - bottom + 10, w, h - bottom - 60);
    wave.lineTo(w, h - bottom);
    wave.lineTo(0, h - bottom);
    wave.closeSubpath();
    p.fillPath(wave, QColor(160, 196, 232, 110));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(0, h - bottom, w, bottom), QColor(228, 232, 238));
    p.setPen(QColor(190, 198, 210));
    p.drawLine(0, h - bottom, w, h - bottom);
    p.setClipping(false);
    // The frame line inside the shape.
    p.setRenderHint(QPainter::Antialiasing);
    RoundedFrame(p, QRectF(0.5, 0.5, w - 1, h - 1), 8, QPen(QColor(16, 60, 120), 1), Qt::NoBrush);
  });
  // Antialiasing must not blur the key colour: every pixel outside the
  // rounded shape is exactly the key.
  const QImage shape = Picture({QSize(w, h), Qt::transparent, QImage::Format_ARGB32, false},
                               [&](QPainter& p) { p.fillPath(frame, Qt::black); });
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (qAlpha(shape.pixel(x, y)) == 0) skin.setPixel(x, y, key.rgb());
  return skin;
}

// The dark glyphs of the caption buttons, for the light caption band the
// dialogs paint by default.
QPen GlyphPen(int state, qreal width) {
  const QColor c = state == 3   ? QColor(168, 168, 168)
                   : state == 2 ? QColor(10, 40, 80)
                                : QColor(30, 64, 110);
  return QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
}

void GlyphBack(QPainter& p, const QRectF& r, int state) {
  if (state == 1) CaptionPatch(p, r, QColor(40, 120, 210, 60));
  if (state == 2) CaptionPatch(p, r, QColor(20, 70, 140, 100));
}

// The four states of a dark caption glyph, twice over (8 stacked frames)
// or once side by side. The glyphs' curves were drawn in the strip's
// coordinates.
QImage GlyphStrip(int count, Layout layout,
                  const std::function<void(QPainter&, const QRectF&, int state)>& glyph) {
  return Strip(
      {QSize(27, 22)}, count, layout,
      [&](QPainter& p, const QRectF& r, int i) {
        GlyphBack(p, r, i % 4);
        p.setPen(GlyphPen(i % 4, 2));
        p.setBrush(Qt::NoBrush);
        glyph(p, r, i % 4);
      },
      Origin::kStrip);
}

ImageList CaptionButtons() {
  ImageList out;
  out.push_back(
      {"skin/caption_close.png",
       Strip({QSize(40, 22)}, 8, Layout::kStacked, [](QPainter& p, const QRectF& r, int i) {
         const int state = i % 4;
         CaptionPatch(p, r, state == 0 ? QColor(200, 60, 50) : Shade(QColor(220, 50, 40), state));
         p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
         const QPointF c = r.center() + QPointF(0, -1.5);
         p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
         p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
       })});
  out.push_back({"skin/caption_minimize.png",
                 GlyphStrip(8, Layout::kStacked, [](QPainter& p, const QRectF& r, int) {
                   p.drawLine(r.center() + QPointF(-6, 3), r.center() + QPointF(6, 3));
                 })});
  out.push_back({"skin/caption_restore.png",
                 GlyphStrip(8, Layout::kStacked, [](QPainter& p, const QRectF& r, int) {
                   p.drawRect(QRectF(r.center() + QPointF(-3, -7), QSizeF(9, 8)));
                   p.drawRect(QRectF(r.center() + QPointF(-6, -4), QSizeF(9, 8)));
                 })});
  out.push_back(
      {"skin/caption_back.png",
       Strip({QSize(26, 26)}, 4, Layout::kSideBySide, [](QPainter& p, const QRectF& r, int i) {
         p.setPen(QPen(Shade(QColor(22, 82, 150), i), 1.5));
         p.setBrush(Shade(QColor(60, 140, 220), i));
         p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
         p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
         const QPointF c = r.center();
         const QPointF arrow[] = {c + QPointF(2, -6), c + QPointF(-4, 0), c + QPointF(2, 6)};
         p.drawPolyline(arrow, 3);
       })});
  out.push_back({"skin/caption_settings.png",
                 GlyphStrip(4, Layout::kSideBySide, [](QPainter& p, const QRectF& r, int) {
                   const QPointF c = r.center() + QPointF(0, -1);
                   p.drawEllipse(c, 3.5, 3.5);
                   for (int k = 0; k < 8; ++k) {
                     QTransform t;
                     t.translate(c.x(), c.y());
                     t.rotate(45 * k);
                     p.drawLine(t.map(QPointF(0, 5)), t.map(QPointF(0, 7.5)));
                   }
                 })});
  out.push_back({"skin/caption_help.png",
                 GlyphStrip(4, Layout::kSideBySide, [](QPainter& p, const QRectF& r, int state) {
                   const QColor c = GlyphPen(state, 2).color();
                   p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
                   const QPointF m = r.center() + QPointF(0, -1);
                   QPainterPath hook;
                   hook.moveTo(m + QPointF(-4, -3));
                   hook.cubicTo(m + QPointF(-4, -9), m + QPointF(5, -9), m + QPointF(4, -3));
                   hook.cubicTo(m + QPointF(3, 0), m + QPointF(0, 0), m + QPointF(0, 3));
                   p.drawPath(hook);
                   p.setBrush(c);
                   p.drawEllipse(m + QPointF(0, 7), 1.2, 1.2);
                 })});
  return out;
}

ImageList PushButtons() {
  auto buttons = [](QColor base) {
    return Strip({QSize(80, 27)}, 4, Layout::kStacked,
                 [=](QPainter& p, const QRectF& r, int i) { RoundButton(p, r, base, i); });
  };
  // Two stacked frames: not chosen, chosen.
  const QImage toggle =
      Strip({QSize(24, 24)}, 2, Layout::kStacked, [](QPainter& p, const QRectF& r, int i) {
        const QRectF box = r.adjusted(3, 3, -3, -3);
        p.setPen(QPen(QColor(22, 82, 150), 1.5));
        p.setBrush(i ? QColor(30, 120, 215) : QColor(255, 255, 255, 200));
        p.drawEllipse(box);
        if (i) {
          p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
          const QPointF c = box.center();
          const QPointF tick[] = {c + QPointF(-5, 0), c + QPointF(-1.5, 4), c + QPointF(5, -4)};
          p.drawPolyline(tick, 3);
        }
      });
  return {{"skin/button_blue.png", buttons(QColor(30, 120, 215))},
          {"skin/button_grey.png", buttons(QColor(150, 160, 172))},
          {"skin/mode_toggle.png", toggle}};
}

ImageList Statics() {
  const QImage icon = Picture({QSize(16, 16)}, [](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 120, 215));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
    p.drawRoundedRect(QRectF(7, 7, 2.2, 6), 1, 1);
  });
  const QRectF bar(0.5, 0.5, 199, 15);
  const QImage track = Picture({QSize(200, 16)}, [&](QPainter& p) {
    RoundedFrame(p, bar, 4, QPen(QColor(150, 170, 195), 1), QColor(232, 238, 246));
  });
  const QImage fill = Picture({QSize(200, 16)}, [&](QPainter& p) {
    RoundedFrame(p, bar, 4, Qt::NoPen,
                 Ramp(QPointF(0, 0), QPointF(0, 16), {QColor(110, 200, 120), QColor(40, 150, 60)}));
  });
  // A scroll-bar thumb tile (schemes ship theirs as a ".BMP").
  const QImage thumb =
      Picture({QSize(16, 16), Qt::black, QImage::Format_RGB32, false}, [](QPainter& p) {
        const QColor edge(60, 90, 120);
        p.fillRect(QRect(0, 0, 16, 16),
                   Ramp(QPointF(0, 0), QPointF(16, 0), {edge, QColor(120, 160, 200), edge}));
        p.setPen(QColor(40, 60, 80));
        for (int y = 3; y < 16; y += 4) p.drawLine(5, y, 10, y);
      });
  return {{"skin/stat_icon.png", icon},
          {"skin/progress_track.png", track},
          {"skin/progress_fill.png", fill},
          {"skin/scroll_thumb.png", thumb}};
}

}  // namespace

ImageList SkinImages() {
  ImageList out{{"skin/dialog.png", DialogSkin()}};
  for (ImageList part : {CaptionButtons(), PushButtons(), Statics()})
    for (auto& named : part) out.push_back(std::move(named));
  return out;
}

}  // namespace images
