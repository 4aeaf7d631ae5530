// The formula dialogs' images, formula/: 16 x 16 frames side by side on
// the mask colour green (0, 255, 0), drawn without smoothing so no edge
// pixel blends with the mask.
//   tree16.png       the formula editor's and function picker's tree: 2 a
//                    function category, 4 a formula kind, 5 a group, 6 a
//                    formula, 28 a built-in function; the others stay empty
//   indicator16.png  the indicator list: an indicator, the one being edited
#include "families.h"
#include "image_kit.h"

namespace images {
namespace {

const Canvas kCell{QSize(16, 16), QColor(0, 255, 0), QImage::Format_RGB32, false};

void Folder(QPainter& p, QColor body, QColor tab) {
  p.setPen(body.darker(160));
  p.setBrush(tab);
  p.drawRect(1, 3, 6, 2);
  p.setBrush(body);
  p.drawRect(1, 5, 13, 9);
  p.setPen(body.lighter(140));
  p.drawLine(2, 6, 13, 6);
}

void Category(QPainter& p) {
  Folder(p, QColor(236, 196, 84), QColor(214, 168, 60));
  p.setFont(SizedFont(p.font(), 9, true));
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
  RuledSheet(p, QColor(70, 90, 130), QColor(150, 150, 150), 2);
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
  p.setFont(SizedFont(p.font(), 11, true, true));
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

ImageList FormulaImages() {
  const QImage tree = Strip(kCell, 29, Layout::kSideBySide, [](QPainter& p, const QRectF&, int i) {
    switch (i) {
      case 2: Category(p); break;
      case 4: Kind(p); break;
      case 5: Group(p); break;
      case 6: Formula(p); break;
      case 28: Function(p); break;
      default: break;
    }
  });
  const QImage indicators = Strip(kCell, 2, Layout::kSideBySide,
                                  [](QPainter& p, const QRectF&, int i) { Indicator(p, i == 1); });
  return {{"formula/tree16.png", tree}, {"formula/indicator16.png", indicators}};
}

}  // namespace images
