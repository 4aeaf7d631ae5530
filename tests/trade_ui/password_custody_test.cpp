// The lock dialog's check, the password change (the stored digest follows
// the server's answer) and the custody page addresses.
#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "trade/core/sha1_digest.h"
#include "trade/ui/rules/custody_pages.h"
#include "trade/ui/rules/password_rules.h"
#include "trade/core/trade_messages.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade/ui/rules/url_text.h"
#include "trade/ui/rules/web_engine_start.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

class PasswordTest : public ::testing::Test {
 protected:
  PasswordTest() {
    shell_test::EnsureQtApp();
    rec_.session.SetPasswordDigest(PasswordDigest("trade1"));
    rec_.Login({{9111, PasswordDigest("funds1")}});
    rec_.session.SetMainWnd(reinterpret_cast<HWND>(0x10));
  }
  void Reply1004(const char* code) { rec_.Feed(MT_CHANGE_PWD_RSP, {{9001, code}, {9002, "no"}}); }

  platform::ScopedRecordingBoxes boxes_;
  RecordedSession rec_;
};

TEST_F(PasswordTest, EnterRunsTheUnlockCheckOncePerPress) {
  const LPARAM repeat = 1 << 30;
  EXPECT_TRUE(IsFirstEnterPress(WM_KEYDOWN, 13, 0x1C0001));
  EXPECT_FALSE(IsFirstEnterPress(WM_KEYDOWN, 13, 0x1C0001 | repeat));  // held down
  EXPECT_FALSE(IsFirstEnterPress(WM_CHAR, 13, 0));
  EXPECT_FALSE(IsFirstEnterPress(WM_KEYDOWN, 'A', 0));

  MsgProbe dialog;
  EXPECT_FALSE(RunUnlockCheck(rec_.session, "", dialog.GetSafeHwnd()));
  EXPECT_FALSE(RunUnlockCheck(rec_.session, "funds1", dialog.GetSafeHwnd()));
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>(2, GBK("输入密码错误，请重新输入")));
  EXPECT_TRUE(RunUnlockCheck(rec_.session, "trade1", dialog.GetSafeHwnd()));
  platform::PumpMessages(0);
  EXPECT_EQ(dialog.Messages(), std::vector<UINT>{WM_TRADE_UNLOCK});
}

TEST_F(PasswordTest, WrongCurrentPasswordOrMismatchSendsNothing) {
  CPasswordChangeModel form(rec_.session);
  EXPECT_FALSE(form.Change(0, "funds1", "n", "n"));
  EXPECT_FALSE(form.Change(1, "trade1", "n", "n"));
  EXPECT_FALSE(form.Change(0, "trade1", "new1", "new2"));
  EXPECT_EQ(BoxTexts(boxes_),
            (std::vector<std::string>{GBK("当前密码输入错误！"), GBK("当前密码输入错误！"),
                                      GBK("两次输入新密码不一致，请重新输入！")}));
  EXPECT_TRUE(rec_.TakeSent().empty());
  EXPECT_STREQ(CPasswordChangeModel::CurrentLabel(1), GBK("当前资金密码："));
}

TEST_F(PasswordTest, StoredDigestChangesOnlyWhenTheServerConfirms) {
  CPasswordChangeModel form(rec_.session);
  // Refused: the old trading password still unlocks.
  ASSERT_TRUE(form.Change(0, "trade1", "trade2", "trade2"));
  const auto sent = rec_.TakeSent();
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].msgType, MT_CHANGE_PWD);
  EXPECT_EQ(
      sent[0].body,
      (Fields{{8131, "1"}, {91, PasswordDigest("trade1")}, {9107, PasswordDigest("trade2")}}));
  EXPECT_EQ(rec_.session.GetAccount().pwdDigest, PasswordDigest("trade1"));
  Reply1004("6");
  EXPECT_EQ(rec_.session.GetAccount().pwdDigest, PasswordDigest("trade1"));
  // A late confirmation of the refused change replaces nothing.
  Reply1004("0");
  EXPECT_EQ(rec_.session.GetAccount().pwdDigest, PasswordDigest("trade1"));

  // Accepted: the new one unlocks, the funds password is untouched.
  ASSERT_TRUE(form.Change(0, "trade1", "trade2", "trade2"));
  Reply1004("0");
  EXPECT_EQ(rec_.session.GetAccount().pwdDigest, PasswordDigest("trade2"));
  EXPECT_EQ(rec_.session.GetAccount().fundsPassword, PasswordDigest("funds1"));
  MsgProbe dialog;
  EXPECT_TRUE(RunUnlockCheck(rec_.session, "trade2", dialog.GetSafeHwnd()));

  // The funds password: type "4", the trading password stays.
  ASSERT_TRUE(form.Change(1, "funds1", "", ""));  // an empty new password is allowed
  EXPECT_EQ(rec_.TakeSent().back().body.front(), (std::pair<int, std::string>{8131, "4"}));
  Reply1004("0");
  EXPECT_EQ(rec_.session.GetAccount().fundsPassword, PasswordDigest(""));
  EXPECT_EQ(rec_.session.GetAccount().pwdDigest, PasswordDigest("trade2"));
}

TEST(CustodyPages, AddressesEncodeTheirSegments) {
  EXPECT_EQ(CustodyAddress("http://h/p", "8001", "S"), "http://h/p/accountname/8001/sessionid/S");
  EXPECT_EQ(CustodyAddress("http://h", "a/b?c", "x y&z"),
            "http://h/accountname/a%2Fb%3Fc/sessionid/x%20y%26z");
  EXPECT_EQ(CustodyAddress("", "u", "s"), "/accountname/u/sessionid/s");
  EXPECT_EQ(PercentEncode(GBK("中")), "%D6%D0");
  EXPECT_EQ(PercentEncode("A-z_0.9~"), "A-z_0.9~");
  EXPECT_STREQ(CustodyPageKey(0), "CollectionPublishedApplyUrl");
  EXPECT_STREQ(CustodyPageKey(13), "QueryPaymentListingFeeListUrl");
  EXPECT_STREQ(CustodyPageKey(14), "");
  EXPECT_EQ(CustodyPageOfFunction(18), 3);
  EXPECT_EQ(CustodyPageOfFunction(29), -1);
}

// Before the first web view: as root the sandbox goes off for the process
// (unless already off), with one trace line; without the engine's helper no
// view is made at all, since the engine would end the program.
TEST(WebEngineStart, TheSandboxGoesOffAsRootAndAMissingHelperMakesNoView) {
  struct Case {
    SWebEngineFacts facts;
    bool canStart, sandboxOff, traced;
  } cases[] = {
      {{false, false, true}, true, false, false},  {{true, false, true}, true, true, true},
      {{true, true, true}, true, false, false},    {{true, false, false}, false, false, true},
      {{false, false, false}, false, false, true},
  };
  for (const Case& c : cases) {
    const SWebEngineStart start = DecideWebEngineStart(c.facts);
    SCOPED_TRACE(::testing::Message()
                 << c.facts.root << c.facts.sandboxAlreadyOff << c.facts.helperFound);
    EXPECT_EQ(start.canStart, c.canStart);
    EXPECT_EQ(start.turnSandboxOff, c.sandboxOff);
    EXPECT_EQ(!start.trace.empty(), c.traced);
  }
  // This machine's engine is installed: its helper is found.
  EXPECT_TRUE(WebEngineFactsOfProcess().helperFound);
}

}  // namespace
