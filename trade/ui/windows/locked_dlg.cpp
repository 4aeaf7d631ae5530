#include "trade/ui/windows/locked_dlg.h"

#include "platform/gbk.h"
#include "platform/input.h"
#include "trade/ui/rules/password_rules.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade/ui/windows/trade_panel.h"

namespace {

const platform::DialogItem kLockedItems[] = {
    {platform::kStatic, CLockedDlg::kPromptId, GBK("交易已锁定，请输入密码解锁!"), 0, 0, 220, 16,
     SS_CENTER},
    {platform::kEdit, CLockedDlg::kPasswordId, nullptr, 0, 0, 104, 24,
     ES_PASSWORD | ES_AUTOHSCROLL},
    {platform::kButton, CLockedDlg::kOkId, GBK("确定"), 0, 0, 75, 23, BS_DEFPUSHBUTTON},
};

constexpr COLORREF kBackground = 0xF6F3EC;

// The lock dialog the hook posts to, and the hook.
HWND g_lockWnd = nullptr;
HHOOK g_enterHook = nullptr;
// A check is running: the Enter that closes its "wrong password" box is
// no new attempt (else every Enter on the box would bring it back).
bool g_checking = false;

LRESULT EnterHook(int code, WPARAM key, LPARAM keyData) {
  if (code >= 0 && g_lockWnd && !g_checking && IsFirstEnterPress(WM_KEYDOWN, key, keyData))
    ::PostMessage(g_lockWnd, WM_LOCK_ENTER, 0, 0);
  return CallNextHookEx(g_enterHook, code, key, keyData);
}

}  // namespace

CLockedDlg::CLockedDlg(CTradeSession& session)
    : CDialog(TradeChildTemplate(400, 300, kLockedItems)), session_(session) {
  background_.CreateSolidBrush(kBackground);
}

BOOL CLockedDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // Typing goes straight to the password; Enter anywhere runs the check.
  GotoDlgCtrl(GetDlgItem(kPasswordId));
  g_lockWnd = GetSafeHwnd();
  if (!g_enterHook) g_enterHook = SetWindowsHookEx(WH_KEYBOARD, EnterHook, nullptr, 0);
  return FALSE;
}

void CLockedDlg::OnDestroy() {
  if (g_enterHook) UnhookWindowsHookEx(g_enterHook);
  g_enterHook = nullptr;
  g_lockWnd = nullptr;
  CDialog::OnDestroy();
}

void CLockedDlg::RunUnlockCheck() {
  std::string password;
  GetDlgItemText(kPasswordId, password);
  CWnd* parent = GetParent();
  g_checking = true;
  ::RunUnlockCheck(session_, password, parent ? parent->GetSafeHwnd() : nullptr);
  g_checking = false;
}

BOOL CLockedDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) == kOkId && HIWORD(wParam) == BN_CLICKED) {
    RunUnlockCheck();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

LRESULT CLockedDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LOCK_ENTER) {
    // Enter pressed anywhere is an attempt only once something is typed:
    // a user who never came to unlock must not meet a refusal on every
    // Enter in the rest of the program. 确定 still checks what is there.
    std::string password;
    GetDlgItemText(kPasswordId, password);
    if (!password.empty()) RunUnlockCheck();
    return 1;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void CLockedDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  CWnd* prompt = GetDlgItem(kPromptId);
  CWnd* edit = GetDlgItem(kPasswordId);
  CWnd* ok = GetDlgItem(kOkId);
  if (cx < 0 || cy < 0 || !prompt || !edit || !ok) return;
  // The three are stacked in the middle of the area the dialog covers.
  CRect p, b;
  prompt->GetClientRect(&p);
  ok->GetClientRect(&b);
  prompt->MoveWindow(cx / 2 - p.Width() / 2, cy / 2 - p.Height() - 12 - 20, p.Width(), p.Height());
  edit->MoveWindow(cx / 2 - 52, cy / 2 - 12, 104, 24);
  ok->MoveWindow(cx / 2 - b.Width() / 2, cy / 2 + 12 + 20, b.Width(), b.Height());
}

HBRUSH CLockedDlg::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  // The edit keeps its colours; a push button keeps its own face and text,
  // as the desktop draws one whatever its dialog answers.
  if (kind == CTLCOLOR_EDIT || kind == CTLCOLOR_BTN) return nullptr;
  if (kind == CTLCOLOR_DLG) return &background_;
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}
