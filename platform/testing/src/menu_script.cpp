// Pop-up menus answered from a script.
#include "platform/testing/menu_script.h"

#include <gtest/gtest.h>

namespace platform::testing {
namespace {

void Record(const CMenu& menu, int depth, std::vector<ScopedMenuScript::Item>& out) {
  for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
    ScopedMenuScript::Item item;
    item.flags = menu.GetMenuState((UINT)i, MF_BYPOSITION);
    menu.GetMenuString((UINT)i, item.text, MF_BYPOSITION);
    const UINT id = menu.GetMenuItemID(i);
    item.id = id == (UINT)-1 ? 0 : id;
    item.depth = depth;
    out.push_back(item);
    if (CMenu* sub = menu.GetSubMenu(i)) Record(*sub, depth + 1, out);
  }
}

}  // namespace

ScopedMenuScript::ScopedMenuScript(std::initializer_list<UINT> answers)
    : answers_(answers), previous_(platform::SetMenuHook(this)) {}

ScopedMenuScript::~ScopedMenuScript() {
  platform::SetMenuHook(previous_);
  if (next_ < answers_.size())
    ADD_FAILURE() << (answers_.size() - next_) << " expected pop-up menu(s) never shown";
}

const ScopedMenuScript::Item* ScopedMenuScript::Find(UINT id) const {
  if (offered_.empty() || id == 0) return nullptr;
  for (const Item& item : offered_.back())
    if (item.id == id) return &item;
  return nullptr;
}

UINT ScopedMenuScript::OnTrackPopupMenu(const CMenu& menu, UINT, int, int, CWnd*) {
  offered_.emplace_back();
  Record(menu, 0, offered_.back());
  if (next_ >= answers_.size()) {
    ADD_FAILURE() << "unexpected pop-up menu";
    return 0;
  }
  const UINT answer = answers_[next_++];
  if (answer == 0) return 0;
  const Item* item = Find(answer);
  if (!item) {
    ADD_FAILURE() << "command " << answer << " is not in the menu";
    return 0;
  }
  if (!item->enabled()) {
    ADD_FAILURE() << "command " << answer << " is disabled";
    return 0;
  }
  return answer;
}

}  // namespace platform::testing
