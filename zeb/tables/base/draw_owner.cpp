// The one pop-up-menu road of drawn objects, views and tables.
#include "zeb/tables/base/draw_owner.h"

int TrackMenuResource(CDrawOwner* owner, int x, int y, int menuId, int subMenu) {
  if (owner == nullptr) return -1;
  SPopupMenu menu;
  menu.baseResource = menuId;
  menu.baseSubMenu = subMenu;
  menu.flags = popup_flags::kRightButton;
  return owner->TrackPopup(menu, x, y);
}
