// CCmdUI: the enable, check and text state of one command, asked of the
// command's handler (a window's OnUpdateCmdUI, or the UpdateCommandUI of
// the window-free objects it hands the question to) before a menu shows or
// a toolbar refreshes. Window-free, so the rules that decide a command's
// state answer without the window layer. The base keeps no answer; the
// menu (menu.h) and the toolbars derive the kinds that apply them, and
// tests derive their own to record them.
#pragma once
#include "platform/types.h"

class CWnd;
class CMenu;

class CCmdUI {
 public:
  virtual ~CCmdUI() = default;
  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;  // the menu holding the item (menus)
  CWnd* m_pOther = nullptr;  // the bar (toolbars)
  virtual void Enable(BOOL on = TRUE) { (void)on; }
  virtual void SetCheck(int check = 1) { (void)check; }
  virtual void SetRadio(BOOL on = TRUE) { SetCheck(on ? 1 : 0); }
  virtual void SetText(const char* text) { (void)text; }
};
