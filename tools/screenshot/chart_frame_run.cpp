// The main frame with the chart view on its K-line page (chart_frame_run.h).
#include "tools/screenshot/chart_frame_run.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QWidget>
#include <cstdlib>
#include <fstream>

#include "platform/input.h"
#include "platform/paths.h"
#include "platform/testing/app.h"
#include "platform/window.h"
#include "sim/market/market_table_builder.h"
#include "tools/screenshot/program_run.h"
#include "zeb/core/app/shell_plugins.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/messages.h"
#include "zeb/shell/app/zeb_app.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/store/public_store.h"
#include "zeb/views/report/market_views.h"
#include "zeb/views/stock/chart_view_plugin.h"
#include "zeb/views/stock/stock_view.h"

namespace fs = std::filesystem;

// Collects the regions of the paint events the view's window receives.
class CChartFrameRun::CPaintRecorder : public QObject {
 public:
  QRegion painted;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
    return QObject::eventFilter(watched, event);
  }
};

CChartFrameRun::CChartFrameRun(int width, int height) {
  platform::testing::EnsureApplication();
  char pattern[] = "/tmp/zeb_chart_frame_XXXXXX";
  if (!mkdtemp(pattern)) return;
  m_folder = pattern;
  const char* bin = std::getenv("ZEB_BIN_DIR");
  CopyProgramFolder(bin ? fs::path(bin) : fs::path(platform::GetProgramDir()), m_folder);
  std::ofstream(m_folder / "zeb.ini") << "[SYSTEM]\r\nSHOWTOOLBAR=1\r\n";
  platform::SetProgramDirOverride(m_folder.string() + "/");
  platform::SetAppDataDirOverride(m_folder.string() + "/");
  platform::SetConfigDirOverride(m_folder.string() + "/");
  RegisterMarketViews();
  RegisterChartView();
  SZebAppOptions options;
  options.skipTradeLibrary = true;
  m_app = std::make_unique<CZEBApp>(options);
  CPublic* store = CPublic::GetInstance();
  store->SetLoginMode(1);  // quotes only: no trading pane
  const std::string table = sim::BuildOneItemMarketTable(kMarket, kCode, "chart", 20000);
  store->ParseMarketTable(table.data(), static_cast<int>(table.size()));
  m_app->CreateMainFrame();
  m_frame = m_app->GetMainFrame();
  if (!m_frame) return;
  m_frame->ShowWindow(SW_SHOWNORMAL);
  m_frame->MoveWindow(0, 0, width, height);
  CCmdDispatcher* router = CCmdDispatcher::GetInstance();
  router->ShowAllMarkets();
  router->OpenChartPage(SCodeInfo{kMarket, kCode}, kPageTechnical);
  m_view = dynamic_cast<CStockView*>(router->GetActiveView());
  if (!m_view || !m_view->GetWidget()) {
    m_view = nullptr;
    return;
  }
  m_recorder = std::make_unique<CPaintRecorder>();
  m_view->GetWidget()->installEventFilter(m_recorder.get());
  platform::PumpMessages(20);
}

CChartFrameRun::~CChartFrameRun() {
  if (m_view && m_view->GetWidget()) m_view->GetWidget()->removeEventFilter(m_recorder.get());
  if (m_frame) m_frame->CloseWithoutAsking();
  m_app.reset();
  ShellPlugins() = SShellPlugins();
  platform::SetProgramDirOverride("");
  platform::SetAppDataDirOverride("");
  platform::SetConfigDirOverride("");
  std::error_code ignored;
  if (!m_folder.empty()) fs::remove_all(m_folder, ignored);
}

CHisTechObj& CChartFrameRun::Chart() { return m_view->Analysis().HisTech(); }

bool CChartFrameRun::ShowKLine(const std::string& history) {
  if (!m_view) return false;
  Deliver(history);
  CHisTechObj& chart = Chart();
  const int bars = static_cast<int>(chart.Raw().size());
  if (bars == 0) return false;
  chart.SetRange(0, bars);
  chart.Recompute();
  m_view->Repaint();
  PaintPending();
  return chart.End() - chart.First() == bars;
}

void CChartFrameRun::Deliver(const std::string& body) {
  ::SendMessage(m_frame->GetSafeHwnd(), WM_QUOTE_PACKET, body.size(),
                reinterpret_cast<LPARAM>(body.data()));
}

void CChartFrameRun::MouseTo(POINT at) {
  POINT screen = at;
  m_view->ClientToScreen(&screen);
  ::SetCursorPos(screen.x, screen.y);
  m_view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
}

void CChartFrameRun::Click(POINT at) {
  MouseTo(at);
  m_view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  m_view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

QRegion CChartFrameRun::PaintPending() {
  m_recorder->painted = QRegion();
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  return m_recorder->painted;
}

int64_t RegionArea(const QRegion& region) {
  int64_t area = 0;
  for (const QRect& r : region) area += int64_t(r.width()) * r.height();
  return area;
}
