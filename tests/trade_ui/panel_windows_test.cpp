// The trading window's record, funds, bank and subscription panels against
// the trade simulator (in process; replies queue up as the communication
// thread queues them), offscreen: every such function of the tree shows
// the simulator's rows, an order is cancelled from the query panel, a
// transfer and an unsigning change the simulator's account, a subscription
// goes through its dialog. Each panel's picture goes to
// <build>/gallery/trade/ for a person to look at.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/gallery.h"
#include "platform/testing/modal_script.h"
#include "sim_loop.h"
#include "trade/core/trade_messages.h"
#include "trade/ui/rules/panel_values.h"
#include "trade/ui/windows/order_transfer_form.h"
#include "trade/ui/windows/query_trade_bars.h"
#include "trade/ui/windows/scrible_dlg.h"
#include "trade/ui/windows/sign_dlg.h"
#include "trade/ui/windows/trade_bar.h"
#include "trade_ui_test_support.h"
#include "trade_window_on_pane.h"

namespace {

using namespace tradeui_test;
using platform::testing::ClickCtl;
using platform::testing::FindCtl;

// The simulator's today and the panels' (the pickers start a day before).
const int64_t kToday = LocalNoon(2026, 12, 9);

STradeSimOptions SimOptions() {
  STradeSimOptions o;
  o.today = FormatDate(kToday);  // channel '9', signed, funds password "fund"
  return o;
}

// Renders a window and keeps its picture in the gallery.
void Keep(CWnd& wnd, const char* name) {
  QWidget* w = wnd.GetWidget();
  QImage image(w->size(), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  w->render(&image);
  platform::testing::KeepPicture(image, "trade", name);
}

// The texts of a list's column, top to bottom.
std::vector<std::string> Column(const CListCtrl& list, int column) {
  std::vector<std::string> out;
  for (int r = 0; r < list.GetItemCount(); ++r) out.push_back(list.GetItemText(r, column));
  return out;
}

// A click on a row of a list, as the user picks it.
void ClickRow(CListCtrl& list, int row) {
  CRect r;
  ASSERT_TRUE(list.GetItemRect(row, &r, LVIR_BOUNDS));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(r.left + 10, r.CenterPoint().y));
}

class PanelWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { platform::testing::EnsureApplication(); }
  PanelWindowsTest() : clock_(0, kToday), loop_(SimOptions()) {
    env_.session = &loop_.session;
    env_.host = &host_;
    env_.clock = &clock_;
    env_.unlink = [] {};
  }

  // Logged in, the trading window open on its first panel and its
  // replies in.
  CMainDlg& Open() {
    EXPECT_TRUE(loop_.Login());
    CMainDlg& dlg = window_.Open(env_);
    EXPECT_TRUE(Settled());
    return dlg;
  }
  // Every reply handed to the session and every announcement it made
  // handled: a marker posted behind them has arrived, and no reply is left.
  bool Settled() {
    for (int round = 0; round < 100; ++round) {
      const size_t seen = marker_.got.size();
      ::PostMessage(marker_.GetSafeHwnd(), WM_USER, 0, 0);
      if (!platform::PumpUntil([&] { return marker_.got.size() > seen; }, 10000)) return false;
      if (loop_.Idle() && round >= 3) return true;  // main dialog, then panel
    }
    return false;
  }
  CTradePanel& Show(int function) {
    window_.dlg->Core().ShowFunction(function);
    CTradePanel* panel = window_.dlg->GetPanel();
    EXPECT_NE(panel, nullptr);
    EXPECT_EQ(panel->Function(), function);
    return *panel;
  }
  void PlaceOrder(const char* code, const char* type, const char* price, const char* quantity) {
    COrder order;
    order.productId = code;
    order.orderType = type;
    order.price = price;
    order.quantity = quantity;
    EXPECT_EQ(loop_.session.SendOrder(order), 0);
  }
  bool BoxShown(const std::string& text) {
    for (const std::string& shown : BoxTexts(boxes_))
      if (shown == text) return true;
    return false;
  }

  platform::ScopedRecordingBoxes boxes_;
  CManualTradeClock clock_;
  CSimLoop loop_;
  FakeHost host_;
  STradeWindowEnv env_;
  MsgProbe marker_;
  CTradeWindowOnPane window_;
};

TEST_F(PanelWindowsTest, EveryRecordFunctionOfTheTreeShowsTheSimulatorsRows) {
  CMainDlg& dlg = Open();
  // Today: an order left resting, one dealt at once, a subscription.
  PlaceOrder("602001", "0B", "12.00", "100");
  PlaceOrder("602001", "0B", "12.50", "200");
  PlaceOrder("700001", "7B", "10.00", "100");
  ASSERT_TRUE(Settled());
  ASSERT_EQ(loop_.Requests(MT_ORDER).size(), 3u);
  boxes_.Clear();

  struct Case {
    int function;
    const char* picture;
    int listId;        // 0: a form without a list
    bool query;        // the range is picked (a week back to today) and 查询 pressed
    size_t rows;       // the simulator's records of the function
    int column;        // a column holding text in some row,
    const char* text;  // or, for a form, the text of control `column`
  } cases[] = {
      {2, "cancel_orders.png", 1012, false, 2, 2, "新股申购"},  // resting and subscribed
      {3, "issues.png", 7012, false, 2, 0, "700001"},
      {4, "funds.png", 1012, false, 2, 0, "602002"},
      {5, "allotments.png", 1012, true, 2, 1, "700001"},  // yesterday's and today's
      {6, "today_orders.png", 1012, false, 3, 6, "成交"},
      {7, "today_deals.png", 1012, false, 1, 1, "602001"},
      {8, "order_history.png", 1012, true, 5, 6, "已撤单"},
      {9, "deal_history.png", 1012, true, 2, 1, "602002"},
      {10, "transfer_form.png", 0, false, 0, COrderTransferForm::kBankId, "中行股商存管"},
      {11, "transfer_journal.png", 1004, false, 1, 1, "银行转交易所"},
      {12, "signing.png", 0, false, 0, CSignAndUnsignDlg::kBankAccountId, "6216610100001234567"},
      {13, "flow_today.png", 1012, false, 2, 3, "买入清算"},
      {14, "flow_history.png", 1012, true, 4, 3, "入金"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    CTradePanel& panel = Show(c.function);
    if (c.query) {
      FindCtl<QDateTimeEdit>(panel, 1021)->setDate(QDate(2026, 12, 2));
      FindCtl<QDateTimeEdit>(panel, 1019)->setDate(QDate(2026, 12, 9));
      ClickCtl(panel, 1020);
    }
    ASSERT_TRUE(Settled());
    if (c.listId) {
      CListCtrl* list = FindCtl<CListCtrl>(panel, c.listId);
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->GetItemCount(), static_cast<int>(c.rows));
      const std::vector<std::string> texts = Column(*list, c.column);
      EXPECT_NE(std::find(texts.begin(), texts.end(), GBK(c.text)), texts.end());
    } else {
      EXPECT_EQ(panel.GetDlgItem(c.column)->GetWindowTextString(), GBK(c.text));
    }
    Keep(panel, c.picture);
  }
  // No panel raised a box.
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{});
  // The funds line: the received values, and the totals of the holdings.
  CTradePanel& funds = Show(4);
  ASSERT_TRUE(Settled());
  for (int id : {7026, 7027, 7028, 7031, 7029, 7045, 7030})
    EXPECT_FALSE(funds.GetDlgItem(id)->GetWindowTextString().empty()) << id;
  EXPECT_EQ(dlg.GetPanel(), &funds);
}

TEST_F(PanelWindowsTest, APanelThatDoesNotFitAShortPaneScrollsToItsLowestControl) {
  CMainDlg& dlg = Open();
  // The program's pane at its first height: the panel area is 274 high.
  dlg.MoveWindow(0, 0, 1000, 314);
  auto& sign = dynamic_cast<CSignAndUnsignDlg&>(Show(12));
  QWidget* button = FindCtl<QWidget>(sign, CSignAndUnsignDlg::kButtonId);
  ASSERT_TRUE(sign.Scroller().Visible());
  auto* bar = sign.findChild<QScrollBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->geometry().right(), sign.width() - 1);   // at the right edge
  EXPECT_GT(button->geometry().bottom(), sign.height());  // cut off until scrolled
  bar->setValue(bar->maximum());
  EXPECT_EQ(button->geometry().bottom() + 1 + CPanelScroller::kMargin, sign.height());
  const int labelTop = FindCtl<QWidget>(sign, CSignAndUnsignDlg::kStateId)->y();
  bar->setValue(0);
  EXPECT_EQ(FindCtl<QWidget>(sign, CSignAndUnsignDlg::kStateId)->y(), labelTop + bar->maximum());
  // Tall enough: no bar, every control where the panel put it.
  dlg.MoveWindow(0, 0, 1000, 640);
  EXPECT_FALSE(sign.Scroller().Visible());
  EXPECT_EQ(button->y(), 20 + 8 * 30 + 8);
  // Panels that stretch to their bottom, or fit, never get one.
  dlg.MoveWindow(0, 0, 1000, 314);
  for (int function : {0, 11, 4}) EXPECT_FALSE(Show(function).Scroller().Visible()) << function;
}

TEST_F(PanelWindowsTest, AnOrderPickedInASortedListIsTheOneCancelled) {
  Open();
  PlaceOrder("602001", "0B", "12.00", "100");
  PlaceOrder("602002", "0B", "8.00", "100");
  ASSERT_TRUE(Settled());
  auto& bar = dynamic_cast<CQueryTradeBar&>(Show(2));
  ASSERT_TRUE(Settled());
  CMyColorListCtrl& list = bar.RecordList();
  ASSERT_EQ(list.GetItemCount(), 2);
  const std::string first = list.GetItemText(0, 8), second = list.GetItemText(1, 8);
  // The later order on top, then picked and cancelled.
  list.SortByColumn(8, false);
  ClickRow(list, 0);
  boxes_.Clear();
  ClickCtl(bar, CDateRangePanel::kCancelId);
  ASSERT_TRUE(Settled());
  ASSERT_FALSE(BoxTexts(boxes_).empty());
  EXPECT_EQ(BoxTexts(boxes_)[0],
            std::string(GBK("您确定要撤消合同号为 ")) + second + GBK(" 的委托么?"));
  const auto cancels = loop_.Requests(MT_CANCEL);
  ASSERT_EQ(cancels.size(), 1u);
  EXPECT_EQ(cancels[0].Field(37), second);
  EXPECT_TRUE(BoxShown(std::string(GBK("撤单委托已撤单,合同号是")) + second));
  // The reply asked for today's orders again: the cancelled one has left
  // the list of cancellable orders.
  EXPECT_EQ(Column(list, 8), std::vector<std::string>{first});
}

TEST_F(PanelWindowsTest, ATransferAndAnUnsigningGoThroughTheSimulator) {
  Open();
  auto& form = dynamic_cast<COrderTransferForm&>(Show(10));
  EXPECT_FALSE(form.GetDlgItem(COrderTransferForm::kBankPasswordId)->IsWindowVisible());
  // The user turns the direction to the bank-to-exchange one: channel 9
  // asks for the bank password then.
  auto* direction = FindCtl<QComboBox>(form, COrderTransferForm::kDirectionId);
  direction->setFocus();
  QTest::keyClick(direction, Qt::Key_Down);
  ASSERT_EQ(direction->currentIndex(), 1);
  EXPECT_TRUE(form.GetDlgItem(COrderTransferForm::kBankPasswordId)->IsWindowVisible());
  QTest::keyClicks(FindCtl<QLineEdit>(form, COrderTransferForm::kAmountId), "500.00");
  QTest::keyClicks(FindCtl<QLineEdit>(form, COrderTransferForm::kFundsPasswordId), "fund");
  QTest::keyClicks(FindCtl<QLineEdit>(form, COrderTransferForm::kBankPasswordId), "123456");
  Keep(form, "transfer_form_deposit.png");
  ClickCtl(form, COrderTransferForm::kTransferId);
  ASSERT_TRUE(Settled());
  const auto applied = loop_.Requests(MT_MONEY_APPLY);
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_EQ(applied[0].Field(9310), "1");
  EXPECT_EQ(applied[0].Field(9311), "500.00");
  EXPECT_EQ(applied[0].Field(9415), PasswordDigest("fund"));
  EXPECT_EQ(applied[0].Field(9416), "123456");
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
  EXPECT_EQ(boxes_.Boxes()[0].text, GBK("支付完成(已处理)"));
  EXPECT_EQ(boxes_.Boxes()[0].caption, GBK("出入金提示"));
  // The journal lists it after the seeded deposit.
  Show(11);
  ASSERT_TRUE(Settled());
  CListCtrl* journal = FindCtl<CListCtrl>(*window_.dlg->GetPanel(), 1004);
  ASSERT_EQ(journal->GetItemCount(), 2);
  EXPECT_EQ(journal->GetItemText(1, 1), GBK("银行转交易所"));
  EXPECT_EQ(journal->GetItemText(1, 2), "500.00");
  EXPECT_EQ(journal->GetItemText(1, 5), GBK("支付完成"));

  // The signed account unsigns: no bank password is asked or sent.
  auto& sign = dynamic_cast<CSignAndUnsignDlg&>(Show(12));
  EXPECT_EQ(sign.GetDlgItem(CSignAndUnsignDlg::kStateId)->GetWindowTextString(), GBK("已签约"));
  EXPECT_FALSE(sign.GetDlgItem(CSignAndUnsignDlg::kBankPasswordId)->IsWindowEnabled());
  QTest::keyClicks(FindCtl<QLineEdit>(sign, CSignAndUnsignDlg::kFundsPasswordId), "fund");
  boxes_.Clear();
  ClickCtl(sign, CSignAndUnsignDlg::kButtonId);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(BoxTexts(boxes_), (std::vector<std::string>{GBK("确定要解约吗？"), GBK("已解约！")}));
  const auto applications = loop_.Requests(MT_MONEY_APPLY);
  ASSERT_EQ(applications.size(), 2u);
  EXPECT_EQ(applications[1].Field(9310), "6");
  EXPECT_EQ(applications[1].Field(9416), "");
  EXPECT_EQ(sign.GetDlgItem(CSignAndUnsignDlg::kStateId)->GetWindowTextString(), GBK("未签约"));
  EXPECT_EQ(sign.GetDlgItem(CSignAndUnsignDlg::kButtonId)->GetWindowTextString(), GBK("签约"));
  EXPECT_TRUE(sign.IsWindowVisible());  // the OK-id button never ends the panel
}

TEST_F(PanelWindowsTest, ASubscriptionGoesThroughItsDialogOnceACollection) {
  Open();
  auto& bar = dynamic_cast<CTradeBar&>(Show(3));
  EXPECT_FALSE(bar.GetDlgItem(CTradeBar::kSubscribeId)->IsWindowEnabled());
  ASSERT_TRUE(Settled());
  ASSERT_EQ(bar.IssueList().GetItemCount(), 2);
  EXPECT_TRUE(bar.GetDlgItem(CTradeBar::kSubscribeId)->IsWindowEnabled());
  ClickRow(bar.IssueList(), 0);
  {
    platform::testing::ScopedModalScript script{[&](CDialog& d) {
      EXPECT_EQ(d.GetWindowTextString(), GBK("藏品申购"));
      EXPECT_EQ(d.GetDlgItem(CScribleDlg::kNameId)->GetWindowTextString(), GBK("新品邮票"));
      EXPECT_EQ(d.GetDlgItem(CScribleDlg::kMinimumId)->GetWindowTextString(), "100");
      EXPECT_FALSE(d.GetDlgItem(CScribleDlg::kAvailableId)->GetWindowTextString().empty());
      auto* quantity = FindCtl<QLineEdit>(d, CScribleDlg::kQuantityId);
      QTest::keyClicks(quantity, "150");
      EXPECT_EQ(d.GetDlgItem(CScribleDlg::kAmountId)->GetWindowTextString(), "1500.00");
      Keep(d, "subscription_dialog.png");
      ClickCtl(d, CScribleDlg::kOrderId);  // not a multiple of 100: stays open
      EXPECT_TRUE(d.IsWindowVisible());
      quantity->clear();
      QTest::keyClicks(quantity, "200");
      ClickCtl(d, CScribleDlg::kOrderId);  // confirmed: sent, closed
    }};
    ClickCtl(bar, CTradeBar::kSubscribeId);
    EXPECT_EQ(script.Shown(), 1);
  }
  ASSERT_TRUE(Settled());
  // The refusal, the confirmation, then the server's answer to the order.
  const std::vector<std::string> boxes = BoxTexts(boxes_);
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], GBK("申购数量必须是最小申购数量的整数倍！"));
  EXPECT_EQ(boxes[1], GBK("您申购了700001 200手 总价 2000.00元,请确认"));
  EXPECT_EQ(boxes[2].rfind(GBK("委托已提交,合同号是"), 0), 0u) << boxes[2];
  const auto orders = loop_.Requests(MT_ORDER);
  ASSERT_EQ(orders.size(), 1u);
  EXPECT_EQ(orders[0].Field(48), "700001");
  EXPECT_EQ(orders[0].Field(40), "7B");
  EXPECT_EQ(orders[0].Field(44), "10.00");
  EXPECT_EQ(orders[0].Field(132), "200");
  // The allotments were asked for again; a second subscription to the
  // collection is refused before any dialog.
  boxes_.Clear();
  ClickCtl(bar, CTradeBar::kSubscribeId);
  EXPECT_EQ(BoxTexts(boxes_), std::vector<std::string>{GBK("对不起，同一藏品只能申购一次！")});
}

}  // namespace
