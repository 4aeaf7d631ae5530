// The order entry panel (buy or sell) without its widgets: what a typed
// code asks of the host and the server, the limits from the server's
// maximum-quantity reply, the quantity helpers, the quote strips, the
// holdings list, and the checks, confirmation and request of an order.
// The window feeds it the texts the user types and shows View().
#pragma once
#include <string>
#include <vector>

#include "trade/core/trade_records.h"
#include "trade/ui/rules/host_pane.h"
#include "trade/ui/rules/panel_table.h"

class CTradeSession;

enum EOrderSide { kSideBuy = 0, kSideSell = 1 };

// Order kinds: 0 限价委托 "0", 1 本方最优 "X", 2 对手方最优 "Y". The kind
// list offers 限价委托 only.
const char* OrderKindName(int kind);
char OrderKindCode(int kind);
// The two-character order type: the kind's code and 'B' or 'S'.
std::string OrderTypeCode(int kind, int side);
// Codes whose number divided by 1000 is 100 are indexes: never ordered.
bool IsIndexCode(const std::string& code);

// The labels that differ between the sides.
struct SOrderSideTexts {
  const char* priceLabel;     // "买入价格：" / "卖出价格："
  const char* quantityLabel;  // "买入数量：" / "卖出数量："
  const char* maximumLabel;   // "最大可买：" / "最大可卖："
  const char* orderButton;    // "买入下单" / "卖出下单"
  bool showsFunds;            // the available-funds row (buy only)
};
SOrderSideTexts OrderSideTexts(int side);

// A share of the maximum for the 1/2 .. 1/5 buttons: maximum / d, rounded
// down to a multiple of the minimum (taken as 1 when it is not above 0);
// 0 when the share is not above 0.
int FractionQuantity(int maximum, int minimum, int divisor);
// The buy maximum a typed price allows: funds / price truncated, rounded
// down to a multiple of the minimum; -1 when it cannot be told (no price,
// no funds text, minimum 0, price not above 0).
int MaximumFromPrice(const std::string& priceText, const std::string& fundsText, int minimum);

// Everything the panel shows (GBK texts).
struct SOrderEntryView {
  std::string code, name, price, quantity;
  std::string maximumText, fundsText;
  std::string priceLabel;  // the price row's label
  bool priceEnabled = true;
  std::string levelsText;   // five-level strip; "" shows the strip's template
  std::string summaryText;  // summary strip
  int checkedFraction = 0;  // 2-5 while a fraction button is checked, else 0
};

class COrderEntryModel {
 public:
  COrderEntryModel(int side, CTradeSession& session, ITradeHostPane& host);

  int Side() const { return side_; }
  int Kind() const { return kind_; }
  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  const SOrderEntryView& View() const { return view_; }
  const SPanelTable& Holdings() const { return holdings_; }

  // Panel start: funds, then holdings.
  void OnInit();
  // The code edit changed: fields cleared; a six-digit code that is not an
  // index is looked up with the host and, when known, its name, quote and
  // limits are asked for; an unknown code allows nothing.
  void OnCodeChanged(const std::string& code);
  void OnKindChanged(int kind);
  // The price edit changed (the buy side recomputes its maximum).
  void OnPriceChanged(const std::string& price);
  void OnQuantityChanged(const std::string& quantity) { view_.quantity = quantity; }
  // WM_TRADE_MAX_QTY: new limits from the server's reply.
  void OnLimits();
  // WM_TRADE_QUOTE 1: the item's name from the host.
  void OnName(const char* name);
  // WM_TRADE_QUOTE 3: the quote packet with its length; a short one is
  // ignored, and so is one of another item than the one entered. The
  // first quote of an entered item fills the price; the later ones (the
  // refreshes) move the strips only, so a typed price stays.
  void OnQuotePacket(const void* data, int length);
  // The quote strips follow the market: while a known item is entered the
  // host is asked for its quote again (the window's timer calls this).
  // False when no item is entered.
  bool RefreshQuote();
  static constexpr unsigned kQuoteRefreshMs = 1000;
  // WM_TRADE_HOLDINGS: the holdings list from the store.
  void OnHoldings();
  // A double-click on holding row; false when the row is not valid.
  bool OnTakeHolding(int row);
  // 全部 and 1/2 .. 1/5.
  void OnAllButton();
  void OnFractionButton(int divisor);
  // The order button: checks (boxes on refusal), confirmation, request.
  // True when the order was sent.
  bool OnOrderButton();

 private:
  void MaximumQuery();
  // Buy side: the maximum the funds pay at the price in the entry (kept
  // when it cannot be told).
  void ApplyPriceMaximum();
  // The fields that belong to one item: name, price, quantity, limits and
  // quote strips.
  void ClearItemFields();
  void ClearEntry();

  int side_;
  CTradeSession& session_;
  ITradeHostPane& host_;
  int kind_ = 0;
  int minimum_ = 0;
  int maximum_ = 0;
  SOrderEntryView view_;
  SPanelTable holdings_;
  std::vector<SPositionInfo> heldRows_;  // the rows the list shows
  int quoteCode_ = 0;                    // the known item entered, 0 when none
  bool quoteShown_ = false;              // its first quote has filled the price
};
