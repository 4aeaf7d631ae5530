// Trimming over byte views, shared by the settings-file readers. Works on
// views (not NUL-terminated buffers) so that any byte, NUL included, is
// kept as it stands.
#pragma once
#include <string_view>

namespace settings {

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Removes every byte for which drop(byte) holds from both ends.
template <typename Pred>
std::string_view TrimIf(std::string_view text, Pred drop) {
  size_t b = 0, e = text.size();
  while (b < e && drop(text[b])) ++b;
  while (e > b && drop(text[e - 1])) --e;
  return text.substr(b, e - b);
}

inline std::string_view TrimBlanks(std::string_view text) { return TrimIf(text, IsBlank); }
inline std::string_view TrimBlanksLeft(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && IsBlank(text[b])) ++b;
  return text.substr(b);
}

// Decimal integer as the settings files write it: leading white space,
// optional sign, digits up to the first other byte (no digits gives 0).
// False when the number does not fit an int.
bool ParseDecimalInt(std::string_view text, int* out);

}  // namespace settings
