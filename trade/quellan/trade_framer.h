// Cuts a byte stream of trade messages into whole messages. A message is
// the begin string (1008), the body length (1009), that many body bytes and
// the nine-byte trailer "1010=ddd<SOH>".
#pragma once
#include <cstddef>

// The largest message either side accepts (a long list reply fits easily).
constexpr size_t kMaxTradeMessage = 16u << 20;

// Looks at the start of data: the length of the whole message there (> 0),
// 0 when more bytes are needed, -1 when the bytes cannot start a message or
// it would exceed maxMessage.
long FindTradeMessageEnd(const char* data, size_t len, size_t maxMessage = kMaxTradeMessage);
