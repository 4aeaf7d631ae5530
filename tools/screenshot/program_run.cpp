#include "tools/screenshot/program_run.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "balance_sim.h"
#include "custody_sim.h"
#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "platform/testing/find_ctl.h"
#include "platform/testing/modal_script.h"
#include "platform/window.h"
#include "sim/quote-server/quote_server.h"
#include "test_pki.h"
#include "trade_sim.h"
#include "settings/config_file.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/shell/login/login_dlg.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "tools/screenshot/dialog_pictures.h"
#include "tools/screenshot/market_pictures.h"
#include "tools/screenshot/trade_pictures.h"
#include "zeb/store/public_store.h"
#include "zeb/views/report/market_views.h"
#include "zeb/views/stock/chart_view_plugin.h"
#include "zeb/views/report/price_report_view.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Ends the process when a stage is not reached in time: a start-up that
// hangs on the user-interface thread cannot be noticed from it.
class StageWatchdog {
 public:
  explicit StageWatchdog(int timeoutMs) : timeout_(timeoutMs), thread_([this] { Watch(); }) {}
  ~StageWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  void Enter(const std::string& stage) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Clock::time_point now = Clock::now();
    // A stage that ends well but late (a wait that ran to its ceiling
    // without failing the run) is named, so a slow run says where it lost
    // its time.
    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(now - entered_);
    if (!stage_.empty() && spent.count() > kSlowStageMs)
      std::fprintf(stderr, "stage took %lld ms: %s\n", static_cast<long long>(spent.count()),
                   stage_.c_str());
    stage_ = stage;
    entered_ = now;
    deadline_ = now + std::chrono::milliseconds(timeout_);
  }

 private:
  void Watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!done_) {
      if (!stage_.empty() && Clock::now() > deadline_) {
        std::fprintf(stderr, "stage not reached within %d ms: %s\n", timeout_, stage_.c_str());
        std::fflush(stderr);
        std::_Exit(3);
      }
      cv_.wait_for(lock, std::chrono::milliseconds(100));
    }
  }
  static constexpr long long kSlowStageMs = 20000;
  int timeout_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::string stage_;
  Clock::time_point entered_;
  Clock::time_point deadline_;
  std::thread thread_;
};

// Answers every box with its first button and keeps its text.
class LoggingBoxes : public platform::RecordingMessageBoxSink {
 public:
  LoggingBoxes() { previous_ = platform::SetMessageBoxSink(this); }
  ~LoggingBoxes() override { platform::SetMessageBoxSink(previous_); }

 private:
  platform::MessageBoxSink* previous_;
};

bool SplitHostPort(const std::string& text, std::string* host, int* port) {
  const size_t colon = text.rfind(':');
  if (colon == std::string::npos) return false;
  *host = text.substr(0, colon);
  *port = std::atoi(text.c_str() + colon + 1);
  return !host->empty() && *port > 0 && *port < 65536;
}

void SetIni(CConfigFile& file, const char* section, const char* key, const std::string& value) {
  file.SetString(section, key, value.c_str(), 0);
}

// The screen, or the widget alone when one is given.
std::string Picture(const SProgramRunOptions& o, SProgramRunResult& r, const std::string& name,
                    QWidget* widget = nullptr) {
  if (o.outDir.empty()) return "";
  fs::create_directories(o.outDir);
  // Whatever is still to be laid out or painted is done before the grab.
  platform::PumpMessages(0);
  const std::string path = (fs::path(o.outDir) / name).string();
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap grabbed = widget ? widget->grab() : screen ? screen->grabWindow(0) : QPixmap();
  if (grabbed.isNull() || !grabbed.save(QString::fromStdString(path))) return "";
  r.pictures.push_back(path);
  if (o.report) o.report(path);
  return path;
}

bool Pump(const std::function<bool()>& done, int timeoutMs) {
  return platform::PumpUntil(done, timeoutMs);
}

// One folder and one set of test certificates for every run of the
// process: the trading library, once started, keeps the settings it read
// (the folder's paths) and its secure-socket context for as long as it is
// loaded, so later runs give it the same paths and the same certificates.
const fs::path& ProcessRoot() {
  static const fs::path root = [] {
    char folder[] = "/tmp/zebrun_XXXXXX";
    fs::path made = mkdtemp(folder);
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(ProcessRoot(), ec);
    });
    return made;
  }();
  return root;
}

const STestPki& ProcessPki() {
  static const STestPki pki = [] {
    STestPki made;
    GenerateTestPki((ProcessRoot() / "pki").string(), "test", &made);
    return made;
  }();
  return pki;
}

// Lets the quote list show a market that has traded since the open: the
// simulator started here moves its prices now (a server given moves by
// itself), the list refreshes, and the picture waits for the traded volume.
void ShowMovedPrices(CPriceReportView& list, sim::QuoteServer* quoteSim) {
  constexpr int kSteps = 3;
  constexpr int kWaitMs = 5000;
  if (quoteSim)
    for (int i = 0; i < kSteps; ++i) quoteSim->Market().Step();
  const auto traded = [&] {
    const std::string& volume = list.StatStrip().GetFigures().front().second;
    return !volume.empty() && volume != "0" && volume != GBK("——");
  };
  list.SendMessage(WM_TIMER, kReportRefreshTimer);
  Pump(traded, kWaitMs);
}

// The custody pages' server, one for the process like the folder: the
// trading library keeps the page addresses it read first. Started unless
// a trade server is given (its own pages come with it).
int ProcessCustodyPort() {
  static const int port = [] {
    static CCustodySimServer pages;
    return pages.Start(0);
  }();
  return port;
}

CPriceReportView* ReportView(ST_SplitterWnd& splitter) {
  for (int i = 0; i < splitter.GetViewCount(0); ++i)
    if (auto* list = dynamic_cast<CPriceReportView*>(splitter.GetView(0, i))) return list;
  return nullptr;
}

}  // namespace

// The build's program folder without what one run changes or needs anew.
void CopyProgramFolder(const std::filesystem::path& bin, const std::filesystem::path& prog) {
  for (const char* name : {"zeb.ini", "sysset.ini", "normalcmd.dat"})
    if (fs::exists(bin / name)) fs::copy_file(bin / name, prog / name);
  // The formula store holds the standard indicators the K-line panes and
  // the formula dialogs' pictures use.
  for (const char* folder : {"BLOCK", "INDEX", "INTERFACE", "UIInterface", "formula"})
    if (fs::exists(bin / folder))
      fs::copy(bin / folder, prog / folder, fs::copy_options::recursive);
  fs::create_directories(prog / "formula");
  for (const char* name : {"libTrade.so", "libQuellan.so", "Novarel"})
    if (fs::exists(bin / name)) fs::create_symlink(bin / name, prog / name);
}

SProgramRunResult RunProgramOnce(const SProgramRunOptions& o) {
  SProgramRunResult r;
  platform::testing::EnsureApplication();
  RegisterMarketViews();
  RegisterChartView();
  StageWatchdog watchdog(o.stageTimeoutMs + 5000);
  watchdog.Enter("program folder and simulators");

  std::string binText = o.binDir;
  if (binText.empty() && std::getenv("ZEB_BIN_DIR")) binText = std::getenv("ZEB_BIN_DIR");
  const fs::path bin = binText.empty() ? fs::path(platform::GetProgramDir()) : fs::path(binText);
  const fs::path root = ProcessRoot();
  const fs::path prog = root / "prog", appdata = root / "appdata", config = root / "config";
  std::error_code cleared;
  for (const fs::path& p : {prog, appdata, config}) {
    fs::remove_all(p, cleared);
    fs::create_directories(p);
  }
  CopyProgramFolder(bin, prog);

  // The servers: the ones given, or simulators on free ports.
  std::string quoteHost = "127.0.0.1", tradeHost = "127.0.0.1", balanceHost = "127.0.0.1";
  int quotePort = 0, tradePort = 0, balancePort = 0;
  std::unique_ptr<sim::QuoteServer> quoteSim;
  std::unique_ptr<CTradeSimServer> tradeSim;
  std::unique_ptr<CBalanceSimServer> balanceSim;
  if (!o.quote.empty()) {
    SplitHostPort(o.quote, &quoteHost, &quotePort);
  } else {
    sim::QuoteServerOptions q;
    q.port = 0;
    quoteSim = std::make_unique<sim::QuoteServer>(q);
    if (quoteSim->Start()) quotePort = quoteSim->Port();
  }
  const fs::path certs = prog / "tradecerts";
  if (!o.trade.empty()) {
    SplitHostPort(o.trade, &tradeHost, &tradePort);
    if (fs::exists(bin / "tradecerts"))
      fs::copy(bin / "tradecerts", certs, fs::copy_options::recursive);
  } else {
    const STestPki& pki = ProcessPki();
    fs::copy(pki.dir, certs, fs::copy_options::recursive);
    STradeSimOptions t;
    t.caFile = pki.caCert;
    t.certFile = pki.serverCert;
    t.keyFile = pki.serverKey;
    t.user = o.account;
    t.password = o.password;
    t.log = false;
    tradeSim = std::make_unique<CTradeSimServer>(t);
    tradePort = tradeSim->Start(0);
  }
  if (!o.balance.empty()) {
    SplitHostPort(o.balance, &balanceHost, &balancePort);
  } else {
    std::vector<SBalancePair> pairs(5, SBalancePair{tradeHost, tradePort, quoteHost, quotePort});
    balanceSim = std::make_unique<CBalanceSimServer>(EBalanceMode::Good, pairs);
    balancePort = balanceSim->Start(0);
  }
  {
    CConfigFile ini((prog / "zeb.ini").string().c_str(), 0);
    SetIni(ini, "SYSTEM", "NEEDBALANCE", "1");
    SetIni(ini, "UPDATE", "UPDATESERVER", "");
    SetIni(ini, "USERINFO", "UserID", o.account);
    SetIni(ini, "QUOTE", "ServerIP", quoteHost);
    SetIni(ini, "QUOTE", "ServerPort", std::to_string(quotePort));
    SetIni(ini, "TRADE", "ServerIP", tradeHost);
    SetIni(ini, "TRADE", "ServerPort", std::to_string(tradePort));
    SetIni(ini, "BALANCE", "SERVERIP1", balanceHost);
    SetIni(ini, "BALANCE", "SERVERPORT1", std::to_string(balancePort));
    SetIni(ini, "TRADESERVER", "EKEYPATH", (certs / "client.key").string());
    if (o.trade.empty())
      if (const int port = ProcessCustodyPort(); port > 0)
        for (const std::string& page : CCustodySimServer::PageNames())
          SetIni(ini, "TRUSTBUSINESS", (page + "Url").c_str(),
                 "http://127.0.0.1:" + std::to_string(port) + "/" + page);
    ini.Save(1);
  }
  platform::SetProgramDirOverride(prog.string() + "/");
  platform::SetAppDataDirOverride(appdata.string() + "/");
  platform::SetConfigDirOverride(config.string() + "/");

  LoggingBoxes boxes;
  bool loginShown = false;
  platform::testing::ScopedModalScript script{[&](CDialog& dialog) {
    auto* login = dynamic_cast<CLoginDlg*>(&dialog);
    if (!login) return;
    loginShown = true;
    watchdog.Enter("login");
    platform::testing::ShowAndActivate(login);
    for (auto [id, text] : {std::pair<int, std::string>{IDC_LOGIN_ACCOUNT, o.account},
                            {IDC_LOGIN_PASSWORD, o.password},
                            {IDC_LOGIN_CODE, login->GetVerificationCode()}}) {
      if (auto* edit = platform::testing::FindCtl<QLineEdit>(*login, id)) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(text));
      }
    }
    Picture(o, r, "01-login.png");
    platform::testing::ClickCtl(*login, IDOK);
  }};
  script.SetLeftOpenLimit(o.stageTimeoutMs);

  {
    const Clock::time_point start = Clock::now();
    watchdog.Enter("login dialog");
    SZebAppOptions appOptions;
    CZEBApp app(appOptions);
    const BOOL running = app.InitInstance();
    r.loginResult = app.LoginResult();
    r.loginDialogGone = app.GetLoginDlg() == nullptr && r.loginResult == IDOK;
    CMainFrame* frame = app.GetMainFrame();
    watchdog.Enter("main frame");
    if (!loginShown) r.failedStage = "login dialog";
    else if (!running || !frame) r.failedStage = "main frame";
    if (r.failedStage.empty()) {
      r.frameShown = Pump([&] { return frame->IsWindowVisible() && frame->isActiveWindow(); },
                          o.stageTimeoutMs) ||
                     frame->IsWindowVisible();
      r.startupMs = std::chrono::duration<double, std::milli>(app.FrameShownAt() - start).count();
      r.marketItems = CPublic::GetInstance()->GetStockCount(kAllMarkets);
      if (!r.frameShown) r.failedStage = "main frame";
    }
    if (r.failedStage.empty()) {
      watchdog.Enter("pictures");
      (void)QTest::qWaitForWindowExposed(frame);
      Picture(o, r, "02-main-frame.png");
      r.viewFocus.listFocusedAtStart = QuoteListHasFocus(*frame);
      ST_SplitterWnd& splitter = frame->Splitter();
      CCmdDispatcher* router = CCmdDispatcher::GetInstance();
      for (int i = 0; i < splitter.GetViewCount(0); ++i) {
        auto* view = dynamic_cast<CRoutedView*>(splitter.GetView(0, i));
        if (!view) continue;
        watchdog.Enter("market pane view " + std::to_string(view->GetViewPage()));
        if (view->GetViewPage() == kPageReport) {
          router->ShowAllMarkets();
          // The picture shows the list once its first quotes are in.
          const std::vector<SCodeInfo>& rows = CPublic::GetInstance()->GetReportCodes();
          Pump([&] { return router->GetActiveView() == view && !rows.empty(); }, o.stageTimeoutMs);
          r.quoteListRows = int(rows.size());
          if (auto* list = dynamic_cast<CPriceReportView*>(view))
            ShowMovedPrices(*list, quoteSim.get());
        } else {
          const auto& markets = CPublic::GetInstance()->GetMarkets();
          for (const CMarketInfo& m : markets) {
            if (m.stocks.empty()) continue;
            const SCodeInfo first = m.stocks.front().GetKey();
            if (CPublic::IsIndexMarket(&first)) continue;
            router->OpenChartPage(first, 16);
            break;
          }
        }
        Pump([&] { return router->GetActiveView() == view; }, o.stageTimeoutMs);
        platform::PumpMessages(0);
        Picture(o, r, "03-view-" + std::to_string(view->GetViewPage()) + ".png");
      }
      const KeepPicture keep = [&](const std::string& name, QWidget* widget) {
        Picture(o, r, name, widget);
      };
      watchdog.Enter("chart view");
      PictureChartView(*frame, keep, o.stageTimeoutMs, &r.chart);
      watchdog.Enter("k-line chart");
      PictureKLine(*frame, keep, o.stageTimeoutMs, &r.kline);
      watchdog.Enter("trading window");
      PictureTradingWindow(*frame, keep, o.stageTimeoutMs, &r.shell);
      if (o.tradePanels)
        PictureTradePanels(
            *frame, keep, [&](const std::string& stage) { watchdog.Enter(stage); },
            o.stageTimeoutMs, &r.shell);
      watchdog.Enter("input box");
      PictureInputBox(*frame, keep, o.stageTimeoutMs, &r.shell);
      // The box opened its first result in the chart view: back to the list.
      ReturnToQuoteList(o.stageTimeoutMs);
      watchdog.Enter("keys after opening");
      CheckKeysAfterOpening(*frame, o.stageTimeoutMs, &r.viewFocus);
      watchdog.Enter("resized chart");
      PictureResizedChart(*frame, keep, o.stageTimeoutMs, &r.viewFocus);
      ReturnToQuoteList(o.stageTimeoutMs);
      // The market tabs last: they leave the list sorted and on another
      // market, which the chart view's stepping pictures above do not expect.
      if (auto* list = ReportView(splitter)) {
        watchdog.Enter("market tabs");
        router->ShowAllMarkets();
        Pump([&] { return router->GetActiveView() == list; }, o.stageTimeoutMs);
        r.marketTabs = PictureMarketTabs(*list, keep, o.stageTimeoutMs);
        if (!o.outDir.empty()) PictureSortedPage(*list, keep, o.stageTimeoutMs);
      }
      // After the pictures of the morning's market: it walks to the day's end.
      watchdog.Enter("interval statistics");
      PictureIntervalStats(*frame, keep, o.stageTimeoutMs, quoteSim.get(), &r.interval);
      watchdog.Enter("menus");
      PictureMenus(*frame, keep);
      watchdog.Enter("formula dialogs");
      PictureFormulaDialogs(keep, &r.shell);
      watchdog.Enter("dialogs");
      PictureDialogs(*frame, keep, o.stageTimeoutMs);
      if (o.whileRunning) o.whileRunning(*frame);
    }
    if (quoteSim) {
      r.quoteLogins = quoteSim->CountReceived(quotelink::PKT_LOGIN);
      r.quoteInitRequests = quoteSim->CountReceived(quotelink::PKT_INIT_DATA);
      r.singleQuoteRequests = quoteSim->CountReceived(0x0800);
      r.tradePriceRequests = quoteSim->CountReceived(0x2200);
    }
    if (balanceSim) r.balanceQueries = balanceSim->Requests().size();
    if (tradeSim)
      for (const std::string& type : tradeSim->Requests()) r.tradeLogons += type == "1001";
    watchdog.Enter("close");
    // No message loop runs any more: the frame closes without ending one
    // (a quit left behind would end the next run's modal loops at once).
    SetMainWnd(nullptr);
    if (frame && frame->IsCreated()) frame->CloseWithoutAsking();
    app.ExitInstance();
  }
  for (const auto& box : boxes.Boxes()) r.boxes.push_back(platform::GbkToUtf8(box.text));

  watchdog.Enter("simulators stopped");
  if (quoteSim) quoteSim->Stop();
  if (tradeSim) tradeSim->Stop();
  if (balanceSim) balanceSim->Stop();
  platform::SetProgramDirOverride("");
  platform::SetAppDataDirOverride("");
  platform::SetConfigDirOverride("");
  for (const fs::path& p : {prog, appdata, config}) fs::remove_all(p, cleared);
  r.ok = r.failedStage.empty();
  return r;
}
