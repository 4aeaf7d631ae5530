// The reply dispatcher on arbitrary bodies given a sound trailer, so the
// fuzzer reaches the parsers of every reply type.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScopedTradeSinks sinks(STradeSinks{[](HWND, UINT, WPARAM, LPARAM) { return TRUE; },
                                            [](const std::string&, UINT) { return IDNO; },
                                            [](int) {}, [](const char*, int) {}});
  static CTradeSession session;
  session.SetMainWnd(reinterpret_cast<HWND>(0x1));
  std::string block(reinterpret_cast<const char*>(data), size);
  char trailer[16];
  std::snprintf(trailer, sizeof trailer, "1010=%03d\x01",
                CalcTradeChecksum(block.data(), static_cast<int>(block.size())));
  block += trailer;
  session.DispatchReply(block.data(), static_cast<int>(block.size()));
  return 0;
}
