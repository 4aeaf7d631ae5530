// The window messages the trading library and its host program exchange,
// and what they carry. The library owns this list: the program includes it
// beside trade_exports.h, and the library never includes the program.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/types.h"

// Trading window -> host pane -> main frame: leave trading.
constexpr UINT WM_TRADE_HIDE = 0x40F;
// Trading window <-> host pane.
constexpr UINT WM_TRADE_ASK_QUOTE = 0x414;
constexpr UINT WM_TRADE_GET_NAME = 0x415;
constexpr UINT WM_TRADE_QUOTE = 0x416;
constexpr UINT WM_TRADE_FIND_CODE = 0x417;
constexpr UINT WM_TRADE_SUBSCRIBE = 0x419;
constexpr UINT WM_TRADE_PRICES = 0x41A;
constexpr UINT WM_TRADE_GET_PRECLOSE = 0x41C;
// Host -> trading main dialog: wParam 1 (re)starts the refresh timer at
// 3000 ms, any other value stops it. The host's main frame takes the same
// message to start polling its alarm quotes.
constexpr UINT WM_REFRESH_TIMER = 0x41B;
// Trading library -> login dialog: progress and result of the trade login
// (the message the host names in Link2Server and LinkTradeServer).
constexpr UINT WM_TRADE_LOGIN_RESULT = 0x464;

// What the trading window and its host pane hand each other, valid during
// the call only. WM_TRADE_SUBSCRIBE's wParam: the item codes as decimal
// texts. WM_TRADE_PRICES' wParam: item code -> latest price in currency
// units. WM_TRADE_QUOTE (wParam 3)'s lParam: the quote packet together with
// its length, so the reader never reads past what arrived.
using TradeCodeList = std::vector<std::string>;
using TradePriceMap = std::map<int, double>;
struct STradeQuotePacket {
  const void* data = nullptr;
  int length = 0;
};
