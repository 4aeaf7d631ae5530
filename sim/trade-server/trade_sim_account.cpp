#include "trade_sim_account.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/gbk.h"
#include "sim/market/demo_market.h"
#include "trade/core/sha1_digest.h"

namespace {

// A deal fills at most this many at once; the rest of a crossing order
// stays open, partly dealt.
constexpr long kFillLimit = 1000;
constexpr double kCommissionRate = 0.001;
// However long the simulator runs, its lists stay bounded: past these an
// order or a transfer is refused (each leaves at most three flow records).
constexpr size_t kMaxOrders = 100000;
constexpr size_t kMaxTransfers = 100000;

double Cents(double v) { return std::round(v * 100) / 100; }

std::string NowTime() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

// A whole positive count of digits only (no sign, no blanks).
bool ParseCount(const std::string& text, long* out) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  *out = std::atol(text.c_str());
  return *out > 0;
}

bool ParsePrice(const std::string& text, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(v) || v <= 0 || v > 1e9) return false;
  *out = v;
  return true;
}

bool InRange(const std::string& date, const std::string& from, const std::string& to) {
  return (from.empty() || date >= from) && (to.empty() || date <= to);
}

SSimResult Refuse(const char* code, const char* utf8) { return {code, platform::Utf8ToGbk(utf8)}; }

std::string DateText(const std::tm& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  return text;
}

}  // namespace

std::string SimLocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  return DateText(t);
}

bool IsSimDate(const std::string& s) {
  if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
  for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

std::string SimShiftDate(const std::string& date, int days) {
  if (!IsSimDate(date)) return date;
  std::tm t{};
  t.tm_year = std::atoi(date.substr(0, 4).c_str()) - 1900;
  t.tm_mon = std::atoi(date.substr(5, 2).c_str()) - 1;
  t.tm_mday = std::atoi(date.substr(8, 2).c_str()) + days;
  t.tm_hour = 12;  // noon: a daylight-saving change never moves the day
  t.tm_isdst = -1;
  std::mktime(&t);
  return DateText(t);
}

std::string SimMoney(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

const std::vector<SSimProduct>& CTradeSimAccount::Products() {
  static const std::vector<SSimProduct> products = [] {
    std::vector<SSimProduct> out;
    for (const sim::MarketTableBlock& block : sim::DemoMarketBlocks()) {
      if ((block.market & 0xF) == 1) continue;  // indexes are not traded
      for (const sim::MarketTableItem& item : block.items)
        out.push_back({std::to_string(item.code), item.name, item.preClose / 1000.0});
    }
    return out;
  }();
  return products;
}

const SSimProduct* CTradeSimAccount::FindProduct(const std::string& code) {
  for (const SSimProduct& p : Products())
    if (p.code == code) return &p;
  return nullptr;
}

const SSimIssue* CTradeSimAccount::FindIssue(const std::string& code) const {
  for (const SSimIssue& i : issues_)
    if (i.code == code) return &i;
  return nullptr;
}

CTradeSimAccount::CTradeSimAccount(const std::string& today, const std::string& fundsPassword,
                                   char payChannel)
    : today_(IsSimDate(today) ? today : SimLocalToday()),
      payChannel_(payChannel),
      fundsDigest_(PasswordDigest(fundsPassword)) {
  issues_ = {
      {"700001", GBK("新品邮票"), 10.0, 100000, 0, 100000, 100, 10000, SimShiftDate(today_, 12),
       today_, SimShiftDate(today_, 4)},
      {"700002", GBK("纪念金币"), 50.0, 20000, 2000, 18000, 10, 1000, SimShiftDate(today_, 20),
       SimShiftDate(today_, -1), SimShiftDate(today_, 3)},
  };
  // A few days of history: a deposit, a bought holding, a cancelled order
  // and a past subscription with its numbers.
  const std::string d5 = SimShiftDate(today_, -5), d3 = SimShiftDate(today_, -3),
                    d1 = SimShiftDate(today_, -1);
  funds_ = 104250.00;
  transfers_.push_back({NextNumber(), d5, d5 + " 09:10:00", d5 + " 09:12:00", "", 1, 1, funds_});
  Book('1', funds_, transfers_.back().id, d5);
  SSimOrder bought{NextNumber(), "602002", "0B", "8.50", d3, "10:15:00", 500, 500, "2"};
  orders_.push_back(bought);
  deals_.push_back({"D" + bought.no, bought.no, "602002", "0B", d3, "10:15:02", 8.50, 0, 500});
  funds_ -= 4250.00;
  holdings_["602002"] = SSimHolding{500, 0, 8.50};
  Book('S', -4250.00, bought.no, d3);
  orders_.push_back({NextNumber(), "602003", "0B", "20.00", d1, "14:02:00", 200, 0, "4"});
  allotments_.push_back({"700000", GBK("往期藏品"), d1, 20000001, 20000010, 1000, 10.0, '0'});
  allotments_.push_back({"700000", GBK("往期藏品"), d1, 20000003, 20000003, 100, 10.0, '1'});
}

std::string CTradeSimAccount::NextNumber() { return std::to_string(nextNumber_++); }

void CTradeSimAccount::Book(char type, double amount, const std::string& related,
                            const std::string& date) {
  flows_.push_back(
      {"F" + NextNumber(), date, type, Cents(amount), Cents(funds_ + frozen_), related});
}

void CTradeSimAccount::Fill(SSimOrder& order, const SSimProduct& product, long qty,
                            const std::string& date) {
  const bool buy = order.type[1] == 'B';
  const double amount = Cents(product.price * qty);
  const double commission = Cents(amount * kCommissionRate);
  SSimHolding& h = holdings_[order.code];
  if (buy) {
    funds_ -= amount + commission;
    h.cost = (h.cost * h.qty + amount) / (h.qty + qty);
    h.qty += qty;
  } else {
    funds_ += amount - commission;
    h.qty -= qty;
  }
  order.dealt += qty;
  deals_.push_back({"D" + NextNumber(), order.no, order.code, order.type, date, NowTime(),
                    product.price, commission, qty});
  Book(buy ? 'S' : 'T', buy ? -amount : amount, order.no, date);
  Book('5', -commission, order.no, date);
}

SSimResult CTradeSimAccount::PlaceOrder(const std::string& code, const std::string& type,
                                        const std::string& priceText, const std::string& qtyText,
                                        SSimOrder* placed) {
  if (orders_.size() >= kMaxOrders) return Refuse("7", "委托已满");
  if (type == "7B") return Subscribe(code, qtyText, placed);
  static const char* const kTypes[] = {"0B", "0S", "XB", "XS", "YB", "YS"};
  if (std::find(std::begin(kTypes), std::end(kTypes), type) == std::end(kTypes))
    return Refuse("7", "委托类型错误");
  const SSimProduct* product = FindProduct(code);
  if (!product) return Refuse("7", "无此藏品");
  long qty = 0;
  double price = 0;
  if (!ParseCount(qtyText, &qty)) return Refuse("7", "委托数量错误");
  if (!ParsePrice(priceText, &price)) return Refuse("7", "委托价格错误");

  SSimOrder o{NextNumber(), code, type, priceText, today_, NowTime(), qty, 0, "1"};
  const bool buy = type[1] == 'B';
  const bool crossing = type[0] != '0' || (buy ? price >= product->price : price <= product->price);
  const long fill = crossing ? std::min(qty, kFillLimit) : 0;
  const long rest = qty - fill;
  SSimHolding& h = holdings_[code];
  // A refused order is still an order (status 5); the reply says why.
  SSimResult result;
  if (buy) {
    const double need = Cents(product->price * fill) * (1 + kCommissionRate) + price * rest;
    if (need > funds_ + 1e-9) {
      o.status = "5";
      result.info = platform::Utf8ToGbk("可用资金不足");
    }
  } else if (qty > h.qty - h.frozen) {
    o.status = "5";
    result.info = platform::Utf8ToGbk("可卖数量不足");
  }
  if (o.status != "5") {
    if (fill > 0) Fill(o, *product, fill, today_);
    if (rest > 0) {
      if (buy) {
        funds_ -= price * rest;
        frozen_ += price * rest;
      } else {
        h.frozen += rest;
      }
    }
    o.status = rest == 0 ? "2" : (o.dealt > 0 ? "3" : "1");
  }
  if (h.qty == 0 && h.frozen == 0) holdings_.erase(code);
  orders_.push_back(o);
  *placed = o;
  return result;
}

SSimResult CTradeSimAccount::Subscribe(const std::string& code, const std::string& qtyText,
                                       SSimOrder* placed) {
  const SSimIssue* issue = FindIssue(code);
  if (!issue) return Refuse("7", "无此发行藏品");
  long qty = 0;
  if (!ParseCount(qtyText, &qty)) return Refuse("7", "申购数量错误");
  if (qty % issue->minQty != 0 || qty > issue->maxQty) return Refuse("7", "申购数量错误");
  for (const SSimAllotment& a : allotments_)
    if (a.code == code) return Refuse("7", "同一藏品只能申购一次");
  const double amount = Cents(issue->unitPrice * qty);
  if (amount > funds_ + 1e-9) return Refuse("7", "可用资金不足");
  // The money waits for the ballot; the numbers are given at once.
  funds_ -= amount;
  frozen_ += amount;
  const long count = qty / issue->minQty;
  allotments_.push_back({code, issue->name, today_, nextAllotment_, nextAllotment_ + count - 1, qty,
                         issue->unitPrice, '0'});
  nextAllotment_ += count;
  SSimOrder o{NextNumber(), code, "7B", SimMoney(issue->unitPrice), today_, NowTime(), qty, 0, "1"};
  orders_.push_back(o);
  *placed = o;
  return {};
}

SSimResult CTradeSimAccount::Cancel(const std::string& orderNo, SSimOrder* cancelled) {
  for (SSimOrder& o : orders_) {
    if (o.no != orderNo) continue;
    if (o.type[0] == '7') return Refuse("8", "新股申购不允许撤单");
    if (o.status != "1" && o.status != "3") return Refuse("8", "该委托不能撤单");
    const long rest = o.qty - o.dealt;
    if (o.type[1] == 'B') {
      const double amount = std::atof(o.price.c_str()) * rest;
      frozen_ -= amount;
      funds_ += amount;
    } else {
      holdings_[o.code].frozen -= rest;
    }
    o.status = "4";
    *cancelled = o;
    return {};
  }
  return Refuse("8", "无此委托");
}

SSimResult CTradeSimAccount::Apply(int op, const std::string& amountText,
                                   const std::string& fundsDigest, const std::string& bankPassword,
                                   SSimTransfer* done) {
  if (transfers_.size() >= kMaxTransfers) return Refuse("9", "转账已满");
  if (fundsDigest != fundsDigest_) return Refuse("9", "资金密码错误");
  double amount = 0;
  if (op == 1 || op == 2) {
    if (!ParsePrice(amountText, &amount)) return Refuse("9", "金额错误");
    amount = Cents(amount);
    if (op == 1 && (payChannel_ == '9' || payChannel_ == 'F') && bankPassword.empty())
      return Refuse("9", "请输入银行密码");
    if (op == 2 && amount > funds_ + 1e-9) return Refuse("9", "可取资金不足");
  } else if (op == 5 || op == 6) {
    if ((op == 5) == (signState_ != 0)) return Refuse("9", op == 5 ? "已签约" : "未签约");
  } else {
    return Refuse("9", "操作类型错误");
  }
  SSimTransfer t{
      NextNumber(), today_, today_ + " " + NowTime(), today_ + " " + NowTime(), "", op, 1, amount};
  if (op == 1) funds_ += amount;
  if (op == 2) funds_ -= amount;
  if (op == 5 || op == 6) signState_ = op == 5 ? 1 : 0;
  if (op == 1 || op == 2) Book(op == 1 ? '1' : '2', op == 1 ? amount : -amount, t.id, today_);
  transfers_.push_back(t);
  *done = t;
  return {};
}

std::vector<SSimOrder> CTradeSimAccount::Orders(const std::string& from,
                                                const std::string& to) const {
  std::vector<SSimOrder> out;
  for (const SSimOrder& o : orders_)
    if (InRange(o.date, from, to)) out.push_back(o);
  return out;
}

std::vector<SSimDeal> CTradeSimAccount::Deals(const std::string& from,
                                              const std::string& to) const {
  std::vector<SSimDeal> out;
  for (const SSimDeal& d : deals_)
    if (InRange(d.date, from, to)) out.push_back(d);
  return out;
}

std::vector<SSimFlow> CTradeSimAccount::Flows(const std::string& from,
                                              const std::string& to) const {
  std::vector<SSimFlow> out;
  for (const SSimFlow& f : flows_)
    if (InRange(f.date, from, to)) out.push_back(f);
  return out;
}

std::vector<SSimAllotment> CTradeSimAccount::Allotments(char kind, const std::string& from,
                                                        const std::string& until) const {
  std::vector<SSimAllotment> out;
  for (const SSimAllotment& a : allotments_)
    if (a.kind == kind && (from.empty() || a.date >= from) && (until.empty() || a.date < until))
      out.push_back(a);
  return out;
}
