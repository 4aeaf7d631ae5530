// Answers pop-up menus: one answer per expected TrackPopupMenu (a command
// id, or 0 for a menu dismissed), and a record of what each menu offered
// with the states its owner's update-UI gave. Choosing an item that is not
// offered or not enabled, an unexpected menu and answers left over at the
// end of the scope fail the test.
#pragma once
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/menu.h"

namespace platform::testing {

class ScopedMenuScript : public platform::MenuHook {
 public:
  struct Item {
    UINT id;           // 0 for separators and pop-ups
    std::string text;  // GBK
    UINT flags;        // MF_ state
    int depth;         // 0 for the menu's own items
    bool enabled() const { return !(flags & (MF_GRAYED | MF_DISABLED)); }
    bool checked() const { return (flags & MF_CHECKED) != 0; }
  };

  explicit ScopedMenuScript(std::initializer_list<UINT> answers);
  ~ScopedMenuScript() override;
  ScopedMenuScript(const ScopedMenuScript&) = delete;
  ScopedMenuScript& operator=(const ScopedMenuScript&) = delete;

  // Every menu shown, in order, as offered.
  const std::vector<std::vector<Item>>& Offered() const { return offered_; }
  // The command in the last menu shown; null when it was not there.
  const Item* Find(UINT id) const;

  UINT OnTrackPopupMenu(const CMenu& menu, UINT flags, int x, int y, CWnd* owner) override;

 private:
  std::vector<UINT> answers_;
  size_t next_ = 0;
  std::vector<std::vector<Item>> offered_;
  platform::MenuHook* previous_;
};

}  // namespace platform::testing
