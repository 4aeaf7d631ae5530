// The stub trading library (stub_trade.h). Linking makes it "connected" at
// once and tells the notify window so, as the real library does once its
// secure socket is up and the login is accepted.
#include "stub_trade.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/window.h"
#include "platform/wnd.h"
#include "trade/host/trade_exports.h"
#include "zeb/messages.h"

#define STUB_API extern "C" __attribute__((visibility("default")))

namespace {

SStubTradeLog& Log() {
  static SStubTradeLog log;
  return log;
}

class CStubTradeWindow : public CWndImpl<QWidget> {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_TRADE_QUOTE) {
      SStubTradeMessage got{message, wParam, ""};
      if (wParam == 1 && lParam) got.data = reinterpret_cast<const char*>(lParam);
      if (wParam == 3 && lParam) {
        const auto* packet = reinterpret_cast<const STradeQuotePacket*>(lParam);
        got.data.assign(static_cast<const char*>(packet->data), size_t(packet->length));
      }
      Log().received.push_back(got);
      return 1;
    }
    if (message == WM_TRADE_PRICES) {
      SStubTradeMessage got{message, 0, ""};
      for (const auto& [code, price] : *reinterpret_cast<const TradePriceMap*>(wParam)) {
        char pair[48];
        std::snprintf(pair, sizeof pair, "%d=%.2f;", code, price);
        got.data += pair;
      }
      Log().received.push_back(got);
      return 1;
    }
    return CWndImpl<QWidget>::WindowProc(message, wParam, lParam);
  }
};

std::unique_ptr<CStubTradeWindow>& Window() {
  static std::unique_ptr<CStubTradeWindow> window;
  return window;
}

}  // namespace

STUB_API SStubTradeLog* StubTradeLog() { return &Log(); }

STUB_API HWND InitDialog(HWND host) {
  Log().calls.push_back("InitDialog");
  if (!Log().linked) return nullptr;
  if (!Window()) {
    CWnd* pane = CWnd::FromHandle(host);
    auto window = std::make_unique<CStubTradeWindow>();
    if (!pane || !window->Create(pane, RECT{0, 0, 10, 10}, 6000, WS_CHILD)) return nullptr;
    Log().host = host;
    Log().window = window->GetSafeHwnd();
    Window() = std::move(window);
  }
  return Window()->GetSafeHwnd();
}

STUB_API int MoveDlg(RECT r) {
  char call[64];
  std::snprintf(call, sizeof call, "MoveDlg %ld %ld %ld %ld", long(r.left), long(r.top),
                long(r.right), long(r.bottom));
  Log().calls.push_back(call);
  if (!Log().linked || !Window()) return 0;
  Window()->MoveWindow(&r);
  Window()->ShowWindow(SW_SHOW);
  return 1;
}

STUB_API int DestoryDialog() {
  Log().calls.push_back("DestoryDialog");
  if (Window()) {
    Window()->DestroyWindow();
    Window().reset();
    Log().window = nullptr;
  }
  return 1;
}

STUB_API int Link2Server(HWND, UINT, const char*, const char*, const char*, int) {
  Log().calls.push_back("Link2Server");
  return 1;
}

STUB_API int LinkTradeServer(HWND notify, UINT message, const char*, const char*, BOOL, const char*,
                             int, const char*, int, const char*, int, const char*, int, const char*,
                             int) {
  Log().calls.push_back("LinkTradeServer");
  Log().linked = true;
  ::PostMessage(notify, message, 1, 0);
  ::PostMessage(notify, message, 1, 1);
  return 1;
}

STUB_API int InitBalanceServer(const char*, int, int, void*, int) {
  Log().calls.push_back("InitBalanceServer");
  return -1;
}

STUB_API void UnLink() {
  Log().calls.push_back("UnLink");
  Log().linked = false;
}

#ifndef STUB_TRADE_WITHOUT_KEYMESSAGE
STUB_API int KeyMessage(int, int) { return 0; }
#endif

STUB_API int QuickOrder(int, int, int, int, int) { return 1; }

STUB_API BYTE GetUserInfo(std::string* out) {
  if (!out) return 0;
  out[0] = "stub";
  out[1] = "u01";
  return 1;
}
