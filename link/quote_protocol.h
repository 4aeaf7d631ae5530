// What travels on the quote connection besides the frame: the common head
// of request bodies, the three requests the link sends itself and the
// fields of the replies it looks at. Multi-byte body fields are
// little-endian.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/le_bytes.h"

namespace quotelink {

constexpr uint16_t PKT_LOGIN = 0x8B00;
constexpr uint16_t PKT_INIT_DATA = 0x1000;
constexpr uint16_t PKT_KEEPALIVE = 0x4400;
constexpr uint16_t PKT_NOTICE = 0x0C00;
// Sent by the server before any data; does not count as the first data.
constexpr uint16_t PKT_PRE_DATA = 0x1500;

constexpr uint16_t kLoginTag = 1;
constexpr uint16_t kInitDataTag = 2;
constexpr uint16_t kKeepAliveTag = 3;
// Replies whose tag is above this belong to nobody in the client.
constexpr uint16_t kMaxForwardedTag = 100;

constexpr size_t kRequestHeaderSize = 12;
constexpr size_t kLoginRequestSize = 83;
constexpr size_t kLoginAccountSize = 20;
// The login reply's text starts behind its pointer slot.
constexpr size_t kLoginReplyTextOffset = 12;
// The initial-data reply's fixed head (up to the first trading phase).
constexpr size_t kInitDataHeadSize = 18;

using LoginRequest = std::array<unsigned char, kLoginRequestSize>;
using ShortRequest = std::array<unsigned char, kRequestHeaderSize>;

using platform::ReadU16;
using platform::ReadU32;
using platform::WriteU16;
using platform::WriteU32;

// The 12-byte head of a request: type, market, tag, count, reserved 0.
ShortRequest BuildRequestHeader(uint16_t type, uint16_t market, uint16_t tag, uint16_t count);

// Login: the head (0x8B00, 0, 1, 1), both account texts in 20-byte fields
// (zero-filled; 20 bytes or more fill the field without a terminator), a
// u32 1 and 27 zero bytes.
LoginRequest BuildLoginRequest(const std::string& account1, const std::string& account2);
ShortRequest BuildInitDataRequest();
ShortRequest BuildKeepAliveRequest();

}  // namespace quotelink
