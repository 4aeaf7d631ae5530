// The bytes of the SOCKS4, SOCKS5 (user and password) and HTTP CONNECT
// handshakes, built and checked apart from any socket.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quotelink {

// Addresses and ports are given in host order and written in network order.
std::string BuildSocks4Request(uint32_t targetIp, uint16_t targetPort);
constexpr size_t kSocks4ReplySize = 8;
bool Socks4Granted(const unsigned char reply[kSocks4ReplySize]);

std::string BuildSocks5Greeting();
// The method the proxy chose: 0 none, 2 user and password, -1 refused.
int Socks5Method(const unsigned char reply[2]);
// User and password each up to its zero byte, at most `fieldSize` bytes.
std::string BuildSocks5Auth(const char* user, const char* password, size_t fieldSize);
bool Socks5AuthAccepted(const unsigned char reply[2]);
std::string BuildSocks5Connect(uint32_t targetIp, uint16_t targetPort);
constexpr size_t kSocks5ReplyHeadSize = 10;
bool Socks5Granted(const unsigned char reply[kSocks5ReplyHeadSize]);
// Bytes of a SOCKS5 reply beyond the first 10, by its address type.
size_t Socks5ReplyExtra(const unsigned char reply[kSocks5ReplyHeadSize]);

std::string Base64Encode(std::string_view bytes);
std::string TrimSpaces(std::string_view text);
// "CONNECT a.b.c.d:port HTTP/1.0", the Basic authorisation when the trimmed
// user is not empty, the user agent and the empty line.
std::string BuildHttpConnect(const std::string& targetIp, int targetPort, const std::string& user,
                             const std::string& password);

// Collects an HTTP proxy reply in a 600-byte buffer.
class HttpConnectReply {
 public:
  static constexpr size_t kCapacity = 600;
  enum class State { kMore, kGranted, kRefused, kTooLong };
  // Room left for the next receive.
  size_t Room() const { return kCapacity - size_; }
  char* WritePtr() { return buffer_ + size_; }
  State Added(size_t count);

 private:
  char buffer_[kCapacity + 1] = {};
  size_t size_ = 0;
  bool granted_ = false;
};

}  // namespace quotelink
