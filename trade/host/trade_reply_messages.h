// The announcements the trading core posts to the trading main dialog when
// a reply has refreshed what a panel shows. They are window messages of the
// library's own windows, so they live here and not among the protocol codes
// of trade/core.
#pragma once
#include "platform/types.h"
#include "trade/host/trade_host_messages.h"

// Posted to the trading main dialog; wParam is one of the panel ids below.
// After a holdings reply the core also posts WM_TRADE_SUBSCRIBE (no
// parameters), and the dialog asks its host for the held codes' quotes.
constexpr UINT WM_TRADE_REPLY = 0x409;

// Panel message ids (wParam of WM_TRADE_REPLY).
constexpr WPARAM WM_TRADE_ISSUES = 0x40B;
constexpr WPARAM WM_TRADE_HOLDINGS = 0x40C;
constexpr WPARAM WM_TRADE_FUNDS = 0x40D;
constexpr WPARAM WM_TRADE_ORDERS = 0x40E;
constexpr WPARAM WM_TRADE_HIS_ORDERS = 0x40F;
constexpr WPARAM WM_TRADE_DEALS = 0x410;
constexpr WPARAM WM_TRADE_ALLOTS = 0x412;
constexpr WPARAM WM_TRADE_MAX_QTY = 0x414;
constexpr WPARAM WM_TRADE_APPLY_RESULT = 0x415;
constexpr WPARAM WM_TRADE_TRANSFERS = 0x432;
constexpr WPARAM WM_TRADE_FLOW_TODAY = 0x433;
constexpr WPARAM WM_TRADE_FLOW_HISTORY = 0x434;
