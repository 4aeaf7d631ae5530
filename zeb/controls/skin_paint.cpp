// Images, frames, fonts and the final blend of the skinned controls.
#include "zeb/controls/skin_paint.h"

#include <QPainter>
#include <map>

#include "platform/gbk.h"
#include "platform/paths.h"

namespace zebui {

QImage LoadSkinImage(const std::string& pathGbk) {
  if (pathGbk.empty()) return QImage();
  QImage image(platform::GbkToQString(platform::ToNativePath(pathGbk)));
  if (image.isNull()) return image;
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int SkinFrameIndex(int state, int frameCount) {
  if (state < 0 || frameCount <= 0) return 0;
  return state < frameCount ? state : frameCount - 1;
}

QRect SkinFrameRect(QSize strip, int frameCount, int layout, int index) {
  if (frameCount <= 0 || strip.isEmpty()) return QRect();
  index = SkinFrameIndex(index, frameCount);
  if (layout == kFramesSideBySide) {
    const int w = strip.width() / frameCount;
    return QRect(index * w, 0, w, strip.height());
  }
  if (layout == kFramesStacked) {
    const int h = strip.height() / frameCount;
    return QRect(0, index * h, strip.width(), h);
  }
  return QRect();
}

QFont SkinFont(const char* faceGbk, int pixelSize, int style) {
  // The DC's fonts know which installed family stands in for a face.
  static std::map<std::string, QString> families;
  const std::string face = faceGbk ? faceGbk : "";
  auto it = families.find(face);
  if (it == families.end()) {
    CFont probe;
    probe.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str());
    it = families.emplace(face, QString::fromStdString(probe.GetDrawnFamily())).first;
  }
  QFont font(it->second);
  font.setPixelSize(pixelSize > 0 ? pixelSize : 12);
  font.setBold(style & 1);
  font.setItalic(style & 2);
  font.setUnderline(style & 4);
  font.setStrikeOut(style & 8);
  return font;
}

QImage NewSkinPicture(int width, int height) {
  if (width <= 0 || height <= 0) return QImage();
  QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  return picture;
}

void BlendSkinPicture(CDC* dc, int x, int y, const QImage& picture) {
  if (!dc || picture.isNull()) return;
  CDC source(const_cast<QImage*>(&picture));  // only read: the blend copies from it
  dc->AlphaBlend(x, y, picture.width(), picture.height(), &source, 0, 0, picture.width(),
                 picture.height(), BLENDFUNCTION{});
}

}  // namespace zebui
