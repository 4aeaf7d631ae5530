// The binding of the secure-socket library Quellan, loaded by name from the
// program folder when the trading library starts.
#pragma once
#include "platform/dynlib.h"
#include "trade/quellan/quellan.h"

class CSockLibrary {
 public:
  CSockLibrary() = default;
  ~CSockLibrary();
  CSockLibrary(const CSockLibrary&) = delete;
  CSockLibrary& operator=(const CSockLibrary&) = delete;

  // Loads <program folder>/libQuellan.so and looks up the nine entry points
  // (and the optional wait).
  // Shows "载入Quellan.dll出错!" and leaves them all zero when it cannot be
  // loaded. Returns 0 or -1.
  int Load();
  // Loads from an explicit path (tests).
  int LoadFrom(const std::string& path);
  bool IsLoaded() const { return module != nullptr; }
  void Unload();

  platform::LibHandle module = nullptr;
  PFN_SockInit SockInit = nullptr;
  PFN_SockConnect SockConnect = nullptr;
  PFN_SockGetConnStatus SockGetConnStatus = nullptr;
  PFN_SockGetSockInfo SockGetSockInfo = nullptr;
  PFN_SockSend SockSend = nullptr;
  PFN_SockRecv SockRecv = nullptr;
  PFN_SockFreeMemory SockFreeMemory = nullptr;
  PFN_SockClose SockClose = nullptr;
  PFN_SockDestroy SockDestroy = nullptr;
  // Optional: null when the library has no wait, and the connection is
  // then polled.
  PFN_SockWaitReadable SockWaitReadable = nullptr;
};

// The process's binding; the communication thread goes through it.
CSockLibrary& GetSockLibrary();
