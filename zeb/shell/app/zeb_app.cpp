#include "zeb/shell/app/zeb_app.h"

#include <QApplication>

#include "link/client_data_source.h"
#include "platform/paths.h"
#include "platform/qt_texts.h"
#include "platform/window.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/core/app/crash_handler.h"
#include "zeb/shell/app/shell_windows.h"
#include "zeb/shell/app/stage_dlg.h"
#include "zeb/shell/frame/main_frame.h"
#include "zeb/shell/login/login_dlg.h"
#include "zeb/messages.h"
#include "zeb/core/router/cmd_dispatcher.h"
#include "zeb/store/public_store.h"
#include "zeb/core/update/update_check.h"

namespace {
CZEBApp* g_pApp = nullptr;
}  // namespace

CZEBApp::CZEBApp(const SZebAppOptions& options) {
  g_pApp = this;
  if (!options.skipTradeLibrary)
    m_trade.Load(options.tradeLibraryFolder.empty() ? platform::GetProgramDir()
                                                    : options.tradeLibraryFolder);
}

CZEBApp::~CZEBApp() {
  if (!m_bExited) ExitInstance();
  if (g_pApp == this) g_pApp = nullptr;
  // The trading library goes last, after everything that may call it.
}

CZEBApp* CZEBApp::Current() { return g_pApp; }

BOOL CZEBApp::InitInstance() {
  InstallCrashHandler();
  // Qt's own texts (box buttons, edit menus) in the program's language.
  platform::InstallQtChineseTexts();
  InstallShellWindows();
  CPublic* store = CPublic::GetInstance();
  store->LoadConfig();
  CheckForUpdate();

  m_pStageDlg = std::make_unique<CAboutDlg>();
  m_pStageDlg->Create(nullptr);
  m_pStageDlg->ShowWindow(SW_HIDE);
  m_pLink = std::make_unique<CClientDataSource>();

  CLoginDlg login(m_pStageDlg->GetSafeHwnd(), WM_LOGIN_STAGE);
  m_pLoginDlg = &login;
  m_nLoginResult = int(login.DoModal());
  m_pLoginDlg = nullptr;
  // Only a login that ended with the main frame up lets the loop run.
  return m_nLoginResult == IDOK && m_pFrame && m_pFrame->IsCreated();
}

int CZEBApp::Run() { return QApplication::exec(); }

int CZEBApp::ExitInstance() {
  if (m_bExited) return 0;
  m_bExited = true;
  // A frame the user never saw (a login given up after it was made) closes
  // without the question.
  if (m_pFrame && m_pFrame->IsCreated()) m_pFrame->CloseWithoutAsking();
  m_pFrame.reset();
  // No trade connection may outlive the program's use of the library: its
  // thread would still run while the library is unloaded.
  TradeUnLink();
  CPublic::ReleaseInstance();
  if (m_pStageDlg) {
    m_pStageDlg->DestroyWindow();
    m_pStageDlg.reset();
  }
  m_pLink.reset();
  return 0;
}

void CZEBApp::OnAppAbout() {
  CAboutDlg about;
  about.DoModal();
}

void CZEBApp::CreateMainFrame() {
  CSysStyle::GetInstance()->LoadScheme();
  if (!m_pFrame || !m_pFrame->IsCreated()) {
    m_pFrame.reset();
    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame()) return;
    m_pFrame = std::move(frame);
  }
  SetMainWnd(m_pFrame.get());
  m_pFrame->ShowWindow(SW_HIDE);
  if (m_pLink) m_pLink->ChangeReceieveWnd(m_pFrame->GetSafeHwnd(), WM_QUOTE_PACKET);
  m_pFrame->SetLink(m_pLink.get());
}

void CZEBApp::ShowMainFrame(int how) {
  if (!m_pFrame || !m_pFrame->IsCreated()) return;
  if (how == 2) {
    m_pFrame->PostMessage(WM_CLOSE);
    return;
  }
  if (how != 1) return;
  m_pFrame->ShowWindow(SW_SHOWMAXIMIZED);
  m_pFrame->UpdateWindow();
  m_frameShownAt = std::chrono::steady_clock::now();
  CCmdDispatcher::GetInstance()->ShowAllMarkets();
  // The keys go to the quote list the user sees (not to a field of the
  // trading window), also once the notice that may follow is closed.
  if (CWnd* list = m_pFrame->Splitter().GetPane(0, 0)) list->SetFocus();
  m_pFrame->RecalcLayout();
  m_pFrame->LaunchUpdater(1);
}

void CZEBApp::SetQuoteServer(HWND progressWnd, DWORD msg, const std::string& account1,
                             const std::string& account2, const std::string& host, int port) {
  if (!m_pLink) return;
  m_pLink->SetIPPortInfo(host, port, account1, account2);
  m_pLink->SetOnLine(progressWnd, msg);
}

void CZEBApp::SetQuoteHosts(HWND progressWnd, DWORD msg, const std::string& account1,
                            const std::string& account2, const std::string hosts[5],
                            const int ports[5]) {
  if (!m_pLink) return;
  m_pLink->SetHostsInfo(account1, account2, hosts[0], ports[0], hosts[1], ports[1], hosts[2],
                        ports[2], hosts[3], ports[3], hosts[4], ports[4]);
  m_pLink->SetOnLine(progressWnd, msg);
}

void CZEBApp::TradeUnLink() {
  if (m_trade.Entries().UnLink) m_trade.Entries().UnLink();
}

void CZEBApp::QuoteUnLink() {
  if (m_pLink) m_pLink->UnLink();
}

int RunZebProgram(int argc, char** argv) {
  // The trading library's custody pages run in Qt WebEngine, which shares
  // its graphics contexts with the application's: set before the
  // application object is made.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication qtApp(argc, argv);
  // The program ends when its main frame is destroyed, not when its last
  // window hides (the login dialog hides before it ends).
  qtApp.setQuitOnLastWindowClosed(false);
  int code = 0;
  {
    CZEBApp app;
    if (app.InitInstance()) app.Run();
    code = app.ExitInstance();
  }
  platform::BeginShutdown();
  return code;
}
