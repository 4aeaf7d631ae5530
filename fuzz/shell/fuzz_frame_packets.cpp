// Packets from the quote server as the main frame's dispatcher takes them:
// any bytes, whole and as a shorter tail, must be dispatched without
// reading past the body or writing into it; what reaches the router is the
// body as received, and the notice it keeps stays within the text it got.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "sharecode/mythread.h"
#include "zeb/core/frame/quote_traffic.h"
#include "zeb/store/public_store.h"

namespace {

struct CheckingHost : IQuoteTrafficHost {
  const uint8_t* body = nullptr;
  int length = 0;
  void Route(const void* routed, int routedLength) const {
    if (routed != body || routedLength != length) std::abort();
  }
  void RebuildKeyboardIndex() override {}
  HWND TradeWindow() override { return nullptr; }
  bool AskData(const void*, int) override { return true; }
  void SelectCode(SCodeInfo) override {}
  void RunTypedCommand(const char*) override {}
  void OpenBlock(const char*) override {}
  void ShowIndicator(const char*) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  static CPublic store;
  static const bool quiet = [] {
    CMyThread::SetTraceSink([](const std::string&) {});
    return true;
  }();
  (void)quiet;
  CheckingHost host;
  for (int mode : {1, 2}) {
    store.SetLoginMode(mode);
    for (size_t skip : {size_t(0), size / 3}) {
      CQuoteTraffic traffic(host, store);
      traffic.route = [&host](const void* routed, int routedLength) {
        host.Route(routed, routedLength);
      };
      traffic.programDir = [] { return std::string("/nonexistent/"); };
      // Exact-size copies so any over-read is caught.
      const std::vector<uint8_t> original(data + skip, data + size);
      std::vector<uint8_t> body = original;
      host.body = body.data();
      host.length = static_cast<int>(body.size());
      traffic.OnQuotePacket(body.data(), static_cast<int>(body.size()));
      if (body != original) std::abort();
      if (traffic.Notice().text.size() > body.size()) std::abort();
    }
  }
  return 0;
}
