// Menus in MFC's shape: CMenu items (id, GBK text, flags: checked,
// disabled, separator, column break; sub-menus), menus loaded from a
// module's table, update-UI (CCmdUI) filled against the owner before a
// menu shows, and TrackPopupMenu, which posts the chosen command to the
// owner as WM_COMMAND. Tests answer pop-up menus through the menu hook.
#pragma once
#include <memory>
#include <span>
#include <string>

#include "platform/cmd_ui.h"
#include "platform/types.h"

class CWnd;
class CMenu;

constexpr UINT MF_STRING = 0x0, MF_ENABLED = 0x0, MF_GRAYED = 0x1, MF_DISABLED = 0x2,
               MF_UNCHECKED = 0x0, MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_MENUBARBREAK = 0x20,
               MF_MENUBREAK = 0x40, MF_OWNERDRAW = 0x100, MF_BYCOMMAND = 0x0, MF_BYPOSITION = 0x400,
               MF_SEPARATOR = 0x800, MF_DEFAULT = 0x1000;
constexpr UINT TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2, TPM_LEFTALIGN = 0x0,
               TPM_CENTERALIGN = 0x4, TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0x0,
               TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20, TPM_NONOTIFY = 0x80,
               TPM_RETURNCMD = 0x100;

typedef struct HMENU__* HMENU;

namespace platform {

// One entry of a menu table. Entries at depth 0 are the menu's items; an
// entry followed by deeper ones is a pop-up holding them. Texts are GBK.
struct MenuEntry {
  int depth;
  UINT id;
  const char* text;
  UINT flags = 0;  // MF_SEPARATOR, MF_GRAYED, MF_CHECKED, MF_MENUBREAK ...
};
// A menu resource of a module: its id and its table.
struct MenuResource {
  UINT id;
  std::span<const MenuEntry> entries;
};

namespace detail {
struct MenuData;
}

// Answers TrackPopupMenu instead of showing the menu (tests): returns the
// chosen command id, 0 for none. The menu has had its update-UI.
class MenuHook {
 public:
  virtual ~MenuHook() = default;
  virtual UINT OnTrackPopupMenu(const CMenu& menu, UINT flags, int x, int y, CWnd* owner) = 0;
};
MenuHook* SetMenuHook(MenuHook* hook);

// Runs update-UI for every command of the menu and its sub-menus against
// the owner (WM_INITMENUPOPUP first).
void UpdateMenuCommands(CMenu* menu, CWnd* owner);

}  // namespace platform

class CMenu {
 public:
  CMenu();
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // The menu with the id from a module's table; FALSE when there is none
  // or its depths are malformed.
  BOOL LoadMenu(std::span<const platform::MenuResource> module, UINT id);
  BOOL DestroyMenu();
  HMENU GetSafeHmenu() const;
  // A second CMenu on the same menu (changes show in both).
  BOOL Attach(HMENU menu);

  int GetMenuItemCount() const;
  // 0 for a separator, (UINT)-1 for a pop-up or a bad position.
  UINT GetMenuItemID(int position) const;
  // The item's MF_ flags (with MF_POPUP), 0xFFFFFFFF when missing.
  UINT GetMenuState(UINT item, UINT flags) const;
  int GetMenuString(UINT item, std::string& text, UINT flags) const;
  // The pop-up at the position (owned by the menu), null when none.
  CMenu* GetSubMenu(int position) const;

  // idOrPopup is a command id, or with MF_POPUP a pop-up's GetSafeHmenu()
  // (the menu shares it).
  BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr);
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr);
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr);
  BOOL RemoveMenu(UINT position, UINT flags);
  BOOL DeleteMenu(UINT position, UINT flags);
  // Return the previous state, (UINT)-1 when the item is missing.
  UINT CheckMenuItem(UINT item, UINT check);
  UINT EnableMenuItem(UINT item, UINT enable);

  // Update-UI against the owner, then the menu at (x, y) in screen
  // coordinates (columns where it has breaks); the chosen command is
  // posted to the owner as WM_COMMAND, or returned with TPM_RETURNCMD.
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const RECT* rect = nullptr);

  const platform::detail::MenuData* Data() const { return data_.get(); }

 private:
  std::shared_ptr<platform::detail::MenuData> data_;
};
