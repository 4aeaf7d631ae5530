#include "link/host_record.h"

#include <cstring>

namespace quotelink {

void CopyField(char* field, size_t size, const std::string& text) {
  std::memset(field, 0, size);
  size_t n = std::strlen(text.c_str());
  if (n > size - 1) n = size - 1;
  std::memcpy(field, text.data(), n);
}

std::string FieldText(const char* field, size_t size) {
  return std::string(field, strnlen(field, size));
}

SHostInfo MakeHostRecord(const std::string& host, int port) {
  SHostInfo record;
  std::memset(&record, 0, sizeof record);
  CopyField(record.host, sizeof record.host, host);
  record.kind = kHostAddress;
  record.port = port;
  return record;
}

void SetProxy(SHostInfo& record, const std::string& type, const std::string& host, int port,
              const std::string& user, const std::string& password) {
  CopyField(record.proxy.type, sizeof record.proxy.type, type);
  CopyField(record.proxy.host, sizeof record.proxy.host, host);
  record.proxy.port = port;
  CopyField(record.proxy.user, sizeof record.proxy.user, user);
  CopyField(record.proxy.password, sizeof record.proxy.password, password);
}

}  // namespace quotelink
