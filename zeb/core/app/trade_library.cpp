#include "zeb/core/app/trade_library.h"

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "sharecode/mythread.h"

namespace {

template <class Fn>
bool Bind(void* module, const char* name, Fn* slot, std::string* missing) {
  *slot = reinterpret_cast<Fn>(platform::GetProcAddress(module, name));
  if (!*slot) *missing = name;
  return *slot != nullptr;
}

}  // namespace

CTradeLibrary::~CTradeLibrary() { Unload(); }

bool CTradeLibrary::Load(const std::string& folder, bool quiet) {
  Unload();
  const std::string path = folder + platform::LibraryFileName("Trade");
  m_error.clear();
  void* module = platform::LoadLibraryPath(path, &m_error);
  STradeEntries e;
  std::string missing;
  bool ok = module != nullptr;
  ok = ok && Bind(module, "InitDialog", &e.InitDialog, &missing);
  ok = ok && Bind(module, "MoveDlg", &e.MoveDlg, &missing);
  ok = ok && Bind(module, "DestoryDialog", &e.DestoryDialog, &missing);
  ok = ok && Bind(module, "Link2Server", &e.Link2Server, &missing);
  ok = ok && Bind(module, "UnLink", &e.UnLink, &missing);
  ok = ok && Bind(module, "KeyMessage", &e.KeyMessage, &missing);
  ok = ok && Bind(module, "GetUserInfo", &e.GetUserInfo, &missing);
  ok = ok && Bind(module, "InitBalanceServer", &e.InitBalanceServer, &missing);
  ok = ok && Bind(module, "LinkTradeServer", &e.LinkTradeServer, &missing);
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
