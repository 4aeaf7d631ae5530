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

class CWnd;

// Virtual keys.
constexpr UINT VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04,
               VK_BACK = 0x08, VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10,
               VK_CONTROL = 0x11, VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14,
               VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
               VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
               VK_SNAPSHOT = 0x2C, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_HELP = 0x2F,
               VK_LWIN = 0x5B, VK_RWIN = 0x5C, VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD1 = 0x61,
               VK_NUMPAD2 = 0x62, VK_NUMPAD3 = 0x63, VK_NUMPAD4 = 0x64, VK_NUMPAD5 = 0x65,
               VK_NUMPAD6 = 0x66, VK_NUMPAD7 = 0x67, VK_NUMPAD8 = 0x68, VK_NUMPAD9 = 0x69,
               VK_MULTIPLY = 0x6A, VK_ADD = 0x6B, VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D,
               VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70, VK_F2 = 0x71, VK_F3 = 0x72,
               VK_F4 = 0x73, VK_F5 = 0x74, VK_F6 = 0x75, VK_F7 = 0x76, VK_F8 = 0x77, VK_F9 = 0x78,
               VK_F10 = 0x79, VK_F11 = 0x7A, VK_F12 = 0x7B, VK_F24 = 0x87, VK_NUMLOCK = 0x90,
               VK_SCROLL = 0x91, VK_OEM_1 = 0xBA, VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC,
               VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE, VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0,
               VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD, VK_OEM_7 = 0xDE;

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
