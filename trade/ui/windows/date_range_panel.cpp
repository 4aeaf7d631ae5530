#include "trade/ui/windows/date_range_panel.h"

#include <vector>

#include "platform/controls.h"
#include "platform/gbk.h"
#include "trade/ui/windows/panel_controls.h"

namespace {

using P = CDateRangePanel;

// Every moved control of the row is this high.
constexpr int kRowHeight = 20;

std::vector<platform::DialogItem> RowItems(P::EButtons buttons) {
  std::vector<platform::DialogItem> items = {
      {platform::kStatic, P::kStartLabelId, GBK("起始日期"), 10, 12, 50, kRowHeight},
      {platform::kDateTime, P::kStartId, nullptr, 70, 10, 100, kRowHeight},
      {platform::kStatic, P::kEndLabelId, GBK("结束日期"), 200, 12, 50, kRowHeight},
      {platform::kDateTime, P::kEndId, nullptr, 260, 10, 100, kRowHeight},
      {platform::kButton, P::kQueryId, GBK("查询"), 400, 10, 80, kRowHeight, BS_DEFPUSHBUTTON},
  };
  if (buttons == P::EButtons::kCancelAndRefresh)
    items.push_back({platform::kButton, P::kCancelId, GBK("撤单"), 600, 10, 80, kRowHeight});
  if (buttons != P::EButtons::kNone)
    items.push_back({platform::kButton, P::kRefreshId, GBK("刷新"), 700, 10, 80, kRowHeight});
  return items;
}

}  // namespace

std::span<const platform::DialogItem> CDateRangePanel::Items(EButtons buttons) {
  static const std::vector<platform::DialogItem> none = RowItems(EButtons::kNone);
  static const std::vector<platform::DialogItem> refresh = RowItems(EButtons::kRefresh);
  static const std::vector<platform::DialogItem> both = RowItems(EButtons::kCancelAndRefresh);
  switch (buttons) {
    case EButtons::kRefresh: return refresh;
    case EButtons::kCancelAndRefresh: return both;
    default: return none;
  }
}

CDateRangePanel::CDateRangePanel(EButtons buttons, const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(800, 400, Items(buttons)), env, function) {}

const ITradeClock& CDateRangePanel::Clock() const {
  return Env().clock ? *Env().clock : SystemTradeClock();
}

BOOL CDateRangePanel::OnInitDialog() {
  CTradePanel::OnInitDialog();  // the pickers show the range
  CreatePanelList(List(), *this, kListId);
  return TRUE;
}

void CDateRangePanel::DoDataExchange(CDataExchange* dx) {
  CTradePanel::DoDataExchange(dx);
  DDX_DateTime(dx, kStartId, Dates().start);
  DDX_DateTime(dx, kEndId, Dates().end);
}

void CDateRangePanel::ShowDateRow(bool show) {
  for (int id : {kQueryId, kStartId, kEndId, kStartLabelId, kEndLabelId}) ShowCtl(*this, id, show);
}

void CDateRangePanel::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  // Hidden controls are placed all the same.
  PlaceCtl(*this, kStartLabelId, 10, 12, 50, kRowHeight);
  PlaceCtl(*this, kStartId, 70, 10, 100, kRowHeight);
  PlaceCtl(*this, kEndLabelId, 200, 12, 50, kRowHeight);
  PlaceCtl(*this, kEndId, 260, 10, 100, kRowHeight);
  PlaceCtl(*this, kQueryId, 400, 10, 80, kRowHeight);
  PlaceCtl(*this, kCancelId, cx - 200, 10, 80, kRowHeight);
  PlaceCtl(*this, kRefreshId, cx - 100, 10, 80, kRowHeight);
  PlaceCtl(*this, kListId, 5, 40, cx - 10, cy - 70);
}

HBRUSH CDateRangePanel::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  const int id = child ? child->GetDlgCtrlID() : 0;
  // The date pickers keep their own colours (a picker asks for none).
  if (kind != CTLCOLOR_DLG && (id == kStartId || id == kEndId)) return nullptr;
  if (id == kStartLabelId || id == kEndLabelId) dc->SetBkColor(RGB(0xF0, 0xF0, 0xF0));
  return &TradePanelBrush();
}
