// GBK (code page 936) is the system's text encoding everywhere inside.
// Convert only where Qt draws or takes input, or where a test writes a
// Chinese literal.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

class QString;

namespace platform {

// Conversions; bytes that do not convert become '?'.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
QString GbkToQString(std::string_view gbk);
std::string QStringToGbk(const QString& text);

// True when b can start a two-byte GBK character.
inline bool IsGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// The longest prefix of text (stopping at a NUL) of at most maxBytes bytes
// that does not end inside a two-byte character.
size_t GbkCutLength(const char* text, size_t maxBytes);

// Copies src into dst (capacity dstSize, including the terminating NUL),
// cut on a character boundary. dstSize 0 writes nothing.
void GbkCopyCut(char* dst, size_t dstSize, const char* src);

// Compares two texts ignoring the case of single-byte ASCII letters only:
// both bytes of a two-byte character compare exactly (a trail byte in
// 'A'..'Z' is part of a Chinese character, not a letter). Byte order
// otherwise, which for GBK puts the common characters in pinyin order.
// <0, 0 or >0.
int GbkCompareNoCase(std::string_view a, std::string_view b);
// Whether text starts with prefix under the same rule.
bool GbkStartsWithNoCase(std::string_view text, std::string_view prefix);

// The GBK bytes of a UTF-8 literal, converted once and kept for the life of
// the process: GBK("确定退出系统吗？") is a stable const char*.
const char* GbkLiteral(const char* utf8);

}  // namespace platform

#define GBK(utf8) (::platform::GbkLiteral(utf8))
