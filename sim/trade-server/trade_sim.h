// A trade server for tests and demonstrations: speaks the trade protocol
// over TLS (or plain TCP) on loopback, keeps a small consistent account
// (orders, cancels, deals, holdings, funds, transfers), checks the password
// digest and injects faults on request. Clients are served within the
// bounds of ConnectionServer.
#pragma once
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/serve/connection_server.h"
#include "trade/core/trade_codec.h"

struct STradeSimOptions {
  bool tls = true;
  std::string caFile;      // verifies client certificates
  std::string certFile;    // the server's certificate
  std::string keyFile;     // and its key
  bool requireClientCert = true;
  std::string user = "u01";
  std::string password = "pass";  // the client sends its SHA-1 digest
  // Faults.
  int heartbeatMs = 0;          // a "HB" message this often
  int dropAfterRequests = -1;   // close the link after answering this many
  int kickAtRequest = -1;       // answer this request (1-based) with code "1"
  bool badChecksum = false;     // every reply with a wrong checksum
  bool split = false;           // every reply in two writes with a pause
  bool coalesce = false;        // a heartbeat and the reply in one write
  int delayMs = 0;              // wait before each reply
  bool log = true;              // requests to standard error
};

class CTradeSimServer {
 public:
  explicit CTradeSimServer(STradeSimOptions options);
  ~CTradeSimServer();
  CTradeSimServer(const CTradeSimServer&) = delete;
  CTradeSimServer& operator=(const CTradeSimServer&) = delete;

  // Listens on 127.0.0.1:port (0 = any free port); the port, or -1.
  int Start(int port);
  void Stop();
  int Port() const { return port_; }

  // Message types received, in order, over all links (the latest
  // kKeptRequests of them).
  std::vector<std::string> Requests() const;
  int Accepted() const { return connections_.Accepted(); }
  // Closes every open link at once (a dropped connection).
  void DropLinks();
  // Builds the reply of one request as the server would (tests, fuzzing).
  std::string Answer(const std::string& request, int requestNumber);

 private:
  struct Link;
  struct Order {
    std::string no, code, type, price, qty, status, dealt, time;
  };
  struct Holding {
    long qty = 0;
    double cost = 0;
  };

  // What is remembered of the requests: enough for any test, without
  // growing for as long as the simulator runs.
  static constexpr size_t kKeptRequests = 10000;

  void Serve(int fd);
  bool Write(Link& link, const std::string& bytes);
  std::string Reply(const char* msgType, const TagMap& request, const std::string& code,
                    const std::string& info, const TagFieldList& body);
  std::string Handle(const TagMap& request, int requestNumber);
  void AddOrderList(TagFieldList& body, bool today);
  void Log(const std::string& line);

  STradeSimOptions options_;
  void* ctx_ = nullptr;  // SSL_CTX
  int port_ = -1;
  std::atomic<bool> running_{false};

  mutable std::recursive_mutex lock_;
  std::deque<std::string> requests_;
  int requestCount_ = 0;  // numbers the requests over all links
  // The account.
  std::string digest_;
  std::string session_;
  double funds_ = 100000.0;
  double frozen_ = 0;
  std::map<std::string, Holding> holdings_;
  std::vector<Order> orders_;
  std::vector<Order> deals_;
  std::vector<std::vector<std::string>> transfers_;
  int nextOrderNo_ = 1000;
  // Last: its threads use everything above, so it stops first.
  sim::ConnectionServer connections_;
};
