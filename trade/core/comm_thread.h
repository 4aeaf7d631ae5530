// The one connection of the trading library to the trade server: a worker
// thread that connects through the secure-socket library, sends the login,
// polls the connection every 5 ms and hands each received message to the
// session store's dispatcher.
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

  // Clears the run flag and abandons a box the thread is waiting for
  // (answered No), so a stop from the user-interface thread cannot wait on
  // a box that only the user-interface thread could show.
  void Stop();
  // Waits for the thread to end, abandoning any box it raises meanwhile.
  int WaitForExit();

 protected:
  int Run() override;
  int Init() override;
  int Exit() override;
  int OnMessage(const SThreadMsg& msg, int forced) override;

  int Connect();
  int ConnectRoundRobin();
  void Poll();
  void Close();

 private:
  void OnConnected();
  void OnConnectFailed();

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
};
