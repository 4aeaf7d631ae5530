#include "link/link_socket.h"

#include <cstring>
#include <mutex>
#include <thread>

#include "link/link_messages.h"
#include "link/link_trace.h"
#include "link/quote_frame.h"
#include "link/quote_protocol.h"
#include "link/receive_ring.h"
#include "link/signal_buffer.h"
#include "link/socket_io.h"
#include "link/time_count.h"
#include "platform/gbk.h"
#include "platform/sync.h"
#include "platform/window.h"

using quotelink::SocketPtr;

namespace {

enum WorkerIndex { kWatcher = 0, kReceiver = 1, kSender = 2, kWorkers = 3 };

// Bytes read at once: many frames per receive, and during a burst one
// receive and one wake-up of the window for over a thousand quote frames.
constexpr size_t kReadAhead = 256 * 1024;

CLinkSocket* s_pCurrent = nullptr;  // user-interface thread only

std::mutex g_timingMutex;
SLinkTiming g_timing;

// The keep-alive belongs to the process: one timer, one stopwatch.
UINT_PTR g_keepAliveTimer = 0;  // user-interface thread only
HWND g_keepAliveWindow = nullptr;
std::mutex g_stopwatchMutex;
CTimeCount g_stopwatch;

}  // namespace

struct CLinkSocket::Shared {
  struct Worker {
    std::atomic<bool> finished{false};
    // Set while the thread waits for the user-interface thread.
    std::atomic<bool> inUiCall{false};
  };

  LPARAM owner = 0;  // the object, as named in notifications
  SLinkTiming timing;
  std::atomic<HWND> notify{nullptr};
  platform::Semaphore receiverGo{0, 99999999};
  platform::Semaphore senderGo{0, 99999999};
  platform::Semaphore connectionLost{0, 99999999};
  quotelink::StopSignal stop;
  Worker workers[kWorkers];

  std::mutex mutex;  // guards socket and statusText
  SocketPtr socket;
  char statusText[100] = {};
  std::atomic<int> lastError{0};
  std::atomic<int> state{-1};
  std::atomic<int> connected{0};

  SignalBuffer sendQueue;
  SignalBuffer spareQueue;  // kept beside the send queue, never filled
  bool refusing = false;    // Send refuses requests; user-interface thread only
  SHostInfo single{};
  std::vector<SHostInfo> hosts;
  bool listMode = false;
  quotelink::FrameReader reader{kReadAhead};
  quotelink::ReceiveRing received{kReadAhead};

  SocketPtr CurrentSocket() {
    std::lock_guard<std::mutex> lock(mutex);
    return socket;
  }
  void SetStatus(const char* text) {
    std::lock_guard<std::mutex> lock(mutex);
    std::strncpy(statusText, text, sizeof statusText - 1);
  }
  void Disconnect() {
    SocketPtr old;
    {
      std::lock_guard<std::mutex> lock(mutex);
      old = std::move(socket);
    }
    if (old) old->Shutdown();  // the descriptor closes with its last user
    state = -1;
    connectionLost.Release(1);
  }
  // Waits for a go signal; false when the object is going away.
  bool WaitGo(platform::Semaphore& go) {
    go.Wait(-1);
    return !stop.IsSet();
  }
  // Tells the window that received bodies wait (the ring's doorbell).
  void PostDoorbell() {
    if (!::PostMessage(notify.load(), WM_LINK_DATA_BATCH, 0, owner)) received.DoorbellLost();
  }
  // A blocking call into the user-interface thread that destruction can
  // abandon.
  LRESULT SendToWindow(WorkerIndex who, UINT message, WPARAM wParam, LPARAM lParam) {
    workers[who].inUiCall = true;
    LRESULT result = stop.IsSet() ? 0 : ::SendMessage(notify.load(), message, wParam, lParam);
    workers[who].inUiCall = false;
    return result;
  }
};

namespace {

using Shared = CLinkSocket::Shared;

void StartKeepAliveOnUiThread(HWND notify) {
  CLinkSocket::StopKeepAlive();
  int period;
  {
    std::lock_guard<std::mutex> lock(g_timingMutex);
    period = g_timing.keepAlivePeriodMs;
  }
  g_keepAliveTimer = SetTimer(notify, LINK_TIMER_KEEPALIVE, (UINT)period,
                              [](HWND, UINT, UINT_PTR, DWORD) { CLinkSocket::KeepAliveTick(); });
  g_keepAliveWindow = g_keepAliveTimer ? notify : nullptr;
}

int TryHosts(Shared& s, SocketPtr* out) {
  quotelink::ConnectTiming timing{s.timing.connectTimeoutMs, s.timing.proxyReplyTimeoutMs};
  int error = 0;
  std::vector<SHostInfo> records = s.listMode ? s.hosts : std::vector<SHostInfo>{s.single};
  for (const SHostInfo& record : records) {
    if (s.stop.IsSet()) return EINTR;
    int fd = quotelink::ConnectHostRecord(record, timing, s.stop, &error);
    if (fd >= 0) {
      *out = std::make_shared<quotelink::SocketHandle>(fd);
      return 0;
    }
  }
  return error ? error : EINVAL;
}

void WatchThread(std::shared_ptr<Shared> sp) {
  Shared& s = *sp;
  s.lastError = 0;
  while (s.connected == 0 && !s.stop.IsSet()) {
    if (s.state != -1) break;
    SocketPtr socket;
    int error = TryHosts(s, &socket);
    if (!socket) {
      s.state = -1;
      s.lastError = error;
      if (s.stop.IsSet()) break;
      if (error == EINTR) continue;
      s.SetStatus(GBK("通信错误..."));
      s.SendToWindow(kWatcher, WM_COMMNOTIFY, COMM_ERROR, s.owner);
      s.stop.WaitFor(s.timing.retryPauseMs);
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.socket = socket;
    }
    s.state = 0;
    s.SetStatus(GBK("连接成功"));
    s.receiverGo.Release(1);
    s.senderGo.Release(1);
    ::PostMessage(s.notify.load(), WM_COMMNOTIFY, COMM_CONNECTED, s.owner);
    HWND notify = s.notify.load();
    s.workers[kWatcher].inUiCall = true;
    if (!s.stop.IsSet())
      platform::CallOnUiThread([notify] {
        StartKeepAliveOnUiThread(notify);
        return (LRESULT)0;
      });
    s.workers[kWatcher].inUiCall = false;
    s.connected = 1;
  }
  if (s.connected && !s.stop.IsSet()) {
    s.stop.WaitFor(s.timing.settleMs);
    s.connectionLost.Wait(-1);
    while (!s.stop.IsSet() && s.connectionLost.Wait(100)) {
    }
    {
      std::lock_guard<std::mutex> lock(s.mutex);
      s.socket.reset();
    }
    // This object does not connect again: tell the window the link is down
    // so that a new connection can be made.
    if (!s.stop.IsSet()) {
      s.SetStatus(GBK("通信错误..."));
      s.SendToWindow(kWatcher, WM_COMMNOTIFY, COMM_ERROR, s.owner);
    }
  }
  s.workers[kWatcher].finished = true;
}

void ReceiveThread(std::shared_ptr<Shared> sp) {
  Shared& s = *sp;
  while (!s.stop.IsSet()) {
    if (!s.WaitGo(s.receiverGo)) break;
    SocketPtr socket = s.CurrentSocket();
    if (!socket) continue;
    s.reader.Reset();
    quotelink::SocketSource source(socket->Fd(), s.stop);
    while (!s.stop.IsSet()) {
      auto result = s.reader.Next(source);
      if (result == quotelink::FrameReader::Result::kEmpty) continue;
      if (result != quotelink::FrameReader::Result::kBody) {
        if (result == quotelink::FrameReader::Result::kBadMarker)
          LINK_TRACE("frame marker broken; the connection ends");
        else if (result == quotelink::FrameReader::Result::kTooLong)
          LINK_TRACE("frame longer than %u bytes; the connection ends", quotelink::kMaxFrameBody);
        else if (result == quotelink::FrameReader::Result::kNoMemory)
          LINK_TRACE("no memory for a frame; the connection ends");
        s.Disconnect();
        break;
      }
      {
        std::lock_guard<std::mutex> lock(g_stopwatchMutex);
        if (!g_stopwatch.IsStopped()) g_stopwatch.Stop();  // an answer has come
      }
      // The bodies that came in with the same receive go to the window
      // together; the reader reads on while the window handles them.
      const auto passed = s.received.Pass(s.reader);
      if (passed == quotelink::ReceiveRing::Passed::kInterrupted) break;
      if (passed == quotelink::ReceiveRing::Passed::kNoMemory) {
        LINK_TRACE("no memory to read on; the connection ends");
        s.Disconnect();
        break;
      }
      if (passed == quotelink::ReceiveRing::Passed::kRingDoorbell) s.PostDoorbell();
    }
  }
  s.workers[kReceiver].finished = true;
}

void SendThread(std::shared_ptr<Shared> sp) {
  Shared& s = *sp;
  SignalBuffer own;
  // A request whose sending failed goes first on the next connection.
  std::string held;
  unsigned char frame[quotelink::kFrameHeaderSize + CLinkSocket::kMaxRequestBody];
  if (!s.WaitGo(s.senderGo)) {
    s.workers[kSender].finished = true;
    return;
  }
  while (!s.stop.IsSet()) {
    s.sendQueue.WaitSignal();
    if (s.stop.IsSet()) break;
    s.sendQueue.Lock();
    s.sendQueue.MoveTo(own);
    s.sendQueue.Unlock();
    while (!s.stop.IsSet()) {
      SocketPtr socket = s.CurrentSocket();
      bool failed = !socket || quotelink::WaitSocket(socket->Fd(), true, -1, s.stop) != 1;
      while (!failed) {
        uint32_t length;
        if (!held.empty()) {
          length = (uint32_t)held.size();
          std::memcpy(frame + quotelink::kFrameHeaderSize, held.data(), length);
        } else {
          unsigned char word[4];
          if (own.Get(word, 4, -1) < 4) break;
          length = quotelink::ReadU32(word);
          if (length > (uint32_t)CLinkSocket::kMaxRequestBody) {
            // Send() refuses such requests; a record like this cannot occur.
            LINK_TRACE("send queue broken; %u queued byte(s) dropped", length);
            own.Clear();
            break;
          }
          if ((uint32_t)own.Get(frame + quotelink::kFrameHeaderSize, (int)length, -1) < length) {
            LINK_TRACE("send queue ended inside a request; dropped");
            break;
          }
        }
        quotelink::EncodeFrameHeader(length, frame);
        int error = 0;
        if (!quotelink::SendAllBytes(socket->Fd(), frame, length + quotelink::kFrameHeaderSize,
                                     s.stop, &error)) {
          held.assign(reinterpret_cast<char*>(frame) + quotelink::kFrameHeaderSize, length);
          s.lastError = error;
          failed = true;
          break;
        }
        held.clear();
      }
      if (!failed) break;
      if (s.stop.IsSet()) break;
      s.Disconnect();
      if (!s.WaitGo(s.senderGo)) break;
    }
  }
  s.workers[kSender].finished = true;
}

}  // namespace

// ---------------------------------------------------------------------------

CLinkSocket* CLinkSocket::GetLinkSocket() {
  if (!s_pCurrent) s_pCurrent = new CLinkSocket();
  return s_pCurrent;
}

CLinkSocket* CLinkSocket::Current() { return s_pCurrent; }

void CLinkSocket::DestroyLinkSocket() {
  CLinkSocket* current = s_pCurrent;
  s_pCurrent = nullptr;
  delete current;
}

void CLinkSocket::SetTiming(const SLinkTiming& timing) {
  std::lock_guard<std::mutex> lock(g_timingMutex);
  g_timing = timing;
}

SLinkTiming CLinkSocket::GetTiming() {
  std::lock_guard<std::mutex> lock(g_timingMutex);
  return g_timing;
}

CLinkSocket::CLinkSocket() : m_pShared(std::make_shared<Shared>()) {
  m_pShared->owner = (LPARAM)this;
  m_pShared->sendQueue.SetLimit(kMaxQueuedBytes);
  quotelink::CopyField(m_pShared->statusText, sizeof m_pShared->statusText, "");
}

CLinkSocket::~CLinkSocket() {
  StopKeepAlive();
  StopThreads();
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

void CLinkSocket::StopThreads() {
  if (!m_bStarted) return;
  Shared& s = *m_pShared;
  s.stop.Set();
  s.received.Interrupt();
  s.Disconnect();
  std::thread* threads[kWorkers] = {&m_Threads[kWatcher], &m_Threads[kReceiver],
                                    &m_Threads[kSender]};
  const auto stuckAfter = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
  for (int i = 0; i < kWorkers; ++i) {
    std::thread& t = *threads[i];
    if (!t.joinable()) continue;
    for (;;) {
      if (s.workers[i].finished) {
        t.join();
        break;
      }
      // Wake every wait again: a go signal may have been taken already.
      s.receiverGo.Release(1);
      s.senderGo.Release(1);
      s.sendQueue.Signal();
      s.connectionLost.Release(1);
      platform::CancelPendingCalls(t.get_id());
      if (s.workers[i].inUiCall && std::chrono::steady_clock::now() > stuckAfter) {
        // Its message is being handled further up this very stack; it ends
        // once that returns and keeps the shared state alive until then.
        t.detach();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}

void CLinkSocket::DeliverReceived(LPARAM source,
                                  const std::function<bool(const char*, uint32_t)>& take) {
  CLinkSocket* current = s_pCurrent;
  // A doorbell of a connection already replaced is stale.
  if (!current || source != current->m_pShared->owner) return;
  // A handler that ends the connection ends this object, not the bodies
  // being delivered.
  std::shared_ptr<Shared> keep = current->m_pShared;
  Shared& s = *keep;
  const bool more = s.received.Deliver([&](const quotelink::ReceivedBody& body) {
    return take(body.body, body.length) && !s.stop.IsSet();
  });
  // The rest after the window has had its turn.
  if (more && !s.stop.IsSet() && s.received.RingDoorbell()) s.PostDoorbell();
}

void CLinkSocket::SetNotifyWindow(HWND hwnd) { m_pShared->notify = hwnd; }
HWND CLinkSocket::GetNotifyWindow() const { return m_pShared->notify.load(); }

void CLinkSocket::SetHost(const std::string& host, int port) {
  m_pShared->single = quotelink::MakeHostRecord(host, port);
}

void CLinkSocket::SetHosts(const std::string& host1, int port1, const std::string& host2, int port2,
                           const std::string& host3, int port3, const std::string& host4, int port4,
                           const std::string& host5, int port5) {
  auto& hosts = m_pShared->hosts;
  hosts.push_back(quotelink::MakeHostRecord(host1, port1));
  hosts.push_back(quotelink::MakeHostRecord(host2, port2));
  hosts.push_back(quotelink::MakeHostRecord(host3, port3));
  hosts.push_back(quotelink::MakeHostRecord(host4, port4));
  hosts.push_back(quotelink::MakeHostRecord(host5, port5));
}

void CLinkSocket::AddHostRecord(const SHostInfo& record) { m_pShared->hosts.push_back(record); }

void CLinkSocket::SetListMode() { m_pShared->listMode = true; }

int CLinkSocket::Start() {
  if (m_bStarted) return 0;
  m_pShared->timing = GetTiming();
  m_bStarted = true;
  m_Threads[kWatcher] = std::thread(WatchThread, m_pShared);
  m_Threads[kReceiver] = std::thread(ReceiveThread, m_pShared);
  m_Threads[kSender] = std::thread(SendThread, m_pShared);
  return 0;
}

int CLinkSocket::Send(const void* body, int length) {
  if (length < 0 || length > kMaxRequestBody || (!body && length > 0)) {
    LINK_TRACE("request of %d bytes refused: at most %d fit a frame", length, kMaxRequestBody);
    return 0;
  }
  std::string record(4 + (size_t)length, '\0');
  quotelink::WriteU32(record.data(), (uint32_t)length);
  if (length > 0) std::memcpy(record.data() + 4, body, (size_t)length);
  SignalBuffer& queue = m_pShared->sendQueue;
  queue.Lock();
  int rc = queue.Put(record.data(), (int)record.size(), -1);
  std::string error = rc != 0 ? queue.GetErrorText() : "";
  size_t queued = queue.Size();
  queue.Unlock();
  if (rc != 0) {
    // Traced once until a request is taken again: a server that stops
    // reading would otherwise have every refused request traced.
    if (!m_pShared->refusing)
      LINK_TRACE("%s %zu bytes wait to be sent; requests are refused until some are", error.c_str(),
                 queued);
    m_pShared->refusing = true;
    return 0;
  }
  m_pShared->refusing = false;
  queue.Signal();
  return 1;
}

void CLinkSocket::StartKeepAlive() { StartKeepAliveOnUiThread(GetNotifyWindow()); }

void CLinkSocket::StopKeepAlive() {
  if (g_keepAliveTimer) KillTimer(g_keepAliveWindow, g_keepAliveTimer);
  g_keepAliveTimer = 0;
  g_keepAliveWindow = nullptr;
}

void CLinkSocket::KeepAliveTick() {
  CLinkSocket* current = s_pCurrent;
  if (!current) return;
  double limit = GetTiming().keepAliveAnswerSeconds;
  bool timedOut = false;
  {
    std::lock_guard<std::mutex> lock(g_stopwatchMutex);
    if (g_stopwatch.IsStopped()) {
      g_stopwatch.Start();
    } else if (g_stopwatch.Elapsed() > limit) {
      g_stopwatch.Stop();
      timedOut = true;
    }
  }
  if (timedOut) {
    ::PostMessage(current->GetNotifyWindow(), WM_COMMNOTIFY, COMM_TIMEOUT, 0);
    return;
  }
  quotelink::ShortRequest keepAlive = quotelink::BuildKeepAliveRequest();
  current->Send(keepAlive.data(), (int)keepAlive.size());
}

void CLinkSocket::Disconnect() { m_pShared->Disconnect(); }
bool CLinkSocket::IsConnected() const { return m_pShared->state != -1; }
int CLinkSocket::GetLastSocketError() const { return m_pShared->lastError; }

std::string CLinkSocket::GetStatusText() const {
  std::lock_guard<std::mutex> lock(m_pShared->mutex);
  return m_pShared->statusText;
}

void CLinkSocket::SetState(int state) { m_pShared->state = state; }

void CLinkSocket::ClearQueues() {
  Shared& s = *m_pShared;
  s.sendQueue.Lock();
  s.sendQueue.Clear();
  s.spareQueue.Clear();
  s.sendQueue.Unlock();
}
