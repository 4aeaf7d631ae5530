// The trading window as the tests open it: a CMainDlg in a pane of its own
// (1000 x 640, so panels are 800 x 600), shown and active, registered with
// its session as InitDialog registers it.
#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "platform/testing/app.h"
#include "trade/core/trade_session.h"
#include "trade/ui/windows/main_dlg.h"

namespace tradeui_test {

class CTradeWindowOnPane {
 public:
  ~CTradeWindowOnPane() { Close(); }

  CMainDlg& Open(const STradeWindowEnv& env) {
    EXPECT_TRUE(pane.Create(nullptr, CRect(0, 0, 1000, 640), 0, WS_POPUP | WS_VISIBLE));
    dlg = std::make_unique<CMainDlg>(env);
    EXPECT_TRUE(dlg->CreateIn(pane.GetSafeHwnd()));
    env.session->SetMainWnd(dlg->GetSafeHwnd());
    dlg->MoveWindow(0, 0, 1000, 640);
    dlg->ShowWindow(SW_SHOW);
    EXPECT_TRUE(platform::testing::ShowAndActivate(pane.GetWidget()));
    return *dlg;
  }
  void Close() {
    if (dlg) dlg->DestroyWindow();
    dlg.reset();
    if (pane.IsCreated()) pane.DestroyWindow();
  }

  CWndImpl<QWidget> pane;
  std::unique_ptr<CMainDlg> dlg;
};

}  // namespace tradeui_test
