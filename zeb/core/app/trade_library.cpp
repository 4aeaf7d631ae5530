#include "zeb/core/app/trade_library.h"

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "sharecode/mythread.h"

CTradeLibrary::~CTradeLibrary() { Unload(); }

bool CTradeLibrary::Load(const std::string& folder, bool quiet) {
  Unload();
  const std::string path = folder + platform::LibraryFileName("Trade");
  m_error.clear();
  void* module = platform::LoadLibraryPath(path, &m_error);
  STradeEntries e;
  std::string missing;
  using platform::LibEntry;
  const bool ok =
      module != nullptr &&
      platform::BindEntries(
          module, &missing, LibEntry{"InitDialog", &e.InitDialog}, LibEntry{"MoveDlg", &e.MoveDlg},
          LibEntry{"DestoryDialog", &e.DestoryDialog}, LibEntry{"Link2Server", &e.Link2Server},
          LibEntry{"UnLink", &e.UnLink}, LibEntry{"KeyMessage", &e.KeyMessage},
          LibEntry{"GetUserInfo", &e.GetUserInfo},
          LibEntry{"InitBalanceServer", &e.InitBalanceServer},
          LibEntry{"LinkTradeServer", &e.LinkTradeServer});
  if (!ok) {
    if (module) {
      m_error = "the trading library lacks " + missing;
      platform::FreeLibrary(module);
    }
    WriteTraceLine(TRACE_HERE, 0, "%s: %s\n", path.c_str(), m_error.c_str());
    if (!quiet) AfxMessageBox(GBK("打开交易库失败!"), MB_OK);
    return false;
  }
  m_module = module;
  m_entries = e;
  return true;
}

void CTradeLibrary::Unload() {
  m_entries = STradeEntries();
  m_injected = false;
  if (m_module) platform::FreeLibrary(m_module);
  m_module = nullptr;
}

void CTradeLibrary::BindForTest(const STradeEntries& entries) {
  Unload();
  m_entries = entries;
  m_injected = true;
}
