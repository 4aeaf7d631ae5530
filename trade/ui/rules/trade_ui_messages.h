// The trading window's own window messages: the ones its windows exchange
// among themselves and with the export KeyMessage. The messages shared
// with the host program and the reply announcements live in trade/host/.
#pragma once
#include "platform/types.h"
#include "trade/host/trade_reply_messages.h"

// Lock dialog -> trading main dialog: the password matched.
constexpr UINT WM_TRADE_UNLOCK = 0x467;
// KeyMessage -> trading main dialog: a key for the current panel.
constexpr UINT WM_TRADE_KEY = 0x468;
// Anyone -> trading main dialog: show function lParam (0-12).
constexpr UINT WM_TRADE_SELECT_FUNC = 0x469;
// WM_REFRESH_TIMER (trade/host/trade_host_messages.h) at the trading main
// dialog: wParam 1 (re)starts the refresh timer at 3000 ms, any other value
// stops it.
// Keyboard filter -> lock dialog: Enter was pressed (first key-down).
constexpr UINT WM_LOCK_ENTER = 0x2AFC;
