// The lock dialog's unlock check and the password form's change, both
// against the digests the session keeps (never the passwords themselves).
#pragma once
#include <string>

#include "platform/types.h"

class CTradeSession;

// The lock dialog's keyboard filter: true for a key-down of Enter that is
// not an auto-repeat (bit 30 of the key data clear), so holding Enter runs
// the check once.
bool IsFirstEnterPress(UINT message, WPARAM virtualKey, LPARAM keyData);

// The unlock check: when the password's digest equals the session's
// trading-password digest, WM_TRADE_UNLOCK is posted to the main dialog and
// the result is true; otherwise the box "输入密码错误，请重新输入" and false.
bool RunUnlockCheck(CTradeSession& session, const std::string& password, HWND mainDialog);

// The password form (trading password entry 0, funds password entry 1).
class CPasswordChangeModel {
 public:
  explicit CPasswordChangeModel(CTradeSession& session) : session_(session) {}

  // "交易密码" / "资金密码", and the label of the current-password field.
  static const char* TypeName(int type);
  static const char* CurrentLabel(int type);

  // Checks the current password against the stored digest and the two new
  // ones against each other (boxes on a mismatch, nothing sent), then sends
  // the change. The stored digest is replaced when the server confirms it.
  // True when the change was sent.
  bool Change(int type, const std::string& current, const std::string& newPassword,
              const std::string& confirmation);

 private:
  CTradeSession& session_;
};
