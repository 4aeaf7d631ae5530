// The tool bars' icon strips, toolbar/: 16 x 16 cells on transparency,
//   main16.png, main16_disabled.png  the main bar, cells in the order of
//                                    zebui::MainToolImage
//   draw16.png                       the drawing-tools bar
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <vector>

#include "families.h"
#include "image_kit.h"

namespace images {
namespace {

constexpr int kCell = 16;

const QColor kInk(0x2b, 0x3a, 0x55);
const QColor kBlue(0x2f, 0x6f, 0xd0);
const QColor kLightBlue(0xa9, 0xcb, 0xf5);
const QColor kRed(0xd8, 0x38, 0x2c);
const QColor kGreen(0x1f, 0x9d, 0x3a);
const QColor kGold(0xe8, 0xa3, 0x17);
const QColor kPaper(0xfb, 0xfa, 0xf4);
const QColor kGrey(0x6b, 0x72, 0x80);

using Icon = std::function<void(QPainter&)>;

QPen Pen(const QColor& c, qreal w = 1.0) {
  QPen p(c, w);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::MiterJoin);
  return p;
}

// A crisp one-pixel line between pixel centres.
void Line(QPainter& p, const QColor& c, qreal x1, qreal y1, qreal x2, qreal y2, qreal w = 1.0) {
  p.setPen(Pen(c, w));
  p.drawLine(QPointF(x1 + 0.5, y1 + 0.5), QPointF(x2 + 0.5, y2 + 0.5));
}

void Box(QPainter& p, const QColor& fill, const QColor& edge, int x, int y, int w, int h) {
  p.setPen(Qt::NoPen);
  p.fillRect(x, y, w, h, edge);
  p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

void Arrow(QPainter& p, const QColor& c, bool up) {
  QPolygonF head;
  if (up) head << QPointF(8, 2) << QPointF(14, 9) << QPointF(2, 9);
  else head << QPointF(8, 14) << QPointF(14, 7) << QPointF(2, 7);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(head);
}

std::vector<Icon> MainIcons() {
  return {
      // home
      [](QPainter& p) {
        Box(p, kPaper, kInk, 3, 8, 10, 7);
        p.fillRect(7, 11, 3, 4, kBlue);
        QPolygonF roof;
        roof << QPointF(0.5, 8.5) << QPointF(8, 1.5) << QPointF(15.5, 8.5);
        p.setPen(Pen(kInk));
        p.setBrush(kRed);
        p.drawPolygon(roof);
      },
      // user
      [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kLightBlue);
        p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
        QPainterPath body;
        body.moveTo(1.5, 15.5);
        body.cubicTo(1.5, 9.5, 14.5, 9.5, 14.5, 15.5);
        body.closeSubpath();
        p.setBrush(kBlue);
        p.drawPath(body);
      },
      // back
      [](QPainter& p) {
        QPolygonF a;
        a << QPointF(1, 8) << QPointF(8, 1.5) << QPointF(8, 5) << QPointF(15, 5) << QPointF(15, 11)
          << QPointF(8, 11) << QPointF(8, 14.5);
        p.setPen(Pen(kInk));
        p.setBrush(kGreen);
        p.drawPolygon(a);
      },
      // quote list
      [](QPainter& p) {
        Box(p, kPaper, kInk, 1, 2, 14, 12);
        p.fillRect(2, 3, 12, 2, kBlue);
        for (int y = 7; y <= 11; y += 2) {
          p.fillRect(3, y, 4, 1, kGrey);
          p.fillRect(9, y, 4, 1, y == 9 ? kGreen : kRed);
        }
      },
      // time-share chart
      [](QPainter& p) {
        Line(p, kInk, 1, 1, 1, 14);
        Line(p, kInk, 1, 14, 15, 14);
        p.setPen(Pen(kGold));
        p.drawLine(QPointF(2.5, 8.5), QPointF(14.5, 8.5));
        QPolygonF price;
        price << QPointF(2.5, 10.5) << QPointF(4.5, 7.5) << QPointF(6.5, 9.5) << QPointF(8.5, 4.5)
              << QPointF(10.5, 6.5) << QPointF(12.5, 3.5) << QPointF(14.5, 5.5);
        p.setPen(Pen(kBlue, 1.3));
        p.drawPolyline(price);
      },
      // K-line chart
      [](QPainter& p) {
        Line(p, kRed, 3, 2, 3, 12);
        p.fillRect(2, 4, 3, 6, kRed);
        Line(p, kGreen, 8, 4, 8, 15);
        p.fillRect(7, 6, 3, 7, kGreen);
        Line(p, kRed, 13, 1, 13, 10);
        p.fillRect(12, 2, 3, 5, kRed);
      },
      // deal details
      [](QPainter& p) {
        Box(p, kPaper, kInk, 2, 1, 12, 14);
        for (int y = 3; y <= 12; y += 3) {
          p.fillRect(4, y, 4, 1, kGrey);
          p.fillRect(9, y, 3, 1, (y / 3) % 2 ? kRed : kGreen);
        }
      },
      // price table
      [](QPainter& p) {
        Line(p, kInk, 2, 1, 2, 15);
        const int lengths[] = {4, 8, 12, 9, 5};
        for (int i = 0; i < 5; ++i) p.fillRect(3, 2 + i * 3, lengths[i], 2, i == 2 ? kGold : kBlue);
      },
      // market lists
      [](QPainter& p) {
        Box(p, kLightBlue, kInk, 1, 1, 7, 7);
        Box(p, QColor(0xf6, 0xc1, 0xbd), kInk, 8, 1, 7, 7);
        Box(p, QColor(0xbf, 0xe8, 0xc8), kInk, 1, 8, 7, 7);
        Box(p, QColor(0xf8, 0xe0, 0xa8), kInk, 8, 8, 7, 7);
      },
      // block lists
      [](QPainter& p) {
        Box(p, kLightBlue, kInk, 1, 9, 7, 6);
        Box(p, QColor(0xf8, 0xe0, 0xa8), kInk, 8, 9, 7, 6);
        Box(p, QColor(0xf6, 0xc1, 0xbd), kInk, 4, 3, 8, 6);
      },
      // add to favourites
      [](QPainter& p) {
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
          const double r = i % 2 ? 3.0 : 7.2;
          const double a = -M_PI / 2 + i * M_PI / 5;
          star << QPointF(8 + r * std::cos(a), 8.6 + r * std::sin(a));
        }
        p.setPen(Pen(QColor(0x9a, 0x66, 0x00)));
        p.setBrush(kGold);
        p.drawPolygon(star);
      },
      // previous page
      [](QPainter& p) {
        p.fillRect(2, 12, 12, 2, kInk);
        Arrow(p, kBlue, true);
      },
      // next page
      [](QPainter& p) {
        p.fillRect(2, 2, 12, 2, kInk);
        Arrow(p, kBlue, false);
      },
      // automatic page turning
      [](QPainter& p) {
        p.setPen(Pen(kGreen, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPolygon(QPolygonF() << QPointF(13.8, 1.5) << QPointF(14.5, 7.5) << QPointF(9.5, 5));
        p.drawPolygon(QPolygonF() << QPointF(2.2, 14.5) << QPointF(1.5, 8.5) << QPointF(6.5, 11));
      },
      // drawing tools
      [](QPainter& p) {
        QPolygonF pencil;
        pencil << QPointF(11, 1.5) << QPointF(14.5, 5) << QPointF(5, 14.5) << QPointF(1.5, 14.5)
               << QPointF(1.5, 11);
        p.setPen(Pen(kInk));
        p.setBrush(kGold);
        p.drawPolygon(pencil);
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF() << QPointF(11, 1.5) << QPointF(14.5, 5) << QPointF(12.5, 7)
                                  << QPointF(9, 3.5));
      },
      // formula manager
      [](QPainter& p) {
        QPolygonF sigma;
        sigma << QPointF(12.5, 2.5) << QPointF(3.5, 2.5) << QPointF(8, 8) << QPointF(3.5, 13.5)
              << QPointF(12.5, 13.5);
        p.setPen(Pen(kBlue, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(sigma);
      },
      // price alarms
      [](QPainter& p) {
        QPainterPath bell;
        bell.moveTo(2.5, 12.5);
        bell.cubicTo(4.5, 10.5, 3.5, 2.5, 8, 2.5);
        bell.cubicTo(12.5, 2.5, 11.5, 10.5, 13.5, 12.5);
        bell.closeSubpath();
        p.setPen(Pen(QColor(0x9a, 0x66, 0x00)));
        p.setBrush(kGold);
        p.drawPath(bell);
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawEllipse(QRectF(6.5, 12.5, 3, 3));
      },
      // system settings
      [](QPainter& p) {
        QPainterPath gear;
        for (int i = 0; i < 8; ++i) {
          const double a = i * M_PI / 4;
          QPainterPath tooth;
          tooth.addRect(QRectF(-1.5, -7.3, 3, 3));
          QTransform t;
          t.translate(8, 8);
          t.rotateRadians(a);
          gear.addPath(t.map(tooth));
        }
        gear.addEllipse(QPointF(8, 8), 5, 5);
        gear.setFillRule(Qt::WindingFill);
        QPainterPath hole;
        hole.addEllipse(QPointF(8, 8), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kGrey);
        p.drawPath(gear.simplified().subtracted(hole));
      },
      // full screen
      [](QPainter& p) {
        const QColor c = kBlue;
        p.fillRect(1, 1, 5, 2, c);
        p.fillRect(1, 1, 2, 5, c);
        p.fillRect(10, 1, 5, 2, c);
        p.fillRect(13, 1, 2, 5, c);
        p.fillRect(1, 13, 5, 2, c);
        p.fillRect(1, 10, 2, 5, c);
        p.fillRect(10, 13, 5, 2, c);
        p.fillRect(13, 10, 2, 5, c);
        Box(p, kLightBlue, kInk, 5, 5, 6, 6);
      },
      // connect
      [](QPainter& p) {
        RoundedFrame(p, QRectF(1.5, 5.5, 7, 5), 2.5, Pen(kGreen, 2.2), Qt::NoBrush);
        RoundedFrame(p, QRectF(7.5, 5.5, 7, 5), 2.5, Pen(kGreen, 2.2), Qt::NoBrush);
      },
      // disconnect
      [](QPainter& p) {
        RoundedFrame(p, QRectF(0.5, 6.5, 6, 5), 2.5, Pen(kRed, 2.2), Qt::NoBrush);
        RoundedFrame(p, QRectF(9.5, 4.5, 6, 5), 2.5, Pen(kRed, 2.2), Qt::NoBrush);
        Line(p, kInk, 7, 1, 9, 4);
        Line(p, kInk, 7, 12, 9, 15);
      },
      // help
      [](QPainter& p) {
        p.setPen(Pen(kInk));
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        QPainterPath mark;
        mark.moveTo(5.5, 6);
        mark.cubicTo(5.5, 3, 10.5, 3, 10.5, 6);
        mark.cubicTo(10.5, 8, 8, 8, 8, 10.5);
        p.setPen(Pen(Qt::white, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(mark);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(7, 11.5, 2, 2));
      },
  };
}

std::vector<Icon> DrawIcons() {
  return {
      // select
      [](QPainter& p) {
        QPolygonF cursor;
        cursor << QPointF(3.5, 1.5) << QPointF(3.5, 13.5) << QPointF(6.5, 10.5)
               << QPointF(8.5, 14.5) << QPointF(10.5, 13.5) << QPointF(8.5, 9.5)
               << QPointF(12.5, 9.5);
        p.setPen(Pen(kInk));
        p.setBrush(Qt::white);
        p.drawPolygon(cursor);
      },
      // straight line
      [](QPainter& p) {
        p.setPen(Pen(kRed, 1.4));
        p.drawLine(QPointF(2.5, 13.5), QPointF(13.5, 2.5));
        p.fillRect(1, 12, 3, 3, kInk);
        p.fillRect(12, 1, 3, 3, kInk);
      },
      // rectangle
      [](QPainter& p) {
        p.setPen(Pen(kRed, 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 4.5, 11, 8));
        p.fillRect(1, 3, 3, 3, kInk);
        p.fillRect(12, 11, 3, 3, kInk);
      },
      // parallel lines
      [](QPainter& p) {
        p.setPen(Pen(kRed, 1.4));
        p.drawLine(QPointF(1.5, 9.5), QPointF(9.5, 1.5));
        p.drawLine(QPointF(6.5, 14.5), QPointF(14.5, 6.5));
      },
      // golden section
      [](QPainter& p) {
        const int ys[] = {2, 5, 8, 10, 14};
        for (int y : ys) Line(p, y == 8 ? kRed : kGold, 1, y, 14, y);
        Line(p, kInk, 1, 2, 1, 14);
      },
      // Gann lines
      [](QPainter& p) {
        p.setPen(Pen(kRed, 1.1));
        const QPointF origin(1.5, 14.5);
        p.drawLine(origin, QPointF(14.5, 1.5));
        p.drawLine(origin, QPointF(7.5, 1.5));
        p.drawLine(origin, QPointF(14.5, 8.5));
        p.drawLine(origin, QPointF(14.5, 12));
        p.drawLine(origin, QPointF(4, 1.5));
      },
      // delete
      [](QPainter& p) {
        p.setPen(Pen(kRed, 2.4));
        p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
        p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
      },
  };
}

// The cells side by side. They are painted premultiplied and written
// straight, as the strips always were.
QImage IconStrip(const std::vector<Icon>& icons) {
  return Strip({QSize(kCell, kCell), Qt::transparent, QImage::Format_ARGB32_Premultiplied},
               static_cast<int>(icons.size()), Layout::kSideBySide,
               [&](QPainter& p, const QRectF&, int i) { icons[i](p); })
      .convertToFormat(QImage::Format_ARGB32);
}

// Greyed and lightened, as disabled buttons show.
QImage Disabled(const QImage& strip) {
  QImage out = strip;
  for (int y = 0; y < out.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < out.width(); ++x) {
      const int lum = qGray(row[x]);
      const int grey = 130 + lum * 45 / 100;
      row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) * 85 / 100);
    }
  }
  return out;
}

}  // namespace

ImageList ToolbarImages() {
  const QImage main = IconStrip(MainIcons());
  return {{"toolbar/main16.png", main},
          {"toolbar/main16_disabled.png", Disabled(main)},
          {"toolbar/draw16.png", IconStrip(DrawIcons())}};
}

}  // namespace images
