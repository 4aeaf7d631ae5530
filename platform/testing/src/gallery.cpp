// Pictures of galleries, saved under the build tree.
#include "platform/testing/gallery.h"

#include <QDir>
#include <QSet>
#include <cstdlib>
#include <gtest/gtest.h>

namespace platform::testing {

QString GalleryDir(const char* folder) {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  const QString dir = QString::fromLocal8Bit(bin ? bin : ".") + "/../gallery/" + folder;
  QDir().mkpath(dir);
  return QDir(dir).absolutePath();
}

void KeepPicture(const QImage& image, const char* folder, const char* name) {
  ASSERT_FALSE(image.isNull()) << name;
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  EXPECT_GT(colours.size(), 8) << name << " looks blank";
  const QString path = GalleryDir(folder) + "/" + name;
  EXPECT_TRUE(image.save(path, "PNG")) << path.toStdString();
}

}  // namespace platform::testing
