// The trading window's function tree images, trade/function_tree.png:
// eight 16 x 16 frames side by side on teal (0, 128, 128), the colour the
// tree leaves transparent, drawn without smoothing. 0-3 the four top-level
// functions (buy, sell, cancel, subscribe), 4 spare, 5 a function inside a
// group, 6 a group, 7 the password.
#include <QPolygon>
#include <functional>
#include <vector>

#include "families.h"
#include "image_kit.h"

namespace images {
namespace {

const QColor kTeal(0, 128, 128);

const std::vector<std::function<void(QPainter&)>> kFunctions = {
    // buy: a red arrow up
    [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(220, 30, 30));
      p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(14, 8), QPoint(10, 8), QPoint(10, 14),
                              QPoint(6, 14), QPoint(6, 8), QPoint(2, 8)}));
    },
    // sell: a green arrow down
    [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(20, 150, 40));
      p.drawPolygon(QPolygon({QPoint(8, 14), QPoint(14, 7), QPoint(10, 7), QPoint(10, 1),
                              QPoint(6, 1), QPoint(6, 7), QPoint(2, 7)}));
    },
    // cancel: a sheet with a red cross
    [](QPainter& p) {
      p.setBrush(Qt::white);
      p.setPen(QColor(90, 90, 90));
      p.drawRect(2, 1, 10, 13);
      p.setPen(QPen(QColor(210, 20, 20), 2));
      p.drawLine(6, 6, 13, 13);
      p.drawLine(13, 6, 6, 13);
    },
    // subscribe: a coin with a plus
    [](QPainter& p) {
      p.setPen(QColor(150, 110, 0));
      p.setBrush(QColor(250, 200, 40));
      p.drawEllipse(1, 1, 13, 13);
      p.setPen(QPen(QColor(120, 80, 0), 2));
      p.drawLine(8, 4, 8, 12);
      p.drawLine(4, 8, 12, 8);
    },
    // spare: a magnifier
    [](QPainter& p) {
      p.setPen(QPen(QColor(40, 40, 40), 2));
      p.setBrush(QColor(200, 230, 255));
      p.drawEllipse(2, 2, 8, 8);
      p.drawLine(9, 9, 14, 14);
    },
    // a function inside a group: a small ruled sheet
    [](QPainter& p) { RuledSheet(p, QColor(70, 70, 70), QColor(120, 140, 200), 3); },
    // a group: a folder
    [](QPainter& p) {
      p.setPen(QColor(140, 100, 0));
      p.setBrush(QColor(250, 210, 90));
      p.drawRect(1, 4, 14, 10);
      p.drawRect(1, 2, 6, 2);
    },
    // the password: a key
    [](QPainter& p) {
      p.setPen(QPen(QColor(120, 90, 0), 1));
      p.setBrush(QColor(240, 190, 40));
      p.drawEllipse(1, 4, 7, 7);
      p.setBrush(kTeal);
      p.drawEllipse(3, 6, 3, 3);
      p.setPen(QPen(QColor(240, 190, 40), 2));
      p.drawLine(8, 8, 14, 8);
      p.drawLine(13, 8, 13, 12);
      p.drawLine(11, 8, 11, 11);
    },
};

}  // namespace

ImageList TradeImages() {
  const QImage tree = Strip({QSize(16, 16), kTeal, QImage::Format_RGB32, false},
                            static_cast<int>(kFunctions.size()), Layout::kSideBySide,
                            [](QPainter& p, const QRectF&, int i) { kFunctions[i](p); });
  return {{"trade/function_tree.png", tree}};
}

}  // namespace images
