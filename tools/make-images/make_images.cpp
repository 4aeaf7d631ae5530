// Draws the program folder's own images into resources/: the login
// dialog's skin and button strips and the colour scheme's scroll-thumb
// tile. (The tool bar strips and the program icon are the controls'.) Run by hand after changing a picture:
//   make_images <repository>/resources
// The output is committed; the build copies it into the program folder.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>


namespace {

// The login skin's cut-out colour (its top-left pixel): nearly black, so a
// desktop that cannot shape windows shows dark corners, not a bright key.
const QColor kKey(1, 1, 1);
const char* kFace = "WenQuanYi Micro Hei";

QFont Font(int pixels, bool bold = false) {
  QFont f(kFace);
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

bool Save(const QImage& image, const QString& path) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (!image.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// ---- The login dialog ----

QImage LoginBackground() {
  const int w = 480, h = 420, r = 10;
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(kKey);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 0, w, h), r, r);
  QLinearGradient sky(0, 0, 0, h);
  sky.setColorAt(0, QColor(16, 52, 96));
  sky.setColorAt(0.45, QColor(24, 86, 140));
  sky.setColorAt(1, QColor(10, 34, 64));
  p.fillPath(body, sky);
  p.setRenderHint(QPainter::Antialiasing, true);
  // A faint price line across the upper band.
  QPainterPath line;
  const double pts[] = {0.78, 0.70, 0.74, 0.58, 0.63, 0.49, 0.55, 0.41, 0.45, 0.30, 0.36, 0.28};
  for (int i = 0; i < 12; ++i) {
    const QPointF at(20 + i * 40.0, 16 + pts[i] * 70);
    i ? line.lineTo(at) : line.moveTo(at);
  }
  p.setPen(QPen(QColor(120, 200, 255, 90), 2));
  p.drawPath(line);
  // The emblem: a round stamp with the letter Z.
  QRadialGradient gold(QPointF(56, 46), 26);
  gold.setColorAt(0, QColor(255, 222, 120));
  gold.setColorAt(1, QColor(196, 140, 30));
  p.setBrush(gold);
  p.setPen(QPen(QColor(255, 240, 190), 2));
  p.drawEllipse(QPointF(56, 46), 24, 24);
  p.setPen(QColor(90, 50, 0));
  p.setFont(Font(28, true));
  p.drawText(QRectF(32, 22, 48, 48), Qt::AlignCenter, "Z");
  p.setPen(Qt::white);
  p.setFont(Font(26, true));
  p.drawText(QRectF(92, 20, 360, 34), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("ZEB 藏品行情交易系统"));
  p.setPen(QColor(170, 210, 245));
  p.setFont(Font(13));
  p.drawText(QRectF(94, 52, 360, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8("邮票 · 钱币 · 卡片 · 封片"));
  // The form panel.
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.setBrush(QColor(255, 255, 255, 22));
  p.drawRoundedRect(QRectF(40, 138, 400, 170), 8, 8);
  // The bottom band.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(8, 26, 50));
  QPainterPath band;
  band.addRect(QRectF(0, h - 50, w, 50));
  p.drawPath(band.intersected(body));
  return img;
}

// A strip of frames stacked top to bottom (layout 2): normal, hover,
// pressed, disabled (four frames) or normal, selected (two).
QImage ButtonStrip(int w, int h, int frames, const QString& text, QColor base) {
  QImage img(w, h * frames, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int f = 0; f < frames; ++f) {
    QColor top = base.lighter(frames == 4 && f == 1 ? 135 : 120);
    QColor bottom = base.darker(frames == 4 && f == 2 ? 140 : 110);
    QColor textColour = Qt::white;
    if (frames == 4 && f == 3) top = bottom = QColor(120, 120, 120), textColour = QColor(200, 200, 200);
    if (frames == 2 && f == 0) top = QColor(60, 90, 130), bottom = QColor(40, 62, 96), textColour = QColor(200, 215, 235);
    const QRectF r(1, f * h + 1, w - 2, h - 2);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(frames == 2 && f == 1 ? QColor(255, 220, 120) : QColor(255, 255, 255, 90), frames == 2 && f == 1 ? 2 : 1));
    p.drawRoundedRect(r, 5, 5);
    if (text.isEmpty()) continue;
    p.setPen(textColour);
    p.setFont(Font(14, true));
    p.drawText(r.translated(0, frames == 4 && f == 2 ? 1 : 0), Qt::AlignCenter, text);
  }
  return img;
}

QImage SliderTile() {
  QImage img(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) img.setPixelColor(x, y, (x + y) % 4 < 2 ? QColor(0, 110, 130) : QColor(0, 80, 100));
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_images <resources folder>\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  bool ok = true;
  ok &= Save(LoginBackground(), out + "/login/ImgBk.png");
  // The buttons of kind 0 draw their own caption over the image; the
  // quotes-only button (kind 1) shows the image alone, so its text is in it.
  ok &= Save(ButtonStrip(90, 30, 4, QString(), QColor(214, 120, 20)), out + "/login/ImgOkBtn.png");
  ok &= Save(ButtonStrip(90, 30, 4, QString(), QColor(70, 110, 160)), out + "/login/ImgCancleBtn.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString::fromUtf8("行情"), QColor(200, 110, 20)), out + "/login/QuoteLog.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString(), QColor(200, 110, 20)), out + "/login/QuoteTradeLog.png");
  ok &= Save(ButtonStrip(110, 30, 2, QString(), QColor(200, 110, 20)), out + "/login/TradeLog.png");
  ok &= Save(SliderTile(), out + "/scheme/slider.bmp");
  return ok ? 0 : 1;
}
