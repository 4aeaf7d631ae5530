// The trading window end to end, as the program drives it: the Trade
// library loaded by name, a trading pane of our own answering its
// questions, the trade simulator behind a TLS link. An order typed into
// the order entry reaches the simulator with its fields and its reply
// reaches the window; pictures of the trading window and the order entry
// land in the build tree's gallery.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <cstdlib>
#include <functional>

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "test_host_pane.h"
#include "trade/host/trade_exports.h"
#include "trade_app_folder.h"
#include "trade_sim.h"
#include "trade_ui_test_support.h"

namespace {

using namespace tradeui_test;

constexpr int kItemCode = 602001;

struct SExports {
  PFN_InitDialog initDialog = nullptr;
  PFN_MoveDlg moveDlg = nullptr;
  PFN_DestoryDialog destroyDialog = nullptr;
  PFN_LinkTradeServer link = nullptr;
  PFN_UnLink unlink = nullptr;
};

template <class T>
T Bind(platform::LibHandle lib, const char* name) {
  return reinterpret_cast<T>(platform::GetProcAddress(lib, name));
}

bool Pump(const std::function<bool()>& done) { return platform::PumpUntil(done, 20000); }

template <class T>
T* Find(QWidget* root, int id) {
  return root ? root->findChild<T*>(QString::number(id)) : nullptr;
}

std::string Text(QWidget* w) { return w ? platform::GetWidgetText(w) : std::string(); }

QString GalleryDir() {
  const char* bin = std::getenv("ZEB_BIN_DIR");
  const QString dir = QString::fromLocal8Bit(bin ? bin : ".") + "/../gallery/trade";
  QDir().mkpath(dir);
  return QDir(dir).absolutePath();
}

// Saves the picture, after checking that it shows something.
void Keep(QWidget* widget, const char* name) {
  const QImage image = widget->grab().toImage();
  ASSERT_FALSE(image.isNull()) << name;
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
  EXPECT_GT(colours.size(), 8) << name << " looks blank";
  EXPECT_TRUE(image.save(GalleryDir() + "/" + name, "PNG")) << name;
}

TEST(TradeWindow, AnOrderTypedInTheWindowReachesTheSimulatorAndItsReplyTheWindow) {
  // As the program does: the web engine in the library shares its contexts.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  platform::testing::EnsureApplication();
  const std::string dir = ProgramFolder("trade_window");
  STestPki pki;
  ASSERT_TRUE(GenerateTestPki(dir + "/certs", "secret", &pki));
  WriteFile(dir + "/zeb.ini", Settings(pki, "certs/ca.pem"));
  platform::SetProgramDirOverride(dir + "/");
  STradeSimOptions options;
  options.caFile = pki.caCert;
  options.certFile = pki.serverCert;
  options.keyFile = pki.serverKey;
  options.log = false;
  CTradeSimServer sim(options);
  ASSERT_GT(sim.Start(0), 0);
  platform::ScopedRecordingBoxes boxes;

  const char* bin = std::getenv("ZEB_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  std::string error;
  platform::LibHandle lib = platform::LoadLibraryPath(
      std::string(bin) + "/" + platform::LibraryFileName("Trade"), &error);
  ASSERT_NE(lib, nullptr) << error;
  SExports x;
  x.initDialog = Bind<PFN_InitDialog>(lib, "InitDialog");
  x.moveDlg = Bind<PFN_MoveDlg>(lib, "MoveDlg");
  x.destroyDialog = Bind<PFN_DestoryDialog>(lib, "DestoryDialog");
  x.link = Bind<PFN_LinkTradeServer>(lib, "LinkTradeServer");
  x.unlink = Bind<PFN_UnLink>(lib, "UnLink");

  CTestHostPane pane;
  pane.items[kItemCode] = {GBK("庚子鼠票"), 12000, 12340};
  ASSERT_TRUE(pane.Create(nullptr, CRect(0, 0, 1100, 640), 0, WS_POPUP | WS_VISIBLE));
  ASSERT_TRUE(platform::testing::ShowAndActivate(pane.GetWidget()));

  // No trading window before the link is up.
  EXPECT_EQ(x.initDialog(pane.GetSafeHwnd()), nullptr);
  MsgProbe notify;
  x.link(notify.GetSafeHwnd(), WM_TRADE_LOGIN_RESULT, "u01", "pass", FALSE, "127.0.0.1", sim.Port(),
         "", 0, "", 0, "", 0, "", 0);
  ASSERT_TRUE(Pump([&] {
    for (const auto& m : notify.got)
      if (m.message == WM_TRADE_LOGIN_RESULT && m.w == 1 && m.l == 1) return true;
    return false;
  }));
  const HWND trading = x.initDialog(pane.GetSafeHwnd());
  ASSERT_NE(trading, nullptr);
  EXPECT_EQ(x.initDialog(pane.GetSafeHwnd()), trading);  // one dialog, one handle
  pane.trading = trading;
  pane.moveDlg = x.moveDlg;
  CRect client;
  pane.GetClientRect(&client);
  EXPECT_EQ(x.moveDlg(client), 1);
  QWidget* window = CWnd::FromHandle(trading)->GetWidget();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->parentWidget(), pane.GetWidget());
  EXPECT_EQ(window->geometry().size(), QSize(1100, 640));

  // The buy panel is up: type the code, the host answers with the name
  // and the quote, the server with the limits.
  auto* code = Find<QLineEdit>(window, 6061);
  ASSERT_NE(code, nullptr);
  QWidget* entry = code->parentWidget();  // the panel (its ids repeat the dialog's)
  QTest::keyClicks(code, QString::number(kItemCode));
  ASSERT_TRUE(Pump([&] {
    return Text(Find<QLabel>(entry, 7033)) == GBK("庚子鼠票") &&
           !Text(Find<QLabel>(entry, 7032)).empty();
  }));
  EXPECT_EQ(Text(Find<QLineEdit>(entry, 1036)), "12.34");  // the last price
  EXPECT_FALSE(Text(Find<QLabel>(entry, 7034)).empty());   // the available funds
  QTest::keyClicks(Find<QLineEdit>(entry, 1035), "300");
  ASSERT_TRUE(Pump([&] {
    auto* list = Find<QTableView>(entry, 7014);
    return list && list->model()->rowCount() > 0;  // the holdings the panel asked for
  }));
  boxes.Clear();
  QTest::mouseClick(Find<QPushButton>(entry, 6031), Qt::LeftButton);
  // The confirmation was asked and answered yes; the simulator saw the order.
  ASSERT_TRUE(Pump([&] {
    for (const auto& r : sim.RequestLog())
      if (r.msgType == "1011") return true;
    return false;
  }));
  for (const auto& r : sim.RequestLog()) {
    if (r.msgType != "1011") continue;
    EXPECT_EQ(r.Field(48), "602001");
    EXPECT_EQ(r.Field(40), "0B");
    EXPECT_EQ(r.Field(44), "12.34");
    EXPECT_EQ(r.Field(132), "300");
    EXPECT_FALSE(r.Field(336).empty());
  }
  // The reply was shown, and the holdings now hold the item.
  ASSERT_TRUE(Pump([&] {
    for (const std::string& text : BoxTexts(boxes))
      if (text.rfind(GBK("委托成交,合同号是"), 0) == 0) return true;
    return false;
  }));
  EXPECT_EQ(
      BoxTexts(boxes).front().rfind(GBK("您 限价委托 买入 了602001 数量：300 价格：12.34"), 0), 0u);
  ASSERT_TRUE(Pump([&] {
    auto* list = Find<QTableView>(entry, 7014);
    for (int r = 0; list && r < list->model()->rowCount(); ++r)
      if (list->model()->index(r, 0).data().toString() == "602001") return true;
    return false;
  }));
  // The order entry was cleared for the next order.
  EXPECT_EQ(Text(code), "");

  // Pictures: the whole trading window with a quote typed in, and the panel.
  QTest::keyClicks(code, QString::number(kItemCode));
  ASSERT_TRUE(Pump([&] {
    return Text(Find<QLabel>(entry, 7033)) == GBK("庚子鼠票") &&
           !Text(Find<QLabel>(entry, 7034)).empty();  // the server's limits are in
  }));
  Keep(pane.GetWidget(), "trading_window.png");
  Keep(entry, "order_entry.png");

  // Leaving: the dialog goes, with it the connection.
  x.unlink();
  EXPECT_EQ(x.destroyDialog(), 1);
  EXPECT_EQ(x.initDialog(pane.GetSafeHwnd()), nullptr);
  pane.DestroyWindow();
  platform::FreeLibrary(lib);
  platform::SetProgramDirOverride("");
  std::system(("rm -rf " + dir).c_str());
}

}  // namespace
