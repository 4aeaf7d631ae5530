// The trading window's windows over their rules, offscreen: the main
// dialog's tree, quick buttons, panel switches and idle lock, the lock
// dialog's Enter (anywhere in the program), the password form, the order entry's controls, and the
// lifetime of panels switched with replies still queued.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <memory>

#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/gallery.h"
#include "trade/core/list_rows.h"
#include "trade/core/sha1_digest.h"
#include "trade/ui/rules/function_table.h"
#include "trade/ui/rules/quote_packet.h"
#include "trade/core/trade_messages.h"
#include "trade/ui/rules/trade_ui_messages.h"
#include "trade/ui/windows/change_pswd_form.h"
#include "trade/ui/windows/color_list_ctrl.h"
#include "trade/ui/windows/list_fill.h"
#include "trade/ui/windows/locked_dlg.h"
#include "trade/ui/windows/main_dlg.h"
#include "trade/ui/windows/query_trade_bars.h"
#include "trade/ui/windows/wtqr_dlg.h"
#include "trade_ui_test_support.h"
#include "trade_window_on_pane.h"

namespace {

using namespace tradeui_test;
using platform::testing::ClickCtl;
using platform::testing::FindCtl;

class TradeWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  TradeWindowsTest() {
    rec_.Login(
        {{9103, GBK("测试用户")}, {9105, "2026-12-09 09:30:00"}, {9111, PasswordDigest("fund")}});
    rec_.session.SetPasswordDigest(PasswordDigest("pass"));
    rec_.session.SetUserId("u01");
    env_.session = &rec_.session;
    env_.host = &host_;
    env_.clock = &clock_;
    env_.unlink = [this] { ++unlinks_; };
    host_.known = {{602001, 12000}};
  }

  // The trading window in a pane of its own, shown and active.
  CMainDlg& Open() {
    CMainDlg& dlg = window_.Open(env_);
    rec_.TakeSent();
    return dlg;
  }
  void Pump() { platform::PumpMessages(0); }
  std::string Caption() { return dlg_->GetDlgItem(CMainDlg::kCaptionId)->GetWindowTextString(); }
  // A click on a tree item, as the user makes it.
  void ClickItem(HTREEITEM item) {
    CRect r;
    ASSERT_TRUE(dlg_->GetTree().GetItemRect(item, &r, TRUE));
    QTest::mouseClick(dlg_->GetTree().viewport(), Qt::LeftButton, {},
                      QPoint(r.left + 4, r.CenterPoint().y));
  }

  RecordedSession rec_;
  FakeHost host_;
  CManualTradeClock clock_;
  STradeWindowEnv env_;
  int unlinks_ = 0;
  platform::ScopedRecordingBoxes boxes_;
  CTradeWindowOnPane window_;
  std::unique_ptr<CMainDlg>& dlg_ = window_.dlg;
};

TEST_F(TradeWindowsTest, TreeListsTheThirtyFunctionsInOrderAndOnlyFunctionItemsSwitch) {
  CMainDlg& dlg = Open();
  CTreeCtrlEx& tree = dlg.GetTree();
  EXPECT_EQ(tree.GetCount(), 35u);
  for (int i = 0; i < kTradeFunctionCount; ++i) {
    ASSERT_NE(dlg.FunctionItem(i), nullptr) << i;
    EXPECT_EQ(tree.GetItemText(dlg.FunctionItem(i)), TradeFunctionName(i)) << i;
    EXPECT_TRUE(tree.IsMarked(dlg.FunctionItem(i)));
  }
  // The start shows 买入 with its caption and the welcome line.
  ASSERT_NE(dlg.GetPanel(), nullptr);
  EXPECT_EQ(dlg.GetPanel()->Function(), 0);
  EXPECT_EQ(Caption(), GBK("交易>>买入"));
  EXPECT_EQ(dlg.GetDlgItem(CMainDlg::kWelcomeId)->GetWindowTextString(),
            GBK("欢迎您 测试用户 您上次的登录时间是2026-12-09 09:30:00"));
  EXPECT_FALSE(dlg.GetDlgItem(CMainDlg::kPrintId)->IsWindowVisible());

  // A group heading changes nothing; nor does the function already shown.
  const HWND buying = dlg.GetPanel()->GetSafeHwnd();
  HTREEITEM queries = tree.GetParentItem(dlg.FunctionItem(4));
  ASSERT_NE(queries, nullptr);
  EXPECT_EQ(tree.GetItemText(queries), GBK("查询"));
  ClickItem(queries);
  ClickItem(dlg.FunctionItem(0));
  EXPECT_EQ(dlg.GetPanel()->GetSafeHwnd(), buying);
  EXPECT_EQ(Caption(), GBK("交易>>买入"));
  // A function item switches; a selection by code shows nothing.
  ClickItem(dlg.FunctionItem(7));
  EXPECT_EQ(dlg.GetPanel()->Function(), 7);
  EXPECT_EQ(Caption(), GBK("查询>>今日成交"));
  tree.SelectItem(dlg.FunctionItem(9));
  EXPECT_EQ(dlg.GetPanel()->Function(), 7);
}

TEST_F(TradeWindowsTest, TheSelectedItemIsItsWhiteBoxOnTheBandWithoutAHighlightedRow) {
  CMainDlg& dlg = Open();
  CTreeCtrlEx& tree = dlg.GetTree();
  tree.setFocus();
  CRect row;
  ASSERT_TRUE(tree.GetItemRect(dlg.FunctionItem(12), &row, TRUE));
  ClickItem(dlg.FunctionItem(12));  // 签约解约: a marked item, selected
  ASSERT_EQ(tree.GetSelectedItem(), dlg.FunctionItem(12));
  const QImage image = tree.viewport()->grab().toImage();
  // Within a shade (the style blends its selection a little).
  auto near = [](QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
           std::abs(a.blue() - b.blue()) < 8;
  };
  const QColor band(0x40, 0x60, 0xB0);
  const int y = row.CenterPoint().y;
  EXPECT_TRUE(near(image.pixelColor(image.width() - 3, y), band))  // right of the box
      << image.pixelColor(image.width() - 3, y).name().toStdString();
  EXPECT_TRUE(near(image.pixelColor(2, y), band)) << image.pixelColor(2, y).name().toStdString();
  EXPECT_TRUE(near(image.pixelColor(row.left + 1, row.top + 1), Qt::white));  // the box
}

TEST_F(TradeWindowsTest, AQuickButtonCreatesItsPanelAnewEachTime) {
  CMainDlg& dlg = Open();
  std::vector<HWND> seen;
  for (int i = 0; i < 2; ++i) {
    ClickCtl(dlg, CMainDlg::kSellId);
    ASSERT_NE(dlg.GetPanel(), nullptr);
    EXPECT_EQ(dlg.GetPanel()->Function(), 1);
    EXPECT_TRUE(dlg.GetPanel()->IsWindowVisible());
    EXPECT_NE(dynamic_cast<CWtqrDlg*>(dlg.GetPanel()), nullptr);
    seen.push_back(dlg.GetPanel()->GetSafeHwnd());
  }
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_EQ(dlg.GetTree().GetSelectedItem(), dlg.FunctionItem(1));
  EXPECT_EQ(Caption(), GBK("交易>>卖出"));
  // Each new order entry asked for funds and holdings.
  const auto sent = rec_.SentTypes();
  EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string(MT_QRY_FUNDS)), 2);
  // The panel fills the area right of the tree and below the caption.
  CRect r;
  dlg.GetPanel()->GetWindowRect(&r);
  dlg.ScreenToClient(&r);
  EXPECT_EQ(r, CRect(200, 40, 1000, 640));
  // The welcome line keeps its 300 pixels, 540 from the right edge.
  dlg.GetDlgItem(CMainDlg::kWelcomeId)->GetWindowRect(&r);
  dlg.ScreenToClient(&r);
  EXPECT_EQ(r, CRect(460, 3, 760, 23));
}

TEST_F(TradeWindowsTest, IdleLockAfterTheInjectedIntervalAndEnterChecksOncePerPress) {
  CMainDlg& dlg = Open();
  // No key yet: the lock timer never runs.
  clock_.Advance(CMainDlgCore::kLockMs * 2);
  dlg.SendMessage(WM_TIMER, CMainDlgCore::kLockTimerId);
  EXPECT_EQ(dlg.GetLockDialog(), nullptr);
  // One key, then only time: locked once the interval has passed.
  auto* code = FindCtl<QLineEdit>(*dlg.GetPanel(), CWtqrDlg::kCodeId);
  QTest::keyClick(code, Qt::Key_1);
  clock_.Advance(CMainDlgCore::kLockMs - 1);
  dlg.SendMessage(WM_TIMER, CMainDlgCore::kLockTimerId);
  EXPECT_EQ(dlg.GetLockDialog(), nullptr);
  clock_.Advance(1);
  dlg.SendMessage(WM_TIMER, CMainDlgCore::kLockTimerId);
  CLockedDlg* lock = dlg.GetLockDialog();
  ASSERT_NE(lock, nullptr);
  EXPECT_TRUE(lock->IsWindowVisible());
  EXPECT_FALSE(dlg.GetPanel()->IsWindowVisible());
  EXPECT_FALSE(dlg.GetDlgItem(CMainDlg::kTreeId)->IsWindowVisible());
  CRect covered;
  lock->GetClientRect(&covered);
  EXPECT_EQ(covered, CRect(0, 0, 1000, 640));
  // Replies still reach the hidden panel.
  EXPECT_EQ(dlg.SendMessage(WM_TRADE_REPLY, WM_TRADE_HOLDINGS), 1);
  // 确定 keeps a push button's own light face with dark text.
  Pump();
  const QImage okFace = FindCtl<QWidget>(*lock, CLockedDlg::kOkId)->grab().toImage();
  int light = 0, dark = 0;
  for (int y = 0; y < okFace.height(); ++y)
    for (int x = 0; x < okFace.width(); ++x) {
      const int v = okFace.pixelColor(x, y).value();
      light += v > 200;
      dark += v < 90;
    }
  EXPECT_GT(light, okFace.width() * okFace.height() / 2) << light << " " << dark;
  EXPECT_GT(dark, 10);  // the text

  // Nothing typed yet: Enter, in the field or anywhere else, is no attempt.
  auto* password = FindCtl<QLineEdit>(*lock, CLockedDlg::kPasswordId);
  boxes_.Clear();
  QTest::keyClick(password, Qt::Key_Return);
  QTest::keyClick(dlg.GetWidget(), Qt::Key_Return);
  Pump();
  EXPECT_TRUE(BoxTexts(boxes_).empty());
  EXPECT_NE(dlg.GetLockDialog(), nullptr);
  // A wrong password: Enter checks once, however long it is held.
  password->setFocus();
  QTest::keyClicks(password, "wrong");
  boxes_.Clear();
  QTest::keyPress(password, Qt::Key_Return);
  for (int i = 0; i < 3; ++i) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(password, &repeat);
  }
  QTest::keyRelease(password, Qt::Key_Return);
  Pump();
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("输入密码错误，请重新输入")});
  EXPECT_NE(dlg.GetLockDialog(), nullptr);
  // Enter with the focus elsewhere in the trading window checks too.
  dlg.GetWidget()->setFocus();
  boxes_.Clear();
  QTest::keyClick(dlg.GetWidget(), Qt::Key_Return);
  Pump();
  EXPECT_EQ(BoxTexts(boxes_).size(), 1u);
  // And anywhere else in the program, in a window that is not ours.
  QLineEdit elsewhere;
  elsewhere.show();
  boxes_.Clear();
  QTest::keyClick(&elsewhere, Qt::Key_Return);
  QTest::keyClick(&elsewhere, Qt::Key_A);
  Pump();
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("输入密码错误，请重新输入")});
  {
    // The user closes the refusal with Enter: that is no new attempt.
    struct ClosedWithEnter : platform::RecordingMessageBoxSink {
      QWidget* where = nullptr;
      int Show(HWND owner, const std::string& text, const std::string& caption,
               UINT type) override {
        if (Boxes().size() < 3) QTest::keyClick(where, Qt::Key_Return);
        return RecordingMessageBoxSink::Show(owner, text, caption, type);
      }
    } sink;
    sink.where = &elsewhere;
    platform::MessageBoxSink* previous = platform::SetMessageBoxSink(&sink);
    QTest::keyClick(&elsewhere, Qt::Key_Return);
    for (int i = 0; i < 5; ++i) Pump();
    platform::SetMessageBoxSink(previous);
    EXPECT_EQ(sink.Boxes().size(), 1u);
  }
  // The right one unlocks: everything but the print button is back.
  password->setText("pass");
  QTest::keyClick(password, Qt::Key_Return);
  ASSERT_TRUE(platform::PumpUntil([&] { return dlg.GetLockDialog() == nullptr; }, 5000));
  boxes_.Clear();
  QTest::keyClick(&elsewhere, Qt::Key_Return);  // unlocked: Enter is Enter again
  Pump();
  EXPECT_TRUE(BoxTexts(boxes_).empty());
  EXPECT_TRUE(dlg.GetPanel()->IsWindowVisible());
  EXPECT_TRUE(dlg.GetDlgItem(CMainDlg::kLockId)->IsWindowVisible());
  EXPECT_FALSE(dlg.GetDlgItem(CMainDlg::kPrintId)->IsWindowVisible());
  // 锁定 locks at once.
  ClickCtl(dlg, CMainDlg::kLockId);
  EXPECT_NE(dlg.GetLockDialog(), nullptr);
}

TEST_F(TradeWindowsTest, PasswordFormSendsOnlyAConfirmedChangeOfTheRightPassword) {
  CMainDlg& dlg = Open();
  dlg.Core().ShowFunction(29);
  auto* form = dynamic_cast<CChangePswdForm*>(dlg.GetPanel());
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->GetDlgItem(CChangePswdForm::kCurrentLabelId)->GetWindowTextString(),
            GBK("当前交易密码："));
  struct Case {
    int type;
    const char *current, *fresh, *again;
    const char* box;  // nullptr: sent
  } cases[] = {
      {0, "bad", "new1", "new1", "当前密码输入错误！"},
      {0, "pass", "new1", "new2", "两次输入新密码不一致，请重新输入！"},
      {1, "pass", "new1", "new1", "当前密码输入错误！"},  // the funds password is another
      {1, "fund", "f2", "f2", nullptr},
      {0, "pass", "", "", nullptr},  // an empty new password is a password too
  };
  auto* types = FindCtl<QComboBox>(*form, CChangePswdForm::kTypeId);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.current);
    types->setFocus();
    if (types->currentIndex() != c.type)
      QTest::keyClick(types, c.type == 1 ? Qt::Key_Down : Qt::Key_Up);
    EXPECT_EQ(form->GetDlgItem(CChangePswdForm::kCurrentLabelId)->GetWindowTextString(),
              c.type == 1 ? GBK("当前资金密码：") : GBK("当前交易密码："));
    form->SetDlgItemText(CChangePswdForm::kCurrentId, c.current);
    form->SetDlgItemText(CChangePswdForm::kNewId, c.fresh);
    form->SetDlgItemText(CChangePswdForm::kConfirmId, c.again);
    boxes_.Clear();
    ClickCtl(*form, CChangePswdForm::kChangeId);
    const auto sent = rec_.TakeSent();
    if (c.box) {
      EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK(c.box)});
      EXPECT_TRUE(sent.empty());
    } else {
      ASSERT_EQ(sent.size(), 1u);
      EXPECT_EQ(sent[0].msgType, MT_CHANGE_PWD);
      EXPECT_EQ(sent[0].body.at(0).second, c.type == 1 ? "4" : "1");
      EXPECT_EQ(sent[0].body.at(2).second, PasswordDigest(c.fresh));
    }
  }
}

// A reply of today's orders asking for more rows than a list takes: the
// panel shows the first ones and says in a line under them that the list
// was cut; the line covers no row, and goes with the next reply.
TEST_F(TradeWindowsTest, AListCutToTheBoundSaysSoUnderItsRows) {
  CMainDlg& dlg = Open();
  dlg.Core().ShowFunction(6);
  Pump();
  auto* bar = dynamic_cast<CRecordQueryBar*>(dlg.GetPanel());
  ASSERT_NE(bar, nullptr);
  CMyColorListCtrl& list = bar->RecordList();
  const int asked = static_cast<int>(kMaxListRows) * 3;
  Fields many{{9001, "0"}, {9003, std::to_string(asked)}};
  for (int i = 0; i < asked; ++i) {
    many.push_back({40, i % 2 ? "0S" : "0B"});
    many.push_back({37, std::to_string(i)});
  }
  rec_.Feed(MT_QRY_ORDERS_RSP, many);
  dlg.SendMessage(WM_TRADE_REPLY, WM_TRADE_ORDERS);
  ASSERT_TRUE(platform::PumpUntil([&] { return list.GetItemCount() > 0; }, 10000));
  ASSERT_EQ(list.GetItemCount(), static_cast<int>(kMaxListRows));
  EXPECT_EQ(list.GetItemText(static_cast<int>(kMaxListRows) - 1, 8),
            std::to_string(kMaxListRows - 1));
  EXPECT_EQ(list.GetNote(), ListCutNote());
  EXPECT_NE(ListCutNote().find(std::to_string(kMaxListRows)), std::string::npos);
  auto* note = list.GetWidget()->findChild<QLabel*>();
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  const QRect noteRect(note->mapTo(list.GetWidget(), QPoint(0, 0)), note->size());
  EXPECT_GT(noteRect.top(), list.viewport()->geometry().bottom());
  EXPECT_LE(noteRect.bottom(), list.GetWidget()->height());
  EXPECT_GE(noteRect.height(), note->fontMetrics().height());
  // The last row, scrolled to, shows whole above the line.
  ASSERT_TRUE(list.EnsureVisible(list.GetItemCount() - 1, FALSE));
  CRect last;
  ASSERT_TRUE(list.GetItemRect(list.GetItemCount() - 1, &last, LVIR_BOUNDS));
  EXPECT_LE(last.bottom, list.viewport()->height());
  platform::testing::KeepPicture(bar->GetWidget()->grab().toImage(), "trade",
                                 "orders_cut_to_the_bound.png");
  // Sorting keeps every row and the line.
  list.SortByColumn(8, false);
  EXPECT_EQ(list.GetItemCount(), static_cast<int>(kMaxListRows));
  EXPECT_EQ(list.GetNote(), ListCutNote());

  rec_.Feed(MT_QRY_ORDERS_RSP, {{9001, "0"}, {9003, "1"}, {37, "7"}});
  dlg.SendMessage(WM_TRADE_REPLY, WM_TRADE_ORDERS);
  ASSERT_TRUE(platform::PumpUntil([&] { return list.GetItemCount() == 1; }, 10000));
  EXPECT_EQ(list.GetNote(), "");
  EXPECT_FALSE(note->isVisible());
}

TEST_F(TradeWindowsTest, OrderEntryShowsTheHostsQuoteAndTheHoldingsAndTakesAHolding) {
  CMainDlg& dlg = Open();
  ClickCtl(dlg, CMainDlg::kSellId);
  auto* entry = dynamic_cast<CWtqrDlg*>(dlg.GetPanel());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kOrderId)->GetWindowTextString(), GBK("卖出下单"));
  EXPECT_FALSE(entry->GetDlgItem(CWtqrDlg::kFundsId)->IsWindowVisible());
  EXPECT_EQ(entry->Levels().GetText(), QuoteStripText("", kStripFiveLevels));
  EXPECT_EQ(rec_.SentTypes(), (std::vector<std::string>{MT_QRY_FUNDS, MT_QRY_HOLDINGS}));

  // Holdings from the store, with their colour code column.
  rec_.Feed(MT_QRY_HOLDINGS_RSP, {{9001, "0"},
                                  {9003, "2"},
                                  {48, "602001"},
                                  {9402, GBK("庚子鼠票")},
                                  {9403, "500"},
                                  {9405, "350"},
                                  {9404, "150"},
                                  {9406, "0"},
                                  {9407, "10.00"},
                                  {48, "602002"},
                                  {9402, "B"},
                                  {9403, "100"},
                                  {9405, "100"},
                                  {9404, "0"},
                                  {9406, "0"},
                                  {9407, "5.00"}});
  dlg.SendMessage(WM_TRADE_REPLY, WM_TRADE_HOLDINGS);
  CMyColorListCtrl& list = entry->HoldingsList();
  ASSERT_TRUE(platform::PumpUntil([&] { return list.GetItemCount() == 2; }, 5000))
      << entry->Model().Holdings().rows.size();
  EXPECT_EQ(list.GetItemText(0, 0), "602001");
  EXPECT_EQ(list.GetItemText(0, 3), "350");

  // Double-clicking a holding takes it: its code is looked up, the sell
  // maximum is its sellable quantity before any reply.
  CRect row;
  ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
  host_.calls.clear();
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                     QPoint(row.left + 10, row.CenterPoint().y));
  Pump();
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kCodeId)->GetWindowTextString(), "602001");
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kMaximumId)->GetWindowTextString(), "350");
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"find 602001", "name 602001", "quote 602001"}));
  EXPECT_EQ(rec_.SentTypes(), std::vector<std::string>{MT_MAX_QTY});

  // The host's name and quote come back through the main dialog.
  char name[61] = {};
  std::strcpy(name, GBK("庚子鼠票"));
  EXPECT_EQ(dlg.SendMessage(WM_TRADE_QUOTE, 1, reinterpret_cast<LPARAM>(name)), 1);
  std::vector<unsigned char> bytes(kSingleQuoteMinLength, 0);
  const uint32_t code = 602001, last = 12340;
  std::memcpy(&bytes[6], &code, 4);
  std::memcpy(&bytes[28], &last, 4);
  STradeQuotePacket packet{bytes.data(), static_cast<int>(bytes.size())};
  EXPECT_EQ(dlg.SendMessage(WM_TRADE_QUOTE, 3, reinterpret_cast<LPARAM>(&packet)), 1);
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kNameId)->GetWindowTextString(), GBK("庚子鼠票"));
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kPriceId)->GetWindowTextString(), "12.34");
  EXPECT_EQ(entry->Summary().GetText().rfind(GBK("现价@  12.34"), 0), 0u);
  // A short packet is refused; a quote for another panel is not taken.
  packet.length = kSingleQuoteMinLength - 1;
  dlg.SendMessage(WM_TRADE_QUOTE, 3, reinterpret_cast<LPARAM>(&packet));
  ClickCtl(dlg, CMainDlg::kFundsId);
  EXPECT_EQ(dlg.SendMessage(WM_TRADE_QUOTE, 1, reinterpret_cast<LPARAM>(name)), 0);
}

TEST_F(TradeWindowsTest, BuyEntryFillsWhatTheTypedPriceAllowsAndItsStripsFollowTheMarket) {
  CMainDlg& dlg = Open();
  auto* entry = dynamic_cast<CWtqrDlg*>(dlg.GetPanel());
  ASSERT_NE(entry, nullptr);
  QTest::keyClicks(FindCtl<QLineEdit>(*entry, CWtqrDlg::kCodeId), "602001");
  auto quote = [&](uint32_t last) {
    std::vector<unsigned char> bytes(kSingleQuoteMinLength, 0);
    const uint32_t code = 602001, ask = last + 10;
    std::memcpy(&bytes[6], &code, 4);
    std::memcpy(&bytes[28], &last, 4);
    std::memcpy(&bytes[61 + 8 * 4], &ask, 4);  // 卖①
    STradeQuotePacket packet{bytes.data(), static_cast<int>(bytes.size())};
    dlg.SendMessage(WM_TRADE_QUOTE, 3, reinterpret_cast<LPARAM>(&packet));
  };
  quote(8790);
  // The server worked its maximum out at its own price.
  rec_.Feed(MT_QRY_FUNDS_RSP, {{9001, "0"}, {9312, "100000.00"}});
  rec_.Feed(MT_MAX_QTY_RSP, {{9001, "0"}, {9801, "11400"}, {9802, "100"}, {9805, "100000.00"}});
  dlg.SendMessage(WM_TRADE_REPLY, WM_TRADE_MAX_QTY);
  Pump();
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kPriceLabelId)->GetWindowTextString(), GBK("买入价格："));
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kMaximumId)->GetWindowTextString(), "11300");  // at 8.79
  auto* price = FindCtl<QLineEdit>(*entry, CWtqrDlg::kPriceId);
  price->setFocus();
  price->selectAll();
  QTest::keyClicks(price, "9.20");
  ClickCtl(*entry, CWtqrDlg::kAllId);
  EXPECT_EQ(entry->GetDlgItem(CWtqrDlg::kQuantityId)->GetWindowTextString(), "10800");

  // Every tick of the panel's timer asks the host again; the answer moves
  // the strips and leaves the typed price alone.
  host_.calls.clear();
  entry->SendMessage(WM_TIMER, CWtqrDlg::kQuoteTimerId);
  EXPECT_EQ(host_.calls, std::vector<std::string>{"quote 602001"});
  const std::string before = entry->Levels().GetText();
  quote(8900);
  EXPECT_NE(entry->Levels().GetText(), before);
  EXPECT_NE(entry->Summary().GetText().find("8.90"), std::string::npos);
  EXPECT_EQ(price->text().toStdString(), "9.20");
}

TEST_F(TradeWindowsTest, PanelsSwitchedWithRepliesQueuedAndTheDialogsEnd) {
  // Every list holds a record, so each panel's refill has work to do.
  const std::pair<const char*, Fields> replies[] = {
      {MT_QRY_ORDERS_RSP, {{9001, "0"}, {9003, "1"}, {48, "602001"}, {40, "0B"}, {150, "1"}}},
      {MT_QRY_DEALS_RSP, {{9001, "0"}, {9003, "1"}, {48, "602001"}, {40, "0S"}, {9501, "D1"}}},
      {MT_QRY_ISSUES_RSP, {{9001, "0"}, {9003, "1"}, {48, "700001"}, {9605, "10.00"}}},
      {MT_QRY_ALLOT_RSP, {{9001, "0"}, {9003, "1"}, {48, "700001"}, {9655, "0"}}},
      {MT_QRY_TRANSFERS_RSP, {{9001, "0"}, {9003, "1"}, {8116, "T1"}, {8031, "1"}, {150, "1"}}},
      {MT_QRY_FLOW_RSP, {{9001, "0"}, {9003, "1"}, {8057, "d"}, {8031, "1"}}},
      {MT_QRY_HIS_FLOW_RSP, {{9001, "0"}, {9003, "1"}, {8057, "d"}, {8031, "S"}}},
      {MT_QRY_HOLDINGS_RSP, {{9001, "0"}, {9003, "1"}, {48, "602001"}, {9403, "100"}}},
      {MT_QRY_FUNDS_RSP, {{9001, "0"}, {9315, "100.00"}}},
      {MT_MONEY_APPLY_RSP, {{9001, "0"}, {150, "1"}}},
  };
  for (const auto& [type, fields] : replies) rec_.Feed(type, fields);
  CMainDlg& dlg = Open();
  // Replies and prices queue up for panels that are replaced before they
  // run: the posts to a panel that is gone are dropped. Every panel of the
  // tree but the custody pages takes its turn.
  for (int round = 0; round < 45; ++round) {
    for (WPARAM m = WM_TRADE_ISSUES; m <= WM_TRADE_FLOW_HISTORY; ++m)
      if (IsTradePanelMessage(static_cast<UINT>(m))) dlg.PostMessage(WM_TRADE_REPLY, m);
    dlg.PostMessage(WM_TRADE_SUBSCRIBE);
    dlg.PostMessage(WM_TRADE_SELECT_FUNC, 0, round % 13);
    if (round % 3 == 2) ClickCtl(dlg, round % 2 ? CMainDlg::kBuyId : CMainDlg::kOrdersId);
    else dlg.Core().ShowFunction(round % 15);
  }
  ClickCtl(dlg, CMainDlg::kLockId);
  dlg.PostMessage(WM_TRADE_REPLY, WM_TRADE_HOLDINGS);
  Pump();
  EXPECT_NE(dlg.GetPanel(), nullptr);
  // Destroying the dialog ends its panel, the lock dialog and the link;
  // what is still posted to them is dropped.
  const HWND panel = dlg.GetPanel()->GetSafeHwnd();
  const HWND lock = dlg.GetLockDialog()->GetSafeHwnd();
  dlg.PostMessage(WM_TRADE_REPLY, WM_TRADE_HOLDINGS);
  ::PostMessage(panel, WM_TRADE_HOLDINGS, 0, 0);
  dlg.DestroyWindow();
  EXPECT_EQ(unlinks_, 1);
  EXPECT_EQ(CWnd::FromHandle(panel), nullptr);
  EXPECT_EQ(CWnd::FromHandle(lock), nullptr);
  dlg_.reset();
  Pump();
}

}  // namespace
