// The trading window's functions: the tree text they are built from, the
// caption and panel of each of the 30 functions, and the quick buttons.
// Plain data and parsing, shared by the trading main dialog and its tests.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

// The panel classes a function opens.
enum class ETradePanel {
  kOrderEntry,     // CWtqrDlg, template 6020
  kOrders,         // CQueryTradeBar, 137
  kIssues,         // CTradeBar, 135
  kFunds,          // CQueryCapitalBar, 6022
  kAllotments,     // CQueryPhTradeBar, 6021
  kDeals,          // CQueryDealTradeBar, 6023
  kTransfer,       // COrderTransferForm, 6025
  kTransferQuery,  // CQueryTransfer, 6026
  kSigning,        // CSignAndUnsignDlg, 7007
  kMoneyFlow,      // CDlgQueryMoneyFlow, 7005
  kCustody,        // CTrustBusiness, 7004
  kPassword,       // CChangePswdForm, 152
};

struct STradeFunction {
  int index;
  const char* name;     // UTF-8 tree text; GbkName() gives the GBK bytes
  const char* caption;  // UTF-8 caption of the function's path
  ETradePanel panel;
  int templateId;
  int argument;  // side (order entry), mode (queries, money flow), page (custody); else 0
};

constexpr int kTradeFunctionCount = 30;
constexpr int kTradeTreeItemCount = 35;  // the 30 functions and 5 group headings

// The function of an index (0-29); nullptr outside.
const STradeFunction* GetTradeFunction(int index);
// GBK name and caption of a function.
const char* TradeFunctionName(int index);
const char* TradeFunctionCaption(int index);

// The tree as one text: top-level entries end with '@'; an entry holding
// '~' is a group, the text before its first '~' the group's name and every
// following text ended by '~' a function inside it. GBK.
const std::string& TradeFunctionTreeText();

struct STreeEntry {
  std::string text;  // GBK
  bool isGroup = false;
  int parent = -1;         // index of the group entry in the list, -1 top level
  int image = 0;           // image and selected image
  int functionIndex = -1;  // -1 for a group
};

// The tree items in insertion order, parsed from a tree text as the main
// dialog builds its tree; function items are numbered in order.
std::vector<STreeEntry> ParseFunctionTree(const std::string& text);

// The function whose name equals text byte for byte; -1 (a group or an
// unknown text).
int FindFunctionByName(const std::vector<STreeEntry>& tree, const std::string& text);

// Quick buttons of the main dialog: 买入 7008, 卖出 7006, 撤单 1080,
// 资金 7009, 今日委托 7010. The function a button shows, -1 for another id.
int QuickButtonFunction(int buttonId);
