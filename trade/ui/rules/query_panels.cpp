#include "trade/ui/rules/query_panels.h"

#include <cstdio>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_vocab.h"
#include "trade/ui/rules/panel_values.h"

namespace {

const std::vector<SColumnSpec>& OrderColumns() {
  static const std::vector<SColumnSpec> c = {
      {"藏品名称", 100}, {"藏品代码", 100}, {"委托类型", 100}, {"委托价格", 100}, {"委托数量", 100},
      {"成交数量", 100}, {"状态说明", 100}, {"委托时间", 200}, {"委托编号", 100}, {"", 0}};
  return c;
}

const std::vector<SColumnSpec>& DealColumns() {
  static const std::vector<SColumnSpec> c = {{"藏品名称", 100},
                                             {"藏品编码", 100},
                                             {"成交时间", 100},
                                             {"买卖标志", 100},
                                             {"成交价格", 100},
                                             {"成交数量", 100},
                                             {"成交金额", 100},
                                             {"成交编号", 100},
                                             {"佣金", 100},
                                             {"委托编号", 100},
                                             {"", 0}};
  return c;
}

const std::vector<SColumnSpec>& AllotmentColumns() {
  static const std::vector<SColumnSpec> c = {
      {"藏品名称", 100}, {"藏品代码", 100}, {"配号日期", 100}, {"起始配号", 100}, {"结束配号", 100},
      {"配号数量", 100}, {"申购数量", 100}, {"申购价格", 100}, {"中签类别", 100}};
  return c;
}

constexpr int kOrderNumberCell = 8;

}  // namespace

const char* OrderColourCode(const std::string& orderType) {
  return orderType.size() >= 2 && orderType[1] == 'B' ? "1" : "3";
}

bool OrderShownInMode(int mode, const COrderDetail& order) {
  return mode != 2 || order.status == "1" || order.status == "3";
}

PanelRow OrderCells(const COrderDetail& o) {
  return {o.productName,
          o.productId,
          GetOrderTypeText(o.orderType),
          o.price,
          o.quantity,
          o.dealtQty,
          GetOrderStatusText(o.status),
          o.time,
          o.orderNo,
          OrderColourCode(o.orderType)};
}

PanelRow DealCells(const COrderTurnOver& d) {
  return {d.productName,
          d.productCode,
          d.time,
          GetOrderTypeText(d.orderType),
          d.price,
          d.quantity,
          d.amount,
          d.dealNo,
          d.commission,
          d.orderNo,
          OrderColourCode(d.orderType)};
}

PanelRow AllotmentCells(const CSwingOrder& a) {
  return {a.productName, a.productCode,           a.date, a.firstNo, a.lastNo, a.count, a.quantity,
          a.price,       GetAllotKindText(a.kind)};
}

CQueryPanelModel::CQueryPanelModel(EQueryPanel kind, int mode, CTradeSession& session,
                                   const ITradeClock& clock)
    : dates(SDateRange::DayBefore(clock.WallSeconds())),
      kind_(kind),
      mode_(mode),
      session_(session) {
  switch (kind_) {
    case EQueryPanel::kOrders: table_.columns = OrderColumns(); break;
    case EQueryPanel::kDeals: table_.columns = DealColumns(); break;
    case EQueryPanel::kAllotments: table_.columns = AllotmentColumns(); break;
  }
}

SQueryPanelControls CQueryPanelModel::Controls() const {
  SQueryPanelControls c;
  switch (kind_) {
    case EQueryPanel::kOrders:
      c.query = mode_ == 8;
      c.cancel = mode_ == 2;
      c.refresh = mode_ != 8;
      break;
    case EQueryPanel::kDeals:
      c.query = mode_ == 9;
      c.refresh = mode_ != 9;
      break;
    case EQueryPanel::kAllotments: break;
  }
  return c;
}

void CQueryPanelModel::OnInit() {
  if (kind_ == EQueryPanel::kOrders && (mode_ == 2 || mode_ == 6)) session_.QueryTodayOrders();
  if (kind_ == EQueryPanel::kDeals && mode_ == 7) session_.QueryTodayDeals();
}

void CQueryPanelModel::OnQuery() {
  switch (kind_) {
    case EQueryPanel::kOrders:
      session_.QueryOrderHistory(FormatDate(dates.start), FormatDate(dates.end));
      break;
    case EQueryPanel::kDeals:
      session_.QueryDealHistory(FormatDate(dates.start), FormatDate(dates.end));
      break;
    case EQueryPanel::kAllotments:
      session_.QueryAllotment(0, FormatDate(dates.start), FormatDate(NextDay(dates.end)));
      break;
  }
}

void CQueryPanelModel::OnRefresh() {
  if (kind_ == EQueryPanel::kOrders) session_.QueryTodayOrders();
  if (kind_ == EQueryPanel::kDeals) session_.QueryTodayDeals();
}

bool CQueryPanelModel::OnPanelMessage(WPARAM message) {
  const bool mine = (kind_ == EQueryPanel::kOrders &&
                     (message == WM_TRADE_ORDERS || message == WM_TRADE_HIS_ORDERS)) ||
                    (kind_ == EQueryPanel::kDeals && message == WM_TRADE_DEALS) ||
                    (kind_ == EQueryPanel::kAllotments && message == WM_TRADE_ALLOTS);
  if (mine) Refill();
  return mine;
}

void CQueryPanelModel::Refill() {
  table_.rows.clear();
  shownOrders_.clear();
  switch (kind_) {
    case EQueryPanel::kOrders:
      // The copy of the store is this panel's: its shown orders move on.
      for (COrderDetail& o : session_.GetOrders(&table_.cut)) {
        if (!OrderShownInMode(mode_, o)) continue;
        table_.rows.push_back(OrderCells(o));
        shownOrders_.push_back(std::move(o));
      }
      break;
    case EQueryPanel::kDeals:
      for (const COrderTurnOver& d : session_.GetDeals(&table_.cut))
        table_.rows.push_back(DealCells(d));
      break;
    case EQueryPanel::kAllotments:
      for (const CSwingOrder& a : session_.GetAllotments(&table_.cut))
        table_.rows.push_back(AllotmentCells(a));
      break;
  }
}

bool CQueryPanelModel::OnCancel(int selectedRow) {
  if (kind_ != EQueryPanel::kOrders) return false;
  if (selectedRow < 0 || static_cast<size_t>(selectedRow) >= shownOrders_.size()) {
    ::AfxMessageBox(GBK("请选择所要撤销的委托委托"), MB_OK);
    return false;
  }
  const COrderDetail& order = shownOrders_[static_cast<size_t>(selectedRow)];
  if (!order.orderType.empty() && order.orderType[0] == '7') {
    ::AfxMessageBox(GBK("新股申购不允许撤单!"), MB_OK);
    return false;
  }
  const std::string number = table_.rows[static_cast<size_t>(selectedRow)][kOrderNumberCell];
  char question[512];
  std::snprintf(question, sizeof question, GBK("您确定要撤消合同号为 %s 的委托么?"),
                number.c_str());
  if (::AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  return session_.CancelOrder(number) == 0;
}

bool CQueryPanelModel::OnDoubleClick(int selectedRow) {
  return kind_ == EQueryPanel::kOrders && mode_ == 2 && OnCancel(selectedRow);
}
