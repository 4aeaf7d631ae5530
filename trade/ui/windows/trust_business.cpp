#include "trade/ui/windows/trust_business.h"

#include "trade/core/trade_session.h"
#include "trade/ui/rules/custody_pages.h"

namespace {
platform::DialogTemplate PanelTemplate() {
  platform::DialogTemplate t;
  t.cx = 400;
  t.cy = 300;
  t.style = WS_CHILD;
  t.dialogUnits = false;
  return t;
}
}  // namespace

CTrustBusiness::CTrustBusiness(const STradeWindowEnv& env, int function, int page)
    : CTradePanel(PanelTemplate(), env, function), page_(page) {}

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
