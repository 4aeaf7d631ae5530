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
#include "trade_sim_account.h"

struct STradeSimOptions {
  bool tls = true;
  std::string caFile;    // verifies client certificates
  std::string certFile;  // the server's certificate
  std::string keyFile;   // and its key
  bool requireClientCert = true;
  std::string user = "u01";
  std::string password = "pass";  // the client sends its SHA-1 digest
  // Faults.
  int heartbeatMs = 0;         // a "HB" message this often
  int dropAfterRequests = -1;  // close the link after answering this many
  int kickAtRequest = -1;      // answer this request (1-based) with code "1"
  bool badChecksum = false;    // every reply with a wrong checksum
  bool split = false;          // every reply in two writes with a pause
  bool coalesce = false;       // a heartbeat and the reply in one write
  int delayMs = 0;             // wait before each reply
  bool log = true;             // a line per request to the program's log
  // The account.
  std::string fundsPassword = "fund";    // checked as a digest by transfers and signing
  char payChannel = '9';                 // login tag 9116
  std::string channelLink = "FORBIDED";  // login tag 9121 (the web deposit page)
  std::string today;                     // "YYYY-MM-DD"; empty: the local date at start
};

// One request as received: its type and every field in wire order.
struct STradeSimRequest {
  std::string msgType;
  std::vector<std::pair<int, std::string>> fields;
  // The value of the first field with that tag, "" when there is none.
  std::string Field(int tag) const;
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
  // The same requests with their fields (the latest kKeptRequests).
  std::vector<STradeSimRequest> RequestLog() const;
  int Accepted() const { return connections_.Accepted(); }
  // Closes every open link at once (a dropped connection).
  void DropLinks();
  // Builds the reply of one request as the server would (tests, fuzzing).
  std::string Answer(const std::string& request, int requestNumber);
  // The type of the reply to a request type: the next number ("1012" for
  // "1011").
  static std::string ReplyType(const std::string& requestType);

 private:
  struct Link;

  // What is remembered of the requests: enough for any test, without
  // growing for as long as the simulator runs.
  static constexpr size_t kKeptRequests = 10000;

  void Serve(int fd);
  bool Write(Link& link, const std::string& bytes);
  std::string Reply(const char* msgType, const TagMap& request, const std::string& code,
                    const std::string& info, const TagFieldList& body);
  std::string Handle(const TagMap& request, int requestNumber);
  void Log(const std::string& line);

  STradeSimOptions options_;
  void* ctx_ = nullptr;  // SSL_CTX
  int port_ = -1;
  std::atomic<bool> running_{false};

  mutable std::recursive_mutex lock_;
  std::deque<STradeSimRequest> requests_;
  int requestCount_ = 0;  // numbers the requests over all links
  std::string digest_;    // the trading password's
  std::string session_;
  CTradeSimAccount account_;
  // Last: its threads use everything above, so it stops first.
  sim::ConnectionServer connections_;
};
