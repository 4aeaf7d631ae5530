// The simulators' readers of client requests: the trade simulator's
// handlers on requests of any fields (framed and summed, after a login, so
// every handler is reached), the custody page server's address reader and
// the quote simulator's readers of item-code requests (quote lists, the
// trading window's prices and single quotes, the alarm quotes, the
// information texts).
#include <cstddef>
#include <cstdint>
#include <string>

#include "custody_sim.h"
#include "sim/market/demo_market.h"
#include "sim/quote-server/info_items.h"
#include "sim/quote-server/market_walk.h"
#include "sim/quote-server/quote_lists.h"
#include "sim/quote-server/quote_replies.h"
#include "platform/gbk.h"
#include "trade/core/trade_codec.h"
#include "trade_sim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CTradeSimServer* server = [] {
    STradeSimOptions o;
    o.tls = false;
    o.log = false;
    o.today = "2024-05-20";
    return new CTradeSimServer(o);
  }();
  static std::string session = [] {
    TagFieldList login;
    AddStringField(login, 1, "u01");
    AddStringField(login, 91, "9d4e1e23bd5b727046a9e3b4b7db57bd8d6ee684");  // SHA-1 of "pass"
    auto m = BuildTradeMessage(0, "1001", 0, false, &login, 2, "");
    TagMap reply;
    std::string error;
    const std::string bytes = server->Answer(std::string(m->Data(), m->Size()), 1);
    ParseTradeMessage(bytes.data(), static_cast<int>(bytes.size()), reply, nullptr, nullptr,
                      nullptr, nullptr, error);
    return GetFieldText(reply, 336);
  }();
  static sim::MarketWalk* walk = [] {
    auto* made = new sim::MarketWalk(1);
    made->Load(BuildDemoMarketTable());
    return made;
  }();
  static sim::QuoteLists* lists = new sim::QuoteLists(*walk);
  const std::string text(reinterpret_cast<const char*>(data), size);
  CCustodySimServer::Answer(text);
  lists->Answer(1, text);
  lists->AnswerList(sim::kTradeQuotesType, text);
  lists->AnswerSingle(text);
  sim::AnswerInfoRequest(text, 0);

  // The input's fields become a request: the first is its type.
  TagMap fields;
  std::string error;
  ParseTradeMessage(text.data(), static_cast<int>(text.size()), fields, nullptr, nullptr, nullptr,
                    nullptr, error);
  TagFieldList body;
  std::string type = "1011";
  for (const auto& [tag, values] : fields) {
    if (tag == 1035) {
      type = values.front();
      continue;
    }
    for (const std::string& v : values) AddStringField(body, tag, v);
  }
  auto request = BuildTradeMessage(0, type.c_str(), 0, false, &body, 2, session.c_str());
  server->Answer(std::string(request->Data(), request->Size()), 2);
  return 0;
}
