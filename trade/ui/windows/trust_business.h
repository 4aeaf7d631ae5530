// CTrustBusiness: the panel of the custody functions (托管业务). It opens
// its page in a CTrustIECtrl over its whole client area: the page's base
// address from "zeb.ini", then the account and the session of this login
// (percent-encoded by the custody rules).
#pragma once
#include <memory>

#include "trade/ui/windows/trade_panel.h"
#include "trade/ui/windows/trust_ie_ctrl.h"

class CTrustBusiness : public CTradePanel {
 public:
  static constexpr int kTemplateId = 7004;

  CTrustBusiness(const STradeWindowEnv& env, int function, int page);

  int Page() const { return page_; }
  // The address the page opens with.
  std::string PageAddress() const;
  CTrustIECtrl* GetWebView() const { return web_.get(); }

  // Opens the page: the web view is made and navigates. FALSE when the
  // view could not be made.
  BOOL OnPanelCreated() override;
  void OnSize(UINT type, int cx, int cy) override;

 private:
  int page_;
  std::unique_ptr<CTrustIECtrl> web_;
};
