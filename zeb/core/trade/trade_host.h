// What the trading pane answers the trading window, apart from the pane's
// window: the window's questions about items (name, known code, previous
// close, the codes of the quote list) come out of the market-data store,
// its quote and price questions become quote requests through the store's
// request road, and its leave button reaches the main window. The view
// CTradeView hands every message here and stays thin.
//
// Sound behaviour kept here: an out pointer that is null is never written
// through (the question is answered 0 instead).
#pragma once
#include <vector>

#include "platform/types.h"
#include "zeb/messages.h"
#include "zeb/store/store_records.h"

class CPublic;

// WM_TRADE_GET_CODES' container (lParam): receives the quote list's codes
// the trading window may trade.
using TradeHostCodes = std::vector<SCodeInfo>;

class CTradeHostAnswers {
 public:
  explicit CTradeHostAnswers(CPublic& store) : m_store(store) {}

  // One of the messages below.
  static bool IsQuestion(UINT message);

  // Answers one of the trading window's messages (WM_TRADE_HIDE,
  // WM_TRADE_ASK_QUOTE, WM_TRADE_GET_NAME, WM_TRADE_FIND_CODE,
  // WM_TRADE_GET_PRECLOSE, WM_TRADE_SUBSCRIBE, WM_TRADE_GET_CODES); trade is
  // the trading window, which receives the name. False for any other message.
  bool Answer(UINT message, WPARAM wParam, LPARAM lParam, HWND trade, LRESULT* result);

 private:
  LRESULT AskQuote(int32_t code);
  LRESULT SendName(int32_t code, HWND trade);
  LRESULT FindCode(int32_t code, int* known);
  LRESULT GetPreClose(int32_t code, uint32_t* preClose);
  LRESULT Subscribe(const TradeCodeList* codes);
  LRESULT GetCodes(TradeHostCodes* codes);
  LRESULT Leave();

  CPublic& m_store;
};
