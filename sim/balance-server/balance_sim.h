// A balance server for tests and demonstrations: answers each request frame
// with the list of trade and quote servers, or with a chosen fault.
#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "loopback_server.h"

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

class CBalanceSimServer : public CLoopbackServer {
 public:
  explicit CBalanceSimServer(EBalanceMode mode, std::vector<SBalancePair> pairs = {});
  ~CBalanceSimServer() override;
  // The request payloads received (each 2 bytes when sound).
  std::vector<std::string> Requests() const;
  // The reply payload: five 36-byte pairs (host 16, port int16 LE, host 16,
  // port int16 LE), as the login dialog reads them.
  static std::string Payload(const std::vector<SBalancePair>& pairs);

 private:
  void Serve(int fd) override;

  EBalanceMode mode_;
  std::vector<SBalancePair> pairs_;
  mutable std::mutex lock_;
  std::vector<std::string> requests_;
};
