// Window messages between the trading library and its windows, and the
// message codes of the trade protocol.
#pragma once
#include "platform/types.h"

// The messages the trading library shares with its host (the login result,
// the subscription) are defined once, in the main program's list.
#include "zeb/shell/messages.h"

// Posted to the trading main dialog; wParam is one of the panel ids below.
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

// Request message types and their replies.
#define MT_LOGIN "1001"
#define MT_LOGIN_RSP "1002"
#define MT_CHANGE_PWD "1003"
#define MT_CHANGE_PWD_RSP "1004"
#define MT_ORDER "1011"
#define MT_ORDER_RSP "1012"
#define MT_TRANSFER_RSP "1014"
#define MT_CANCEL "1015"
#define MT_CANCEL_RSP "1016"
#define MT_MAX_QTY "1017"
#define MT_MAX_QTY_RSP "1018"
#define MT_QRY_HOLDINGS "1021"
#define MT_QRY_HOLDINGS_RSP "1022"
#define MT_QRY_FUNDS "1023"
#define MT_QRY_FUNDS_RSP "1024"
#define MT_QRY_ORDERS "1031"
#define MT_QRY_ORDERS_RSP "1032"
#define MT_QRY_DEALS "1033"
#define MT_QRY_DEALS_RSP "1034"
#define MT_QRY_HIS_ORDERS "1035"
#define MT_QRY_HIS_ORDERS_RSP "1036"
#define MT_QRY_HIS_DEALS "1037"
#define MT_QRY_HIS_DEALS_RSP "1038"
#define MT_QRY_ISSUES "1041"
#define MT_QRY_ISSUES_RSP "1042"
#define MT_QRY_ALLOT "1081"
#define MT_QRY_ALLOT_RSP "1082"
#define MT_QRY_ALLOT_ALT "1083"
#define MT_QRY_ALLOT_ALT_RSP "1084"
#define MT_QRY_FLOW "2007"
#define MT_QRY_FLOW_RSP "2008"
#define MT_QRY_HIS_FLOW "2011"
#define MT_QRY_HIS_FLOW_RSP "2012"
#define MT_MONEY_APPLY "2017"
#define MT_MONEY_APPLY_RSP "2018"
#define MT_QRY_TRANSFERS "2019"
#define MT_QRY_TRANSFERS_RSP "2020"
#define MT_HEARTBEAT "HB"

// Reply fields common to every reply.
constexpr int TAG_RETURN_CODE = 9001;
constexpr int TAG_RETURN_INFO = 9002;
constexpr int TAG_MSG_TYPE = 1035;
constexpr int TAG_RECORD_NUM = 9003;
