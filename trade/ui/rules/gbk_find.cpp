#include "trade/ui/rules/gbk_find.h"

#include "platform/gbk.h"

size_t GbkFindChar(const std::string& text, char c, size_t minPos) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (platform::IsGbkLeadByte(b) && i + 1 < text.size()) {
      i += 2;
      continue;
    }
    if (text[i] == c && i >= minPos) return i;
    ++i;
  }
  return std::string::npos;
}
