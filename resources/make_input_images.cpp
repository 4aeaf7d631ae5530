// Draws the keyboard-input box's images (our own, made for this project)
// into PNG files:
//   make_input_images <resources folder>
// writes under it input/caption.png, the 200 x 22 caption band (a blue
// gradient with a small keyboard at its left end), and input/close.png, the
// close button's two 20 x 20 frames side by side (normal, pressed). The
// PNGs are committed; run this again after changing a picture.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace {

QImage Caption() {
  QImage img(200, 22, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient band(0, 0, 0, 22);
  band.setColorAt(0, QColor(74, 128, 205));
  band.setColorAt(0.5, QColor(38, 88, 170));
  band.setColorAt(1, QColor(22, 62, 136));
  p.fillRect(img.rect(), band);
  p.setPen(QColor(120, 170, 235));
  p.drawLine(0, 0, 199, 0);
  // A keyboard: a light body with three rows of keys.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(20, 40, 80));
  p.setBrush(QColor(235, 240, 248));
  p.drawRect(4, 5, 15, 11);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(60, 80, 120));
  for (int row = 0; row < 2; ++row)
    for (int key = 0; key < 4; ++key) p.drawRect(6 + 3 * key + row, 7 + 3 * row, 2, 2);
  p.drawRect(8, 13, 8, 2);  // the space bar
  return img;
}

QImage Close() {
  QImage img(40, 20, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  for (int frame = 0; frame < 2; ++frame) {
    const bool pressed = frame == 1;
    const QRectF box(20 * frame + 2.5, 2.5, 15, 15);
    p.setPen(QPen(pressed ? QColor(120, 20, 20) : QColor(20, 40, 90), 1));
    p.setBrush(pressed ? QColor(200, 60, 50) : QColor(210, 80, 70));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    const double o = pressed ? 1 : 0;
    p.drawLine(QPointF(20 * frame + 6.5 + o, 6.5 + o), QPointF(20 * frame + 13.5 + o, 13.5 + o));
    p.drawLine(QPointF(20 * frame + 13.5 + o, 6.5 + o), QPointF(20 * frame + 6.5 + o, 13.5 + o));
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) return 2;
  const QString dir = QString(argv[1]) + "/input";
  QDir().mkpath(dir);
  const bool ok = Caption().save(dir + "/caption.png", "PNG") && Close().save(dir + "/close.png", "PNG");
  return ok ? 0 : 1;
}
