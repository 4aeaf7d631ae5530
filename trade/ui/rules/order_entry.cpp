#include "trade/ui/rules/order_entry.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/holding_values.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/quote_packet.h"
#include "trade/ui/rules/typed_input.h"

namespace {

constexpr size_t kItemNameBytes = 60;

std::string IntText(int v) { return std::to_string(v); }

bool IsBestPriceKind(int kind) { return kind == 1 || kind == 2; }

}  // namespace

const char* OrderKindName(int kind) {
  switch (kind) {
    case 1: return GBK("本方最优");
    case 2: return GBK("对手方最优");
    default: return GBK("限价委托");
  }
}

char OrderKindCode(int kind) {
  switch (kind) {
    case 1: return 'X';
    case 2: return 'Y';
    default: return '0';
  }
}

std::string OrderTypeCode(int kind, int side) {
  return std::string(1, OrderKindCode(kind)) + (side == kSideSell ? 'S' : 'B');
}

bool IsIndexCode(const std::string& code) { return TextToInt(code) / 1000 == 100; }

SOrderSideTexts OrderSideTexts(int side) {
  if (side == kSideSell)
    return {GBK("卖出价格："), GBK("卖出数量："), GBK("最大可卖："), GBK("卖出下单"), false};
  return {GBK("买入价格："), GBK("买入数量："), GBK("最大可买："), GBK("买入下单"), true};
}

int FractionQuantity(int maximum, int minimum, int divisor) {
  if (divisor <= 0) return 0;
  const int share = maximum / divisor;
  if (share <= 0) return 0;
  const int lot = minimum > 0 ? minimum : 1;
  return lot * (share / lot);
}

int MaximumFromPrice(const std::string& priceText, const std::string& fundsText, int minimum) {
  if (priceText.empty() || fundsText.empty() || minimum <= 0) return -1;
  // Single precision, as the quantities were always worked out.
  const float price = static_cast<float>(TextToNumber(priceText));
  if (!(price > 0)) return -1;
  const float funds = static_cast<float>(TextToNumber(fundsText));
  const double shares = std::trunc(static_cast<double>(funds / price));
  // Huge funds at a tiny price would not fit an int: the maximum saturates.
  const int n = shares >= INT_MAX
                    ? INT_MAX
                    : (shares <= 0 || !std::isfinite(shares) ? 0 : static_cast<int>(shares));
  return minimum * (n / minimum);
}

COrderEntryModel::COrderEntryModel(int side, CTradeSession& session, ITradeHostPane& host)
    : side_(side == kSideSell ? kSideSell : kSideBuy), session_(session), host_(host) {
  view_.priceLabel = OrderSideTexts(side_).priceLabel;
  holdings_.columns = OrderEntryHoldingColumns();
}

void COrderEntryModel::OnInit() {
  session_.QueryFunds();
  session_.QueryHoldings();
}

void COrderEntryModel::ClearItemFields() {
  view_.name.clear();
  view_.price.clear();
  view_.quantity.clear();
  view_.maximumText.clear();
  view_.fundsText.clear();
  view_.levelsText.clear();
  view_.summaryText.clear();
}

void COrderEntryModel::OnCodeChanged(const std::string& code) {
  view_.code = code;
  ClearItemFields();
  quoteCode_ = 0;
  quoteShown_ = false;
  if (code.size() != 6 || !IsDigitText(code) || IsIndexCode(code)) return;
  const int number = TextToInt(code);
  if (!host_.FindCode(number)) {
    maximum_ = 0;
    return;
  }
  quoteCode_ = number;
  host_.AskName(number);
  host_.AskQuote(number);
  MaximumQuery();
}

void COrderEntryModel::OnKindChanged(int kind) {
  if (kind < 0 || kind > 2) return;
  kind_ = kind;
  MaximumQuery();
}

void COrderEntryModel::MaximumQuery() {
  if (view_.code.empty()) return;
  session_.QueryMaxQuantity(view_.code, OrderTypeCode(kind_, side_));
}

void COrderEntryModel::OnPriceChanged(const std::string& price) {
  view_.price = price;
  if (side_ == kSideBuy) ApplyPriceMaximum();
}

void COrderEntryModel::ApplyPriceMaximum() {
  const int maximum =
      MaximumFromPrice(view_.price, session_.GetPreTradeData().fundsAvail, minimum_);
  if (maximum < 0) return;
  maximum_ = maximum;
  view_.maximumText = IntText(maximum);
}

void COrderEntryModel::OnLimits() {
  const CPreTradeData pre = session_.GetPreTradeData();
  const bool buy = side_ == kSideBuy;
  if (!buy) {
    view_.maximumText = pre.maxSellQty;
    maximum_ = TextToInt(pre.maxSellQty);
    minimum_ = TextToInt(pre.minSellQty);
  } else {
    if (IsBestPriceKind(kind_)) {
      const int limitUp = TextToInt(pre.limitUp);
      maximum_ = limitUp == 0 ? 0 : TextToInt(pre.fundsAvail) / limitUp;
      view_.maximumText = IntText(maximum_);
    } else {
      view_.maximumText = pre.maxBuyQty;
      maximum_ = TextToInt(pre.maxBuyQty);
    }
    minimum_ = TextToInt(pre.minBuyQty);
    view_.fundsText = session_.GetFunds().available;
  }
  view_.checkedFraction = 0;
  // The labels keep their colon, as every label of the panel has one.
  if (IsBestPriceKind(kind_)) {
    view_.priceLabel = buy ? GBK("涨停价格：") : GBK("跌停价格：");
    view_.priceEnabled = false;
    view_.price = buy ? pre.limitUp : pre.limitDown;
  } else {
    view_.priceLabel = OrderSideTexts(side_).priceLabel;
    view_.priceEnabled = true;
    // The server worked its maximum out at its own price: the order
    // carries the price in the entry.
    if (buy) ApplyPriceMaximum();
  }
}

void COrderEntryModel::OnName(const char* name) {
  // The host's text holds at most 60 bytes of name.
  view_.name = name ? std::string(name, platform::GbkCutLength(name, kItemNameBytes)) : "";
}

void COrderEntryModel::OnQuotePacket(const void* data, int length) {
  SSingleQuote quote;
  if (!ReadSingleQuote(data, length, &quote)) return;
  // A late answer for an item no longer entered shows nothing.
  if (quoteCode_ != 0 && quote.code != static_cast<uint32_t>(quoteCode_)) return;
  const uint32_t preClose = host_.GetPreClose(static_cast<int>(quote.code));
  view_.summaryText = QuoteSummaryText(quote, preClose);
  view_.levelsText = FiveLevelText(quote);
  if (quoteShown_) return;
  quoteShown_ = quoteCode_ != 0;
  // The window sets the edit without notifying; the change runs here.
  if (kind_ == 0) OnPriceChanged(LastPriceText(quote));
}

bool COrderEntryModel::RefreshQuote() {
  if (quoteCode_ == 0) return false;
  host_.AskQuote(quoteCode_);
  return true;
}

void COrderEntryModel::OnHoldings() {
  heldRows_ = session_.GetHoldings(&holdings_.cut);
  holdings_.rows.clear();
  for (const SPositionInfo& h : heldRows_) holdings_.rows.push_back(HoldingCells(h));
}

bool COrderEntryModel::OnTakeHolding(int row) {
  if (row < 0 || static_cast<size_t>(row) >= heldRows_.size()) return false;
  const SPositionInfo holding = heldRows_[static_cast<size_t>(row)];
  OnCodeChanged(holding.productCode);
  view_.name = holding.productName;
  if (side_ == kSideSell) maximum_ = TextToInt(holding.sellable);
  view_.maximumText = IntText(maximum_);
  return true;
}

void COrderEntryModel::OnAllButton() { view_.quantity = IntText(maximum_); }

void COrderEntryModel::OnFractionButton(int divisor) {
  view_.checkedFraction = divisor;
  if (maximum_ > 0) view_.quantity = IntText(FractionQuantity(maximum_, minimum_, divisor));
}

void COrderEntryModel::ClearEntry() {
  view_.code.clear();
  quoteCode_ = 0;
  quoteShown_ = false;
  ClearItemFields();
  view_.checkedFraction = 0;
}

bool COrderEntryModel::OnOrderButton() {
  const SOrderEntryView v = view_;
  if (!CheckTypedValues({&v.code, &v.price, &v.quantity})) return false;
  if (IsIndexCode(v.code)) {
    ::AfxMessageBox(GBK("指数不能下单，请输入正确的单据信息"), MB_OK);
    return false;
  }
  if (v.code.empty() || v.price.empty() || v.quantity.empty() || maximum_ <= 0) {
    ::AfxMessageBox(GBK("请输入正确的单据信息!"), MB_OK);
    return false;
  }
  const int quantity = TextToInt(v.quantity);
  const bool sell = side_ == kSideSell;
  if (quantity > maximum_) {
    ::AfxMessageBox(
        sell ? GBK("数量已超出您所持有的商品数量!") : GBK("数量已超出您所能够买得最大数量!"),
        MB_OK);
    return false;
  }
  if (quantity < minimum_) {
    ::AfxMessageBox(sell ? GBK("数量低于最小卖出数量!") : GBK("数量低于最小买入数量!"), MB_OK);
    return false;
  }
  const char* direction = sell ? GBK("卖出") : GBK("买入");
  char question[512];
  if (IsBestPriceKind(kind_))
    std::snprintf(question, sizeof question,
                  GBK("您 %s %s 了%s 数量：%s 价格将依据具体成交是确定 ,请确认"),
                  OrderKindName(kind_), direction, v.code.c_str(), v.quantity.c_str());
  else
    std::snprintf(question, sizeof question, GBK("您 %s %s 了%s 数量：%s 价格：%s ,请确认"),
                  OrderKindName(kind_), direction, v.code.c_str(), v.quantity.c_str(),
                  v.price.c_str());
  if (::AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  COrder order;
  order.productId = v.code;
  order.orderType = OrderTypeCode(kind_, side_);
  order.price = v.price;
  order.quantity = v.quantity;
  const bool sent = session_.SendOrder(order) == 0;
  ClearEntry();
  session_.QueryFunds();
  session_.QueryHoldings();
  return sent;
}
