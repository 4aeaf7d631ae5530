// CLockedDlg: covers the trading main dialog while the session is locked
// and unlocks it when the login password is typed again (checked against
// the session's digest, no server involved). Enter runs the check too,
// wherever the focus is in the program: while the dialog exists a keyboard
// hook of the user-interface thread posts WM_LOCK_ENTER here for every
// first key-down of Enter; the key itself is never swallowed. One lock
// dialog at a time.
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
  BOOL OnInitDialog() override;
  void OnDestroy() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  HBRUSH OnCtlColor(CDC* dc, CWnd* child, UINT kind) override;

 private:
  CTradeSession& session_;
  CBrush background_;
};
