// Window handles and the system's WM_ messages with Win32 send and post
// semantics, plus per-target timers.
//
// A message target is any object that derives from MsgTarget (widgets derive
// from it beside QWidget). It gets a handle when made; its WindowProc runs on
// the user-interface thread (the thread of the Qt application object) for
// every message sent or posted to the handle. A handle outlives its target:
// sends and posts to a dead handle do nothing and return 0 / FALSE.
#pragma once
#include <functional>
#include <thread>
#include "platform/types.h"

namespace platform {

class MsgTarget {
 public:
  MsgTarget();
  virtual ~MsgTarget();
  MsgTarget(const MsgTarget&) = delete;
  MsgTarget& operator=(const MsgTarget&) = delete;

  HWND GetSafeHwnd() const { return hwnd_; }
  // Handles one message; runs on the user-interface thread.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Ends the handle early (before a derived destructor joins worker threads,
  // for example): pending sends to it return 0 at once, its timers stop.
  void DetachHandle();
  // Gives a target whose handle was detached a fresh one (a window created
  // again after it was destroyed); does nothing while it has a handle.
  void AttachNewHandle();

 private:
  HWND hwnd_;
};

bool IsUiThread();

// Sends and calls from workers return 0 at once from now on; called when the
// application ends so no worker can hang the exit.
void BeginShutdown();
bool IsShuttingDown();

// Every send or call that thread is waiting in returns 0 now; later ones
// from that thread still work. Lets an owner stop a worker that may be
// blocked on the user-interface thread.
void CancelPendingCalls(std::thread::id caller);

// Runs fn on the user-interface thread and returns its result; from the
// user-interface thread itself it runs at once. 0 when shutting down or
// cancelled.
LRESULT CallOnUiThread(const std::function<LRESULT()>& fn);

// A run of sends to one target from the user-interface thread (a batch of
// received bodies for one window): the handle is taken once for the run
// rather than once per message, which a send on that thread costs as much
// as a short handler. Send calls the handler at once while the handle
// lives and returns 0 once the target has ended, also when one of its own
// handlers ended it. A target ended on another thread is waited for until
// the run is over. Made on another thread, each Send is a SendMessage.
// Runs nest like handlers: end them in reverse order of making.
class TargetRun {
 public:
  explicit TargetRun(HWND hwnd);
  ~TargetRun();
  TargetRun(const TargetRun&) = delete;
  TargetRun& operator=(const TargetRun&) = delete;

  HWND Target() const { return hwnd_; }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct State;
  HWND hwnd_;
  State* state_ = nullptr;  // null when the handle was not taken
};

// Runs queued posts, sends and timers for up to ms milliseconds (tests and
// modal waits). PumpUntil returns whether the condition became true.
void PumpMessages(int ms);
bool PumpUntil(const std::function<bool()>& done, int timeoutMs);

}  // namespace platform

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsWindow(HWND hwnd);
// A timer on a target delivers WM_TIMER (wParam = id) to its WindowProc,
// or calls proc when one is given; it repeats until KillTimer. With a null
// handle a fresh id is returned. Call on the user-interface thread.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();

// Standard message ids the system uses.
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_SIZE = 0x0005,
               WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_TIMER = 0x0113,
               WM_COMMAND = 0x0111, WM_KEYDOWN = 0x0100, WM_CHAR = 0x0102, WM_USER = 0x0400;
