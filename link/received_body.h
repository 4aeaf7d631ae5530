// What the link does with each received body before the client sees it:
// the first-data progress report, the login reply, notices, the initial
// data and the forwarding rule. Kept apart from the window so that it runs
// and fuzzes without one.
#pragma once
#include <cstdint>
#include <string>

#include "sharecode/trace_budget.h"

namespace quotelink {

// The effects of handling a body, carried out by the link window.
class BodyActions {
 public:
  virtual ~BodyActions() = default;
  // Sends the body to the client window; it is lent for the call only.
  virtual void Forward(const char* body, uint32_t length) = 0;
  // The same for newer initial data (the window keeps a timer meanwhile).
  virtual void ForwardInitialData(const char* body, uint32_t length) = 0;
  // Queues a request on the connection.
  virtual void Request(const void* body, uint32_t length) = 0;
  // Progress to the progress window; the window drops it when none is set.
  virtual void Progress(int percent, const char* text) = 0;
  // The login phase is over: the progress window is forgotten.
  virtual void EndLoginPhase() = 0;
  // A refused login: the server's text in a box with an OK button.
  virtual void ShowRefusal(const std::string& text) = 0;
};

// Forwarded when the tag at offset 2 is at most 100, or for notices and
// initial data whatever the tag. Bodies too short to hold a tag go nowhere.
bool ShouldForward(const char* body, uint32_t length);

// The server's text of a login reply, read within the body only; the text
// length may or may not count the terminating zero.
std::string LoginReplyText(const char* body, uint32_t length);

class ReceivedBodyHandler {
 public:
  explicit ReceivedBodyHandler(BodyActions& actions) : actions_(actions) {}

  void Handle(const char* body, uint32_t length);
  // Sends the initial-data request (progress 30 first), unless an earlier
  // one still waits for its answer: a server that keeps sending notices
  // must not have the link pile up requests.
  void RequestInitialData();
  // A login request has gone out: the sequence starts afresh, and its
  // login reply may ask for the initial data again.
  void StartLogin() { initialDataPending_ = false; }

  uint32_t KeptVersion() const { return keptVersion_; }

 private:
  void HandleLoginReply(const char* body, uint32_t length);
  void HandleInitialData(const char* body, uint32_t length);
  // Traces a body dropped as unusable. A server can send such bodies as
  // fast as the line carries them (a 1-byte body is a 9-byte frame): only
  // the 1st, 2nd, 4th, 8th ... one is traced, with the count so far, so
  // the trace grows with the logarithm of the flood, not with it.
  void TraceDropped(const char* why, uint32_t length);

  BodyActions& actions_;
  CTraceBudget dropped_;
  uint32_t keptVersion_ = 0;
  bool initialDataPending_ = false;
};

// The first data packet is reported once per process; tests start over.
void ResetFirstDataFlagForTests();

}  // namespace quotelink
