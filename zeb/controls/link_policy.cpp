// The addresses links may open; see link_policy.h.
#include "zeb/controls/link_policy.h"

#include <cctype>

namespace zebui {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower((unsigned char)text[i]) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsOpenableLinkAddress(std::string_view address) {
  for (unsigned char c : address) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  for (std::string_view scheme : {"http://", "https://", "mailto:"}) {
    if (StartsWithNoCase(address, scheme)) return address.size() > scheme.size();
  }
  return false;
}

}  // namespace zebui
