// A trading library of our own for the tests of the trading pane: the ten
// exports under their names, a trading window that records what its host
// sends it, and a log of the calls, read by the tests through one more
// export (StubTradeLog). Built twice by the test tree as "libTrade.so": whole,
// and without KeyMessage (a library the program must refuse).
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

struct SStubTradeMessage {
  UINT message = 0;
  WPARAM wParam = 0;
  std::string data;  // the name text, the packet's bytes, or "code=price;" pairs
};

struct SStubTradeLog {
  std::vector<std::string> calls;           // "InitDialog", "MoveDlg 0 0 800 320", ...
  HWND host = nullptr;                      // the pane InitDialog was given
  HWND window = nullptr;                    // the trading window, null when there is none
  std::vector<SStubTradeMessage> received;  // WM_TRADE_QUOTE and WM_TRADE_PRICES at the window
  bool linked = false;
};

using PFN_StubTradeLog = SStubTradeLog* (*)();
