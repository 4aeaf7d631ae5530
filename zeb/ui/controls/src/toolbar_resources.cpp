// Reaches the tool bar images compiled in from resources/toolbar/toolbar.qrc.
// The resource lives in a static library, so it is initialised by name
// here (which also keeps the linker from dropping it).
#include "controls/toolbar_resources.h"

#include <QtGlobal>
#include <mutex>

#include "platform/gbk.h"

static void InitToolbarQrc() { Q_INIT_RESOURCE(toolbar); }

namespace zebui {

void InitToolBarResources() {
  static std::once_flag once;
  std::call_once(once, InitToolbarQrc);
}

QImage LoadToolBarImage(const char* path) {
  if (!path || !*path) return QImage();
  InitToolBarResources();
  QImage image(platform::GbkToQString(path));
  return image;
}

}  // namespace zebui
