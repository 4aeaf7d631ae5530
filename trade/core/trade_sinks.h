// Where the trading core's effects on the outside world go: window posts,
// message boxes, the forced process exit and outgoing messages. The program
// uses the defaults; tests install their own.
#pragma once
#include <functional>
#include <string>

#include "platform/types.h"

struct STradeSinks {
  // Posts a window message; default ::PostMessage.
  std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> post;
  // Shows a box with a plain text and waits for its answer; default the
  // platform's box, which a worker thread waits for on the user-interface
  // thread (0 when the wait was abandoned).
  std::function<int(const std::string& text, UINT type)> box;
  // Ends the process on the user-interface thread; default std::_Exit.
  std::function<void(int code)> exitProcess;
  // When set, outgoing messages go here instead of the connection.
  std::function<void(const char* data, int len)> send;
};

// The sinks in force (defaults filled in for the members a caller left
// empty).
const STradeSinks& GetTradeSinks();

// Installs sinks for its scope (tests).
class ScopedTradeSinks {
 public:
  explicit ScopedTradeSinks(STradeSinks sinks);
  ~ScopedTradeSinks();
  ScopedTradeSinks(const ScopedTradeSinks&) = delete;
  ScopedTradeSinks& operator=(const ScopedTradeSinks&) = delete;

 private:
  STradeSinks previous_;
};
