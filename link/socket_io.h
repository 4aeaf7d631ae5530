// Socket calls of the connection threads. Every wait also watches a stop
// signal, so destroying the connection wakes a thread that is connecting,
// reading or writing at once.
#pragma once
#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

#include "link/host_record.h"
#include "link/quote_frame.h"

namespace quotelink {

// Set once, stays set; its descriptor becomes readable.
class StopSignal {
 public:
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;
  void Set();
  bool IsSet() const { return set_.load(std::memory_order_acquire); }
  int Fd() const { return fd_; }
  // Sleeps up to ms; true when the signal came.
  bool WaitFor(int ms) const;

 private:
  int fd_;
  std::atomic<bool> set_{false};
};

// An open socket shared by the threads that use it; the descriptor closes
// when the last user lets go, so no thread ever uses a number reused by
// another open.
class SocketHandle {
 public:
  explicit SocketHandle(int fd) : fd_(fd) {}
  ~SocketHandle();
  SocketHandle(const SocketHandle&) = delete;
  SocketHandle& operator=(const SocketHandle&) = delete;
  int Fd() const { return fd_; }
  // Both directions; wakes every reader and writer.
  void Shutdown();

 private:
  int fd_;
};
using SocketPtr = std::shared_ptr<SocketHandle>;

// Waits: 1 ready, 0 time-out, -1 error or stop. Negative ms: no time-out.
int WaitSocket(int fd, bool forWrite, int timeoutMs, const StopSignal& stop);
// Sends everything (MSG_NOSIGNAL); false on error or stop; errno in *error.
bool SendAllBytes(int fd, const void* data, size_t length, const StopSignal& stop, int* error);
// Receives exactly length bytes within timeoutMs per wait.
bool RecvAllBytes(int fd, void* data, size_t length, int timeoutMs, const StopSignal& stop);

// Frames are read through this source: blocks until data, close, error or
// stop.
class SocketSource : public ByteSource {
 public:
  SocketSource(int fd, const StopSignal& stop) : fd_(fd), stop_(stop) {}
  long Read(void* buffer, size_t capacity) override;

 private:
  int fd_;
  const StopSignal& stop_;
};

struct ConnectTiming {
  int connectTimeoutMs = 10000;
  int proxyReplyTimeoutMs = 10000;
};

// Connects to one host record, directly or through its proxy. Returns the
// connected blocking socket or -1 with the errno-style reason in *error.
int ConnectHostRecord(const SHostInfo& record, const ConnectTiming& timing, const StopSignal& stop,
                      int* error);
// Non-blocking connect with a time-out to a dotted IPv4 address.
int ConnectWithTimeout(const std::string& ip, int port, int timeoutMs, const StopSignal& stop,
                       int* error);

}  // namespace quotelink
