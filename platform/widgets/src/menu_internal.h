// What a menu holds, shared by the menu files. Not part of the interface.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/menu.h"

class QMenu;

namespace platform::detail {

struct MenuItem {
  UINT id = 0;
  std::string text;  // GBK
  UINT flags = 0;    // MF_ state; MF_POPUP when sub is set
  std::shared_ptr<MenuData> sub;
  std::unique_ptr<CMenu> subMenu;  // the CMenu GetSubMenu hands out
};

struct MenuData : std::enable_shared_from_this<MenuData> {
  MenuData();
  ~MenuData();
  std::vector<MenuItem> items;
};

// The menu a handle names, null for one that is not a live menu.
std::shared_ptr<MenuData> MenuFromHandle(HMENU menu);

// Fills a Qt menu with the items (each action's data is its command id).
void FillQMenu(QMenu* qmenu, const CMenu& menu);

}  // namespace platform::detail
