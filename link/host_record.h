// One quote-server address, optionally reached through a proxy. Text
// fields are fixed-size and always zero-terminated when set through
// SetHostText/SetProxy.
#pragma once
#include <cstdint>
#include <string>

struct SProxyInfo {
  char type[5];   // "S4", "S5" or "HTTP"
  char host[20];  // dotted IPv4 address; empty: no proxy
  int32_t port;
  char user[20];
  char password[20];
};

struct SHostInfo {
  char host[50];
  int32_t kind;  // 0 a name to resolve, 1 a dotted IPv4 address
  int32_t port;
  SProxyInfo proxy;
};

namespace quotelink {

constexpr int32_t kHostName = 0;
constexpr int32_t kHostAddress = 1;

// A zeroed record with host, kind 1 and port.
SHostInfo MakeHostRecord(const std::string& host, int port);
// Fills the proxy block; every text is cut to its field.
void SetProxy(SHostInfo& record, const std::string& type, const std::string& host, int port,
              const std::string& user, const std::string& password);
// Copies text into a field of `size` bytes, cut so the field keeps its zero.
void CopyField(char* field, size_t size, const std::string& text);
// The text of a field that may lack its terminating zero.
std::string FieldText(const char* field, size_t size);

}  // namespace quotelink
