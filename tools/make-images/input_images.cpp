// The keyboard-input box's images, input/: caption.png, the 200 x 22
// caption band (a blue ramp with a small keyboard at its left end), and
// close.png, the close button's two 20 x 20 frames side by side (normal,
// pressed).
#include "families.h"
#include "image_kit.h"

namespace images {

ImageList InputImages() {
  const QImage caption =
      Picture({QSize(200, 22), Qt::black, QImage::Format_RGB32, false}, [](QPainter& p) {
        p.fillRect(QRect(0, 0, 200, 22),
                   Ramp(QPointF(0, 0), QPointF(0, 22),
                        {QColor(74, 128, 205), QColor(38, 88, 170), QColor(22, 62, 136)}));
        p.setPen(QColor(120, 170, 235));
        p.drawLine(0, 0, 199, 0);
        // A keyboard: a light body with two rows of keys and a space bar.
        p.setPen(QColor(20, 40, 80));
        p.setBrush(QColor(235, 240, 248));
        p.drawRect(4, 5, 15, 11);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 80, 120));
        for (int row = 0; row < 2; ++row)
          for (int key = 0; key < 4; ++key) p.drawRect(6 + 3 * key + row, 7 + 3 * row, 2, 2);
        p.drawRect(8, 13, 8, 2);
      });
  const QImage close =
      Strip({QSize(20, 20)}, 2, Layout::kSideBySide, [](QPainter& p, const QRectF&, int frame) {
        const bool pressed = frame == 1;
        RoundedFrame(p, QRectF(2.5, 2.5, 15, 15), 3,
                     QPen(pressed ? QColor(120, 20, 20) : QColor(20, 40, 90), 1),
                     pressed ? QColor(200, 60, 50) : QColor(210, 80, 70));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        const double o = pressed ? 1 : 0;
        p.drawLine(QPointF(6.5 + o, 6.5 + o), QPointF(13.5 + o, 13.5 + o));
        p.drawLine(QPointF(13.5 + o, 6.5 + o), QPointF(6.5 + o, 13.5 + o));
      });
  return {{"input/caption.png", caption}, {"input/close.png", close}};
}

}  // namespace images
