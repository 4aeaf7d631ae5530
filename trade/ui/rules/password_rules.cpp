#include "trade/ui/rules/password_rules.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/window.h"
#include "trade/core/sha1_digest.h"
#include "trade/core/trade_session.h"
#include "trade/ui/rules/trade_ui_messages.h"

namespace {
constexpr WPARAM kVirtualKeyReturn = 13;
constexpr LPARAM kPreviousKeyState = 1 << 30;
}  // namespace

bool IsFirstEnterPress(UINT message, WPARAM virtualKey, LPARAM keyData) {
  return message == WM_KEYDOWN && virtualKey == kVirtualKeyReturn &&
         (keyData & kPreviousKeyState) == 0;
}

bool RunUnlockCheck(CTradeSession& session, const std::string& password, HWND mainDialog) {
  const std::string digest = PasswordDigest(password);
  if (!digest.empty() && digest == session.GetAccount().pwdDigest) {
    ::PostMessage(mainDialog, WM_TRADE_UNLOCK, 0, 0);
    return true;
  }
  ::AfxMessageBox(GBK("输入密码错误，请重新输入"), MB_OK);
  return false;
}

const char* CPasswordChangeModel::TypeName(int type) {
  return type == 1 ? GBK("资金密码") : GBK("交易密码");
}

const char* CPasswordChangeModel::CurrentLabel(int type) {
  return type == 1 ? GBK("当前资金密码：") : GBK("当前交易密码：");
}

bool CPasswordChangeModel::Change(int type, const std::string& current,
                                  const std::string& newPassword, const std::string& confirmation) {
  const STradeAccount account = session_.GetAccount();
  const char code = type == 1 ? '4' : '1';
  const std::string& stored = type == 1 ? account.fundsPassword : account.pwdDigest;
  if (PasswordDigest(current) != stored) {
    ::AfxMessageBox(GBK("当前密码输入错误！"), MB_OK);
    return false;
  }
  if (newPassword != confirmation) {
    ::AfxMessageBox(GBK("两次输入新密码不一致，请重新输入！"), MB_OK);
    return false;
  }
  return session_.ChangePassword(code, stored, PasswordDigest(newPassword)) == 0;
}
