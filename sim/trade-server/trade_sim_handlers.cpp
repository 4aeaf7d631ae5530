// The simulated account: what each request does and what it answers.
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "trade/core/trade_messages.h"
#include "trade_sim.h"

namespace {

struct Product {
  const char* code;
  const char* name;
  double price;
};
const Product kProducts[] = {
    {"600001", "壬辰龙年邮票", 10.0}, {"600002", "熊猫金币", 20.0}, {"600003", "生肖卡片", 5.0}};

const Product* FindProduct(const std::string& code) {
  for (const Product& p : kProducts)
    if (code == p.code) return &p;
  return nullptr;
}

std::string Money(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

const char* kToday = "2024-05-20";

}  // namespace

void CTradeSimServer::AddOrderList(TagFieldList& body, bool today) {
  AddIntField(body, 9003, static_cast<int>(orders_.size()));
  for (const Order& o : orders_) {
    const Product* p = FindProduct(o.code);
    AddStringField(body, 48, o.code);
    AddStringField(body, 40, o.type);
    AddStringField(body, 44, o.price);
    AddStringField(body, 132, o.qty);
    AddStringField(body, 9402, p ? GBK(p->name) : "");
    AddStringField(body, 150, o.status);
    AddStringField(body, 32, o.dealt);
    AddStringField(body, 9210, today ? "0" : "1");
    AddStringField(body, 37, o.no);
    AddStringField(body, 9205, o.time);
  }
}

std::string CTradeSimServer::Handle(const TagMap& req, int requestNumber) {
  const std::string type = GetFieldText(req, 1035);
  const std::string replyType = std::to_string(TradeAtoi(type) + 1);
  const char* rt = replyType.c_str();
  TagFieldList body;

  if (type == MT_LOGIN) {
    if (GetFieldText(req, 1) != options_.user || GetFieldText(req, 91) != digest_) {
      Log("login refused");
      return Reply(rt, req, "5", GBK("用户名或密码错误"), {});
    }
    {
      std::lock_guard<std::recursive_mutex> g(lock_);
      session_ = "SIM" + std::to_string(1000 + requestNumber);
    }
    AddStringField(body, 9103, GBK("测试用户"));
    AddStringField(body, 9104, "0");
    AddStringField(body, 9105, "2024-05-20 09:00:00");
    AddStringField(body, 9111, "");
    AddStringField(body, 9112, "1");
    AddStringField(body, 9113, "ICBC");
    AddStringField(body, 9114, "6222000011112222");
    AddStringField(body, 9115, GBK("测试用户"));
    AddStringField(body, 9116, "1");
    AddStringField(body, 9117, "C001");
    AddStringField(body, 9118, "");
    AddStringField(body, 9119, "110101199001011234");
    AddStringField(body, 9120, "13900000000");
    AddStringField(body, 9121, "FORBIDED");
    AddStringField(body, 9122, "1");
    AddStringField(body, 9305, GBK("工商银行"));
    return Reply(rt, req, "0", "", body);
  }

  std::string session;
  {
    std::lock_guard<std::recursive_mutex> g(lock_);
    session = session_;
  }
  if (session.empty() || GetFieldText(req, 336) != session)
    return Reply(rt, req, "3", GBK("未登录"), {});

  std::lock_guard<std::recursive_mutex> g(lock_);
  if (type == MT_CHANGE_PWD) {
    if (GetFieldText(req, 91) != digest_) return Reply(rt, req, "6", GBK("原密码错误"), {});
    digest_ = GetFieldText(req, 9107);
    return Reply(rt, req, "0", "", {});
  }
  if (type == MT_ORDER) {
    const Product* p = FindProduct(GetFieldText(req, 48));
    const std::string orderType = GetFieldText(req, 40);
    const double price = std::atof(GetFieldText(req, 44).c_str());
    const long qty = std::atol(GetFieldText(req, 132).c_str());
    if (!p || qty <= 0 || price <= 0 || orderType.size() != 2)
      return Reply(rt, req, "7", GBK("委托参数错误"), {});
    Order o{std::to_string(nextOrderNo_++), p->code, orderType, GetFieldText(req, 44),
            std::to_string(qty), "1", "0", "10:00:00"};
    const bool buy = orderType[1] == 'B';
    Holding& h = holdings_[p->code];
    if (buy && price * qty > funds_) {
      o.status = "5";
    } else if (!buy && h.qty < qty) {
      o.status = "5";
    } else if ((buy && price >= p->price) || (!buy && price <= p->price)) {
      // Crosses the market: dealt at once at the market price.
      o.status = "2";
      o.dealt = o.qty;
      if (buy) {
        funds_ -= p->price * qty;
        h.cost = (h.cost * h.qty + p->price * qty) / (h.qty + qty);
        h.qty += qty;
      } else {
        funds_ += p->price * qty;
        h.qty -= qty;
      }
      deals_.push_back(o);
      deals_.back().price = Money(p->price);
    } else if (buy) {
      frozen_ += price * qty;
      funds_ -= price * qty;
    }
    orders_.push_back(o);
    AddStringField(body, 150, o.status);
    AddStringField(body, 37, o.no);
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_CANCEL) {
    for (Order& o : orders_) {
      if (o.no != GetFieldText(req, 37)) continue;
      if (o.status != "1") return Reply(rt, req, "8", GBK("该委托不能撤单"), {});
      o.status = "4";
      if (o.type[1] == 'B') {
        const double amount = std::atof(o.price.c_str()) * std::atol(o.qty.c_str());
        frozen_ -= amount;
        funds_ += amount;
      }
      AddStringField(body, 150, "4");
      AddStringField(body, 37, o.no);
      return Reply(rt, req, "0", "", body);
    }
    return Reply(rt, req, "8", GBK("无此委托"), {});
  }
  if (type == MT_MAX_QTY) {
    const Product* p = FindProduct(GetFieldText(req, 48));
    if (!p) return Reply(rt, req, "7", GBK("无此藏品"), {});
    AddIntField(body, 9801, static_cast<int>(funds_ / p->price));
    AddStringField(body, 9802, "1");
    AddIntField(body, 9803, static_cast<int>(holdings_[p->code].qty));
    AddStringField(body, 9804, "1");
    AddStringField(body, 9805, Money(funds_));
    AddIntField(body, 9806, static_cast<int>(holdings_[p->code].qty));
    AddStringField(body, 9633, Money(p->price * 1.1));
    AddStringField(body, 9634, Money(p->price * 0.9));
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_HOLDINGS) {
    int n = 0;
    for (const auto& h : holdings_) n += h.second.qty > 0;
    AddIntField(body, 9003, n);
    for (const auto& [code, h] : holdings_) {
      if (h.qty <= 0) continue;
      const Product* p = FindProduct(code);
      AddStringField(body, 48, code);
      AddStringField(body, 9402, p ? GBK(p->name) : "");
      AddIntField(body, 9403, static_cast<int>(h.qty));
      AddIntField(body, 9405, static_cast<int>(h.qty));
      AddStringField(body, 9407, Money(h.cost));
      AddStringField(body, 9404, "0");
      AddStringField(body, 9406, "0");
      AddStringField(body, 31, Money(p ? p->price : 0));
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_FUNDS) {
    AddStringField(body, 9301, options_.user);
    AddStringField(body, 9103, GBK("测试用户"));
    AddStringField(body, 9315, Money(funds_ + frozen_));
    AddStringField(body, 9312, Money(funds_));
    AddStringField(body, 9316, Money(funds_));
    AddStringField(body, 9313, Money(frozen_));
    AddStringField(body, 9317, "0.00");
    AddStringField(body, 9314, "0.00");
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ORDERS || type == MT_QRY_HIS_ORDERS) {
    AddOrderList(body, type == MT_QRY_ORDERS);
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_DEALS || type == MT_QRY_HIS_DEALS) {
    AddIntField(body, 9003, static_cast<int>(deals_.size()));
    for (const Order& d : deals_) {
      const Product* p = FindProduct(d.code);
      AddStringField(body, 48, d.code);
      AddStringField(body, 9402, p ? GBK(p->name) : "");
      AddStringField(body, 9502, kToday);
      AddStringField(body, 9503, "");
      AddStringField(body, 9501, "D" + d.no);
      AddStringField(body, 40, d.type);
      AddStringField(body, 32, d.qty);
      AddStringField(body, 31, d.price);
      AddStringField(body, 384, Money(std::atof(d.price.c_str()) * std::atol(d.qty.c_str())));
      AddStringField(body, 60, d.time);
      AddStringField(body, 1, options_.user);
      AddStringField(body, 12, "0.00");
      AddStringField(body, 37, d.no);
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ISSUES) {
    AddStringField(body, 9003, "1");
    const char* issue[][2] = {{"48", "700001"}, {"9402", "新品邮票"}, {"9606", "1000000.00"},
                              {"53", "100000"}, {"9605", "10.00"},    {"9608", "0"},
                              {"9609", "100000"}, {"110", "100"},     {"111", "10000"},
                              {"9610", "0"},      {"1", "u01"},       {"9612", "0"},
                              {"9613", "2024-06-01"}, {"59", "2024-05-20"}, {"432", "2024-05-24"},
                              {"9616", "0"}};
    for (const auto& f : issue) AddStringField(body, std::atoi(f[0]), GBK(f[1]));
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ALLOT || type == MT_QRY_ALLOT_ALT) {
    AddStringField(body, 9003, "1");
    AddStringField(body, 48, "700001");
    AddStringField(body, 9402, GBK("新品邮票"));
    AddStringField(body, 9651, kToday);
    AddStringField(body, 9652, "10000001");
    AddStringField(body, 9656, "10000010");
    AddStringField(body, 132, "1000");
    AddStringField(body, 31, "10.00");
    AddStringField(body, 9653, "10");
    AddStringField(body, 9655, type == MT_QRY_ALLOT ? "0" : "1");
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_FLOW || type == MT_QRY_HIS_FLOW) {
    AddIntField(body, 9003, static_cast<int>(transfers_.size()));
    for (const auto& t : transfers_) {
      AddStringField(body, 8116, kToday);
      AddStringField(body, 1, options_.user);
      AddStringField(body, 8047, t[1]);
      AddStringField(body, 8057, Money(funds_));
      AddStringField(body, 8031, t[0]);
      AddStringField(body, 8058, "");
      AddStringField(body, 8115, t[2]);
      AddStringField(body, 8059, "");
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_MONEY_APPLY) {
    const std::string op = GetFieldText(req, 9310);
    const double amount = std::atof(GetFieldText(req, 9311).c_str());
    if ((op == "1" || op == "2") && amount <= 0)
      return Reply(rt, req, "9", GBK("金额错误"), {});
    if (op == "2" && amount > funds_) return Reply(rt, req, "9", GBK("可取资金不足"), {});
    if (op == "1") funds_ += amount;
    if (op == "2") funds_ -= amount;
    const std::string no = std::to_string(nextOrderNo_++);
    transfers_.push_back({op, Money(amount), no});
    AddStringField(body, 8105, no);
    AddStringField(body, 8031, op);
    AddStringField(body, 9311, Money(amount));
    AddStringField(body, 150, "1");
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_TRANSFERS) {
    AddIntField(body, 9003, static_cast<int>(transfers_.size()));
    for (const auto& t : transfers_) {
      AddStringField(body, 8116, kToday);
      AddStringField(body, 1, options_.user);
      AddStringField(body, 8031, t[0]);
      AddStringField(body, 9311, t[1]);
      AddStringField(body, 8106, "10:30:00");
      AddStringField(body, 8117, t[2]);
      AddStringField(body, 150, "1");
      AddStringField(body, 58, "");
    }
    return Reply(rt, req, "0", "", body);
  }
  return Reply(rt, req, "2", GBK("不支持的请求"), {});
}
