// The base of every panel the trading main dialog shows on the right: a
// child dialog made for one function, with what a panel works with (the
// session store, the host pane, the clock, the custody addresses). The
// main dialog creates a panel anew on every switch (CreateTradePanel) and
// talks to it only by messages: the reply announcements it relays arrive
// as OnPanelMessage, the host's name and quote for the order entry as
// OnTradeQuote, keys from the host as WM_CHAR. A panel whose controls do
// not fit its area gets a vertical scroll bar.
#pragma once
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/dialog.h"
#include "trade/ui/rules/host_pane.h"
#include "trade/ui/rules/trade_clock.h"
#include "trade/ui/windows/panel_scroller.h"

class CTradeSession;

// What the trading window's windows work with; outlives every window.
struct STradeWindowEnv {
  CTradeSession* session = nullptr;
  ITradeHostPane* host = nullptr;
  const ITradeClock* clock = nullptr;
  // The base address of custody page 0-13 ("" when none is set).
  std::function<std::string(int page)> custodyBase;
  // Ends the connection to the trade server (the main dialog's end does).
  std::function<void()> unlink;
};

class CTradePanel : public CDialog {
 public:
  // function: the function index the panel serves (0-29).
  CTradePanel(const platform::DialogTemplate& tpl, const STradeWindowEnv& env, int function);
  ~CTradePanel() override;

  int Function() const { return function_; }

  // Right after the panel's window exists and is placed (a custody page
  // opens here). FALSE when the panel cannot work.
  virtual BOOL OnPanelCreated() { return TRUE; }
  // A reply announcement relayed by the main dialog (WM_TRADE_HOLDINGS,
  // WM_TRADE_MAX_QTY ...): the panel refills from the session store.
  virtual void OnPanelMessage(UINT message) {}
  // WM_TRADE_QUOTE from the host through the main dialog (the order entry
  // takes kind 1, a name, and 3, a quote packet). 0 when not taken.
  virtual LRESULT OnTradeQuote(WPARAM kind, LPARAM data) { return 0; }

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The scroll bar a panel gets when its controls do not fit.
  const CPanelScroller& Scroller() const { return scroller_; }

 protected:
  CTradeSession& Session() const { return *env_.session; }
  ITradeHostPane& Host() const { return *env_.host; }
  const STradeWindowEnv& Env() const { return env_; }

 private:
  STradeWindowEnv env_;
  int function_;
  CPanelScroller scroller_{this};
};

// A child window's template in pixels (the trading window's windows place
// their controls themselves in OnSize).
platform::DialogTemplate TradeChildTemplate(int cx, int cy,
                                            std::span<const platform::DialogItem> items = {},
                                            DWORD style = WS_CHILD);

// True for the message ids the main dialog relays to its panel.
bool IsTradePanelMessage(UINT message);
