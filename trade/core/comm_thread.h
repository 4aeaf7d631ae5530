// The one connection of the trading library to the trade server: a worker
// thread that connects through the secure-socket library, sends the login,
// polls the connection and hands each received message to the session
// store's dispatcher.
//
// A poll runs when the connection has something to read or is lost: while
// nothing is queued for the thread and nothing arrives it sleeps on the
// connection and its wake-up descriptor, so an idle program costs no
// processor time here. With a secure-socket library that cannot wait, it
// polls on a 5 ms timer.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "sharecode/qelmsgq.h"
#include "trade/core/trade_connection.h"
#include "trade/core/trade_records.h"

class CSockLibrary;
class CTradeSession;

class CCommThread : public CQELMsgQ, public ITradeConnection {
 public:
  static constexpr int kPollTimerId = 1256;
  static constexpr int kPollIntervalMs = 5;
  static constexpr int kConnectTimeoutMs = 10000;
  static constexpr int kMaxAttempts = 5;

  // Registers itself as the session's connection while it exists.
  explicit CCommThread(CTradeSession* session = nullptr, CSockLibrary* library = nullptr);
  ~CCommThread() override;

  void SetServer(SServerAddr server);
  void SetRoundRobin(bool on) { m_roundRobin = on ? 1 : 0; }
  void SetServerList(const std::vector<SServerAddr>& servers) { m_servers = servers; }
  int GetCurrentIndex() const { return m_currentIndex.load(); }

  int IsConnected();
  int Send(const char* data, int len) override;

  // Clears the run flag, wakes the thread and abandons a box it is waiting
  // for (answered No), so a stop from the user-interface thread cannot wait
  // on a box that only the user-interface thread could show.
  void Stop();
  // Queues a message for the thread and wakes it.
  void PostMsg(int priority, const SThreadMsg& msg);
  // Ends the thread's wait, so it looks at its queue and its connection.
  void Wake();
  // Waits for the thread to end, abandoning any box it raises meanwhile.
  int WaitForExit();

 protected:
  int Run() override;
  int Init() override;
  // What is queued or due, then the connection when it has something to
  // read; sleeps on the connection when neither had work.
  int Step() override;
  int Exit() override;
  int OnMessage(const SThreadMsg& msg, int forced) override;

  int Connect();
  int ConnectRoundRobin();
  void Poll();
  void Close();

 private:
  void OnConnected();
  void OnConnectFailed();
  // True when the thread sleeps on its connection rather than polling.
  bool WaitsOnConnection() const;

  CTradeSession* m_session;
  CSockLibrary* m_library;
  std::atomic<int> m_socket{0};
  std::string m_host;
  uint16_t m_port = 0;
  std::atomic<int> m_currentIndex{0};  // read by the user-interface thread
  uint8_t m_roundRobin = 0;
  std::vector<SServerAddr> m_servers;

  std::atomic<std::thread::id> m_worker{};
  std::atomic<bool> m_finished{false};
  std::atomic<bool> m_started{false};
  int m_wakeFd = -1;  // an event descriptor; readable after Wake
};
