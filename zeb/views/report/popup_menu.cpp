// Pop-up menus of the tables, built from the main program's menu resources.
#include "zeb/views/report/popup_menu.h"

#include <memory>
#include <string>
#include <vector>

#include "zeb/shell/frame/shell_menus.h"

namespace {

// Sub-menu `index` of menu resource `id`, loaded into a menu kept alive in keep.
CMenu* LoadSubMenu(int id, int index, std::vector<std::unique_ptr<CMenu>>* keep) {
  auto resource = std::make_unique<CMenu>();
  if (!resource->LoadMenu(ShellMenus(), UINT(id))) return nullptr;
  CMenu* sub = resource->GetSubMenu(index);
  keep->push_back(std::move(resource));
  return sub;
}

// Every item of from, appended to to (pop-ups shared, not copied).
void AppendItems(const CMenu& from, CMenu* to) {
  for (int position = 0; position < from.GetMenuItemCount(); ++position) {
    const UINT state = from.GetMenuState(UINT(position), MF_BYPOSITION);
    std::string text;
    from.GetMenuString(UINT(position), text, MF_BYPOSITION);
    if (state & MF_SEPARATOR) {
      to->AppendMenu(MF_SEPARATOR);
    } else if (state & MF_POPUP) {
      if (CMenu* popup = from.GetSubMenu(position))
        to->AppendMenu(state, UINT_PTR(popup->GetSafeHmenu()), text.c_str());
    } else {
      to->AppendMenu(state, from.GetMenuItemID(position), text.c_str());
    }
  }
}

}  // namespace

bool BuildPopupMenu(const SPopupMenu& description, CMenu* menu,
                    std::vector<std::unique_ptr<CMenu>>* keep) {
  if (description.baseResource != 0) {
    CMenu* base = LoadSubMenu(description.baseResource, description.baseSubMenu, keep);
    if (!base) return false;
    menu->Attach(base->GetSafeHmenu());
  } else {
    menu->CreatePopupMenu();
  }
  for (const SPopupItem& item : description.items) {
    switch (item.kind) {
      case SPopupItem::Kind::kSeparator: menu->AppendMenu(MF_SEPARATOR); break;
      case SPopupItem::Kind::kCommand:
        menu->AppendMenu(MF_STRING, item.id, item.text.c_str());
        break;
      case SPopupItem::Kind::kResourceItems: {
        const CMenu* items = LoadSubMenu(item.resourceId, item.subMenu, keep);
        if (!items) return false;
        AppendItems(*items, menu);
        break;
      }
    }
  }
  for (const SPopupItem& item : description.retitles)
    menu->ModifyMenu(item.id, MF_BYCOMMAND | MF_STRING, item.id, item.text.c_str());
  return true;
}

int TrackPopupAt(const SPopupMenu& description, int screenX, int screenY, CWnd* owner) {
  CMenu menu;
  std::vector<std::unique_ptr<CMenu>> keep;
  if (!BuildPopupMenu(description, &menu, &keep)) return 0;
  return menu.TrackPopupMenu(description.flags, screenX, screenY, owner) ? 1 : 0;
}
