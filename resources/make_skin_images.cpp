// Draws the images of the skinned controls (our own, made for this
// project) into PNG files:
//   make_skin_images <resources folder>
// writes icons/ and skin/ under it. The PNGs are committed; run this again
// after changing a picture here.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <functional>

namespace {

QString g_root;

bool Save(const QImage& image, const QString& name) {
  const QString path = g_root + "/" + name;
  QDir().mkpath(QFileInfo(path).path());
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

QImage Blank(int w, int h) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

// A strip of frames, each drawn by fn(painter, frame rectangle, index).
QImage Strip(int frameW, int frameH, int count, bool stacked,
             const std::function<void(QPainter&, const QRectF&, int)>& fn) {
  QImage image = Blank(stacked ? frameW : frameW * count, stacked ? frameH * count : frameH);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < count; ++i) {
    const QRectF r(stacked ? 0 : i * frameW, stacked ? i * frameH : 0, frameW, frameH);
    p.save();
    p.setClipRect(r);
    fn(p, r, i);
    p.restore();
  }
  return image;
}

// Normal, hover, pressed, disabled shades of a base colour.
QColor Shade(QColor base, int state) {
  switch (state % 4) {
    case 1: return base.lighter(125);
    case 2: return base.darker(130);
    case 3: return QColor(170, 170, 170);
    default: return base;
  }
}

void RoundButton(QPainter& p, const QRectF& r, QColor base, int state) {
  const QColor c = Shade(base, state);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, c.lighter(130));
  g.setColorAt(0.5, c);
  g.setColorAt(1, c.darker(115));
  p.setPen(QPen(c.darker(150), 1));
  p.setBrush(g);
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawLine(r.topLeft() + QPointF(5, 1.5), r.topRight() + QPointF(-5, 1.5));
}

void AppIcon() {
  QImage icon = Blank(32, 32);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient g(0, 0, 0, 32);
  g.setColorAt(0, QColor(40, 140, 220));
  g.setColorAt(1, QColor(10, 60, 140));
  p.setBrush(g);
  p.setPen(QPen(QColor(8, 40, 100), 1));
  p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
  p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  const QPointF z[] = {{9, 9}, {23, 9}, {9, 23}, {23, 23}};
  p.drawPolyline(z, 4);
  p.setPen(QPen(QColor(250, 200, 60), 2));
  p.drawLine(QPointF(6, 27), QPointF(26, 27));
  Save(icon, "icons/zeb.png");
}

// A dialog skin: caption strip, a light body and a grey bottom band; the
// corners outside the rounded frame are the key colour (magenta).
void DialogSkin() {
  const int w = 420, h = 300, top = 30, bottom = 50;
  QImage skin(w, h, QImage::Format_ARGB32);
  skin.fill(QColor(255, 0, 255));
  QPainter p(&skin);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPainterPath frame;
  frame.addRoundedRect(QRectF(0, 0, w, h), 8, 8);
  p.setClipPath(frame);
  QLinearGradient caption(0, 0, 0, top);
  caption.setColorAt(0, QColor(46, 120, 196));
  caption.setColorAt(1, QColor(22, 82, 150));
  p.fillRect(QRect(0, 0, w, top), caption);
  QLinearGradient body(0, top, 0, h - bottom);
  body.setColorAt(0, QColor(236, 244, 252));
  body.setColorAt(1, QColor(208, 226, 244));
  p.fillRect(QRect(0, top, w, h - top - bottom), body);
  // A faint wave across the body.
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
  // Frame line inside the shape.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(16, 60, 120), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(0.5, 0.5, w - 1, h - 1), 8, 8);
  p.end();
  // Antialiasing must not blur the key colour: every pixel outside the
  // rounded shape is exactly the key.
  QImage shape(w, h, QImage::Format_ARGB32);
  shape.fill(Qt::transparent);
  {
    QPainter s(&shape);
    s.setRenderHint(QPainter::Antialiasing, false);
    s.fillPath(frame, Qt::black);
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (qAlpha(shape.pixel(x, y)) == 0) skin.setPixel(x, y, qRgb(255, 0, 255));
  Save(skin, "skin/dialog.png");
}

void CaptionButtons() {
  // 8 stacked frames: normal, hover, pressed, disabled, then the same again.
  Save(Strip(40, 22, 8, true,
             [](QPainter& p, const QRectF& r, int i) {
               const int state = i % 4;
               const QColor base = state == 0 ? QColor(200, 60, 50) : Shade(QColor(220, 50, 40), state);
               p.setPen(Qt::NoPen);
               p.setBrush(base);
               p.drawRoundedRect(r.adjusted(1, 0, -1, -3), 4, 4);
               p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
               const QPointF c = r.center() + QPointF(0, -1.5);
               p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
               p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
             }),
       "skin/caption_close.png");
  // Dark glyphs, for the light caption band the dialogs paint by default.
  auto glyphPen = [](int state, qreal width) {
    const QColor c = state == 3 ? QColor(168, 168, 168) : state == 2 ? QColor(10, 40, 80) : QColor(30, 64, 110);
    return QPen(c, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  };
  auto glyphBack = [](QPainter& p, const QRectF& r, int state) {
    if (state != 1 && state != 2) return;
    p.setPen(Qt::NoPen);
    p.setBrush(state == 1 ? QColor(40, 120, 210, 60) : QColor(20, 70, 140, 100));
    p.drawRoundedRect(r.adjusted(1, 0, -1, -3), 4, 4);
  };
  auto plainCaption = [=](const std::function<void(QPainter&, const QRectF&)>& glyph) {
    return Strip(27, 22, 8, true, [=](QPainter& p, const QRectF& r, int i) {
      glyphBack(p, r, i % 4);
      p.setPen(glyphPen(i % 4, 2));
      p.setBrush(Qt::NoBrush);
      glyph(p, r);
    });
  };
  Save(plainCaption([](QPainter& p, const QRectF& r) {
         p.drawLine(r.center() + QPointF(-6, 3), r.center() + QPointF(6, 3));
       }),
       "skin/caption_minimize.png");
  Save(plainCaption([](QPainter& p, const QRectF& r) {
         p.drawRect(QRectF(r.center() + QPointF(-3, -7), QSizeF(9, 8)));
         p.drawRect(QRectF(r.center() + QPointF(-6, -4), QSizeF(9, 8)));
       }),
       "skin/caption_restore.png");
  // 4 frames side by side.
  Save(Strip(26, 26, 4, false,
             [](QPainter& p, const QRectF& r, int i) {
               p.setPen(QPen(Shade(QColor(22, 82, 150), i), 1.5));
               p.setBrush(Shade(QColor(60, 140, 220), i));
               p.drawEllipse(r.adjusted(1.5, 1.5, -1.5, -1.5));
               p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
               const QPointF c = r.center();
               const QPointF arrow[] = {c + QPointF(2, -6), c + QPointF(-4, 0), c + QPointF(2, 6)};
               p.drawPolyline(arrow, 3);
             }),
       "skin/caption_back.png");
  Save(Strip(27, 22, 4, false,
             [=](QPainter& p, const QRectF& r, int i) {
               glyphBack(p, r, i);
               p.setPen(glyphPen(i, 2));
               p.setBrush(Qt::NoBrush);
               const QPointF c = r.center() + QPointF(0, -1);
               p.drawEllipse(c, 3.5, 3.5);
               for (int k = 0; k < 8; ++k) {
                 QTransform t;
                 t.translate(c.x(), c.y());
                 t.rotate(45 * k);
                 p.drawLine(t.map(QPointF(0, 5)), t.map(QPointF(0, 7.5)));
               }
             }),
       "skin/caption_settings.png");
  Save(Strip(27, 22, 4, false,
             [=](QPainter& p, const QRectF& r, int i) {
               glyphBack(p, r, i);
               const QColor c = glyphPen(i, 2).color();
               p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
               p.setBrush(Qt::NoBrush);
               const QPointF m = r.center() + QPointF(0, -1);
               QPainterPath hook;
               hook.moveTo(m + QPointF(-4, -3));
               hook.cubicTo(m + QPointF(-4, -9), m + QPointF(5, -9), m + QPointF(4, -3));
               hook.cubicTo(m + QPointF(3, 0), m + QPointF(0, 0), m + QPointF(0, 3));
               p.drawPath(hook);
               p.setBrush(c);
               p.drawEllipse(m + QPointF(0, 7), 1.2, 1.2);
             }),
       "skin/caption_help.png");
}

void PushButtons() {
  Save(Strip(80, 27, 4, true, [](QPainter& p, const QRectF& r, int i) { RoundButton(p, r, QColor(30, 120, 215), i); }),
       "skin/button_blue.png");
  Save(Strip(80, 27, 4, true, [](QPainter& p, const QRectF& r, int i) { RoundButton(p, r, QColor(150, 160, 172), i); }),
       "skin/button_grey.png");
  // Two stacked frames: not chosen, chosen.
  Save(Strip(24, 24, 2, true,
             [](QPainter& p, const QRectF& r, int i) {
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
             }),
       "skin/mode_toggle.png");
}

void Statics() {
  QImage icon = Blank(16, 16);
  {
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 120, 215));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 3.5, 2.2, 2.2));
    p.drawRoundedRect(QRectF(7, 7, 2.2, 6), 1, 1);
  }
  Save(icon, "skin/stat_icon.png");
  QImage track = Blank(200, 16);
  {
    QPainter p(&track);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 170, 195), 1));
    p.setBrush(QColor(232, 238, 246));
    p.drawRoundedRect(QRectF(0.5, 0.5, 199, 15), 4, 4);
  }
  Save(track, "skin/progress_track.png");
  QImage fill = Blank(200, 16);
  {
    QPainter p(&fill);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 16);
    g.setColorAt(0, QColor(110, 200, 120));
    g.setColorAt(1, QColor(40, 150, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, 199, 15), 4, 4);
  }
  Save(fill, "skin/progress_fill.png");
  // A scroll-bar thumb tile (schemes ship theirs as a ".BMP").
  QImage thumb(16, 16, QImage::Format_RGB32);
  {
    QPainter p(&thumb);
    QLinearGradient g(0, 0, 16, 0);
    g.setColorAt(0, QColor(60, 90, 120));
    g.setColorAt(0.5, QColor(120, 160, 200));
    g.setColorAt(1, QColor(60, 90, 120));
    p.fillRect(thumb.rect(), g);
    p.setPen(QColor(40, 60, 80));
    for (int y = 3; y < 16; y += 4) p.drawLine(5, y, 10, y);
  }
  Save(thumb, "skin/scroll_thumb.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_skin_images <resources folder>\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  g_root = QString::fromLocal8Bit(argv[1]);
  AppIcon();
  DialogSkin();
  CaptionButtons();
  PushButtons();
  Statics();
  return 0;
}
