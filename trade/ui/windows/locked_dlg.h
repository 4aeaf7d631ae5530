// CLockedDlg: covers the trading main dialog while the session is locked
// and unlocks it when the login password is typed again (checked against
// the session's digest, no server involved). Enter runs the check too:
// the window layer's keyboard filter offers every key to this dialog while
// the keyboard focus is inside it (or inside the main dialog, which hands
// it on), and a first key-down of Enter posts WM_LOCK_ENTER here; the key
// itself is never swallowed.
#pragma once
#include "platform/dialog.h"

class CTradeSession;

class CLockedDlg : public CDialog {
 public:
  static constexpr int kTemplateId = 1015;
  enum : int { kPromptId = 1013, kPasswordId = 1052, kOkId = 1047 };

  explicit CLockedDlg(CTradeSession& session);

  // The check: the main dialog (the parent) gets WM_TRADE_UNLOCK when the
  // password matches, else the user is told.
  void RunUnlockCheck();
  // The keyboard filter's part: a first key-down of Enter posts
  // WM_LOCK_ENTER to the dialog. Never eats the key.
  void OfferKey(const MSG& msg);

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;

 private:
  CTradeSession& session_;
  CBrush background_;
};
