#include "trade/ui/windows/query_transfer.h"

#include "platform/gbk.h"
#include "trade/ui/windows/list_fill.h"
#include "trade/ui/windows/panel_controls.h"

namespace {

using Q = CQueryTransfer;

// 查询 sends nothing, and the bank list holds the one bank of the account:
// the journal is the whole account's.
const platform::DialogItem kQueryTransferItems[] = {
    {platform::kButton, Q::kQueryId, GBK("查询"), 10, 270, 100, 25},
    {platform::kComboBox, Q::kBankId, nullptr, 60, 7, 200, 100, CBS_DROPDOWNLIST},
    {platform::kStatic, Q::kBankLabelId, GBK("银行："), 8, 9, 40, 25},
};

constexpr COLORREF kBankText = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

CQueryTransfer::CQueryTransfer(const STradeWindowEnv& env, int function)
    : CTradePanel(TradeChildTemplate(400, 300, kQueryTransferItems), env, function),
      model_(*env.session) {
  white_.CreateSolidBrush(kWhite);
}

BOOL CQueryTransfer::OnInitDialog() {
  CTradePanel::OnInitDialog();
  CreatePanelList(list_, *this, kListId);
  SelectOrAddComboString(GetDlgItemT<CComboBox>(kBankId), model_.BankName());
  SetListColumns(list_, model_.Table().columns);
  model_.OnInit();
  return TRUE;
}

void CQueryTransfer::OnPanelMessage(UINT message) {
  if (model_.OnPanelMessage(message)) SetListRows(list_, model_.Table().rows, model_.Table().cut);
}

void CQueryTransfer::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  if (cx < 100 || cy < 70) return;
  PlaceCtl(*this, kListId, 5, 35, cx - 10, cy - 70);
  PlaceCtl(*this, kBankLabelId, 8, 9, 40, 25);
  PlaceCtl(*this, kBankId, 60, 7, 200, 100);
  PlaceCtl(*this, kQueryId, 10, cy - 30, 100, 25);
}

HBRUSH CQueryTransfer::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  const int id = child ? child->GetDlgCtrlID() : 0;
  if (id == kBankId && (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX)) {
    dc->SetTextColor(kBankText);
    dc->SetBkColor(kWhite);
    dc->SetBkMode(TRANSPARENT);
    return &white_;
  }
  if (id == kBankLabelId) dc->SetBkColor(RGB(0xF0, 0xF0, 0xF0));
  return &TradePanelBrush();
}
