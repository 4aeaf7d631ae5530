// The window icon, icons/zeb.png: a blue tile with a white Z over a gold
// underline, 32 x 32 with transparent corners.
#include <QPolygonF>

#include "families.h"
#include "image_kit.h"

namespace images {

ImageList IconImages() {
  const QImage icon = Picture({QSize(32, 32)}, [](QPainter& p) {
    RoundedFrame(p, QRectF(1.5, 1.5, 29, 29), 6, QPen(QColor(8, 40, 100), 1),
                 Ramp(QPointF(0, 0), QPointF(0, 32), {QColor(40, 140, 220), QColor(10, 60, 140)}));
    p.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF z[] = {{9, 9}, {23, 9}, {9, 23}, {23, 23}};
    p.drawPolyline(z, 4);
    p.setPen(QPen(QColor(250, 200, 60), 2));
    p.drawLine(QPointF(6, 27), QPointF(26, 27));
  });
  return {{"icons/zeb.png", icon}};
}

}  // namespace images
