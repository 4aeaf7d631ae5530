// The little HTTP/1.1 the page-serving simulators speak: read a request
// head, take the path of a GET, write a response head that closes the
// connection after its body.
#pragma once
#include <cstddef>
#include <string>

namespace sim {

// Reads until the blank line that ends a request head, or until maxBytes
// have arrived; false when the client sent nothing within timeoutMs or
// closed first.
bool ReadHttpHead(int fd, std::string* head, size_t maxBytes, int timeoutMs);

// The path of "GET /path HTTP/1.1"; empty for anything else.
std::string HttpGetPath(const std::string& head);

// "HTTP/1.1 <status>" with the content type and length, "Connection:
// close" and any extra header lines (each ending in CR LF).
std::string HttpResponseHead(const char* status, const char* contentType, size_t length,
                             const std::string& extra = "");

}  // namespace sim
