// Hot keys as application-wide shortcuts. Linux offers no portable global
// hot key, so a hot key works while one of the program's windows is active
// (and no modal window blocks its owner). A combination is held by one
// registration at a time, as with Win32; tests can make registration fail.
#include <QPointer>
#include <QShortcut>
#include <map>
#include <utility>

#include "platform/input.h"
#include "wnd_internal.h"

namespace {

struct HotKey {
  UINT modifiers;
  UINT vk;
  QPointer<QShortcut> shortcut;
};

std::map<std::pair<HWND, int>, HotKey>& HotKeys() {
  static auto* keys = new std::map<std::pair<HWND, int>, HotKey>();
  return *keys;
}

bool g_registrationFails = false;

}  // namespace

void platform::SetHotKeyRegistrationFails(bool fail) { g_registrationFails = fail; }

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
  CWnd* wnd = CWnd::FromHandle(hwnd);
  if (g_registrationFails || !wnd || !wnd->GetWidget()) return FALSE;
  auto& keys = HotKeys();
  if (keys.count({hwnd, id})) return FALSE;
  for (const auto& [key, hot] : keys)
    if (hot.shortcut && hot.modifiers == modifiers && hot.vk == vk) return FALSE;
  Qt::KeyboardModifiers mods;
  const int qtKey = platform::VkToQtKey(vk, &mods);
  if (!qtKey) return FALSE;
  if (modifiers & MOD_ALT) mods |= Qt::AltModifier;
  if (modifiers & MOD_CONTROL) mods |= Qt::ControlModifier;
  if (modifiers & MOD_SHIFT) mods |= Qt::ShiftModifier;
  if (modifiers & MOD_WIN) mods |= Qt::MetaModifier;
  auto* shortcut =
      new QShortcut(QKeySequence(QKeyCombination(mods, Qt::Key(qtKey))), wnd->GetWidget());
  shortcut->setContext(Qt::ApplicationShortcut);
  QObject::connect(shortcut, &QShortcut::activated, [hwnd, id, modifiers, vk] {
    ::SendMessage(hwnd, WM_HOTKEY, (WPARAM)id, MAKELPARAM(modifiers, vk));
  });
  keys[{hwnd, id}] = HotKey{modifiers, vk, shortcut};
  return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
  auto& keys = HotKeys();
  auto it = keys.find({hwnd, id});
  if (it == keys.end()) return FALSE;
  delete it->second.shortcut.data();
  keys.erase(it);
  return TRUE;
}
