#include "trade/ui/windows/trust_business.h"

#include "trade/core/trade_session.h"
#include "trade/ui/rules/custody_pages.h"

CTrustBusiness::CTrustBusiness(const STradeWindowEnv& env, int function, int page)
    : CTradePanel(TradeChildTemplate(400, 300), env, function), page_(page) {}

std::string CTrustBusiness::PageAddress() const {
  const STradeAccount account = Session().GetAccount();
  const std::string base = Env().custodyBase ? Env().custodyBase(page_) : std::string();
  return CustodyAddress(base, account.userId, account.session);
}

BOOL CTrustBusiness::OnPanelCreated() {
  CRect client;
  GetClientRect(&client);
  auto web = std::make_unique<CTrustIECtrl>();
  if (!web->Create(this, client, CTrustIECtrl::kControlId, WS_CHILD | WS_VISIBLE)) return FALSE;
  web_ = std::move(web);
  web_->Navigate(PageAddress());
  return TRUE;
}

void CTrustBusiness::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  if (web_ && web_->IsCreated()) web_->MoveWindow(0, 0, cx, cy);
}
