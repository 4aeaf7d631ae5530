#include "trade/core/trade_vocab.h"

#include <cstring>

#include "platform/gbk.h"
#include "trade/core/trade_codec.h"

const char* GetOrderStatusText(const std::string& status) {
  switch (TradeAtoi(status)) {
    case 1: return GBK("已提交");
    case 2: return GBK("成交");
    case 3: return GBK("部分成交");
    case 4: return GBK("已撤单");
    case 5: return GBK("交易所拒绝");
    case 6: return GBK("已冻结");
    case 7: return GBK("其他");
    default: return "";
  }
}

const char* GetOrderTypeText(const std::string& orderType) {
  struct Entry {
    const char* code;
    const char* label;
  };
  static const Entry kTypes[] = {
      {"0B", "限价买"},       {"0S", "限价卖"},       {"0C", "限价撤"},       {"7B", "新股申购"},
      {"7C", "申购撤单"},     {"XB", "本方最优买"},   {"XS", "本方最优卖"},   {"XC", "本方最优撤"},
      {"YB", "对手方最优买"}, {"YS", "对手方最优卖"}, {"YC", "对手方最优撤"},
  };
  for (const Entry& e : kTypes)
    if (orderType == e.code) return platform::GbkLiteral(e.label);
  return "";
}

const char* GetAllotKindText(const std::string& kind) {
  if (kind == "0") return GBK("配号");
  if (kind == "1") return GBK("中签");
  return "";
}
