// What the simulated server answers to each request: the request's values
// go to the account (trade_sim_account.h), and the reply carries the
// fields the client reads, one record after another in list replies.
// Date ranges are honoured: history queries list the records dated within
// the range; the allotment queries take the end as the first day after it.
#include <cstdio>
#include <cstdlib>

#include "platform/gbk.h"
#include "trade/core/trade_messages.h"
#include "trade_sim.h"

namespace {

void AddCount(TagFieldList& body, size_t n) { AddIntField(body, 9003, static_cast<int>(n)); }

std::string ProductName(const std::string& code) {
  const SSimProduct* p = CTradeSimAccount::FindProduct(code);
  return p ? p->name : "";
}

}  // namespace

std::string CTradeSimServer::Handle(const TagMap& req, int requestNumber) {
  const std::string type = GetFieldText(req, 1035);
  const std::string replyType = ReplyType(type);
  const char* rt = replyType.c_str();
  TagFieldList body;
  auto refuse = [&](const SSimResult& r) { return Reply(rt, req, r.code, r.info, {}); };

  if (type == MT_LOGIN) {
    if (GetFieldText(req, 1) != options_.user || GetFieldText(req, 91) != digest_) {
      Log("login refused");
      return Reply(rt, req, "5", GBK("用户名或密码错误"), {});
    }
    {
      std::lock_guard<std::recursive_mutex> g(lock_);
      session_ = "SIM" + std::to_string(1000 + requestNumber);
    }
    std::lock_guard<std::recursive_mutex> g(lock_);
    AddStringField(body, 9103, GBK("测试用户"));
    AddStringField(body, 9104, "0");
    AddStringField(body, 9105, SimShiftDate(account_.Today(), -1) + " 09:00:00");
    AddStringField(body, 9111, account_.FundsDigest());
    AddIntField(body, 9112, account_.SignState());
    AddStringField(body, 9113, "BOC");
    AddStringField(body, 9114, "6216610100001234567");
    AddStringField(body, 9115, GBK("测试用户"));
    AddCharField(body, 9116, options_.payChannel);
    AddStringField(body, 9117, "C001");
    AddStringField(body, 9118, "");
    AddStringField(body, 9119, "110101199001011234");
    AddStringField(body, 9120, "13900000000");
    AddStringField(body, 9121, options_.channelLink);
    AddStringField(body, 9122, "1");
    AddStringField(body, 9305, GBK("中国银行"));
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
  CTradeSimAccount& a = account_;
  const std::string from = GetFieldText(req, 9451), to = GetFieldText(req, 9452);
  const bool ranged = type == MT_QRY_HIS_ORDERS || type == MT_QRY_HIS_DEALS ||
                      type == MT_QRY_ALLOT || type == MT_QRY_ALLOT_ALT || type == MT_QRY_HIS_FLOW;
  if (ranged && (!IsSimDate(from) || !IsSimDate(to)))
    return Reply(rt, req, "7", GBK("日期格式错误"), {});

  if (type == MT_CHANGE_PWD) {
    // "1" the trading password, "4" the funds password.
    const std::string kind = GetFieldText(req, 8131);
    if (kind != "1" && kind != "4") return Reply(rt, req, "6", GBK("密码类型错误"), {});
    const std::string current = kind == "4" ? a.FundsDigest() : digest_;
    if (GetFieldText(req, 91) != current) return Reply(rt, req, "6", GBK("原密码错误"), {});
    if (kind == "4") a.SetFundsDigest(GetFieldText(req, 9107));
    else digest_ = GetFieldText(req, 9107);
    return Reply(rt, req, "0", "", {});
  }
  if (type == MT_ORDER) {
    SSimOrder o;
    const SSimResult r = a.PlaceOrder(GetFieldText(req, 48), GetFieldText(req, 40),
                                      GetFieldText(req, 44), GetFieldText(req, 132), &o);
    if (!r.ok()) return refuse(r);
    AddStringField(body, 150, o.status);
    AddStringField(body, 37, o.no);
    return Reply(rt, req, "0", r.info, body);
  }
  if (type == MT_CANCEL) {
    SSimOrder o;
    const SSimResult r = a.Cancel(GetFieldText(req, 37), &o);
    if (!r.ok()) return refuse(r);
    AddStringField(body, 150, o.status);
    AddStringField(body, 37, o.no);
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_MAX_QTY) {
    const std::string code = GetFieldText(req, 48);
    if (GetFieldText(req, 40) == "7B") {
      const SSimIssue* issue = a.FindIssue(code);
      if (!issue) return Reply(rt, req, "7", GBK("无此发行藏品"), {});
      long most = static_cast<long>(a.Available() / issue->unitPrice);
      most = std::min<long>(most - most % issue->minQty, issue->maxQty);
      AddIntField(body, 9801, static_cast<int>(most));
      AddIntField(body, 9802, issue->minQty);
      AddStringField(body, 9803, "0");
      AddStringField(body, 9804, "0");
      AddStringField(body, 9805, SimMoney(a.Available()));
      AddStringField(body, 9806, "0");
      AddStringField(body, 9633, SimMoney(issue->unitPrice));
      AddStringField(body, 9634, SimMoney(issue->unitPrice));
      return Reply(rt, req, "0", "", body);
    }
    const SSimProduct* p = CTradeSimAccount::FindProduct(code);
    if (!p) return Reply(rt, req, "7", GBK("无此藏品"), {});
    auto held = a.Holdings().find(code);
    const long sellable = held == a.Holdings().end() ? 0 : held->second.qty - held->second.frozen;
    const long buyable = static_cast<long>(a.Available() / (p->price * 1.001));
    AddIntField(body, 9801, static_cast<int>(buyable - buyable % 100));
    AddStringField(body, 9802, "100");
    AddIntField(body, 9803, static_cast<int>(sellable));
    AddStringField(body, 9804, "1");
    AddStringField(body, 9805, SimMoney(a.Available()));
    AddIntField(body, 9806, static_cast<int>(sellable));
    AddStringField(body, 9633, SimMoney(p->price * 1.1));
    AddStringField(body, 9634, SimMoney(p->price * 0.9));
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_HOLDINGS) {
    AddCount(body, a.Holdings().size());
    for (const auto& [code, h] : a.Holdings()) {
      const SSimProduct* p = CTradeSimAccount::FindProduct(code);
      AddStringField(body, 48, code);
      AddStringField(body, 9402, ProductName(code));
      AddIntField(body, 9403, static_cast<int>(h.qty));
      AddIntField(body, 9405, static_cast<int>(h.qty - h.frozen));
      AddStringField(body, 9407, SimMoney(h.cost));
      AddIntField(body, 9404, static_cast<int>(h.frozen));
      AddStringField(body, 9406, "0");
      AddStringField(body, 31, SimMoney(p ? p->price : 0));
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_FUNDS) {
    AddStringField(body, 9301, options_.user);
    AddStringField(body, 9103, GBK("测试用户"));
    AddStringField(body, 9315, SimMoney(a.Available() + a.Frozen()));
    AddStringField(body, 9312, SimMoney(a.Available()));
    AddStringField(body, 9316, SimMoney(a.Available()));
    AddStringField(body, 9313, SimMoney(a.Frozen()));
    AddStringField(body, 9317, "0.00");
    AddStringField(body, 9314, "0.00");
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ORDERS || type == MT_QRY_HIS_ORDERS) {
    const bool today = type == MT_QRY_ORDERS;
    const auto orders = today ? a.Orders(a.Today(), a.Today()) : a.Orders(from, to);
    AddCount(body, orders.size());
    for (const SSimOrder& o : orders) {
      AddStringField(body, 48, o.code);
      AddStringField(body, 40, o.type);
      AddStringField(body, 44, o.price);
      AddIntField(body, 132, static_cast<int>(o.qty));
      AddStringField(
          body, 9402,
          o.type == "7B" && a.FindIssue(o.code) ? a.FindIssue(o.code)->name : ProductName(o.code));
      AddStringField(body, 150, o.status);
      AddIntField(body, 32, static_cast<int>(o.dealt));
      AddStringField(body, 9210, today ? "0" : "1");
      AddStringField(body, 37, o.no);
      AddStringField(body, 9205, o.date + " " + o.time);
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_DEALS || type == MT_QRY_HIS_DEALS) {
    const auto deals = type == MT_QRY_DEALS ? a.Deals(a.Today(), a.Today()) : a.Deals(from, to);
    AddCount(body, deals.size());
    for (const SSimDeal& d : deals) {
      AddStringField(body, 48, d.code);
      AddStringField(body, 9402, ProductName(d.code));
      AddStringField(body, 9502, d.date);
      AddStringField(body, 9503, "");
      AddStringField(body, 9501, d.no);
      AddStringField(body, 40, d.type);
      AddIntField(body, 32, static_cast<int>(d.qty));
      AddStringField(body, 31, SimMoney(d.price));
      AddStringField(body, 384, SimMoney(d.price * d.qty));
      AddStringField(body, 60, d.date + " " + d.time);
      AddStringField(body, 1, options_.user);
      AddStringField(body, 12, SimMoney(d.commission));
      AddStringField(body, 37, d.orderNo);
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ISSUES) {
    AddCount(body, a.Issues().size());
    for (const SSimIssue& i : a.Issues()) {
      AddStringField(body, 48, i.code);
      AddStringField(body, 9402, i.name);
      AddStringField(body, 9606, SimMoney(i.unitPrice * i.totalCount));
      AddIntField(body, 53, static_cast<int>(i.totalCount));
      AddStringField(body, 9605, SimMoney(i.unitPrice));
      AddIntField(body, 9608, static_cast<int>(i.reserved));
      AddIntField(body, 9609, static_cast<int>(i.issueQty));
      AddIntField(body, 110, i.minQty);
      AddIntField(body, 111, i.maxQty);
      AddStringField(body, 9610, "0");
      AddStringField(body, 1, options_.user);
      AddStringField(body, 9612, "0");
      AddStringField(body, 9613, i.listingDate);
      AddStringField(body, 59, i.issueDate);
      AddStringField(body, 432, i.endDate);
      AddStringField(body, 9616, "0");
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_ALLOT || type == MT_QRY_ALLOT_ALT) {
    const auto rows = a.Allotments(type == MT_QRY_ALLOT ? '0' : '1', from, to);
    AddCount(body, rows.size());
    for (const SSimAllotment& r : rows) {
      AddStringField(body, 48, r.code);
      AddStringField(body, 9402, r.name);
      AddStringField(body, 9651, r.date);
      AddIntField(body, 9652, static_cast<int>(r.first));
      AddIntField(body, 9656, static_cast<int>(r.last));
      AddIntField(body, 132, static_cast<int>(r.qty));
      AddStringField(body, 31, SimMoney(r.price));
      AddIntField(body, 9653, static_cast<int>(r.last - r.first + 1));
      AddCharField(body, 9655, r.kind);
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_FLOW || type == MT_QRY_HIS_FLOW) {
    const auto flows = type == MT_QRY_FLOW ? a.Flows(a.Today(), a.Today()) : a.Flows(from, to);
    AddCount(body, flows.size());
    for (const SSimFlow& f : flows) {
      AddStringField(body, 8116, f.id);
      AddStringField(body, 1, options_.user);
      AddStringField(body, 8047, "RMB");
      AddStringField(body, 8057, f.date);
      AddCharField(body, 8031, f.type);
      AddStringField(body, 8058, SimMoney(f.amount));
      AddStringField(body, 8115, f.related);
      AddStringField(body, 8059, SimMoney(f.balance));
    }
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_MONEY_APPLY) {
    SSimTransfer t;
    const SSimResult r = a.Apply(TradeAtoi(GetFieldText(req, 9310)), GetFieldText(req, 9311),
                                 GetFieldText(req, 9415), GetFieldText(req, 9416), &t);
    if (!r.ok()) return refuse(r);
    AddStringField(body, 8105, t.id);
    AddIntField(body, 8031, t.op);
    AddStringField(body, 9311, SimMoney(t.amount));
    AddIntField(body, 150, t.status);
    return Reply(rt, req, "0", "", body);
  }
  if (type == MT_QRY_TRANSFERS) {
    AddCount(body, a.Transfers().size());
    for (const SSimTransfer& t : a.Transfers()) {
      AddStringField(body, 8116, t.id);
      AddStringField(body, 1, options_.user);
      AddIntField(body, 8031, t.op);
      AddStringField(body, 9311, SimMoney(t.amount));
      AddStringField(body, 8106, t.requestTime);
      AddStringField(body, 8117, t.auditTime);
      AddIntField(body, 150, t.status);
      AddStringField(body, 58, t.remark);
    }
    return Reply(rt, req, "0", "", body);
  }
  return Reply(rt, req, "2", GBK("不支持的请求"), {});
}
