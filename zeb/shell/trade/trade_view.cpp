// The trading pane (trade_view.h).
#include "zeb/shell/trade/trade_view.h"

#include "platform/desktop.h"
#include "platform/window.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/store/public_store.h"

const STradeEntries* CTradeView::Trade() {
  CZEBApp* app = CZEBApp::Current();
  return app ? &app->Trade().Entries() : nullptr;
}

HWND CTradeView::GetTradeWnd() const {
  return m_hTradeWnd && ::IsWindow(m_hTradeWnd) ? m_hTradeWnd : nullptr;
}

void CTradeView::OnInitialUpdate() {
  CView::OnInitialUpdate();
  const STradeEntries* trade = Trade();
  if (!trade || !trade->InitDialog) return;
  // Null while the trading library has no connection; the pane stays empty.
  m_hTradeWnd = trade->InitDialog(GetSafeHwnd());
  CRect client;
  GetClientRect(&client);
  if (trade->MoveDlg) trade->MoveDlg(client);
}

BOOL CTradeView::OnEraseBkgnd(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  dc->FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
  return TRUE;
}

void CTradeView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  // A pane the splitter has hidden keeps the trading window where it was.
  if (cx == 0 || cy == 0) return;
  const STradeEntries* trade = Trade();
  if (trade && trade->MoveDlg) trade->MoveDlg(RECT{0, 0, cx, cy});
}

LRESULT CTradeView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (CTradeHostAnswers::IsQuestion(message)) {
    // The store of the moment: the pane never keeps it.
    CTradeHostAnswers answers(*CPublic::GetInstance());
    LRESULT result = 0;
    answers.Answer(message, wParam, lParam, GetTradeWnd(), &result);
    return result;
  }
  return CView::WindowProc(message, wParam, lParam);
}
