#include "trade/ui/windows/wtqr_dlg.h"

#include <QComboBox>
#include <QLineEdit>

#include "platform/gbk.h"
#include "trade/host/trade_reply_messages.h"
#include "trade/ui/windows/color_list_ctrl.h"

namespace {

using W = CWtqrDlg;

// Controls with their texts; OnSize places them (the rows of the buy and
// the sell side differ), so the table's rectangles are only sizes.
const platform::DialogItem kWtqrItems[] = {
    {platform::kStatic, W::kCodeLabelId, GBK("藏品代码："), 0, 0, 60, 20},
    {platform::kEdit, W::kCodeId, nullptr, 0, 0, 120, 20, ES_NUMBER | ES_AUTOHSCROLL},
    {platform::kStatic, W::kNameLabelId, GBK("藏品名称："), 0, 0, 60, 20},
    {platform::kStatic, W::kNameId, "", 0, 0, 120, 20},
    {platform::kStatic, W::kKindLabelId, GBK("报价方式："), 0, 0, 60, 20},
    {platform::kComboBox, W::kKindId, nullptr, 0, 0, 120, 120, CBS_DROPDOWNLIST},
    {platform::kStatic, W::kPriceLabelId, "", 0, 0, 60, 20},
    {platform::kEdit, W::kPriceId, nullptr, 0, 0, 102, 20, ES_AUTOHSCROLL},
    {platform::kStatic, W::kYuanId, GBK("元"), 0, 0, 20, 20},
    {platform::kStatic, W::kFundsLabelId, GBK("可用资金："), 0, 0, 60, 20},
    {platform::kStatic, W::kFundsId, "", 0, 0, 120, 20},
    {platform::kStatic, W::kMaximumLabelId, "", 0, 0, 60, 20},
    {platform::kStatic, W::kMaximumId, "", 0, 0, 60, 20},
    {platform::kButton, W::kAllId, GBK("全部"), 0, 0, 40, 20},
    {platform::kStatic, W::kUnitId, GBK("份"), 0, 0, 20, 20},
    {platform::kRadio, W::kHalfId, "1/2", 0, 0, 48, 20, WS_GROUP},
    {platform::kRadio, W::kHalfId + 1, "1/3", 0, 0, 48, 20},
    {platform::kRadio, W::kHalfId + 2, "1/4", 0, 0, 48, 20},
    {platform::kRadio, W::kFifthId, "1/5", 0, 0, 48, 20},
    {platform::kStatic, W::kQuantityLabelId, "", 0, 0, 60, 20},
    {platform::kEdit, W::kQuantityId, nullptr, 0, 0, 100, 20, ES_NUMBER | ES_AUTOHSCROLL},
    {platform::kStatic, W::kUnit2Id, GBK("份"), 0, 0, 20, 20},
    {platform::kButton, W::kOrderId, "", 0, 0, 80, 25},
    {platform::kStatic, W::kHoldingsLabelId, "", 0, 0, 100, 20},
};

constexpr int kCodeDigits = 6;
constexpr COLORREF kWtqrEntryText = RGB(0, 0, 255);
constexpr COLORREF kEntryBack = RGB(255, 255, 255);

}  // namespace

CWtqrDlg::CWtqrDlg(const STradeWindowEnv& env, int function, int side)
    : CTradePanel(TradeChildTemplate(800, 400, kWtqrItems), env, function),
      model_(side, *env.session, *env.host),
      holdings_(std::make_unique<CMyColorListCtrl>()) {
  white_.CreateSolidBrush(kEntryBack);
  levels_.m_mode = kStripFiveLevels;
  summary_.m_mode = kStripSummary;
}

CWtqrDlg::~CWtqrDlg() = default;

BOOL CWtqrDlg::OnInitDialog() {
  CTradePanel::OnInitDialog();
  const SOrderSideTexts side = OrderSideTexts(model_.Side());
  SetDlgItemText(kPriceLabelId, side.priceLabel);
  SetDlgItemText(kQuantityLabelId, side.quantityLabel);
  SetDlgItemText(kMaximumLabelId, side.maximumLabel);
  SetDlgItemText(kOrderId, side.orderButton);
  GetDlgItem(kFundsLabelId)->ShowWindow(side.showsFunds ? SW_SHOW : SW_HIDE);
  GetDlgItem(kFundsId)->ShowWindow(side.showsFunds ? SW_SHOW : SW_HIDE);
  SetDlgItemText(kHoldingsLabelId, GBK("当前持仓"));
  GetDlgItemT<QLineEdit>(kCodeId)->setMaxLength(kCodeDigits);
  // The kind list offers 限价委托 alone.
  auto* kinds = GetDlgItemT<QComboBox>(kKindId);
  kinds->addItem(platform::GbkToQString(OrderKindName(0)));
  kinds->setCurrentIndex(0);
  CheckRadioButton(kHalfId, kFifthId, 0);

  levels_.Create(this, CRect(200, 5, 400, 185), kLevelsId, WS_CHILD | WS_VISIBLE);
  summary_.Create(this, CRect(200, 185, 400, 225), kSummaryId, WS_CHILD | WS_VISIBLE);
  holdings_->Create(this, CRect(410, 25, 610, 225), kHoldingsId,
                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  holdings_->SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  holdings_->SetColumns(model_.Holdings().columns);
  ShowView();
  model_.OnInit();
  SetTimer(kQuoteTimerId, COrderEntryModel::kQuoteRefreshMs);
  return TRUE;
}

void CWtqrDlg::OnTimer(UINT_PTR id) {
  if (id == kQuoteTimerId) model_.RefreshQuote();
}

std::string CWtqrDlg::ItemText(int id) const {
  std::string text;
  GetDlgItemText(id, text);
  return text;
}

void CWtqrDlg::SetTextQuietly(int id, const std::string& text) {
  if (ItemText(id) != text) SetDlgItemText(id, text.c_str());
}

void CWtqrDlg::ShowView() {
  ++writing_;
  const SOrderEntryView& v = model_.View();
  SetTextQuietly(kCodeId, v.code);
  SetTextQuietly(kNameId, v.name);
  SetTextQuietly(kPriceLabelId, v.priceLabel);
  SetTextQuietly(kPriceId, v.price);
  GetDlgItem(kPriceId)->EnableWindow(v.priceEnabled);
  SetTextQuietly(kFundsId, v.fundsText);
  SetTextQuietly(kMaximumId, v.maximumText);
  SetTextQuietly(kQuantityId, v.quantity);
  CheckRadioButton(kHalfId, kFifthId, v.checkedFraction >= 2 ? kHalfId + v.checkedFraction - 2 : 0);
  if (levels_.IsCreated() && levels_.GetText() != QuoteStripText(v.levelsText, levels_.m_mode))
    levels_.SetText(v.levelsText);
  if (summary_.IsCreated() && summary_.GetText() != QuoteStripText(v.summaryText, summary_.m_mode))
    summary_.SetText(v.summaryText);
  --writing_;
}

void CWtqrDlg::FillHoldings() { holdings_->SetRows(model_.Holdings().rows, model_.Holdings().cut); }

BOOL CWtqrDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == EN_CHANGE) {
    if (writing_) return TRUE;
    if (id == kCodeId) model_.OnCodeChanged(ItemText(kCodeId));
    else if (id == kPriceId) model_.OnPriceChanged(ItemText(kPriceId));
    else if (id == kQuantityId) model_.OnQuantityChanged(ItemText(kQuantityId));
    ShowView();
    return TRUE;
  }
  if (id == kKindId && code == CBN_SELCHANGE) {
    model_.OnQuantityChanged(ItemText(kQuantityId));
    model_.OnKindChanged(GetDlgItemT<QComboBox>(kKindId)->currentIndex());
    ShowView();
    return TRUE;
  }
  if (id == kHoldingsId && code == NM_DBLCLK) {
    if (model_.OnTakeHolding(holdings_->SourceRow(holdings_->GetSelectionMark()))) {
      ShowView();
      GotoDlgCtrl(GetDlgItem(kPriceId));
    }
    return TRUE;
  }
  if (code != BN_CLICKED) return CTradePanel::OnCommand(wParam, lParam);
  if (id == kOrderId) {
    model_.OnOrderButton();
  } else if (id == kAllId) {
    model_.OnAllButton();
  } else if (id >= kHalfId && id <= kFifthId) {
    model_.OnFractionButton(id - kHalfId + 2);
  } else {
    return CTradePanel::OnCommand(wParam, lParam);
  }
  ShowView();
  return TRUE;
}

void CWtqrDlg::OnPanelMessage(UINT message) {
  if (message == WM_TRADE_HOLDINGS) {
    model_.OnHoldings();
    FillHoldings();
  } else if (message == WM_TRADE_MAX_QTY) {
    model_.OnLimits();
    ShowView();
    Invalidate();
  }
}

LRESULT CWtqrDlg::OnTradeQuote(WPARAM kind, LPARAM data) {
  if (kind == 1) {
    model_.OnName(reinterpret_cast<const char*>(data));
  } else if (kind == 3) {
    const auto* packet = reinterpret_cast<const STradeQuotePacket*>(data);
    if (packet) model_.OnQuotePacket(packet->data, packet->length);
  } else {
    return 0;
  }
  ShowView();
  return 1;
}

void CWtqrDlg::OnSize(UINT type, int cx, int cy) {
  CTradePanel::OnSize(type, cx, cy);
  auto place = [this](int id, int x, int y, int w, int h) {
    if (CWnd* c = GetDlgItem(id)) c->MoveWindow(x, y, w, h);
  };
  // Rows 24 pixels apart: labels at row + 8, inputs at row + 5. The funds
  // row exists on the buy side only.
  place(kCodeLabelId, 8, 8, 60, 20);
  place(kCodeId, 70, 5, 120, 20);
  place(kNameLabelId, 8, 32, 60, 20);
  place(kNameId, 70, 29, 120, 20);
  place(kKindLabelId, 8, 56, 60, 20);
  place(kKindId, 70, 53, 120, 120);
  place(kPriceLabelId, 8, 80, 60, 20);
  place(kPriceId, 70, 77, 102, 20);
  place(kYuanId, 176, 81, 20, 20);
  int y = 96;
  if (OrderSideTexts(model_.Side()).showsFunds) {
    place(kFundsLabelId, 8, 104, 60, 20);
    place(kFundsId, 70, 101, 120, 20);
    y += 24;
  }
  place(kMaximumLabelId, 8, y + 8, 60, 20);
  place(kMaximumId, 70, y + 5, 60, 20);
  place(kAllId, 132, y + 5, 40, 20);
  place(kUnitId, 176, y + 9, 20, 20);
  y += 24;
  for (int i = 0; i < 4; ++i) place(kHalfId + i, 8 + 48 * i, y + 5, 48, 20);
  y += 24;
  place(kQuantityLabelId, 8, y + 8, 60, 20);
  place(kQuantityId, 70, y + 5, 100, 20);
  place(kUnit2Id, 174, y + 9, 20, 20);
  y += 24;
  place(kOrderId, 110, y + 5, 80, 25);
  if (levels_.IsCreated()) levels_.MoveWindow(200, 5, 200, 180);
  if (summary_.IsCreated()) summary_.MoveWindow(200, 185, 200, 40);
  place(kHoldingsLabelId, 410, 5, 100, 20);
  if (holdings_->IsCreated()) holdings_->MoveWindow(410, 25, cx - 415, cy - 30);
}

HBRUSH CWtqrDlg::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  if (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_LISTBOX) {
    dc->SetTextColor(kWtqrEntryText);
    dc->SetBkColor(kEntryBack);
    return &white_;
  }
  return CTradePanel::OnCtlColor(dc, child, kind);
}
