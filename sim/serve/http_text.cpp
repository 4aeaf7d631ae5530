#include "sim/serve/http_text.h"

#include "platform/socket.h"

namespace sim {

bool ReadHttpHead(int fd, std::string* head, size_t maxBytes, int timeoutMs) {
  char buffer[1024];
  while (head->find("\r\n\r\n") == std::string::npos && head->size() < maxBytes) {
    const long n = platform::RecvSome(fd, buffer, sizeof buffer, timeoutMs);
    if (n <= 0) return false;
    head->append(buffer, static_cast<size_t>(n));
  }
  return true;
}

std::string HttpGetPath(const std::string& head) {
  if (head.compare(0, 4, "GET ") != 0) return "";
  const size_t end = head.find(' ', 4);
  if (end == std::string::npos) return "";
  return head.substr(4, end - 4);
}

std::string HttpResponseHead(const char* status, const char* contentType, size_t length,
                             const std::string& extra) {
  return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: " + contentType +
         "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n" + extra +
         "\r\n";
}

}  // namespace sim
