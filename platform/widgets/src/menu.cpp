// Menus as data: items with ids, GBK texts and Win32 flags, shared
// sub-menus, menus built from a module's table, and update-UI.
#include <QCoreApplication>
#include <unordered_set>

#include "menu_internal.h"
#include "platform/wnd.h"

namespace platform::detail {
namespace {

std::unordered_set<const MenuData*>& LiveMenus() {
  static auto* live = new std::unordered_set<const MenuData*>();
  return *live;
}

struct Found {
  MenuData* menu = nullptr;
  size_t index = 0;
  MenuItem* item() const { return menu ? &menu->items[index] : nullptr; }
};

// By position, or by command id anywhere in the menu and its pop-ups.
Found FindItem(MenuData* menu, UINT item, UINT flags) {
  if (!menu) return {};
  if (flags & MF_BYPOSITION) return item < menu->items.size() ? Found{menu, item} : Found{};
  for (size_t i = 0; i < menu->items.size(); ++i) {
    MenuItem& it = menu->items[i];
    if (it.sub) {
      if (Found f = FindItem(it.sub.get(), item, flags); f.menu) return f;
    } else if (!(it.flags & MF_SEPARATOR) && it.id == item) {
      return Found{menu, i};
    }
  }
  return {};
}

// Sets an item from AppendMenu-style arguments; false for a bad pop-up.
bool SetItem(MenuItem& it, UINT flags, UINT_PTR idOrPopup, const char* text) {
  MenuItem made;
  made.flags = flags & ~(MF_BYPOSITION);
  if (flags & MF_POPUP) {
    made.sub = MenuFromHandle(reinterpret_cast<HMENU>(idOrPopup));
    if (!made.sub) return false;
  } else {
    made.id = (UINT)idOrPopup;
  }
  if (text && !(flags & MF_SEPARATOR)) made.text = text;
  it = std::move(made);
  return true;
}

}  // namespace

MenuData::MenuData() { LiveMenus().insert(this); }
MenuData::~MenuData() { LiveMenus().erase(this); }

std::shared_ptr<MenuData> MenuFromHandle(HMENU menu) {
  auto* data = reinterpret_cast<MenuData*>(menu);
  if (!data || !LiveMenus().count(data)) return nullptr;
  return data->shared_from_this();
}

}  // namespace platform::detail

using platform::detail::FindItem;
using platform::detail::MenuData;
using platform::detail::MenuItem;

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

BOOL CMenu::CreateMenu() {
  data_ = std::make_shared<MenuData>();
  return TRUE;
}

BOOL CMenu::CreatePopupMenu() { return CreateMenu(); }

BOOL CMenu::DestroyMenu() {
  const bool had = data_ != nullptr;
  data_.reset();
  return had;
}

HMENU CMenu::GetSafeHmenu() const { return reinterpret_cast<HMENU>(data_.get()); }

BOOL CMenu::Attach(HMENU menu) {
  auto data = platform::detail::MenuFromHandle(menu);
  if (!data) return FALSE;
  data_ = std::move(data);
  return TRUE;
}

BOOL CMenu::LoadMenu(std::span<const platform::MenuResource> module, UINT id) {
  const platform::MenuResource* resource = nullptr;
  for (const auto& r : module)
    if (r.id == id) resource = &r;
  if (!resource) return FALSE;
  auto root = std::make_shared<MenuData>();
  std::vector<MenuData*> levels{root.get()};
  const auto& entries = resource->entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    const platform::MenuEntry& e = entries[i];
    if (e.depth < 0 || (size_t)e.depth >= levels.size()) return FALSE;  // a level skipped
    levels.resize((size_t)e.depth + 1);
    MenuItem item;
    item.id = e.id;
    item.flags = e.flags & ~MF_POPUP;
    if (e.text && !(e.flags & MF_SEPARATOR)) item.text = e.text;
    const bool popup = i + 1 < entries.size() && entries[i + 1].depth == e.depth + 1;
    if (popup) {
      item.sub = std::make_shared<MenuData>();
      item.flags |= MF_POPUP;
      item.id = 0;
    }
    MenuData* sub = item.sub.get();
    levels[(size_t)e.depth]->items.push_back(std::move(item));
    if (popup) levels.push_back(sub);
  }
  data_ = std::move(root);
  return TRUE;
}

int CMenu::GetMenuItemCount() const { return data_ ? (int)data_->items.size() : -1; }

UINT CMenu::GetMenuItemID(int position) const {
  if (!data_ || position < 0 || (size_t)position >= data_->items.size()) return (UINT)-1;
  const MenuItem& it = data_->items[(size_t)position];
  if (it.sub) return (UINT)-1;
  return (it.flags & MF_SEPARATOR) ? 0 : it.id;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const {
  MenuItem* it = FindItem(data_.get(), item, flags).item();
  return it ? it->flags : 0xFFFFFFFF;
}

int CMenu::GetMenuString(UINT item, std::string& text, UINT flags) const {
  MenuItem* it = FindItem(data_.get(), item, flags).item();
  text = it ? it->text : std::string();
  return (int)text.size();
}

CMenu* CMenu::GetSubMenu(int position) const {
  if (!data_ || position < 0 || (size_t)position >= data_->items.size()) return nullptr;
  MenuItem& it = data_->items[(size_t)position];
  if (!it.sub) return nullptr;
  if (!it.subMenu) {
    it.subMenu = std::make_unique<CMenu>();
    it.subMenu->data_ = it.sub;
  }
  return it.subMenu.get();
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, const char* text) {
  if (!data_) return FALSE;
  MenuItem item;
  if (!platform::detail::SetItem(item, flags, idOrPopup, text)) return FALSE;
  data_->items.push_back(std::move(item));
  return TRUE;
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, const char* text) {
  if (!data_) return FALSE;
  MenuData* where = data_.get();
  size_t index = where->items.size();  // past the end: appended, as Win32
  if (flags & MF_BYPOSITION) {
    index = std::min<size_t>(position, where->items.size());
  } else if (auto f = FindItem(data_.get(), position, MF_BYCOMMAND); f.menu) {
    where = f.menu;
    index = f.index;
  }
  MenuItem item;
  if (!platform::detail::SetItem(item, flags, idOrPopup, text)) return FALSE;
  where->items.insert(where->items.begin() + (long)index, std::move(item));
  return TRUE;
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup, const char* text) {
  MenuItem* it = FindItem(data_.get(), position, flags).item();
  return it && platform::detail::SetItem(*it, flags, idOrPopup, text);
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags) {
  auto f = FindItem(data_.get(), position, flags);
  if (!f.menu) return FALSE;
  f.menu->items.erase(f.menu->items.begin() + (long)f.index);
  return TRUE;
}

// Sub-menus are shared, so deleting and removing differ only in Win32.
BOOL CMenu::DeleteMenu(UINT position, UINT flags) { return RemoveMenu(position, flags); }

UINT CMenu::CheckMenuItem(UINT item, UINT check) {
  MenuItem* it = FindItem(data_.get(), item, check).item();
  if (!it) return (UINT)-1;
  const UINT previous = it->flags & MF_CHECKED;
  it->flags = (it->flags & ~MF_CHECKED) | (check & MF_CHECKED);
  return previous;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable) {
  MenuItem* it = FindItem(data_.get(), item, enable).item();
  if (!it) return (UINT)-1;
  const UINT previous = it->flags & (MF_GRAYED | MF_DISABLED);
  it->flags = (it->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

namespace {

// Update-UI of one menu item: the answers change the item in its menu.
class CMenuItemCmdUI : public CCmdUI {
 public:
  void Enable(BOOL on) override {
    m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
  }
  void SetCheck(int check) override {
    m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
  }
  void SetText(const char* text) override {
    const UINT state = m_pMenu->GetMenuState(m_nIndex, MF_BYPOSITION);
    if (state != 0xFFFFFFFF) m_pMenu->ModifyMenu(m_nIndex, MF_BYPOSITION | state, m_nID, text);
  }
};

}  // namespace

void platform::UpdateMenuCommands(CMenu* menu, CWnd* owner) {
  if (!menu || !owner) return;
  owner->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->GetSafeHmenu()), 0);
  for (int i = 0; i < menu->GetMenuItemCount(); ++i) {
    if (CMenu* sub = menu->GetSubMenu(i)) {
      UpdateMenuCommands(sub, owner);
      continue;
    }
    const UINT id = menu->GetMenuItemID(i);
    if (id == 0) continue;
    CMenuItemCmdUI ui;
    ui.m_nID = id;
    ui.m_nIndex = (UINT)i;
    ui.m_pMenu = menu;
    owner->OnUpdateCmdUI(&ui);
  }
}
