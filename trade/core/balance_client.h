// The balance-server query: asks a balance server, over plain TCP, which
// trade and quote servers to use.
//
// Frame, both directions: 4 bytes the number 1 (little-endian), 4 bytes the
// payload length L (big-endian), 4 bytes CalcFrameChecksum over the payload
// padded with 1-4 zero bytes to (L / 4) x 4 + 4 bytes, then L payload bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "trade/core/byte_buffer.h"

constexpr int kBalanceHeaderSize = 12;
// The reply is at most one 2048-byte block, header included.
constexpr int kBalanceMaxReply = 2048;

// A frame around the payload.
std::unique_ptr<CByteBuffer> BuildBalanceFrame(const unsigned char* payload, uint32_t len);

// Looks at received bytes: 1 a sound frame is complete (its payload length
// in *payloadLen), 0 more bytes are needed, -1 the frame is refused (its
// length reaches past the largest reply, or its checksum is wrong).
int CheckBalanceFrame(const unsigned char* data, size_t len, uint32_t* payloadLen);

class CBalanceClient {
 public:
  explicit CBalanceClient(int receiveTimeoutMs = 5000) : m_receiveTimeoutMs(receiveTimeoutMs) {}

  // Sends the request {0x01, low byte of value} to ip:port and, on a sound
  // reply, writes its 32-bit payload length (machine order) and the payload
  // to out (L + 4 bytes). 0, or -1 on any failure (out untouched then).
  int Query(const char* ip, int port, int value, void* out);

 private:
  int m_receiveTimeoutMs;
};
