// A balance server for tests and demonstrations: answers each request frame
// with the list of trade and quote servers, or with a chosen fault. Clients
// are served at once, side by side, within the bounds of ConnectionServer:
// a slow client does not hold up the others.
#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "sim/serve/connection_server.h"

enum class EBalanceMode {
  Good,          // a sound frame with five server pairs
  BadChecksum,   // the frame's checksum does not match
  EmptyPayload,  // a sound frame with no payload
  Silent,        // accepts, reads the request and never answers
  LengthBeyond,  // declares more payload than it sends
};

struct SBalancePair {
  std::string tradeHost;
  int tradePort = 0;
  std::string quoteHost;
  int quotePort = 0;
};

// Five pairs, each naming the trade and quote simulators where the run
// command starts them (127.0.0.1 and the given ports).
std::vector<SBalancePair> SimulatorPairs(int tradePort, int quotePort);

class CBalanceSimServer {
 public:
  // No pairs: SimulatorPairs at the run command's ports.
  explicit CBalanceSimServer(EBalanceMode mode, std::vector<SBalancePair> pairs = {});
  ~CBalanceSimServer();
  CBalanceSimServer(const CBalanceSimServer&) = delete;
  CBalanceSimServer& operator=(const CBalanceSimServer&) = delete;

  int Start(int port);  // 0 = any free port; the port or -1
  void Stop();
  // The request payloads received (each 2 bytes when sound), the latest
  // kKeptRequests of them.
  std::vector<std::string> Requests() const;
  int Accepted() const { return connections_.Accepted(); }
  // The reply payload: five 36-byte pairs (host 16, port int16 LE, host 16,
  // port int16 LE), as the login dialog reads them.
  static std::string Payload(const std::vector<SBalancePair>& pairs);

  static constexpr size_t kKeptRequests = 10000;

 private:
  void Serve(int fd);

  EBalanceMode mode_;
  std::vector<SBalancePair> pairs_;
  mutable std::mutex lock_;
  std::deque<std::string> requests_;
  // Last: its threads use everything above, so it stops first.
  sim::ConnectionServer connections_;
};
