// The shared behaviour of drawn objects: rectangle and pop-up menu.
#include "zeb/tables/base/draw_obj.h"

int CBaseDrawObj::SetRect(int left, int top, int right, int bottom) {
  m_rect = RECT{left, top, right, bottom};
  return RecalcLayout();
}

int CBaseDrawObj::TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu) {
  return TrackMenuResource(owner, x, y, menuId, subMenu);
}
