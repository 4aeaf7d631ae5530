#include "trade/core/comm_thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

#include "platform/gbk.h"
#include "platform/window.h"
#include "trade/core/sock_library.h"
#include "trade/core/trade_session.h"
#include "trade/core/trade_sinks.h"

CCommThread::CCommThread(CTradeSession* session, CSockLibrary* library)
    : m_session(session ? session : CTradeSession::GetInstance()),
      m_library(library ? library : &GetSockLibrary()) {
  // Timers are the only messages; nothing is left to drain at exit, and
  // when the thread polls its loop must wake often enough for the 5 ms poll.
  SetDrainOnExit(false);
  SetIdleWait(kPollIntervalMs);
  m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  m_session->SetConnection(this);
}

CCommThread::~CCommThread() {
  Stop();
  WaitForExit();
  if (m_wakeFd >= 0) ::close(m_wakeFd);
  // Only forget the registration when no newer connection took it over.
  if (m_session->GetConnection() == this) m_session->SetConnection(nullptr);
}

void CCommThread::SetServer(SServerAddr server) {
  m_host = server.host;
  m_port = static_cast<uint16_t>(server.port);
}

int CCommThread::IsConnected() {
  const int socket = m_socket.load();
  return m_library->IsLoaded() && socket != 0 && m_library->SockGetConnStatus(socket) == 0 ? 1 : 0;
}

int CCommThread::Send(const char* data, int len) {
  const int socket = m_socket.load();
  if (!m_library->IsLoaded() || socket == 0) return -1;
  const int r = m_library->SockSend(socket, data, len);
  // A failed send loses the connection without a byte to read: the thread
  // must look at it, as its next poll would.
  if (r != 0) Wake();
  return r;
}

void CCommThread::Stop() {
  CMyThread::Stop();
  Wake();
  if (m_started.load()) platform::CancelPendingCalls(m_worker.load());
}

void CCommThread::PostMsg(int priority, const SThreadMsg& msg) {
  CQELMsgQ::PostMsg(priority, msg);
  Wake();
}

void CCommThread::Wake() {
  if (m_wakeFd < 0) return;
  const uint64_t one = 1;
  // Only fails when the counter is full, and then the thread is woken anyway.
  [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
}

bool CCommThread::WaitsOnConnection() const {
  return m_wakeFd >= 0 && m_library->IsLoaded() && m_library->SockWaitReadable != nullptr;
}

int CCommThread::WaitForExit() {
  if (m_started.load() && m_worker.load() != std::this_thread::get_id()) {
    // A box asked for between the stop and now would wait for this thread
    // forever; keep abandoning until the worker is through.
    while (!m_finished.load()) {
      platform::CancelPendingCalls(m_worker.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  return CMyThread::WaitForExit();
}

int CCommThread::Run() {
  m_worker.store(std::this_thread::get_id());
  m_started.store(true);
  const int r = CQELMsgQ::Run();
  m_finished.store(true);
  return r;
}

int CCommThread::Init() {
  CQELMsgQ::Init();
  if (Connect() != 0) return -1;
  if (!WaitsOnConnection()) SetTimer(kPollTimerId, kPollIntervalMs, 0, 0, 0, 0);
  return 0;
}

int CCommThread::Step() {
  if (!WaitsOnConnection()) return CQELMsgQ::Step();
  const bool queued = ProcessStep(false, 0) == 0;
  if (!IsRunning()) return 0;
  // A wait that ends at once when messages were handled: more may be
  // queued behind them, and the connection is looked at between them.
  const int ready = m_library->SockWaitReadable(m_socket.load(), m_wakeFd, queued ? 0 : -1);
  uint64_t count;
  [[maybe_unused]] const ssize_t taken = ::read(m_wakeFd, &count, sizeof count);
  // An unknown handle (a reconnect that failed) is a lost connection: the
  // poll asks again whether to reconnect.
  if (ready != 0 && IsRunning()) Poll();
  return 0;
}

void CCommThread::OnConnected() {
  m_session->PostNotify(1, 0);
  m_session->SendLogin();
}

void CCommThread::OnConnectFailed() {
  Trace(TRACE_HERE, 0, "no trade server answered\n");
  if (IsRunning()) GetTradeSinks().box(GBK("连接失败"), MB_OK);
  m_session->PostNotify(2, 0);
}

int CCommThread::Connect() {
  if (m_roundRobin) return ConnectRoundRobin();
  int socket = 0;
  if (m_library->IsLoaded() &&
      m_library->SockConnect(&socket, m_host.c_str(), m_port, kConnectTimeoutMs) == 0) {
    m_socket.store(socket);
    OnConnected();
    return 0;
  }
  OnConnectFailed();
  return -1;
}

int CCommThread::ConnectRoundRobin() {
  // An empty list has nothing to try: fail at once.
  for (int attempt = 0; attempt < kMaxAttempts && !m_servers.empty() && IsRunning(); ++attempt) {
    if (m_currentIndex < 0 || m_currentIndex >= static_cast<int>(m_servers.size()))
      m_currentIndex = 0;
    const SServerAddr& server = m_servers[static_cast<size_t>(m_currentIndex)];
    int socket = 0;
    if (m_library->IsLoaded() &&
        m_library->SockConnect(&socket, server.host.c_str(), static_cast<uint16_t>(server.port),
                               kConnectTimeoutMs) == 0) {
      m_socket.store(socket);
      OnConnected();
      return 0;
    }
    ++m_currentIndex;
  }
  OnConnectFailed();
  return -1;
}

int CCommThread::OnMessage(const SThreadMsg& msg, int forced) {
  if (msg.type == THREAD_MSG_TIMER && msg.id == kPollTimerId) {
    if (!IsRunning()) return 0;
    Poll();
    SetTimer(kPollTimerId, msg.params[0], msg.params[1], msg.params[2], msg.params[3],
             msg.params[4]);
    return 0;
  }
  return CQELMsgQ::OnMessage(msg, forced);
}

void CCommThread::Poll() {
  if (!m_library->IsLoaded()) return;
  const int socket = m_socket.load();
  if (m_library->SockGetConnStatus(socket) != 0) {
    Trace(TRACE_HERE, 0, "the link to the trade server is lost\n");
    const int answer =
        GetTradeSinks().box(GBK("和服务器断链，您是否重新连接?"), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES && IsRunning()) {
      Close();
      Connect();
    } else {
      Stop();
    }
    return;
  }
  char* data = nullptr;
  int len = 0;
  if (m_library->SockRecv(socket, &data, &len, 1) == 0) {
    m_session->DispatchReply(data, len);
    m_library->SockFreeMemory(data);
  }
}

void CCommThread::Close() {
  const int socket = m_socket.load();
  if (socket != 0 && m_library->IsLoaded()) m_library->SockClose(socket);
}

int CCommThread::Exit() {
  Close();
  m_socket.store(0);
  return CQELMsgQ::Exit();
}
