// The trading library's application object: its start (settings, the
// secure-socket library), its one connection to the trade server, its one
// trading main dialog and its exit. The exported functions are thin calls
// into it.
//
// The start runs when the host loads the library (its entry point, on the
// host's user-interface thread, with the host's Qt application made); when
// it fails (no "zeb.ini", no secure-socket library, SockInit refused) the
// user has seen why in a box and the load is refused. Used without the
// entry point (linked in), the start runs at the first export that needs
// it and a failed start leaves every export doing nothing.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/types.h"
#include "sharecode/rwlock.h"
#include "trade/core/balance_client.h"
#include "trade/core/trade_records.h"
#include "trade/ui/app/main_dlg_factory.h"
#include "trade/ui/app/trade_settings.h"

class CCommThread;
class CTradeSession;

// The arguments of Link2Server and LinkTradeServer.
struct STradeLinkRequest {
  HWND notifyWnd = nullptr;
  UINT notifyMsg = 0;
  std::string userId;
  std::string password;
  bool roundRobin = false;
  std::vector<SServerAddr> servers;  // LinkTradeServer: all five, in order
  SServerAddr server;                // the single server (Link2Server), or the first
  bool useServerList = false;        // LinkTradeServer
};

class CTradeApp {
 public:
  CTradeApp();
  ~CTradeApp();
  CTradeApp(const CTradeApp&) = delete;
  CTradeApp& operator=(const CTradeApp&) = delete;

  // Runs the start once; later calls give its result.
  bool EnsureStarted();
  // The start at load: a refused load leaves nothing started, so the next
  // load tries again, as a library that refused is unloaded.
  bool StartAtLoad();
  bool IsStarted() const { return started_ == 1; }
  // The start: binds the secure-socket library, reads "zeb.ini" and
  // initialises the secure socket. False (after a box) when it cannot.
  bool InitInstance();
  // The exit: stops the connection and releases the session store.
  void ExitInstance();

  const STradeSettings& Settings() const { return settings_; }
  // The host program's folder, without the trailing separator.
  std::string ProgramFolder() const;
  std::string CustodyUrl(int page) const;

  // Stops, joins and deletes the connection (under the link lock).
  void UnLink();
  // Stops any earlier connection, fills the session and starts a new one.
  void Link(const STradeLinkRequest& request);
  // The connection exists and its secure socket reports connected.
  bool IsConnected();
  CBalanceClient& Balance() { return balance_; }

  HWND InitDialog(HWND hostPane);
  int DestroyDialog();
  int MoveDialog(const RECT& rect);
  int PostKey(int key, int data);
  HWND HostPane() const { return hostPane_; }

 private:
  int started_ = -1;  // -1 not tried, 0 failed, 1 started
  int secureSocket_ = 0;
  std::unique_ptr<CCommThread> connection_;
  CBalanceClient balance_;
  CRWLock linkLock_;
  STradeSettings settings_;
  HWND hostPane_ = nullptr;
  std::unique_ptr<ITradeMainDialog> dialog_;
};

// The process's application object.
CTradeApp& TheTradeApp();
