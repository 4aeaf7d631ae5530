#include "trade/core/balance_client.h"

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/socket.h"
#include "sharecode/checksum.h"

namespace {

constexpr int kConnectTimeoutMs = 3000;

void PutBigEndian(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

uint32_t GetBigEndian(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The checksum over the payload padded with zeros to (L / 4) x 4 + 4 bytes.
void PayloadChecksum(unsigned char out[4], const unsigned char* payload, uint32_t len) {
  std::vector<unsigned char> padded((len / 4) * 4 + 4, 0);
  if (len > 0) std::memcpy(padded.data(), payload, len);
  CalcFrameChecksum(out, padded.data(), static_cast<unsigned>(padded.size()));
}

class SocketGuard {
 public:
  explicit SocketGuard(platform::SocketFd fd) : fd_(fd) {}
  ~SocketGuard() {
    if (fd_ != platform::kInvalidSocket) platform::CloseSocket(fd_);
  }
  platform::SocketFd fd() const { return fd_; }

 private:
  platform::SocketFd fd_;
};

}  // namespace

std::unique_ptr<CByteBuffer> BuildBalanceFrame(const unsigned char* payload, uint32_t len) {
  unsigned char header[kBalanceHeaderSize] = {1, 0, 0, 0};
  PutBigEndian(header + 4, len);
  PayloadChecksum(header + 8, payload, len);
  auto frame = std::make_unique<CByteBuffer>(kBalanceHeaderSize + static_cast<int>(len));
  frame->Append(header, kBalanceHeaderSize);
  if (len > 0) frame->Append(payload, static_cast<int>(len));
  return frame;
}

int CheckBalanceFrame(const unsigned char* data, size_t len, uint32_t* payloadLen) {
  if (len < kBalanceHeaderSize) return 0;
  const uint32_t payload = GetBigEndian(data + 4);
  if (payload > static_cast<uint32_t>(kBalanceMaxReply - kBalanceHeaderSize)) return -1;
  if (len < kBalanceHeaderSize + payload) return 0;
  unsigned char sum[4];
  PayloadChecksum(sum, data + kBalanceHeaderSize, payload);
  if (std::memcmp(sum, data + 8, 4) != 0) return -1;
  *payloadLen = payload;
  return 1;
}

int CBalanceClient::Query(const char* ip, int port, int value, void* out) {
  if (!ip || !out) return -1;
  SocketGuard sock(platform::ConnectTcp(ip, port, kConnectTimeoutMs));
  if (sock.fd() == platform::kInvalidSocket) return -1;

  const unsigned char request[2] = {0x01, static_cast<unsigned char>(value & 0xFF)};
  auto frame = BuildBalanceFrame(request, sizeof request);
  if (!platform::SendAll(sock.fd(), frame->Data(), static_cast<size_t>(frame->Size()),
                         kConnectTimeoutMs))
    return -1;
  frame.reset();

  // Read until the header and the declared payload are in, within the
  // time-out: a silent server must not hold the caller forever.
  unsigned char reply[kBalanceMaxReply];
  size_t have = 0;
  uint32_t payload = 0;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(m_receiveTimeoutMs);
  for (;;) {
    const int state = CheckBalanceFrame(reply, have, &payload);
    if (state < 0) return -1;
    if (state > 0) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || have == sizeof reply) return -1;
    const long got = platform::RecvSome(sock.fd(), reply + have, sizeof reply - have,
                                        static_cast<int>(left.count()));
    if (got <= 0) return -1;
    have += static_cast<size_t>(got);
  }
  unsigned char* o = static_cast<unsigned char*>(out);
  std::memcpy(o, &payload, 4);
  if (payload > 0) std::memcpy(o + 4, reply + kBalanceHeaderSize, payload);
  return 0;
}
