#include "trade/ui/rules/subscription.h"

#include <cmath>
#include <cstdio>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/panel_values.h"

namespace {
// Money compared in whole cents, so funds exactly equal to the amount
// pass whatever binary noise the two values carry.
long long Cents(double v) { return std::llround(v * 100); }
}  // namespace

PanelRow IssueCells(const CProductInfo& p) {
  const double maxAmount = TextToNumber(p.sharePrice) * TextToInt(p.maxSubscribe);
  return {p.productCode, p.productName, p.totalPrice,   p.totalCount,   p.reservedQty,
          p.issueQty,    p.sharePrice,  p.minSubscribe, p.maxSubscribe, FormatMoney(maxAmount),
          p.listingDate, p.issueDate,   p.issueEndDate};
}

CIssueListModel::CIssueListModel(CTradeSession& session,
                                 std::function<void(const CProductInfo&)> openDialog,
                                 const ITradeClock& clock)
    : session_(session), openDialog_(std::move(openDialog)), clock_(clock) {
  table_.columns = {{"藏品代码", 100},     {"藏品名称", 100},     {"藏品总价", 100},
                    {"藏品总数", 100},     {"藏品保留数量", 100}, {"发行数量", 100},
                    {"单份金额", 100},     {"最小申购数量", 100}, {"最大申购数量", 100},
                    {"最大申购金额", 100}, {"挂牌日期", 100},     {"发行日期", 100},
                    {"发行截止日期", 100}};
}

void CIssueListModel::QueryTodayAllotments() {
  const int64_t now = clock_.WallSeconds();
  session_.QueryAllotment(0, FormatDate(now), FormatDate(NextDay(now)));
}

void CIssueListModel::OnInit() {
  session_.QueryIssues();
  QueryTodayAllotments();
}

bool CIssueListModel::OnPanelMessage(WPARAM message) {
  if (message != WM_TRADE_ISSUES) return false;
  issues_ = session_.GetIssues(&table_.cut);
  table_.rows.clear();
  for (const CProductInfo& p : issues_) table_.rows.push_back(IssueCells(p));
  return true;
}

void CIssueListModel::OnSubscribe(int selectedRow) {
  if (selectedRow < 0 || static_cast<size_t>(selectedRow) >= issues_.size()) {
    ::MessageBox(nullptr, GBK("请选择一支藏品"), GBK("提示"), MB_OK);
    return;
  }
  const CProductInfo issue = issues_[static_cast<size_t>(selectedRow)];
  for (const CSwingOrder& a : session_.GetAllotments()) {
    if (a.productCode == issue.productCode) {
      ::MessageBox(nullptr, GBK("对不起，同一藏品只能申购一次！"), GBK("申购提示"),
                   MB_OK | MB_ICONINFORMATION);
      return;
    }
  }
  if (openDialog_) openDialog_(issue);
  QueryTodayAllotments();
}

void CSubscriptionModel::SetProduct(const CProductInfo& issue) {
  issue_ = issue;
  view_.name = issue.productName;
  view_.code = issue.productCode;
  view_.unitAmount = issue.sharePrice;
  view_.minimum = issue.minSubscribe;
  view_.available = session_.GetFunds().available;
  view_.amount = FormatMoney(0);
  session_.QueryMaxQuantity(issue.productCode, "7B");
}

void CSubscriptionModel::OnQuantityChanged(const std::string& text) {
  if (!ParseWholeInt(text, &quantity_)) quantity_ = 0;
  const float amount =
      static_cast<float>(quantity_) * static_cast<float>(TextToNumber(issue_.sharePrice));
  view_.amount = FormatMoney(amount);
}

bool CSubscriptionModel::OnOrder() {
  const int quantity = quantity_;
  if (quantity <= 0) {
    ::AfxMessageBox(GBK("请输入合法的申请份额！"), MB_OK);
    return false;
  }
  const int minimum = TextToInt(issue_.minSubscribe);
  if (minimum > 0 && quantity % minimum != 0) {
    ::AfxMessageBox(GBK("申购数量必须是最小申购数量的整数倍！"), MB_OK);
    return false;
  }
  if (TextToInt(issue_.maxSubscribe) < quantity) {
    ::AfxMessageBox(GBK("申购数量不能超过最大申购数量！"), MB_OK);
    return false;
  }
  const double amount = quantity * TextToNumber(issue_.sharePrice);
  if (Cents(TextToNumber(view_.available)) < Cents(amount)) {
    ::AfxMessageBox(GBK("对不起！您的可用资金不足！"), MB_OK);
    return false;
  }
  COrder order;
  order.productId = issue_.productCode;
  order.orderType = "7B";
  order.price = issue_.sharePrice;
  order.quantity = std::to_string(quantity);
  char question[512];
  std::snprintf(question, sizeof question, GBK("您申购了%s %d手 总价 %.2f元,请确认"),
                issue_.productCode.c_str(), quantity, amount);
  if (::MessageBox(nullptr, question, GBK("确认信息"), MB_YESNO | MB_ICONQUESTION) != IDYES)
    return false;
  return session_.SendOrder(order) == 0;
}
