// Keyboard and mouse in Win32's terms: virtual keys mapped from Qt's keys
// (a US layout: shifted symbols give their unshifted key), GetKeyState,
// cursor shapes and position, ClipCursor, and hot keys.
//
// Keys reach windows through one application event filter that first
// offers each key to PreTranslateMessage, from the focus window up to its
// top-level window (see wnd.h). Hot keys are application-wide shortcuts:
// Linux has no portable global hot key, so they work while one of the
// program's windows is active; a registration can be made to fail in tests.
#pragma once
#include <Qt>

#include "platform/types.h"
#include "platform/virtual_keys.h"

class CWnd;

// Hot-key modifiers.
constexpr UINT MOD_ALT = 0x1, MOD_CONTROL = 0x2, MOD_SHIFT = 0x4, MOD_WIN = 0x8;

namespace platform {

// The virtual key of a Qt key (with KeypadModifier for the numeric pad);
// 0 for a key without one.
UINT QtKeyToVk(int qtKey, Qt::KeyboardModifiers modifiers);
// The Qt key of a virtual key; keypad keys add Qt::KeypadModifier to *extra.
int VkToQtKey(UINT vk, Qt::KeyboardModifiers* extra = nullptr);

// Makes RegisterHotKey fail (as when another program holds the key), for
// tests of the failure path.
void SetHotKeyRegistrationFails(bool fail);

}  // namespace platform

// High bit (the value is negative) while the key or mouse button is down.
// Tracked from the input events the program received.
short GetKeyState(int vk);
short GetAsyncKeyState(int vk);

// Hot keys: WM_HOTKEY (wParam id, lParam MAKELPARAM(modifiers, vk)) is
// sent to the window. FALSE when the combination is taken or registration
// is made to fail.
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);

// Keyboard hooks of the user-interface thread (WH_KEYBOARD only): the
// procedure sees every key event of the program, in any window, before the
// window does, with HC_ACTION, the virtual key and the key data (bit 30: the
// key was down before, bit 31: released). A procedure passes the event on
// with CallNextHookEx; answering non-zero swallows it. The newest hook runs
// first. module and threadId are ignored (the program has one
// user-interface thread).
typedef struct HHOOK__* HHOOK;
typedef LRESULT (*HOOKPROC)(int code, WPARAM wParam, LPARAM lParam);
constexpr int WH_KEYBOARD = 2, HC_ACTION = 0;
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, void* module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// Cursor shapes.
typedef struct HCURSOR__* HCURSOR;
constexpr int IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515,
              IDC_UPARROW = 32516, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644,
              IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
              IDC_APPSTARTING = 32650, IDC_HELP = 32651;
// A standard shape (the module argument is ignored); null for an unknown id.
HCURSOR LoadCursor(void* module, int id);
// A shape from one of our own images (a resource path such as ":/cursors/x.png").
HCURSOR LoadCursorFromImage(const char* path, int hotX, int hotY);
// Shows the shape over the window that has the mouse captured, or else the
// window under the mouse; returns the previous shape.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// Cursor position in screen coordinates.
BOOL GetCursorPos(POINT* point);
BOOL SetCursorPos(int x, int y);
// Keeps the cursor inside the rectangle (screen coordinates; null frees
// it): the points handed to mouse handlers and SetCursorPos are clamped.
BOOL ClipCursor(const RECT* rect);
BOOL GetClipCursor(RECT* rect);
