// What a drawn object or table needs of the window that owns it: a
// repaint, the mouse cursor and capture, a pop-up menu and the keyboard's
// state. The owning
// view implements it; tests implement it to record what a table asked
// for, so every table runs headless.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

// Flags of a pop-up menu (the values of Win32's TPM_ flags).
namespace popup_flags {
constexpr UINT kRightButton = 0x2;
constexpr UINT kRightAlign = 0x8;
constexpr UINT kBottomAlign = 0x20;
}  // namespace popup_flags

// One entry that a table adds to a pop-up menu.
struct SPopupItem {
  enum class Kind {
    kCommand,  // id and text
    kSeparator,
    kResourceItems,  // every item of sub-menu subMenu of menu resource resourceId
  };
  Kind kind = Kind::kCommand;
  UINT id = 0;
  std::string text;  // GBK
  int resourceId = 0;
  int subMenu = 0;

  bool operator==(const SPopupItem&) const = default;
};

// A pop-up menu as data: it starts as sub-menu baseSubMenu of menu
// resource baseResource (none when baseResource is 0) and has the items
// appended. The owner builds it with the menu layer, tracks it at the
// point and lets the chosen command reach the main window as WM_COMMAND.
struct SPopupMenu {
  int baseResource = 0;
  int baseSubMenu = 0;
  std::vector<SPopupItem> items;
  UINT flags = popup_flags::kRightButton;
  // Commands of the menu shown under another text (id and text of each).
  std::vector<SPopupItem> retitles;
};

class CDrawOwner {
 public:
  // kHand: over a link-like part (a chart pane's indicator name or
  // parameters, which a double click opens).
  enum class Cursor { kArrow, kSizeWE, kSizeNS, kSizeAll, kHand };

  virtual ~CDrawOwner() = default;
  // Invalidates the owner's window so it paints again.
  virtual void Repaint() = 0;
  virtual void SetCursor(Cursor cursor) = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  // Moves the mouse pointer to (x, y) of the owner's client area.
  virtual void MovePointer(int x, int y) = 0;
  // Shows the menu at (x, y) in the owner's client coordinates; non-zero
  // when a command was chosen.
  virtual int TrackPopup(const SPopupMenu& menu, int x, int y) = 0;
  // Whether the key (a virtual key) is held down now; an owner without a
  // keyboard holds none.
  virtual bool IsKeyDown(UINT vk) const {
    (void)vk;
    return false;
  }
};

// The menu resource of the main window, whose sub-menus the quote list and
// the chart view's tables pop up.
constexpr int kMenuMain = 130;

// The pop-up of a menu resource shared by drawn objects, views and tables:
// -1 without an owner, else what the owner's tracking returns.
int TrackMenuResource(CDrawOwner* owner, int x, int y, int menuId, int subMenu);
