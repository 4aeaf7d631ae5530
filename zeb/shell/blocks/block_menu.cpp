// Block menus: see block_menu.h.
#include "zeb/shell/blocks/block_menu.h"

#include "platform/menu.h"
#include "zeb/core/blocks/block_manager.h"

bool FillBlockMenu(const CBlockManager& blocks, CMenu* menu, const std::string& group,
                   UINT baseId) {
  if (!menu) return false;
  const std::vector<SBlockMenuItem> items = blocks.BlockMenuItems(group, baseId);
  for (const SBlockMenuItem& item : items)
    menu->AppendMenu(MF_STRING | (item.newColumn ? MF_MENUBARBREAK : 0), item.id,
                     item.name.c_str());
  return !items.empty();
}
