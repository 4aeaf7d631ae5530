// The pop-up menus that tables and drawn objects describe as data
// (SPopupMenu), made real with the window layer's menus: the base is a
// sub-menu of one of the main program's menu resources, the items are
// appended, and the menu is tracked at a point on the screen with the
// owner that receives the chosen command.
#pragma once
#include <memory>
#include <vector>

#include "platform/menu.h"
#include "platform/wnd.h"
#include "zeb/tables/base/draw_owner.h"

// Builds the menu into menu (an empty pop-up when it has no base); false
// when the base or an item's resource names no sub-menu. Sub-menus that
// items copy stay alive in keep for as long as menu is used.
bool BuildPopupMenu(const SPopupMenu& description, CMenu* menu,
                    std::vector<std::unique_ptr<CMenu>>* keep);

// Builds and tracks the menu at (screenX, screenY); the owner receives the
// chosen command. 0 when the menu could not be built or nothing was chosen.
int TrackPopupAt(const SPopupMenu& description, int screenX, int screenY, CWnd* owner);
