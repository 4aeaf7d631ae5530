#include "trade/core/sock_library.h"

#include <type_traits>

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
  auto bind = [lib](auto& fn, const char* name) {
    fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(platform::GetProcAddress(lib, name));
  };
  bind(SockInit, "SockInit");
  bind(SockConnect, "SockConnect");
  bind(SockGetConnStatus, "SockGetConnStatus");
  bind(SockGetSockInfo, "SockGetSockInfo");
  bind(SockSend, "SockSend");
  bind(SockRecv, "SockRecv");
  bind(SockFreeMemory, "SockFreeMemory");
  bind(SockClose, "SockClose");
  bind(SockDestroy, "SockDestroy");
  // A library without one of the nine would fail at the first call that
  // needs it; treat it as not loadable.
  if (!SockInit || !SockConnect || !SockGetConnStatus || !SockGetSockInfo || !SockSend ||
      !SockRecv || !SockFreeMemory || !SockClose || !SockDestroy) {
    WriteTraceLine(TRACE_HERE, 0, "%s lacks an entry point\n", path.c_str());
    Unload();
    return -1;
  }
  return 0;
}

CSockLibrary& GetSockLibrary() {
  static CSockLibrary library;
  return library;
}
