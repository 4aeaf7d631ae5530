#include "trade/core/trade_sinks.h"

#include <cstdlib>

#include "platform/msgbox.h"
#include "platform/window.h"

namespace {

STradeSinks Defaults() {
  STradeSinks s;
  s.post = [](HWND wnd, UINT msg, WPARAM w, LPARAM l) { return ::PostMessage(wnd, msg, w, l); };
  s.box = [](const std::string& text, UINT type) { return ::AfxMessageBox(text.c_str(), type); };
  s.exitProcess = [](int code) {
    platform::CallOnUiThread([code]() -> LRESULT { std::_Exit(code); });
  };
  return s;
}

STradeSinks& Current() {
  static STradeSinks sinks = Defaults();
  return sinks;
}

}  // namespace

const STradeSinks& GetTradeSinks() { return Current(); }

ScopedTradeSinks::ScopedTradeSinks(STradeSinks sinks) : previous_(Current()) {
  STradeSinks defaults = Defaults();
  if (!sinks.post) sinks.post = defaults.post;
  if (!sinks.box) sinks.box = defaults.box;
  if (!sinks.exitProcess) sinks.exitProcess = defaults.exitProcess;
  Current() = std::move(sinks);
}

ScopedTradeSinks::~ScopedTradeSinks() { Current() = previous_; }
