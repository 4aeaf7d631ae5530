#include "link/proxy_handshake.h"

#include <cstring>

namespace quotelink {
namespace {

void PutIp(std::string& out, uint32_t ip) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((char)(ip >> shift));
}
void PutPort(std::string& out, uint16_t port) {
  out.push_back((char)(port >> 8));
  out.push_back((char)port);
}

}  // namespace

std::string BuildSocks4Request(uint32_t targetIp, uint16_t targetPort) {
  std::string out{'\x04', '\x01'};
  PutPort(out, targetPort);
  PutIp(out, targetIp);
  out.push_back('\0');  // empty user id
  return out;
}

bool Socks4Granted(const unsigned char reply[kSocks4ReplySize]) {
  return reply[0] == 0x00 && reply[1] == 0x5A;
}

std::string BuildSocks5Greeting() { return std::string("\x05\x02\x00\x02", 4); }

int Socks5Method(const unsigned char reply[2]) {
  if (reply[0] != 0x05) return -1;
  if (reply[1] == 0x00 || reply[1] == 0x02) return reply[1];
  return -1;
}

std::string BuildSocks5Auth(const char* user, const char* password, size_t fieldSize) {
  size_t userLength = strnlen(user, fieldSize);
  size_t passwordLength = strnlen(password, fieldSize);
  std::string out{'\x01'};
  out.push_back((char)userLength);
  out.append(user, userLength);
  out.push_back((char)passwordLength);
  out.append(password, passwordLength);
  return out;
}

bool Socks5AuthAccepted(const unsigned char reply[2]) {
  return reply[0] == 0x01 && reply[1] == 0x00;
}

std::string BuildSocks5Connect(uint32_t targetIp, uint16_t targetPort) {
  std::string out("\x05\x01\x00\x01", 4);
  PutIp(out, targetIp);
  PutPort(out, targetPort);
  return out;
}

bool Socks5Granted(const unsigned char reply[kSocks5ReplyHeadSize]) {
  return reply[0] == 0x05 && reply[1] == 0x00;
}

size_t Socks5ReplyExtra(const unsigned char reply[kSocks5ReplyHeadSize]) {
  switch (reply[3]) {
    case 0x03: {  // 4 + 1 + name length + 2
      size_t total = (size_t)reply[4] + 7;
      return total > kSocks5ReplyHeadSize ? total - kSocks5ReplyHeadSize : 0;
    }
    case 0x04: return 22 - kSocks5ReplyHeadSize;  // an IPv6 address
    default: return 0;
  }
}

std::string Base64Encode(std::string_view bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    uint32_t v = (uint8_t)bytes[i] << 16 | (uint8_t)bytes[i + 1] << 8 | (uint8_t)bytes[i + 2];
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  size_t rest = bytes.size() - i;
  if (rest == 1) {
    uint32_t v = (uint8_t)bytes[i] << 16;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += "==";
  } else if (rest == 2) {
    uint32_t v = (uint8_t)bytes[i] << 16 | (uint8_t)bytes[i + 1] << 8;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += '=';
  }
  return out;
}

std::string TrimSpaces(std::string_view text) {
  const char* spaces = " \t\r\n\v\f";
  size_t first = text.find_first_not_of(spaces);
  if (first == std::string_view::npos) return std::string();
  size_t last = text.find_last_not_of(spaces);
  return std::string(text.substr(first, last - first + 1));
}

std::string BuildHttpConnect(const std::string& targetIp, int targetPort, const std::string& user,
                             const std::string& password) {
  std::string out = "CONNECT " + targetIp + ":" + std::to_string(targetPort) + " HTTP/1.0\r\n";
  std::string trimmedUser = TrimSpaces(user);
  if (!trimmedUser.empty())
    out += "Proxy-Authorization: Basic " + Base64Encode(trimmedUser + ":" + TrimSpaces(password)) +
           "\r\n";
  out += "User-Agent: MyApp/0.1\r\n\r\n";
  return out;
}

HttpConnectReply::State HttpConnectReply::Added(size_t count) {
  size_ += count;
  buffer_[size_] = 0;
  // The reply is text; a zero byte in it ends what the checks look at.
  if (std::strstr(buffer_, "HTTP/1.0 200 Connection established")) granted_ = true;
  if (std::strstr(buffer_, "\r\n\r\n")) return granted_ ? State::kGranted : State::kRefused;
  if (size_ >= kCapacity) return State::kTooLong;
  return State::kMore;
}

}  // namespace quotelink
