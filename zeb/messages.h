// The main program's own window messages (WM_USER range) and the kinds
// carried by WM_QUOTE_REQUEST.
#pragma once
#include "platform/types.h"
// The messages shared with the trading library (the WM_TRADE_* ids the
// trading window sends its host pane, WM_REFRESH_TIMER, the trade login's
// result) are the library's: one list, so that no id of ours collides.
#include "trade/host/trade_host_messages.h"

// Link -> main frame: one received packet (wParam length, lParam body).
constexpr UINT WM_QUOTE_PACKET = 0x402;
// Anyone -> main frame: the request funnel (wParam a QuoteRequestKind,
// lParam the data, for kind 1 a 32-bit length and then the request bytes).
constexpr UINT WM_QUOTE_REQUEST = 0x403;
// Chart view -> main window: the chip distribution changed.
constexpr UINT WM_CHIP_UPDATE = 0x405;
// Market pane: switch between the quote list and the chart view.
constexpr UINT WM_SWITCH_VIEW = 0x410;
// Login dialog -> hidden start-up dialog: create (lParam 1) or show (2) the frame.
constexpr UINT WM_LOGIN_STAGE = 0x412;
// Anyone -> trading pane: lParam a container that receives the quote
// list's codes the trading window may trade (TradeHostCodes of
// zeb/core/trade/trade_host.h).
constexpr UINT WM_TRADE_GET_CODES = 0x41D;

// Link -> login dialog: the quote link is being set up (kills the time-out).
constexpr UINT WM_LINK_READY = 0x465;
// Link -> login dialog: connection progress is WM_LINK_PROGRESS (0x466) of
// "link/link_messages.h".
// Chart's information panel -> main window: its page changed; the frame
// passes it on to the chart view as it does WM_CHIP_UPDATE.
constexpr UINT WM_STAT_PAGE = 0x408;
// Anyone -> main frame -> quote list view: step the list's selection.
constexpr UINT WM_REPORT_STEP = 0x418;
// Splitter -> main frame: the user has dragged the split bar.
constexpr UINT WM_SPLITTER_MOVED = 0x2B06;
// Tray icon -> main frame (wParam the icon id, lParam the mouse message).
constexpr UINT WM_TRAY_NOTIFY = 0x7D7;

// wParam of WM_QUOTE_REQUEST.
enum QuoteRequestKind : int {
  kRequestItem = 0,       // an item chosen by keyboard or table
  kRequestQuoteData = 1,  // request bytes for the quote link
  kRequestCommand = 2,    // a typed command
  kRequestBlock = 3,      // a block name
  kRequestFormula = 4,    // a formula code
};
