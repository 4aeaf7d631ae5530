// The main program's private window messages (WM_USER range) and the kinds
// carried by WM_QUOTE_REQUEST.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/types.h"

// Link -> main frame: one received packet (wParam length, lParam body).
constexpr UINT WM_QUOTE_PACKET = 0x402;
// Anyone -> main frame: the request funnel (wParam a QuoteRequestKind,
// lParam the data, for kind 1 a 32-bit length and then the request bytes).
constexpr UINT WM_QUOTE_REQUEST = 0x403;
// Chart view -> main window: the chip distribution changed.
constexpr UINT WM_CHIP_UPDATE = 0x405;
// Trading window -> host pane -> main frame: leave trading.
constexpr UINT WM_TRADE_HIDE = 0x40F;
// Market pane: switch between the quote list and the chart view.
constexpr UINT WM_SWITCH_VIEW = 0x410;
// Login dialog -> hidden start-up dialog: create (lParam 1) or show (2) the frame.
constexpr UINT WM_LOGIN_STAGE = 0x412;
// Trading window <-> host pane.
constexpr UINT WM_TRADE_ASK_QUOTE = 0x414;
constexpr UINT WM_TRADE_GET_NAME = 0x415;
constexpr UINT WM_TRADE_QUOTE = 0x416;
constexpr UINT WM_TRADE_FIND_CODE = 0x417;
constexpr UINT WM_TRADE_SUBSCRIBE = 0x419;
constexpr UINT WM_TRADE_PRICES = 0x41A;
constexpr UINT WM_TRADE_GET_PRECLOSE = 0x41C;
// Anyone -> trading pane: lParam a container that receives the quote
// list's codes the trading window may trade (TradeHostCodes of
// zeb/shell/trade/trade_host.h).
constexpr UINT WM_TRADE_GET_CODES = 0x41D;

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
// Trading library -> login dialog: progress and result of the trade login.
constexpr UINT WM_TRADE_LOGIN_RESULT = 0x464;
// Link -> login dialog: the quote link is being set up (kills the time-out).
constexpr UINT WM_LINK_READY = 0x465;
// Link -> login dialog: connection progress is WM_LINK_PROGRESS (0x466) of
// "link/link_messages.h".
// Chart's information panel -> main window: its page changed; the frame
// passes it on to the chart view as it does WM_CHIP_UPDATE.
constexpr UINT WM_STAT_PAGE = 0x408;
// Anyone -> main frame -> quote list view: step the list's selection.
constexpr UINT WM_REPORT_STEP = 0x418;
// Anyone -> main frame: start polling the alarm quotes. The trading main
// dialog takes the same message for its refresh timer.
constexpr UINT WM_REFRESH_TIMER = 0x41B;
// Splitter -> main frame: the user has dragged the split bar.
constexpr UINT WM_SPLITTER_MOVED = 0x2B06;
// Tray icon -> main frame (wParam the icon id, lParam the mouse message).
constexpr UINT WM_TRAY_NOTIFY = 0x7D7;

// wParam of WM_QUOTE_REQUEST.
enum QuoteRequestKind : int {
  kRequestItem = 0,        // an item chosen by keyboard or table
  kRequestQuoteData = 1,   // request bytes for the quote link
  kRequestCommand = 2,     // a typed command
  kRequestBlock = 3,       // a block name
  kRequestFormula = 4,     // a formula code
};
