// What the trading window asks of its host pane (the program's trading
// pane): whether a code is known, an item's name, quote and previous close,
// quotes for the held codes, and leaving trading. The windows talk to the
// pane through CHostPaneLink; the rules take the interface, so tests give
// them a recorder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

class ITradeHostPane {
 public:
  virtual ~ITradeHostPane() = default;
  // WM_TRADE_FIND_CODE (sent): true when the program knows the item.
  virtual bool FindCode(int code) = 0;
  // WM_TRADE_GET_NAME (posted): the name comes back as WM_TRADE_QUOTE 1.
  virtual void AskName(int code) = 0;
  // WM_TRADE_ASK_QUOTE (posted): the quote comes back as WM_TRADE_QUOTE 3.
  virtual void AskQuote(int code) = 0;
  // WM_TRADE_GET_PRECLOSE (sent): previous close in thousandths, 0 unknown.
  virtual uint32_t GetPreClose(int code) = 0;
  // WM_TRADE_SUBSCRIBE (sent): quotes for these codes come back as
  // WM_TRADE_PRICES.
  virtual void Subscribe(const std::vector<std::string>& codes) = 0;
  // WM_TRADE_HIDE (posted): leave trading.
  virtual void Leave() = 0;
};

// The pane reached by window messages, as the program's pane answers them.
class CHostPaneLink : public ITradeHostPane {
 public:
  explicit CHostPaneLink(HWND pane) : pane_(pane) {}
  HWND GetPane() const { return pane_; }

  bool FindCode(int code) override;
  void AskName(int code) override;
  void AskQuote(int code) override;
  uint32_t GetPreClose(int code) override;
  void Subscribe(const std::vector<std::string>& codes) override;
  void Leave() override;

 private:
  HWND pane_;
};
