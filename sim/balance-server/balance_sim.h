// A balance server for tests and demonstrations: answers each request frame
// with the list of trade and quote servers, or with a chosen fault.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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

class CBalanceSimServer {
 public:
  explicit CBalanceSimServer(EBalanceMode mode, std::vector<SBalancePair> pairs = {});
  ~CBalanceSimServer();
  CBalanceSimServer(const CBalanceSimServer&) = delete;
  CBalanceSimServer& operator=(const CBalanceSimServer&) = delete;

  int Start(int port);  // 0 = any free port; the port or -1
  void Stop();
  // The request payloads received (each 2 bytes when sound).
  std::vector<std::string> Requests() const;
  // The reply payload: five 36-byte pairs (host 16, port int16 LE, host 16,
  // port int16 LE), as the login dialog reads them.
  static std::string Payload(const std::vector<SBalancePair>& pairs);

 private:
  void Loop();

  EBalanceMode mode_;
  std::vector<SBalancePair> pairs_;
  int listener_ = -1;
  std::atomic<bool> running_{false};
  std::thread thread_;
  mutable std::mutex lock_;
  std::vector<std::string> requests_;
};
