// Draws the trading window's images (our own, made for this project) into
// PNG files:
//   make_trade_images <resources folder>
// writes trade/function_tree.png under it: the function tree's eight 16 x 16
// images side by side on teal (0, 128, 128), the colour the tree leaves
// transparent. 0-3 the four top-level functions (buy, sell, cancel,
// subscribe), 4 spare, 5 a function inside a group, 6 a group, 7 the
// password. The PNG is committed; run this again after changing a picture.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QImage img(128, 16, QImage::Format_RGB32);
  img.fill(QColor(0, 128, 128));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, false);
  auto cell = [&](int i) {
    p.resetTransform();
    p.translate(16 * i, 0);
  };
  // 0 buy: red arrow up
  cell(0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 30, 30));
  p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(14, 8), QPoint(10, 8), QPoint(10, 14), QPoint(6, 14),
                          QPoint(6, 8), QPoint(2, 8)}));
  // 1 sell: green arrow down
  cell(1);
  p.setBrush(QColor(20, 150, 40));
  p.drawPolygon(QPolygon({QPoint(8, 14), QPoint(14, 7), QPoint(10, 7), QPoint(10, 1), QPoint(6, 1),
                          QPoint(6, 7), QPoint(2, 7)}));
  // 2 cancel: a sheet with a red cross
  cell(2);
  p.setBrush(Qt::white);
  p.setPen(QColor(90, 90, 90));
  p.drawRect(2, 1, 10, 13);
  p.setPen(QPen(QColor(210, 20, 20), 2));
  p.drawLine(6, 6, 13, 13);
  p.drawLine(13, 6, 6, 13);
  // 3 subscribe: a coin with a plus
  cell(3);
  p.setPen(QColor(150, 110, 0));
  p.setBrush(QColor(250, 200, 40));
  p.drawEllipse(1, 1, 13, 13);
  p.setPen(QPen(QColor(120, 80, 0), 2));
  p.drawLine(8, 4, 8, 12);
  p.drawLine(4, 8, 12, 8);
  // 4 spare: a magnifier
  cell(4);
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(2, 2, 8, 8);
  p.drawLine(9, 9, 14, 14);
  // 5 function inside a group: a small sheet
  cell(5);
  p.setPen(QColor(70, 70, 70));
  p.setBrush(Qt::white);
  p.drawRect(3, 1, 10, 13);
  p.setPen(QColor(120, 140, 200));
  for (int y = 4; y <= 11; y += 3) p.drawLine(5, y, 11, y);
  // 6 group: a folder
  cell(6);
  p.setPen(QColor(140, 100, 0));
  p.setBrush(QColor(250, 210, 90));
  p.drawRect(1, 4, 14, 10);
  p.drawRect(1, 2, 6, 2);
  // 7 password: a key
  cell(7);
  p.setPen(QPen(QColor(120, 90, 0), 1));
  p.setBrush(QColor(240, 190, 40));
  p.drawEllipse(1, 4, 7, 7);
  p.setBrush(QColor(0, 128, 128));
  p.drawEllipse(3, 6, 3, 3);
  p.setPen(QPen(QColor(240, 190, 40), 2));
  p.drawLine(8, 8, 14, 8);
  p.drawLine(13, 8, 13, 12);
  p.drawLine(11, 8, 11, 11);
  p.end();
  if (argc < 2) return 2;
  QDir().mkpath(QString(argv[1]) + "/trade");
  return img.save(QString(argv[1]) + "/trade/function_tree.png", "PNG") ? 0 : 1;
}
