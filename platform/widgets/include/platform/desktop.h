// The desktop around the program: the tray icon, the work area, system
// metrics and colours, the beep; opening addresses and files (open_url.h,
// in the drawing part).
//
// Metrics and colours come from fixed tables (Windows 7's defaults at 96
// dpi), so drawing never depends on the desktop theme; only the screen
// size and work area are the real screen's. Texts are GBK.
#pragma once
#include <string>

#include "platform/open_url.h"
#include "platform/types.h"

class CBrush;

// ---- Tray icon --------------------------------------------------------------
typedef struct HICON__* HICON;
// An icon from one of our own images (a resource path such as
// ":/icons/zeb.png"), kept for the life of the process; null when it does
// not load.
HICON LoadIconFromImage(const char* path);

constexpr DWORD NIM_ADD = 0x0, NIM_MODIFY = 0x1, NIM_DELETE = 0x2;
constexpr UINT NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4;
struct NOTIFYICONDATA {
  DWORD cbSize = sizeof(NOTIFYICONDATA);
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[128] = {};
};
// The icon posts uCallbackMessage(uID, WM_LBUTTONUP / WM_LBUTTONDBLCLK /
// WM_RBUTTONUP / WM_MBUTTONUP) to its window. Where the desktop has no
// tray the icon is only remembered, and while it is there ShowWindow
// minimises its window where it would hide it, so the user can bring the
// window back.
BOOL Shell_NotifyIcon(DWORD message, NOTIFYICONDATA* data);

// ---- Work area, metrics, colours -------------------------------------------
constexpr UINT SPI_GETWORKAREA = 0x0030;
// SPI_GETWORKAREA: the primary screen's area without panels, into *(RECT*)param.
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);

constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3,
              SM_CYCAPTION = 4, SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7,
              SM_CXFIXEDFRAME = 7, SM_CYDLGFRAME = 8, SM_CYFIXEDFRAME = 8, SM_CYVTHUMB = 9,
              SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
              SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_CYVSCROLL = 20,
              SM_CXHSCROLL = 21, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30, SM_CYSIZE = 31,
              SM_CXFRAME = 32, SM_CXSIZEFRAME = 32, SM_CYFRAME = 33, SM_CYSIZEFRAME = 33,
              SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46,
              SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CYSMCAPTION = 51, SM_CXMAXIMIZED = 61,
              SM_CYMAXIMIZED = 62, SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CXMENUCHECK = 71,
              SM_CYMENUCHECK = 72;
// 0 for an index not in the table.
int GetSystemMetrics(int index);

constexpr int COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_DESKTOP = 1, COLOR_ACTIVECAPTION = 2,
              COLOR_INACTIVECAPTION = 3, COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6,
              COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8, COLOR_CAPTIONTEXT = 9,
              COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
              COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_3DFACE = 15,
              COLOR_BTNSHADOW = 16, COLOR_3DSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18,
              COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20, COLOR_3DHIGHLIGHT = 20,
              COLOR_3DHILIGHT = 20, COLOR_BTNHILIGHT = 20, COLOR_3DDKSHADOW = 21,
              COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24, COLOR_HOTLIGHT = 26,
              COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
              COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30;
// Black for an index not in the table.
COLORREF GetSysColor(int index);
// A solid brush of the colour, kept for the life of the process (never
// delete it); null for an index not in the table.
CBrush* GetSysColorBrush(int index);

// Beeps (the type is Win32's; every type sounds the same here).
BOOL MessageBeep(UINT type);
