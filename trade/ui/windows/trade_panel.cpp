#include "trade/ui/windows/trade_panel.h"

#include "trade/ui/rules/trade_ui_messages.h"

namespace {
// A panel's own size does not matter: the main dialog places it.
const platform::DialogTemplate kEmptyPanel = [] {
  platform::DialogTemplate t;
  t.cx = 400;
  t.cy = 300;
  t.style = WS_CHILD;
  t.dialogUnits = false;
  return t;
}();
}  // namespace

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
  return CDialog::WindowProc(message, wParam, lParam);
}

std::unique_ptr<CTradePanel> MakeEmptyTradePanel(const STradeWindowEnv& env, int function) {
  return std::make_unique<CTradePanel>(kEmptyPanel, env, function);
}
