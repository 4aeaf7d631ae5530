#include "trade/ui/windows/main_dlg.h"

#include <QWidget>

#include "platform/gbk.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade/ui/windows/locked_dlg.h"
#include "trade/ui/windows/panel_factory.h"

namespace {

using M = CMainDlg;

const platform::DialogItem kMainItems[] = {
    {platform::kButton, M::kBuyId, GBK("买入"), 0, 0, 80, 20},
    {platform::kButton, M::kSellId, GBK("卖出"), 80, 0, 80, 20},
    {platform::kButton, M::kCancelId, GBK("撤单"), 160, 0, 80, 20},
    {platform::kButton, M::kFundsId, GBK("资金"), 240, 0, 80, 20},
    {platform::kButton, M::kOrdersId, GBK("今日委托"), 320, 0, 80, 20},
    {platform::kButton, M::kLockId, GBK("锁定"), 640, 0, 80, 20},
    {platform::kButton, M::kLeaveId, GBK("安全退出"), 720, 0, 80, 20},
    {platform::kButton, M::kPrintId, GBK("打印"), 560, 0, 80, 20},
    {platform::kStatic, M::kWelcomeId, "", 260, 3, 300, 20, SS_CENTERIMAGE},
    {platform::kTreeCtrl, M::kTreeId, nullptr, 0, 20, 200, 580,
     TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS},
    {platform::kStatic, M::kCaptionId, "Static", 200, 20, 600, 20},
};

// The button windows, in the order of CMainDlg::buttons_.
constexpr int kButtonIds[] = {M::kLockId, M::kLeaveId,  M::kPrintId, M::kBuyId,
                              M::kSellId, M::kCancelId, M::kFundsId, M::kOrdersId};

// The function tree's images: 16 x 16, teal (0, 128, 128) is transparent.
constexpr char kTreeImages[] = ":/trade/function_tree.png";
constexpr COLORREF kTreeImageMask = RGB(0, 128, 128);

STradeWindowEnv WithClock(STradeWindowEnv env) {
  if (!env.clock) env.clock = &SystemTradeClock();
  return env;
}

}  // namespace

CMainDlg::CMainDlg(const STradeWindowEnv& env)
    : CDialog(TradeChildTemplate(800, 600, kMainItems, WS_CHILD | WS_CLIPCHILDREN)),
      env_(WithClock(env)),
      core_(*this, *env_.host, *env_.session, *env_.clock) {}

CMainDlg::~CMainDlg() {
  // The panel and the lock dialog go before the window they live in.
  panel_.reset();
  lock_.reset();
}

BOOL CMainDlg::CreateIn(HWND hostPane) { return Create(CWnd::FromHandle(hostPane)); }

HTREEITEM CMainDlg::FunctionItem(int functionIndex) const {
  const std::vector<STreeEntry>& tree = core_.Tree();
  for (size_t i = 0; i < tree.size() && i < items_.size(); ++i)
    if (tree[i].functionIndex == functionIndex) return items_[i];
  return nullptr;
}

BOOL CMainDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The store announces replies to this window. It has its handle only
  // now, and its panels ask the server as they open: registered before
  // them, no reply comes back to a store that knows no window (and drops it).
  env_.session->SetMainWnd(GetSafeHwnd());
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i].SubclassDlgItem(kButtonIds[i], this);
  tree_.SubclassDlgItem(kTreeId, this);
  GetDlgItem(kPrintId)->ShowWindow(SW_HIDE);
  BuildTree();
  SetDlgItemText(kWelcomeId, core_.WelcomeText().c_str());
  core_.OnInitDialog();
  Layout();
  return TRUE;
}

void CMainDlg::BuildTree() {
  tree_.SetBkColor(CTreeCtrlEx::kMarkedBand);
  if (images_.Create(kTreeImages, 16, 0, kTreeImageMask))
    tree_.SetImageList(&images_, TVSIL_NORMAL);
  const std::vector<STreeEntry>& entries = core_.Tree();
  items_.clear();
  for (const STreeEntry& e : entries) {
    const HTREEITEM parent = e.parent >= 0 ? items_[static_cast<size_t>(e.parent)] : TVI_ROOT;
    const HTREEITEM item = tree_.InsertItem(e.text.c_str(), e.image, e.image, parent, TVI_LAST);
    tree_.SetItemColor(item, RGB(0, 0, 0));
    items_.push_back(item);
  }
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].isGroup) tree_.Expand(items_[i], TVE_EXPAND);
}

void CMainDlg::SelectTreeItem(int functionIndex) {
  if (HTREEITEM item = FunctionItem(functionIndex)) tree_.SelectItem(item);
}

BOOL CMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (id == kTreeId && code == TVN_SELCHANGED) {
    // Only the user's clicks choose a function; selections made by the
    // keyboard or by the program show nothing.
    if (tree_.GetSelChangeAction() == TVC_BYMOUSE)
      if (HTREEITEM item = tree_.GetSelectedItem()) core_.OnTreeClick(tree_.GetItemText(item));
    return TRUE;
  }
  if (code != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
  switch (id) {
    case kLockId: core_.Lock(); return TRUE;
    case kLeaveId: core_.OnLeave(); return TRUE;
    case kPrintId: core_.OnPrint(); return TRUE;
    case kBuyId:
    case kSellId:
    case kCancelId:
    case kFundsId:
    case kOrdersId: core_.OnQuickButton(id); return TRUE;
    default: return CDialog::OnCommand(wParam, lParam);
  }
}

BOOL CMainDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) core_.OnKeyInput();
  return CDialog::PreTranslateMessage(msg);
}

LRESULT CMainDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TRADE_REPLY: return core_.OnReply(wParam);
    case WM_TRADE_QUOTE: return core_.OnQuote(wParam, lParam);
    case WM_TRADE_SUBSCRIBE: return core_.OnSubscribe();
    case WM_TRADE_PRICES: return core_.OnPrices(reinterpret_cast<const TradePriceMap*>(wParam));
    case WM_REFRESH_TIMER: return core_.OnRefreshTimer(wParam);
    case WM_TRADE_UNLOCK: return core_.OnUnlock();
    case WM_TRADE_KEY: return core_.OnKey(wParam, lParam);
    case WM_TRADE_SELECT_FUNC: return core_.OnSelectFunction(lParam);
    default: return CDialog::WindowProc(message, wParam, lParam);
  }
}

void CMainDlg::OnTimer(UINT_PTR id) { core_.OnTimer(static_cast<UINT>(id)); }

void CMainDlg::StartTimer(UINT id, UINT ms) { SetTimer(id, ms); }

void CMainDlg::StopTimer(UINT id) { KillTimer(id); }

void CMainDlg::DestroyPanel() {
  if (!panel_) return;
  panel_->ShowWindow(SW_HIDE);
  panel_->DestroyWindow();
  panel_.reset();
}

HWND CMainDlg::ShowPanel(int functionIndex) {
  LockWindowUpdate();
  DestroyPanel();
  std::unique_ptr<CTradePanel> panel = CreateTradePanel(functionIndex, env_);
  if (panel && panel->Create(this)) {
    CRect client;
    GetClientRect(&client);
    panel->MoveWindow(kTreeWidth, kPanelTop, client.Width() - kTreeWidth,
                      client.Height() - kPanelTop);
    if (panel->OnPanelCreated()) {
      // A panel chosen while locked waits behind the lock dialog.
      if (!core_.IsLocked()) panel->ShowWindow(SW_SHOW);
      panel_ = std::move(panel);
    } else {
      panel->DestroyWindow();
    }
  }
  UnlockWindowUpdate();
  return panel_ ? panel_->GetSafeHwnd() : nullptr;
}

void CMainDlg::SetCaption(const std::string& caption) {
  SetDlgItemText(kCaptionId, caption.c_str());
}

void CMainDlg::ShowControls(bool show) {
  for (const int id : {kCaptionId, kWelcomeId, kTreeId, kLockId, kLeaveId, kBuyId, kSellId,
                       kCancelId, kFundsId, kOrdersId})
    if (CWnd* c = GetDlgItem(id)) c->ShowWindow(show ? SW_SHOW : SW_HIDE);
  if (panel_) panel_->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CMainDlg::ShowLocked(bool locked) {
  if (locked) {
    ShowControls(false);
    if (!lock_) {
      auto lock = std::make_unique<CLockedDlg>(*env_.session);
      if (lock->Create(this)) lock_ = std::move(lock);
    }
    Layout();
    if (lock_) {
      lock_->ShowWindow(SW_SHOW);
      lock_->GotoDlgCtrl(lock_->GetDlgItem(CLockedDlg::kPasswordId));
    }
  } else {
    if (lock_) {
      lock_->ShowWindow(SW_HIDE);
      lock_->DestroyWindow();
      lock_.reset();
    }
    ShowControls(true);
    Layout();
  }
  Invalidate();
}

void CMainDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  Layout();
}

void CMainDlg::Layout() {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  if (lock_ && lock_->IsCreated()) {
    lock_->MoveWindow(0, 0, w, h);
    return;
  }
  auto place = [this](int id, int x, int y, int cx, int cy) {
    if (CWnd* c = GetDlgItem(id)) c->MoveWindow(x, y, cx, cy);
  };
  place(kBuyId, 0, 0, 80, kTopBand);
  place(kSellId, 80, 0, 80, kTopBand);
  place(kCancelId, 160, 0, 80, kTopBand);
  place(kFundsId, 240, 0, 80, kTopBand);
  place(kOrdersId, 320, 0, 80, kTopBand);
  place(kLockId, w - 160, 0, 80, kTopBand);
  place(kLeaveId, w - 80, 0, 80, kTopBand);
  place(kWelcomeId, w - 540, 3, kWelcomeWidth, kTopBand);
  place(kTreeId, 0, kTopBand, kTreeWidth, h - kTopBand);
  place(kCaptionId, kTreeWidth, kTopBand, w - kTreeWidth, kTopBand);
  if (panel_ && panel_->IsCreated())
    panel_->MoveWindow(kTreeWidth, kPanelTop, w - kTreeWidth, h - kPanelTop);
}

void CMainDlg::OnDestroy() {
  // The dialog's end ends the connection; the panel and the lock dialog
  // end with it (their objects go with this one).
  if (env_.unlink) env_.unlink();
  if (panel_) {
    panel_->ShowWindow(SW_HIDE);
    panel_->DestroyWindow();
  }
  if (lock_) lock_->DestroyWindow();
  CDialog::OnDestroy();
}
