// The trading main dialog as InitDialog makes it, registered with the
// session store before its panels ask the server.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/app.h"
#include "platform/wnd.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"
#include "trade/ui/app/main_dlg_factory.h"

namespace {

// The dialog's panels ask the server as they open; a reply that came back
// before the dialog was registered would be announced to no window and
// lost.
TEST(TradeMainDialogCreation, TheDialogIsRegisteredBeforeItsPanelsAskTheServer) {
  platform::testing::EnsureApplication();
  CTradeSession* session = CTradeSession::GetInstance();
  std::vector<HWND> registeredAtSend;
  ScopedTradeSinks sinks(
      STradeSinks{nullptr, [](const std::string&, UINT) { return IDOK; }, nullptr,
                  [&](const char*, int) { registeredAtSend.push_back(session->GetMainWnd()); }});
  CWndImpl<QWidget> pane;
  ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 1000, 640), 0, WS_POPUP));
  std::unique_ptr<ITradeMainDialog> dialog = CreateTradeMainDialog(pane.GetSafeHwnd());
  ASSERT_NE(dialog, nullptr);
  const std::vector<HWND> whileOpening = registeredAtSend;
  ASSERT_FALSE(whileOpening.empty());
  for (HWND registered : whileOpening) EXPECT_EQ(registered, dialog->GetSafeHwnd());
  session->SetMainWnd(nullptr);
  dialog->Destroy();
  dialog.reset();
  pane.DestroyWindow();
}

}  // namespace
