#include "trade/core/sock_library.h"

#include "platform/dynlib.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sharecode/mythread.h"

CSockLibrary::~CSockLibrary() { Unload(); }

void CSockLibrary::Unload() {
  if (module) platform::FreeLibrary(module);
  module = nullptr;
  SockInit = nullptr;
  SockConnect = nullptr;
  SockGetConnStatus = nullptr;
  SockGetSockInfo = nullptr;
  SockSend = nullptr;
  SockRecv = nullptr;
  SockFreeMemory = nullptr;
  SockClose = nullptr;
  SockDestroy = nullptr;
  SockWaitReadable = nullptr;
}

int CSockLibrary::Load() {
  const int r = LoadFrom(platform::GetProgramDir() + platform::LibraryFileName("Quellan"));
  if (r != 0) ::AfxMessageBox(GBK("载入Quellan.dll出错!"), MB_OK);
  return r;
}

int CSockLibrary::LoadFrom(const std::string& path) {
  Unload();
  std::string error;
  platform::LibHandle lib = platform::LoadLibraryPath(path, &error);
  if (!lib) {
    WriteTraceLine(TRACE_HERE, 0, "cannot load %s: %s\n", path.c_str(), error.c_str());
    return -1;
  }
  module = lib;
  using platform::LibEntry;
  // A library without one of the nine would fail at the first call that
  // needs it; treat it as not loadable.
  if (!platform::BindEntries(
          lib, nullptr, LibEntry{"SockInit", &SockInit}, LibEntry{"SockConnect", &SockConnect},
          LibEntry{"SockGetConnStatus", &SockGetConnStatus},
          LibEntry{"SockGetSockInfo", &SockGetSockInfo}, LibEntry{"SockSend", &SockSend},
          LibEntry{"SockRecv", &SockRecv}, LibEntry{"SockFreeMemory", &SockFreeMemory},
          LibEntry{"SockClose", &SockClose}, LibEntry{"SockDestroy", &SockDestroy})) {
    WriteTraceLine(TRACE_HERE, 0, "%s lacks an entry point\n", path.c_str());
    Unload();
    return -1;
  }
  platform::BindEntries(lib, nullptr, LibEntry{"SockWaitReadable", &SockWaitReadable});
  return 0;
}

CSockLibrary& GetSockLibrary() {
  static CSockLibrary library;
  return library;
}
