// CZEBApp: the application object. It fixes the order in which the
// program comes up (store and settings, update check, the hidden stage
// dialog, the link object, the modal login dialog, during which the main
// frame is created hidden and then shown) and goes down (settings written,
// store freed, stage dialog and link object gone, trading library unloaded
// last). CZEBDoc stands for the document, which holds nothing.
//
// The program's main() is a thin wrapper around RunZebProgram, so tests run
// the real start-up in process.
#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "platform/types.h"
#include "zeb/core/app/trade_library.h"

class CAboutDlg;
class CClientDataSource;
class CMainFrame;
class CLoginDlg;

class CZEBDoc {
 public:
  BOOL OnNewDocument() { return TRUE; }
};

struct SZebAppOptions {
  // Where the trading library is looked for; empty: the program folder.
  std::string tradeLibraryFolder;
  // Skip the trading library (a test gives its own entry points).
  bool skipTradeLibrary = false;
};

class CZEBApp {
 public:
  // Binds the trading library; the Qt application object must exist.
  explicit CZEBApp(const SZebAppOptions& options = {});
  ~CZEBApp();
  CZEBApp(const CZEBApp&) = delete;
  CZEBApp& operator=(const CZEBApp&) = delete;

  // The application object of the process (the last one made), or null.
  static CZEBApp* Current();

  // The start-up; TRUE lets the message loop run.
  BOOL InitInstance();
  // The shut-down; the exit code.
  int ExitInstance();
  // The message loop until the main frame is gone.
  int Run();

  void OnAppAbout();
  void CreateMainFrame();
  void ShowMainFrame(int how);
  void SetQuoteServer(HWND progressWnd, DWORD msg, const std::string& account1,
                      const std::string& account2, const std::string& host, int port);
  void SetQuoteHosts(HWND progressWnd, DWORD msg, const std::string& account1,
                     const std::string& account2, const std::string hosts[5], const int ports[5]);
  void TradeUnLink();
  void QuoteUnLink();

  CAboutDlg* GetStageDlg() const { return m_pStageDlg.get(); }
  CClientDataSource* GetLink() const { return m_pLink.get(); }
  CMainFrame* GetMainFrame() const { return m_pFrame.get(); }
  CTradeLibrary& Trade() { return m_trade; }
  CZEBDoc& GetDocument() { return m_doc; }
  // The login dialog while it runs (tests and the screenshot tool look in).
  CLoginDlg* GetLoginDlg() const { return m_pLoginDlg; }
  int LoginResult() const { return m_nLoginResult; }
  // When the show stage put the main frame on screen (the epoch before).
  std::chrono::steady_clock::time_point FrameShownAt() const { return m_frameShownAt; }

 private:
  CTradeLibrary m_trade;
  CZEBDoc m_doc;
  std::unique_ptr<CAboutDlg> m_pStageDlg;
  std::unique_ptr<CClientDataSource> m_pLink;
  std::unique_ptr<CMainFrame> m_pFrame;
  CLoginDlg* m_pLoginDlg = nullptr;
  int m_nLoginResult = 0;
  bool m_bExited = false;
  std::chrono::steady_clock::time_point m_frameShownAt{};
};

// The whole program: the Qt application, the application object, the
// start-up, the message loop and the shut-down. Returns the exit code.
int RunZebProgram(int argc, char** argv);
