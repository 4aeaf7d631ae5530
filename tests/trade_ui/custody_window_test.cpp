// The custody pages inside the trading window, in Qt WebEngine against the
// custody page simulator: the page of the chosen function opens with the
// account and the session (percent-encoded) in its address, its script
// runs, it shows no context menu, and each switch makes a new page.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBrowser>
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
#include "trade/ui/windows/trust_ie_ctrl.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

// Waits running the event loop in slices: the engine's own work is
// scheduled through Qt's event loop and needs it to run freely (a loop
// woken every millisecond by a polling timer starves the engine's replies).
bool Pump(const std::function<bool()>& done, int boundMs = 30000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > boundMs) return false;
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

// Once a page is open, its links, its new windows and its scripts open
// nothing outside http and https: not in the view, and nothing reaches the
// desktop (whose handlers this test takes over for the schemes involved).
TEST(CustodyWindow, LinksOffTheWebOpenNothing) {
  platform::testing::EnsureApplication();
  CCustodySimServer pages;
  const int port = pages.Start(0);
  ASSERT_GT(port, 0);
  QTextBrowser desktop;  // stands in for the desktop's programs
  std::vector<std::string> handed;
  QObject::connect(&desktop, &QTextBrowser::sourceChanged,
                   [&](const QUrl& url) { handed.push_back(url.toString().toStdString()); });
  for (const char* scheme : {CCustodySimServer::kMadeUpScheme, "file"})
    QDesktopServices::setUrlHandler(scheme, &desktop, "setSource");

  const int linkHeight = CCustodySimServer::kOutsideLinkHeight;
  const std::vector<std::string> links = CCustodySimServer::OutsideLinks();
  CWndImpl<QWidget> pane;
  ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 400, linkHeight * ((int)links.size() + 2)), 0,
                          WS_POPUP | WS_VISIBLE));
  CTrustIECtrl web;
  CRect client;
  pane.GetClientRect(&client);
  ASSERT_TRUE(web.Create(&pane, client, CTrustIECtrl::kControlId, WS_CHILD | WS_VISIBLE));
  ASSERT_TRUE(platform::testing::ShowAndActivate(pane.GetWidget()));
  const std::string page =
      "http://127.0.0.1:" + std::to_string(port) + CCustodySimServer::kOutsideLinksPath;
  web.Navigate(page);
  QWebEngineView* view = web.GetBrowser();
  ASSERT_TRUE(Pump([&] { return view->title() == "outside-links"; }));
  ASSERT_TRUE(Pump([&] { return view->focusProxy() != nullptr; }));

  // Real clicks, as a user's: the engine lets a user's click hand an
  // unknown scheme to the desktop unless told not to.
  auto click = [&](int block) {  // 0: the probe, 1..: the links
    const QPoint at(20, linkHeight * block + linkHeight / 2);
    QTest::mouseMove(view->focusProxy(), at);
    QTest::mousePress(view->focusProxy(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->focusProxy(), Qt::LeftButton, {}, at, 20);
    Pump([&] { return false; }, 200);
  };
  // The engine takes input once its first frame is shown.
  ASSERT_TRUE(Pump([&] {
    click(0);
    return Evaluate(view->page(), "document.getElementById('probe').textContent") == "seen";
  }));
  for (size_t i = 0; i + 1 < links.size(); ++i) {
    click((int)i + 1);
    EXPECT_EQ(web.GetLocationURL(), page) << links[i];
  }
  // The last link leads back to the web; once it has opened, every click
  // before it has been dealt with.
  click((int)links.size());
  EXPECT_TRUE(Pump([&] {
    return web.GetLocationURL().find(CCustodySimServer::kOutsideLinksBack) != std::string::npos;
  })) << web.GetLocationURL();
  std::string all;
  for (const std::string& url : handed) all += url + " ";
  EXPECT_TRUE(handed.empty()) << all;
  EXPECT_GE(web.RefusedNavigations(), 2);  // the two new windows of the made-up scheme
  for (const char* scheme : {CCustodySimServer::kMadeUpScheme, "file"})
    QDesktopServices::unsetUrlHandler(scheme);
  web.DestroyWindow();
}

}  // namespace
