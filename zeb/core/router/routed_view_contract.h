// IRoutedView: what the command router needs of the view that fills the
// market pane, without the window. Every view of that pane (the quote
// list, the chart view) carries it through CRoutedView
// (zeb/shell/router/routed_view.h), the window that adds it to a view: the
// router tells it which item to show (SetCurItem), hands it the received
// packets (OnData, with their length), its keys (OnKey) and its commands
// (OnCommand, UpdateCommandUI). Bodies are lent for the call only. The
// router's tests drive it headless through this contract.
#pragma once
#include "platform/types.h"
#include "zeb/tables/base/cur_item.h"

class CCmdUI;

// Pages of the market pane's views (SCurItem::page).
constexpr int kPageChart = 512;
constexpr int kPageReport = 1024;

class IRoutedView {
 public:
  virtual ~IRoutedView() = default;

  // The page this view shows (kPageChart or kPageReport).
  virtual int GetViewPage() const = 0;

  // Copies the record; 0.
  virtual int SetCurItem(const SCurItem* item);
  // 1 when all 26 bytes equal the current item, else 0.
  virtual int IsCurItem(const SCurItem* item);
  // The item shown, as the router reads it (a view may bring fields that
  // follow the user, such as its page, up to date first).
  virtual const SCurItem* GetCurItem() { return &m_curItem; }
  // The shown item's code, copied to out (the quote list's selected row).
  virtual SCodeInfo* GetCodeInfo(SCodeInfo* out);

  // A received packet of length bytes; the view drops what is not its own.
  virtual int OnData(const void* body, int length) { return 0; }
  // A key the frame did not keep; data is the repeat count. Non-zero: taken.
  virtual int OnKey(UINT key, UINT data, UINT flags) { return 0; }
  // A command the router offers after its own action; non-zero: handled.
  virtual int OnCommand(int id) { return 0; }
  // Non-zero when the view set the command's state.
  virtual int UpdateCommandUI(CCmdUI* cmdUI) { return 0; }

  // ---- The chart view's operations the router calls (no-ops elsewhere) ----
  virtual int GetPageCode() const { return m_curItem.mode; }
  virtual void SetAnalysisKind(int kind) {}
  virtual void SetPanelPage(int page) {}
  virtual void ShowIndicator(const char* formulaName) {}
  // The big-order threshold changed: the chart view asks for the big orders
  // again when its panel shows them.
  virtual void RefreshBigOrders() {}
  // ---- Every view's ----
  // The colour and font scheme changed: take its colours again and repaint.
  virtual void OnSchemeChanged() = 0;
  // ---- The quote list's ----
  virtual void ReloadCurrentTab() {}

 protected:
  SCurItem m_curItem;
};
