// Reaches the tool bar images compiled in with the library's other images
// (resources/toolbar/).
#include "zeb/controls/toolbar_resources.h"

#include "platform/gbk.h"

namespace zebui {

QImage LoadToolBarImage(const char* path) {
  if (!path || !*path) return QImage();
  QImage image(platform::GbkToQString(path));
  return image;
}

}  // namespace zebui
