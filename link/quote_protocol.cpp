#include "link/quote_protocol.h"

#include <algorithm>

namespace quotelink {

ShortRequest BuildRequestHeader(uint16_t type, uint16_t market, uint16_t tag, uint16_t count) {
  ShortRequest head{};
  WriteU16(&head[0], type);
  WriteU16(&head[2], market);
  WriteU16(&head[4], tag);
  WriteU16(&head[6], count);
  WriteU32(&head[8], 0);
  return head;
}

LoginRequest BuildLoginRequest(const std::string& account1, const std::string& account2) {
  LoginRequest body{};
  ShortRequest head = BuildRequestHeader(PKT_LOGIN, 0, kLoginTag, 1);
  std::copy(head.begin(), head.end(), body.begin());
  auto putAccount = [&body](size_t offset, const std::string& text) {
    // A text stops at its first zero byte, as the C string it stands for.
    size_t length = std::min(std::min(text.size(), std::strlen(text.c_str())), kLoginAccountSize);
    std::memcpy(&body[offset], text.data(), length);
  };
  putAccount(12, account1);
  putAccount(32, account2);
  WriteU32(&body[52], 1);
  return body;
}

ShortRequest BuildInitDataRequest() {
  return BuildRequestHeader(PKT_INIT_DATA, 0, kInitDataTag, 0);
}

ShortRequest BuildKeepAliveRequest() {
  return BuildRequestHeader(PKT_KEEPALIVE, 0, kKeepAliveTag, 0);
}

}  // namespace quotelink
