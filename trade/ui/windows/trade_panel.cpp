#include "trade/ui/windows/trade_panel.h"

#include "trade/ui/rules/trade_ui_messages.h"

platform::DialogTemplate TradeChildTemplate(int cx, int cy,
                                            std::span<const platform::DialogItem> items,
                                            DWORD style) {
  return platform::PixelTemplate(cx, cy, items, style);
}

CTradePanel::CTradePanel(const platform::DialogTemplate& tpl, const STradeWindowEnv& env,
                         int function)
    : CDialog(tpl), env_(env), function_(function) {}

CTradePanel::~CTradePanel() = default;

bool IsTradePanelMessage(UINT message) {
  return (message >= WM_TRADE_ISSUES && message <= WM_TRADE_APPLY_RESULT) ||
         (message >= WM_TRADE_TRANSFERS && message <= WM_TRADE_FLOW_HISTORY);
}

LRESULT CTradePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsTradePanelMessage(message)) {
    OnPanelMessage(message);
    return 1;
  }
  if (message == WM_TRADE_QUOTE) return OnTradeQuote(wParam, lParam);
  if (message == WM_SIZE) {
    // The panel lays its controls out first (OnSize), then they scroll.
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    scroller_.Fit(LOWORD(lParam), HIWORD(lParam));
    return result;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
