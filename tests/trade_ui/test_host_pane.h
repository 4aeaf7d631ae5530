// A trading pane of our own, standing in for the program's: a window that
// answers the trading window's questions about items from a small table
// (code known, name, previous close, a five-level quote, prices of the held
// codes) by the same messages the program's pane uses, and places the
// trading window over itself when it is resized.
#pragma once
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/wnd.h"
#include "trade/host/trade_host_messages.h"
#include "trade/host/trade_exports.h"
#include "trade/ui/rules/quote_packet.h"

namespace tradeui_test {

class CTestHostPane : public CWndImpl<QWidget> {
 public:
  struct SItem {
    std::string name;  // GBK
    uint32_t preClose = 0;
    uint32_t last = 0;  // thousandths
  };
  std::map<int, SItem> items;
  HWND trading = nullptr;  // the trading window InitDialog gave
  PFN_MoveDlg moveDlg = nullptr;
  std::vector<UINT> asked;  // the trading window's messages, in order
  std::vector<TradeCodeList> subscriptions;
  int leaves = 0;

  // The 0x0800 packet of an item: code, high, low and last, then ten
  // levels around the last price (asks above, bids below).
  static std::vector<unsigned char> QuotePacket(int code, uint32_t last) {
    std::vector<unsigned char> p(kSingleQuoteMinLength, 0);
    auto put = [&p](size_t at, uint32_t v) { std::memcpy(&p[at], &v, 4); };
    p[0] = 0x00;
    p[1] = 0x08;
    put(6, static_cast<uint32_t>(code));
    put(20, last + 500);
    put(24, last - 500);
    put(28, last);
    for (int i = 0; i < 10; ++i) {
      const int step = i < 5 ? 5 - i : 4 - i;  // 卖⑤..卖① above, 买①..买⑤ below
      put(61 + 8 * i, last + static_cast<uint32_t>(step * 10));
      put(65 + 8 * i, static_cast<uint32_t>(100 * (i + 1)));
    }
    return p;
  }

  LRESULT WindowProc(UINT message, WPARAM w, LPARAM l) override {
    const int code = static_cast<int>(w);
    auto found = items.find(code);
    switch (message) {
      case WM_TRADE_FIND_CODE:
        asked.push_back(message);
        *reinterpret_cast<int*>(l) = found != items.end() ? 1 : 0;
        return 1;
      case WM_TRADE_GET_NAME: {
        asked.push_back(message);
        if (found == items.end()) return 0;
        char name[61] = {};
        std::strncpy(name, found->second.name.c_str(), 60);
        ::SendMessage(trading, WM_TRADE_QUOTE, 1, reinterpret_cast<LPARAM>(name));
        return 1;
      }
      case WM_TRADE_ASK_QUOTE: {
        asked.push_back(message);
        if (found == items.end()) return 1;
        const std::vector<unsigned char> bytes = QuotePacket(code, found->second.last);
        STradeQuotePacket packet{bytes.data(), static_cast<int>(bytes.size())};
        ::SendMessage(trading, WM_TRADE_QUOTE, 3, reinterpret_cast<LPARAM>(&packet));
        return 1;
      }
      case WM_TRADE_GET_PRECLOSE:
        asked.push_back(message);
        if (found == items.end()) return 0;
        *reinterpret_cast<uint32_t*>(l) = found->second.preClose;
        return 1;
      case WM_TRADE_SUBSCRIBE: {
        asked.push_back(message);
        const auto* codes = reinterpret_cast<const TradeCodeList*>(w);
        if (!codes) return 1;
        subscriptions.push_back(*codes);
        TradePriceMap prices;
        for (const std::string& c : *codes) {
          auto item = items.find(std::atoi(c.c_str()));
          if (item != items.end()) prices[item->first] = item->second.last / 1000.0;
        }
        ::SendMessage(trading, WM_TRADE_PRICES, reinterpret_cast<WPARAM>(&prices), 0);
        return codes->empty() ? 0 : 1;
      }
      case WM_TRADE_HIDE: ++leaves; return 0;
      default: return CWndImpl<QWidget>::WindowProc(message, w, l);
    }
  }

  void OnSize(UINT type, int cx, int cy) override {
    CWndImpl<QWidget>::OnSize(type, cx, cy);
    if (moveDlg && cx != 0 && cy != 0) moveDlg(RECT{0, 0, cx, cy});
  }
};

}  // namespace tradeui_test
