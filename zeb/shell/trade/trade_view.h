// CTradeView: the trading pane, the view in the lower row of the main
// frame's splitter. It makes the trading library's window its child on its
// first update, keeps it over its whole client area as the pane changes
// size, and answers the trading window's questions (CTradeHostAnswers).
// It tells the main frame which window that is (ITradeHost), so quote
// replies meant for the trading window reach it.
#pragma once
#include "platform/wnd.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/trade/trade_host.h"

struct STradeEntries;

class CTradeView : public CView, public ITradeHost {
 public:
  // The trading window; null while there is none or once it is gone.
  HWND GetTradeWnd() const override;

  void OnInitialUpdate() override;
  void OnDraw(CDC* dc) override {}  // the trading window covers the pane
  // The window background of a view, under the trading window's
  // transparent parts (the splitter's dark colour would hide its labels).
  BOOL OnEraseBkgnd(CDC* dc) override;
  void OnSize(UINT type, int cx, int cy) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The trading library's entry points; null without an application object.
  static const STradeEntries* Trade();

  HWND m_hTradeWnd = nullptr;
};
