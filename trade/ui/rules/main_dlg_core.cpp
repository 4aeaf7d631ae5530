#include "trade/ui/rules/main_dlg_core.h"

#include <cstdio>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/rules/trade_ui_messages.h"

CMainDlgCore::CMainDlgCore(IMainDlgView& view, ITradeHostPane& host, CTradeSession& session,
                           const ITradeClock& clock)
    : view_(view),
      host_(host),
      session_(session),
      clock_(clock),
      tree_(ParseFunctionTree(TradeFunctionTreeText())) {}

std::string CMainDlgCore::WelcomeText() const {
  const STradeAccount a = session_.GetAccount();
  return std::string(GBK("欢迎您 ")) + a.userName + GBK(" 您上次的登录时间是") + a.lastLoginTime;
}

void CMainDlgCore::OnInitDialog() {
  view_.SelectTreeItem(0);
  ShowFunction(0);
  session_.QueryHoldings();
  refreshTimer_.Start(clock_, kRefreshMs);
  view_.StartTimer(kRefreshTimerId, kRefreshMs);
}

void CMainDlgCore::OnTreeClick(const std::string& itemText) {
  const int index = FindFunctionByName(tree_, itemText);
  if (index >= 0 && index != current_) ShowFunction(index);
}

void CMainDlgCore::OnQuickButton(int buttonId) {
  const int index = QuickButtonFunction(buttonId);
  if (index < 0) return;
  view_.SelectTreeItem(index);
  ShowFunction(index);
}

LRESULT CMainDlgCore::OnSelectFunction(LPARAM function) {
  if (function < 0 || function > 12) return 1;
  ShowFunction(static_cast<int>(function));
  return 0;
}

void CMainDlgCore::ShowFunction(int index) {
  if (!GetTradeFunction(index)) return;
  // The view destroys the old panel first, so nothing reaches it from now on.
  panel_ = nullptr;
  panel_ = view_.ShowPanel(index);
  view_.SetCaption(TradeFunctionCaption(index));
  current_ = index;
}

LRESULT CMainDlgCore::OnReply(WPARAM panelMessage) {
  if (panel_) ::PostMessage(panel_, static_cast<UINT>(panelMessage), 0, 0);
  return 1;
}

LRESULT CMainDlgCore::OnQuote(WPARAM kind, LPARAM data) {
  if (current_ != 0 && current_ != 1) return 0;
  if ((kind == 1 || kind == 3) && panel_) ::SendMessage(panel_, WM_TRADE_QUOTE, kind, data);
  return 1;
}

LRESULT CMainDlgCore::OnSubscribe() {
  std::vector<std::string> codes;
  for (const SPositionInfo& h : session_.GetHoldings()) codes.push_back(h.productCode);
  if (!codes.empty()) host_.Subscribe(codes);
  return 1;
}

LRESULT CMainDlgCore::OnPrices(const TradePriceMap* prices) {
  if (prices) {
    session_.EditHoldings([prices](std::span<SPositionInfo> rows) {
      for (const auto& [code, price] : *prices) {
        for (SPositionInfo& row : rows) {
          if (TextToInt(row.productCode) == code) {
            row.lastPrice = price;
            break;  // only the first row of a code held twice
          }
        }
      }
    });
  }
  if (panel_) ::PostMessage(panel_, static_cast<UINT>(WM_TRADE_HOLDINGS), 0, 0);
  return 1;
}

LRESULT CMainDlgCore::OnRefreshTimer(WPARAM start) {
  if (start == 1) {
    refreshTimer_.Start(clock_, kFastRefreshMs);
    view_.StartTimer(kRefreshTimerId, kFastRefreshMs);
  } else {
    refreshTimer_.Stop();
    view_.StopTimer(kRefreshTimerId);
  }
  return 1;
}

LRESULT CMainDlgCore::OnKey(WPARAM key, LPARAM data) {
  if (panel_) ::SendMessage(panel_, WM_CHAR, key, data);
  return 1;
}

void CMainDlgCore::OnKeyInput() {
  lockTimer_.Start(clock_, kLockMs);
  view_.StartTimer(kLockTimerId, kLockMs);
}

void CMainDlgCore::OnTimer(UINT id) {
  CDeadlineTimer* timer =
      id == kLockTimerId ? &lockTimer_ : (id == kRefreshTimerId ? &refreshTimer_ : nullptr);
  if (!timer || !timer->IsArmed()) return;
  const bool repeat = id == kRefreshTimerId;
  if (!timer->Due(clock_, repeat)) {
    // Woken early: the window timer waits for what is left, so no tick is lost.
    view_.StartTimer(id, static_cast<UINT>(timer->RemainingMs(clock_)));
    return;
  }
  if (repeat) {
    view_.StartTimer(id, static_cast<UINT>(timer->PeriodMs()));
    OnSubscribe();
  } else {
    view_.StopTimer(id);
    Lock();
  }
}

void CMainDlgCore::Lock() {
  if (locked_) return;
  locked_ = true;
  view_.ShowLocked(true);
}

LRESULT CMainDlgCore::OnUnlock() {
  if (locked_) {
    locked_ = false;
    view_.ShowLocked(false);
  }
  return 0;
}

void CMainDlgCore::OnLeave() { host_.Leave(); }

void CMainDlgCore::OnPrint() { ::AfxMessageBox(GBK("暂不支持该功能"), MB_OK); }
