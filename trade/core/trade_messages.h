// The message codes of the trade protocol: request and reply types and the
// reply fields every reply carries. The window messages the library posts
// live in trade/host/.
#pragma once
#include "platform/types.h"

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
