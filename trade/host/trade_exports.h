// The trading library's exported functions, with C linkage and these exact
// names ("DestoryDialog" as the host binds it), and the pointer types the
// host binds them as. Texts are GBK; a null text counts as "".
#pragma once
#include <string>

#include "platform/types.h"

#if defined(TRADE_BUILD)
#define TRADE_API __attribute__((visibility("default")))
#else
#define TRADE_API
#endif

extern "C" {
// The trading main dialog as a child of the host pane, once the connection
// is up (a finished login is not needed); the same handle on later calls;
// 0 while there is no connection or no dialog can be made.
TRADE_API HWND InitDialog(HWND hostPane);
// Hides and destroys the dialog, ends the connection; always 1.
TRADE_API int DestoryDialog();
// Places, shows and activates the dialog; 1, or 0 without a connection or
// a dialog.
TRADE_API int MoveDlg(RECT rect);
// Connects to one server; results reach notifyWnd as notifyMsg. Always 1.
TRADE_API int Link2Server(HWND notifyWnd, UINT notifyMsg, const char* userId, const char* password,
                          const char* host, int port);
// Connects to the first of five servers, or round the list when roundRobin
// is set; a previous connection is stopped and joined first. Always 1.
TRADE_API int LinkTradeServer(HWND notifyWnd, UINT notifyMsg, const char* userId,
                              const char* password, BOOL roundRobin, const char* host1, int port1,
                              const char* host2, int port2, const char* host3, int port3,
                              const char* host4, int port4, const char* host5, int port5);
// One balance-server query; buffer receives the reply's length and payload
// and must hold them (size bytes). 0, or -1.
TRADE_API int InitBalanceServer(const char* host, int port, int value, void* buffer, int size);
TRADE_API void UnLink();
// Posts the key to the trading main dialog; non-zero when posted.
TRADE_API int KeyMessage(int key, int data);
// Does nothing; 1.
TRADE_API int QuickOrder(int, int, int, int, int);
// out[0] the user name of the login reply, out[1] the user id; 1 (0 for a
// null out).
TRADE_API BYTE GetUserInfo(std::string* out);
// The library's entry point (not one of its exports): its start runs when
// the host loads it, and a start that fails (no "zeb.ini", no
// secure-socket library, the secure socket refused) refuses the load, so
// the host tells the user it could not open the library.
TRADE_API int DllMain(void* module, unsigned long reason, void* reserved);
}

typedef HWND (*PFN_InitDialog)(HWND);
typedef int (*PFN_DestoryDialog)();
typedef int (*PFN_MoveDlg)(RECT);
typedef int (*PFN_Link2Server)(HWND, UINT, const char*, const char*, const char*, int);
typedef int (*PFN_LinkTradeServer)(HWND, UINT, const char*, const char*, BOOL, const char*, int,
                                   const char*, int, const char*, int, const char*, int,
                                   const char*, int);
typedef int (*PFN_InitBalanceServer)(const char*, int, int, void*, int);
typedef void (*PFN_UnLink)();
typedef int (*PFN_KeyMessage)(int, int);
typedef int (*PFN_QuickOrder)(int, int, int, int, int);
typedef BYTE (*PFN_GetUserInfo)(std::string*);
