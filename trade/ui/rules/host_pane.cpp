#include "trade/ui/rules/host_pane.h"

#include "platform/window.h"
#include "trade/host/trade_host_messages.h"

bool CHostPaneLink::FindCode(int code) {
  int known = 0;
  ::SendMessage(pane_, WM_TRADE_FIND_CODE, static_cast<WPARAM>(code),
                reinterpret_cast<LPARAM>(&known));
  return known == 1;
}

void CHostPaneLink::AskName(int code) {
  ::PostMessage(pane_, WM_TRADE_GET_NAME, static_cast<WPARAM>(code), 0);
}

void CHostPaneLink::AskQuote(int code) {
  ::PostMessage(pane_, WM_TRADE_ASK_QUOTE, static_cast<WPARAM>(code), 0);
}

uint32_t CHostPaneLink::GetPreClose(int code) {
  uint32_t preClose = 0;
  ::SendMessage(pane_, WM_TRADE_GET_PRECLOSE, static_cast<WPARAM>(code),
                reinterpret_cast<LPARAM>(&preClose));
  return preClose;
}

void CHostPaneLink::Subscribe(const std::vector<std::string>& codes) {
  TradeCodeList list(codes);
  ::SendMessage(pane_, WM_TRADE_SUBSCRIBE, reinterpret_cast<WPARAM>(&list), 0);
}

void CHostPaneLink::Leave() { ::PostMessage(pane_, WM_TRADE_HIDE, 0, 0); }
