// CRoutedView: the window of a view in the market pane. Every view of that
// pane (the quote list, the chart view) derives from it, directly or
// through the display framework's view base; it is a CView that carries
// the command router's contract (IRoutedView, zeb/core/router/), so the
// main frame finds it among the splitter's panes and the router reaches it
// through the contract alone.
#pragma once
#include "platform/menu.h"
#include "platform/wnd.h"
#include "zeb/core/router/routed_view_contract.h"

class CRoutedView : public CView, public IRoutedView {
 public:
  // The window's command message and the router's command, side by side.
  using CView::OnCommand;
  using IRoutedView::OnCommand;

  // Repaints the view when it has a window.
  void OnSchemeChanged() override;
};
