// The TCP connection to the quote server: host list and failover, proxies,
// the connect-and-watch, receive and send threads, and the keep-alive.
// It reports to one notify window with WM_COMMNOTIFY, and tells it of
// received bodies with WM_LINK_DATA_BATCH; the window takes them with
// DeliverReceived while the receive thread reads on.
// There is one connection object in the process at a time; all its
// operations are called on the user-interface thread.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "link/host_record.h"
#include "platform/types.h"

// Times of the connection; the defaults are the system's, tests shorten them.
struct SLinkTiming {
  int connectTimeoutMs = 10000;
  int proxyReplyTimeoutMs = 10000;
  int retryPauseMs = 1000;
  // After a connection is made the watcher rests this long before it
  // watches for the connection's loss.
  int settleMs = 10000;
  int keepAlivePeriodMs = 600000;
  double keepAliveAnswerSeconds = 6.0;
};

class CLinkSocket {
 public:
  // A request body, framed, must fit the send thread's 2048-byte buffer.
  static constexpr int kMaxRequestBody = 2040;
  // Requests waiting for the send thread, at most (hundreds of the longest
  // requests): a server that stops reading must not make the queue grow
  // without end.
  static constexpr size_t kMaxQueuedBytes = 1u << 20;

  // The current object, made on first use.
  static CLinkSocket* GetLinkSocket();
  // The current object or nullptr.
  static CLinkSocket* Current();
  // Destroys the current object: stops its threads before anything goes.
  static void DestroyLinkSocket();

  static void SetTiming(const SLinkTiming& timing);
  static SLinkTiming GetTiming();

  virtual ~CLinkSocket();

  void SetNotifyWindow(HWND hwnd);
  HWND GetNotifyWindow() const;
  void SetHost(const std::string& host, int port);
  void SetHosts(const std::string& host1, int port1, const std::string& host2, int port2,
                const std::string& host3, int port3, const std::string& host4, int port4,
                const std::string& host5, int port5);
  // Adds a prepared record (with a proxy block, say) to the host list.
  void AddHostRecord(const SHostInfo& record);
  void SetListMode();
  int Start();
  // Queues [u32 length][body] for the send thread. 1, or 0 when the body is
  // longer than kMaxRequestBody, cannot be copied or would take the queue
  // past kMaxQueuedBytes.
  int Send(const void* body, int length);
  void StartKeepAlive();
  static void StopKeepAlive();
  void Disconnect();
  bool IsConnected() const;
  int GetLastSocketError() const;
  std::string GetStatusText() const;
  void SetState(int state);
  void ClearQueues();

  // The notify window's part of receiving, on WM_LINK_DATA_BATCH from the
  // connection `source`: hands the bodies that wait to `take` one at a
  // time, in order, each valid until `take` returns, until `take` returns
  // false or the connection ends. Nothing for a connection already
  // replaced.
  static void DeliverReceived(LPARAM source,
                              const std::function<bool(const char*, uint32_t)>& take);

  // Runs the keep-alive tick now (the timer's handler).
  static void KeepAliveTick();

  struct Shared;  // what the threads share; outlives the object if need be

 private:
  CLinkSocket();
  void StopThreads();

  std::shared_ptr<Shared> m_pShared;
  std::thread m_Threads[3];  // connect-and-watch, receive, send
  bool m_bStarted = false;
};
