// The trading pane's answers (trade_host.h).
#include "zeb/core/trade/trade_host.h"

#include <cstring>

#include "platform/window.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/core/trade/trade_requests.h"

namespace {

int32_t CodeOf(WPARAM wParam) { return int32_t(wParam); }

}  // namespace

bool CTradeHostAnswers::IsQuestion(UINT message) {
  switch (message) {
    case WM_TRADE_HIDE:
    case WM_TRADE_ASK_QUOTE:
    case WM_TRADE_GET_NAME:
    case WM_TRADE_FIND_CODE:
    case WM_TRADE_GET_PRECLOSE:
    case WM_TRADE_SUBSCRIBE:
    case WM_TRADE_GET_CODES: return true;
    default: return false;
  }
}

bool CTradeHostAnswers::Answer(UINT message, WPARAM wParam, LPARAM lParam, HWND trade,
                               LRESULT* result) {
  switch (message) {
    case WM_TRADE_HIDE: *result = Leave(); return true;
    case WM_TRADE_ASK_QUOTE: *result = AskQuote(CodeOf(wParam)); return true;
    case WM_TRADE_GET_NAME: *result = SendName(CodeOf(wParam), trade); return true;
    case WM_TRADE_FIND_CODE:
      *result = FindCode(CodeOf(wParam), reinterpret_cast<int*>(lParam));
      return true;
    case WM_TRADE_GET_PRECLOSE:
      *result = GetPreClose(CodeOf(wParam), reinterpret_cast<uint32_t*>(lParam));
      return true;
    case WM_TRADE_SUBSCRIBE:
      *result = Subscribe(reinterpret_cast<const TradeCodeList*>(wParam));
      return true;
    case WM_TRADE_GET_CODES:
      *result = GetCodes(reinterpret_cast<TradeHostCodes*>(lParam));
      return true;
    default: return false;
  }
}

LRESULT CTradeHostAnswers::AskQuote(int32_t code) {
  const std::vector<uint8_t> request =
      BuildSingleQuoteRequest(code, uint16_t(CPublic::GetRequestTag()));
  m_store.SendRequest(request.data(), int(request.size()), kRequestQuoteData);
  return 1;
}

LRESULT CTradeHostAnswers::SendName(int32_t code, HWND trade) {
  const SCodeInfo key{GetMarketOfCode(code), code};
  const SStockInfo* item = m_store.FindStock(&key);
  if (!item) return 0;
  char name[kStockNameSize + 1] = {};
  std::memcpy(name, item->name, kStockNameSize);
  ::SendMessage(trade, WM_TRADE_QUOTE, 1, reinterpret_cast<LPARAM>(name));
  return 1;
}

LRESULT CTradeHostAnswers::FindCode(int32_t code, int* known) {
  if (!known) return 0;
  *known = m_store.GetCodeKey(uint32_t(code)).code != 0 ? 1 : 0;
  return 1;
}

LRESULT CTradeHostAnswers::GetPreClose(int32_t code, uint32_t* preClose) {
  const SCodeInfo key{GetMarketOfCode(code), code};
  const SStockInfo* item = m_store.FindStock(&key);
  if (!item || !preClose) return 0;
  *preClose = item->preClose;
  return 1;
}

LRESULT CTradeHostAnswers::Subscribe(const TradeCodeList* codes) {
  if (!codes) return 1;
  if (codes->empty()) return 0;
  for (const std::vector<uint8_t>& request :
       BuildSubscriptionRequests(*codes, uint16_t(CPublic::GetRequestTag())))
    m_store.SendRequest(request.data(), int(request.size()), kRequestQuoteData);
  return 1;
}

LRESULT CTradeHostAnswers::GetCodes(TradeHostCodes* codes) {
  if (!codes) return 0;
  *codes = m_store.GetTradeCodes();
  return 1;
}

LRESULT CTradeHostAnswers::Leave() {
  ::PostMessage(m_store.GetMainWnd(), WM_TRADE_HIDE, 0, 0);
  return 0;
}
