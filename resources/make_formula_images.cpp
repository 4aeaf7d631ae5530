// Draws the images of the formula library's dialogs (our own, made for
// this project) into PNG files:
//   make_formula_images <resources folder>
// writes formula/ under it. The PNGs are committed; run this again after
// changing a picture here.
//
// formula/tree16.png: the tree images of the formula editor and the
// function picker, 16 x 16 frames on the mask colour green (0, 255, 0):
// 2 a function category, 4 a formula kind, 5 a group, 6 a formula,
// 28 a built-in function; the other frames stay empty.
// formula/indicator16.png: the indicator list's icons (an indicator, and
// the one being edited).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>

namespace {

const QColor kMask(0, 255, 0);

bool Save(const QImage& image, const QString& path) {
  QDir().mkpath(QFileInfo(path).path());
  if (!image.save(path, "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  return true;
}

// A strip of 16 x 16 frames on the mask colour; pictures are drawn without
// smoothing so no edge pixel blends with the mask.
QImage Strip(int count, const std::function<void(QPainter&, int)>& draw) {
  QImage image(16 * count, 16, QImage::Format_RGB32);
  image.fill(kMask);
  QPainter p(&image);
  for (int i = 0; i < count; ++i) {
    p.save();
    p.translate(16 * i, 0);
    p.setClipRect(0, 0, 16, 16);
    draw(p, i);
    p.restore();
  }
  return image;
}

void Folder(QPainter& p, QColor body, QColor tab) {
  p.setPen(body.darker(160));
  p.setBrush(tab);
  p.drawRect(1, 3, 6, 2);
  p.setBrush(body);
  p.drawRect(1, 5, 13, 9);
  p.setPen(body.lighter(140));
  p.drawLine(2, 6, 13, 6);
}

void Page(QPainter& p, QColor edge) {
  p.setPen(edge);
  p.setBrush(Qt::white);
  p.drawRect(3, 1, 10, 13);
  p.setPen(QColor(150, 150, 150));
  for (int y = 4; y <= 11; y += 2) p.drawLine(5, y, 11, y);
}

void Category(QPainter& p) {
  Folder(p, QColor(236, 196, 84), QColor(214, 168, 60));
  QFont font = p.font();
  font.setPixelSize(9);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(40, 80, 170));
  p.drawText(QRect(2, 5, 12, 9), Qt::AlignCenter, "fx");
}

void Kind(QPainter& p) {
  // A stack of three coloured books.
  const QColor books[3] = {QColor(200, 60, 50), QColor(50, 120, 200), QColor(60, 150, 70)};
  for (int i = 0; i < 3; ++i) {
    p.setPen(books[i].darker(150));
    p.setBrush(books[i]);
    p.drawRect(2 + i, 11 - 4 * i, 11 - i, 3);
  }
}

void Group(QPainter& p) { Folder(p, QColor(120, 170, 230), QColor(90, 140, 210)); }

void Formula(QPainter& p) {
  Page(p, QColor(70, 90, 130));
  // A small rising line over the page.
  p.setPen(QPen(QColor(210, 40, 40), 1));
  p.drawLine(4, 12, 7, 8);
  p.drawLine(7, 8, 9, 10);
  p.drawLine(9, 10, 12, 4);
}

void Function(QPainter& p) {
  p.setPen(QColor(120, 40, 150));
  p.setBrush(QColor(240, 225, 250));
  p.drawEllipse(1, 1, 13, 13);
  QFont font = p.font();
  font.setPixelSize(11);
  font.setItalic(true);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRect(1, 1, 14, 14), Qt::AlignCenter, "fx");
}

void Indicator(QPainter& p, bool edited) {
  p.setPen(QColor(60, 60, 60));
  p.setBrush(edited ? QColor(255, 244, 200) : Qt::white);
  p.drawRect(1, 1, 13, 13);
  p.setPen(QColor(200, 40, 40));
  p.drawLine(3, 11, 6, 6);
  p.drawLine(6, 6, 9, 9);
  p.drawLine(9, 9, 12, 3);
  p.setPen(QColor(40, 90, 200));
  p.drawLine(3, 8, 12, 8);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_formula_images <resources folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]) + "/formula/";
  const QImage tree = Strip(29, [](QPainter& p, int i) {
    switch (i) {
      case 2:
        Category(p);
        break;
      case 4:
        Kind(p);
        break;
      case 5:
        Group(p);
        break;
      case 6:
        Formula(p);
        break;
      case 28:
        Function(p);
        break;
      default:
        break;
    }
  });
  const QImage indicators = Strip(2, [](QPainter& p, int i) { Indicator(p, i == 1); });
  return Save(tree, root + "tree16.png") && Save(indicators, root + "indicator16.png") ? 0 : 1;
}
