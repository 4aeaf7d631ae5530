// The trading library "Trade", loaded by name from the program folder while
// the application object is made, and the entry points the shell calls
// through it. Each export is bound by name and checked on its own: a
// library that lacks one counts as not loaded ("打开交易库失败!"), and the
// program then runs with quotes only. Every caller tests the entry point it
// needs before it calls. User-interface thread only.
#pragma once
#include <string>

#include "platform/types.h"
#include "trade/host/trade_exports.h"

struct STradeEntries {
  PFN_InitDialog InitDialog = nullptr;
  PFN_MoveDlg MoveDlg = nullptr;
  PFN_DestoryDialog DestoryDialog = nullptr;
  PFN_Link2Server Link2Server = nullptr;
  PFN_UnLink UnLink = nullptr;
  PFN_KeyMessage KeyMessage = nullptr;
  void* unbound = nullptr;  // a slot the host never fills
  PFN_GetUserInfo GetUserInfo = nullptr;
  PFN_InitBalanceServer InitBalanceServer = nullptr;
  PFN_LinkTradeServer LinkTradeServer = nullptr;
};

class CTradeLibrary {
 public:
  CTradeLibrary() = default;
  ~CTradeLibrary();  // Unload
  CTradeLibrary(const CTradeLibrary&) = delete;
  CTradeLibrary& operator=(const CTradeLibrary&) = delete;

  // Loads the library file of the folder ("libTrade.so") and binds every
  // export; on any failure shows "打开交易库失败!" (unless quiet), keeps
  // nothing bound and returns false.
  bool Load(const std::string& folder, bool quiet = false);
  void Unload();
  bool IsLoaded() const { return m_module != nullptr || m_injected; }
  const STradeEntries& Entries() const { return m_entries; }
  // Entry points given by a test instead of a loaded library.
  void BindForTest(const STradeEntries& entries);
  // Why the last Load failed ("" after a success).
  const std::string& LastError() const { return m_error; }

 private:
  void* m_module = nullptr;
  bool m_injected = false;
  STradeEntries m_entries;
  std::string m_error;
};
