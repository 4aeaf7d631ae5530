// Character and entity references: any bytes unescape without reading out
// of bounds, and escaping then unescaping gives the text back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zeb/xml/xml_escape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::string plain = UnescapeText(text);
  (void)plain;
  // A text of whole GBK characters comes back unchanged.
  bool wholeChars = true;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = (unsigned char)text[i];
    if (c >= 0x81 && c <= 0xFE) {
      if (i + 1 >= text.size()) wholeChars = false;
      ++i;
    }
  }
  if (wholeChars && UnescapeText(EscapeText(text, 0x100)) != text) std::abort();
  return 0;
}
