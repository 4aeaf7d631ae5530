// Setting the tab name of a current-item record.
#include "zeb/tables/base/cur_item.h"

#include "platform/gbk.h"

void SCurItem::SetName(const char* text) {
  std::memset(name, 0, sizeof name);
  platform::GbkCopyCut(name, sizeof name, text ? text : "");
}
