#include "trade/ui/rules/url_text.h"

std::string PercentEncode(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (unsigned char c : bytes) {
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || c == '-' || c == '.' || c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

bool IsWebAddress(const std::string& url) {
  auto startsWith = [&](const char* scheme) {
    size_t i = 0;
    for (; scheme[i]; ++i)
      if (i >= url.size() || (url[i] | 0x20) != scheme[i]) return false;
    return url.size() > i;  // something after the scheme
  };
  if (!startsWith("http://") && !startsWith("https://")) return false;
  for (unsigned char c : url)
    if (c <= 0x20 || c == 0x7F) return false;
  return true;
}
