#include "trade/ui/windows/scrible_dlg.h"

#include "platform/gbk.h"

namespace {

using S = CScribleDlg;

// Dialog units of "MS Shell Dlg" 8: a label and its field on row i.
constexpr int kScribleLabelX = 10, kScribleFieldX = 75, kScribleTop = 10, kScribleRow = 18;

platform::DialogItem Label(int row, const char* text) {
  return {platform::kStatic,
          IDC_STATIC,
          text,
          kScribleLabelX,
          kScribleTop + row * kScribleRow + 2,
          62,
          10};
}
platform::DialogItem Field(int row, int id, DWORD style = ES_READONLY | ES_AUTOHSCROLL) {
  return {platform::kEdit,
          id,
          nullptr,
          kScribleFieldX,
          kScribleTop + row * kScribleRow,
          110,
          13,
          style};
}

const platform::DialogItem kScribleItems[] = {
    Label(0, GBK("藏品名称：")),
    Field(0, S::kNameId),
    Label(1, GBK("交易代码：")),
    Field(1, S::kCodeId),
    Label(2, GBK("单份金额：")),
    Field(2, S::kUnitAmountId),
    Label(3, GBK("最低申购数量：")),
    Field(3, S::kMinimumId),
    Label(4, GBK("可用金额：")),
    Field(4, S::kAvailableId),
    Label(5, GBK("申购数量：")),
    Field(5, S::kQuantityId, ES_NUMBER | ES_AUTOHSCROLL),
    Label(6, GBK("申购金额：")),
    Field(6, S::kAmountId),
    {platform::kButton, S::kOrderId, GBK("下单"), 40, 138, 50, 14, BS_DEFPUSHBUTTON},
    {platform::kButton, IDCANCEL, GBK("取消"), 110, 138, 50, 14},
};

platform::DialogTemplate ScribleTemplate() {
  platform::DialogTemplate t;
  t.cx = 198;
  t.cy = 159;
  t.caption = GBK("藏品申购");
  t.fontFace = "MS Shell Dlg";
  t.fontPoints = 8;
  t.items = kScribleItems;
  return t;
}

}  // namespace

CScribleDlg::CScribleDlg(CTradeSession& session, CWnd* parent)
    : CDialog(ScribleTemplate(), parent), model_(session) {}

void CScribleDlg::SetProduct(const CProductInfo& issue) { model_.SetProduct(issue); }

BOOL CScribleDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  const SSubscriptionView& v = model_.View();
  SetDlgItemText(kNameId, v.name.c_str());
  SetDlgItemText(kCodeId, v.code.c_str());
  SetDlgItemText(kUnitAmountId, v.unitAmount.c_str());
  SetDlgItemText(kMinimumId, v.minimum.c_str());
  SetDlgItemText(kAvailableId, v.available.c_str());
  SetDlgItemText(kAmountId, v.amount.c_str());
  SetDefID(kOrderId);
  GotoDlgCtrl(GetDlgItem(kQuantityId));
  return FALSE;
}

BOOL CScribleDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == kQuantityId && code == EN_CHANGE) {
    std::string quantity;
    GetDlgItemText(kQuantityId, quantity);
    model_.OnQuantityChanged(quantity);
    SetDlgItemText(kAmountId, model_.View().amount.c_str());
    return TRUE;
  }
  if (id == kOrderId && code == BN_CLICKED) {
    if (model_.OnOrder()) EndDialog(IDOK);
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}
