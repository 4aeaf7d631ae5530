#include "balance_sim.h"

#include <chrono>
#include <cstring>
#include <mutex>

#include "platform/socket.h"
#include "sim/ports.h"
#include "sim/serve/traffic_log.h"
#include "trade/core/balance_client.h"

namespace {
// How long a client may take to send its request, and to take the reply.
constexpr int kRequestMs = 5000;
constexpr int kReplyMs = 2000;
}  // namespace

CBalanceSimServer::CBalanceSimServer(EBalanceMode mode, std::vector<SBalancePair> pairs)
    : mode_(mode),
      pairs_(std::move(pairs)),
      connections_("sim_balance", [this](int fd, int) { Serve(fd); }) {
  if (pairs_.empty()) pairs_ = SimulatorPairs(sim::kTradeSimPort, sim::kQuoteSimPort);
}

std::vector<SBalancePair> SimulatorPairs(int tradePort, int quotePort) {
  return std::vector<SBalancePair>(5, SBalancePair{"127.0.0.1", tradePort, "127.0.0.1", quotePort});
}

CBalanceSimServer::~CBalanceSimServer() { Stop(); }

std::string CBalanceSimServer::Payload(const std::vector<SBalancePair>& pairs) {
  std::string out(5 * 36, '\0');
  for (size_t k = 0; k < pairs.size() && k < 5; ++k) {
    char* p = &out[36 * k];
    std::strncpy(p, pairs[k].tradeHost.c_str(), 15);
    p[16] = static_cast<char>(pairs[k].tradePort & 0xFF);
    p[17] = static_cast<char>((pairs[k].tradePort >> 8) & 0xFF);
    std::strncpy(p + 18, pairs[k].quoteHost.c_str(), 15);
    p[34] = static_cast<char>(pairs[k].quotePort & 0xFF);
    p[35] = static_cast<char>((pairs[k].quotePort >> 8) & 0xFF);
  }
  return out;
}

int CBalanceSimServer::Start(int port) { return connections_.Start(port); }

void CBalanceSimServer::Stop() { connections_.Stop(); }

std::vector<std::string> CBalanceSimServer::Requests() const {
  std::lock_guard<std::mutex> g(lock_);
  return std::vector<std::string>(requests_.begin(), requests_.end());
}

void CBalanceSimServer::Serve(int fd) {
  // The whole request within this time, however slowly it trickles in.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRequestMs);
  unsigned char request[64];
  size_t have = 0;
  uint32_t len = 0;
  while (have < sizeof request && CheckBalanceFrame(request, have, &len) == 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    const long n = platform::RecvSome(fd, request + have, sizeof request - have, (int)left.count());
    if (n <= 0) break;
    have += static_cast<size_t>(n);
  }
  const bool whole = CheckBalanceFrame(request, have, &len) == 1;
  sim::ProgramLog().Request(whole ? "sim_balance: request of " + std::to_string(len) + " bytes"
                                  : "sim_balance: an incomplete request");
  if (whole) {
    std::lock_guard<std::mutex> g(lock_);
    if (requests_.size() == kKeptRequests) requests_.pop_front();
    requests_.emplace_back(reinterpret_cast<char*>(request) + kBalanceHeaderSize, len);
  }
  std::string payload = mode_ == EBalanceMode::EmptyPayload ? "" : Payload(pairs_);
  auto frame = BuildBalanceFrame(reinterpret_cast<const unsigned char*>(payload.data()),
                                 static_cast<uint32_t>(payload.size()));
  std::string bytes(frame->Data(), frame->Size());
  switch (mode_) {
    case EBalanceMode::BadChecksum: bytes[8] ^= 0x5A; break;
    case EBalanceMode::LengthBeyond: bytes.resize(bytes.size() - 40); break;
    default: break;
  }
  char sink[16];
  if (mode_ == EBalanceMode::Silent) {
    // Hold the connection open without a word until the client gives up
    // (or the server stops, which shuts the connection down).
    while (platform::RecvSome(fd, sink, sizeof sink, -1) > 0) {
    }
  } else {
    platform::SendAll(fd, bytes.data(), bytes.size(), kReplyMs);
    // Let the client read before the close.
    platform::RecvSome(fd, sink, sizeof sink, kReplyMs);
  }
}
