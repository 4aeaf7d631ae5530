// The trading main dialog's behaviour without its widgets: which function
// is shown, relaying reply announcements and keys to the current panel,
// quotes for the held codes, the host's prices, the refresh timer and the
// idle lock. The dialog window owns one, forwards its messages, timers and
// clicks here and does what the view interface asks (create a panel, set
// the caption, hide for the lock).
#pragma once
#include <functional>
#include <string>

#include "platform/types.h"
#include "trade/ui/rules/function_table.h"
#include "trade/ui/rules/host_pane.h"
#include "trade/ui/rules/trade_clock.h"
#include "trade/host/trade_host_messages.h"

class CTradeSession;

// What the core asks of the dialog window.
class IMainDlgView {
 public:
  virtual ~IMainDlgView() = default;
  // Destroys the current panel (if any) and creates the panel of the
  // function, placed at (200, 40); returns its window handle (0 when it
  // could not be created). Redrawing is suspended meanwhile.
  virtual HWND ShowPanel(int functionIndex) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // Selects the function's tree item without showing anything.
  virtual void SelectTreeItem(int functionIndex) = 0;
  // Starts (or restarts) a window timer that ends up in OnTimer(id).
  virtual void StartTimer(UINT id, UINT ms) = 0;
  virtual void StopTimer(UINT id) = 0;
  // Hides every control and the panel and shows the lock dialog over the
  // client area (locked), or the reverse.
  virtual void ShowLocked(bool locked) = 0;
};

class CMainDlgCore {
 public:
  static constexpr UINT kLockTimerId = 100;
  static constexpr UINT kLockMs = 300000;
  static constexpr UINT kRefreshTimerId = 5;
  static constexpr UINT kRefreshMs = 10000;
  static constexpr UINT kFastRefreshMs = 3000;

  CMainDlgCore(IMainDlgView& view, ITradeHostPane& host, CTradeSession& session,
               const ITradeClock& clock = SystemTradeClock());

  // The tree items the dialog inserts, in order (35: groups included).
  const std::vector<STreeEntry>& Tree() const { return tree_; }
  // "欢迎您 %s 您上次的登录时间是%s" with the login reply's user name and time.
  std::string WelcomeText() const;

  // Dialog initialisation after the tree exists: shows function 0,
  // requests the holdings and starts the refresh timer.
  void OnInitDialog();
  // A mouse selection of a tree item with this text: shows its function
  // unless it is the current one or a group.
  void OnTreeClick(const std::string& itemText);
  // A quick button: shows its function, also when it is shown already.
  void OnQuickButton(int buttonId);
  // WM_TRADE_SELECT_FUNC: lParam 0-12 shows that function (result 0);
  // anything else is ignored (result 1).
  LRESULT OnSelectFunction(LPARAM function);
  // Shows function i (the panel switch).
  void ShowFunction(int index);
  int CurrentFunction() const { return current_; }
  HWND CurrentPanel() const { return panel_; }

  // WM_TRADE_REPLY: the panel message is posted on to the current panel.
  LRESULT OnReply(WPARAM panelMessage);
  // WM_TRADE_QUOTE: passed to the order-entry panel (functions 0 and 1) by
  // a send, so a lent packet stays valid; 0 when no order entry is shown.
  LRESULT OnQuote(WPARAM kind, LPARAM data);
  // WM_TRADE_SUBSCRIBE from the reply dispatch, and the refresh tick: the
  // held codes go to the host for quotes.
  LRESULT OnSubscribe();
  // WM_TRADE_PRICES: the first holding row of each code takes its price;
  // the panel is told to redraw its holdings.
  LRESULT OnPrices(const TradePriceMap* prices);
  // WM_REFRESH_TIMER: 1 restarts the refresh at 3000 ms, else stops it.
  LRESULT OnRefreshTimer(WPARAM start);
  // WM_TRADE_KEY: sent on to the current panel as WM_CHAR.
  LRESULT OnKey(WPARAM key, LPARAM data);

  // Every WM_KEYDOWN or WM_CHAR the dialog sees restarts the idle lock.
  void OnKeyInput();
  // WM_TIMER of the dialog.
  void OnTimer(UINT id);
  // 锁定, and the idle lock.
  void Lock();
  // WM_TRADE_UNLOCK from the lock dialog.
  LRESULT OnUnlock();
  bool IsLocked() const { return locked_; }

  // 安全退出: the host leaves trading. 打印: not offered.
  void OnLeave();
  void OnPrint();

 private:
  IMainDlgView& view_;
  ITradeHostPane& host_;
  CTradeSession& session_;
  const ITradeClock& clock_;
  std::vector<STreeEntry> tree_;
  int current_ = -1;
  HWND panel_ = nullptr;
  bool locked_ = false;
  CDeadlineTimer lockTimer_;
  CDeadlineTimer refreshTimer_;
};
