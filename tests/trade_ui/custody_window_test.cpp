// The custody pages inside the trading window, in Qt WebEngine against the
// custody page simulator: the page of the chosen function opens with the
// account and the session (percent-encoded) in its address, its script
// runs, it shows no context menu, and each switch makes a new page.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdlib>
#include <memory>

#include "custody_sim.h"
#include "platform/gbk.h"
#include "platform/testing/app.h"
#include "trade/core/sha1_digest.h"
#include "trade/ui/rules/custody_pages.h"
#include "trade/ui/windows/main_dlg.h"
#include "trade/ui/windows/trust_business.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

// Waits running the event loop in slices: the engine's own work is
// scheduled through Qt's event loop and needs it to run freely (a loop
// woken every millisecond by a polling timer starves the engine's replies).
bool Pump(const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > 30000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// Runs a script in the page and waits for its answer.
std::string Evaluate(QWebEnginePage* page, const char* script) {
  std::string result;
  bool done = false;
  page->runJavaScript(script, [&](const QVariant& v) {
    result = v.toString().toStdString();
    done = true;
  });
  EXPECT_TRUE(Pump([&] { return done; })) << script;
  return result;
}

TEST(CustodyWindow, TheChosenFunctionsPageOpensInsideTheTradingWindow) {
  platform::testing::EnsureApplication();
  CCustodySimServer pages;
  const int port = pages.Start(0);
  ASSERT_GT(port, 0);
  const std::vector<std::string> names = CCustodySimServer::PageNames();

  RecordedSession rec;
  rec.Login();
  rec.session.SetUserId("u 01/x");
  FakeHost host;
  CManualTradeClock clock;
  STradeWindowEnv env;
  env.session = &rec.session;
  env.host = &host;
  env.clock = &clock;
  env.custodyBase = [&](int page) {
    return "http://127.0.0.1:" + std::to_string(port) + "/" + names.at(static_cast<size_t>(page));
  };
  CWndImpl<QWidget> pane;
  ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 900, 600), 0, WS_POPUP | WS_VISIBLE));
  CMainDlg dlg(env);
  ASSERT_TRUE(dlg.CreateIn(pane.GetSafeHwnd()));
  dlg.MoveWindow(0, 0, 900, 600);
  ASSERT_TRUE(platform::testing::ShowAndActivate(pane.GetWidget()));

  // 托管申请查询 is page 3.
  CRect item;
  ASSERT_TRUE(dlg.GetTree().GetItemRect(dlg.FunctionItem(18), &item, TRUE));
  QTest::mouseClick(dlg.GetTree().viewport(), Qt::LeftButton, {},
                    QPoint(item.left + 4, item.CenterPoint().y));
  auto* custody = dynamic_cast<CTrustBusiness*>(dlg.GetPanel());
  ASSERT_NE(custody, nullptr);
  EXPECT_EQ(custody->Page(), 3);
  // The account and the session as path segments of their own.
  const std::string path =
      "/TrusteeshipApplyQuery/accountname/u%2001%2Fx/sessionid/" + rec.session.GetAccount().session;
  ASSERT_TRUE(Pump([&] {
    for (const std::string& p : pages.Requests())
      if (p == path) return true;
    return false;
  })) << (pages.Requests().empty() ? std::string("no request") : pages.Requests().back())
      << " " << custody->GetWebView()->GetLocationURL();
  CTrustIECtrl* web = custody->GetWebView();
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(web->GetDlgCtrlID(), static_cast<int>(CTrustIECtrl::kControlId));
  CRect panelClient, webRect;
  custody->GetClientRect(&panelClient);
  web->GetClientRect(&webRect);
  EXPECT_EQ(webRect, panelClient);
  QWebEngineView* view = web->GetBrowser();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->contextMenuPolicy(), Qt::NoContextMenu);
  // The page and its script ran, with the account and session decoded.
  ASSERT_TRUE(Pump([&] { return view->title() == QString::fromUtf8("托管申请查询"); }));
  EXPECT_EQ(Evaluate(view->page(), "document.getElementById('account').textContent"), "u 01/x");
  EXPECT_FALSE(Evaluate(view->page(), "document.getElementById('shown').textContent").empty());
  // A page's alert shows nothing and holds nothing up.
  view->page()->runJavaScript("setTimeout(function(){ alert('x'); document.title='after'; }, 0);");
  ASSERT_TRUE(Pump([&] { return view->title() == "after"; }));
  // A window the page opens stays in the pane.
  view->page()->runJavaScript("window.open('/HistoryAddedQuery/accountname/a/sessionid/b');");
  ASSERT_TRUE(
      Pump([&] { return web->GetLocationURL().find("/HistoryAddedQuery/") != std::string::npos; }));

  // Another custody function: a new panel with a new web view.
  ASSERT_TRUE(dlg.GetTree().GetItemRect(dlg.FunctionItem(19), &item, TRUE));
  QTest::mouseClick(dlg.GetTree().viewport(), Qt::LeftButton, {},
                    QPoint(item.left + 4, item.CenterPoint().y));
  auto* next = dynamic_cast<CTrustBusiness*>(dlg.GetPanel());
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->Page(), 4);
  ASSERT_TRUE(Pump([&] {
    for (const std::string& p : pages.Requests())
      if (p.rfind("/PublishCollectionQuery/accountname/u%2001%2Fx/", 0) == 0) return true;
    return false;
  }));
  dlg.DestroyWindow();
}

TEST(CustodyWindow, AnAddressThatIsNotAWebAddressOpensNothing) {
  platform::testing::EnsureApplication();
  RecordedSession rec;
  rec.Login();
  FakeHost host;
  STradeWindowEnv env;
  env.session = &rec.session;
  env.host = &host;
  env.custodyBase = [](int) { return std::string(); };  // no address in "zeb.ini"
  CWndImpl<QWidget> pane;
  CTrustBusiness panel(env, 15, 0);
  ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 400, 300), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(panel.Create(&pane));
  ASSERT_TRUE(panel.OnPanelCreated());
  EXPECT_EQ(panel.PageAddress().rfind("/accountname/", 0), 0u);
  EXPECT_EQ(panel.GetWebView()->GetLocationURL(), "");
  panel.DestroyWindow();
}

}  // namespace
