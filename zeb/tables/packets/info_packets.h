// The information reply (0x1100): the text of one information item (news)
// of an item and date, NUL-terminated from offset 12. Read through the same
// rules as every quote packet: nothing is read past the body's length, a
// text that lacks its NUL ends at the body's end, and the body is never
// written to.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint16_t PKT_INFO_LIST = 0x1100;
// The reply's text, and the request's three codes, start here.
constexpr size_t kInfoTextAt = 12;

// The text (GBK bytes up to the first NUL or the body's end). False, with
// the text emptied, for another type group or a body shorter than its head.
bool ReadInfoText(const void* body, size_t length, std::string* text);
// The same for a body whose head the caller has read.
struct SPacketHead;
bool ReadInfoText(const SPacketHead& head, const void* body, size_t length, std::string* text);
