// The appearance page's arithmetic (colour_edit.h).
#include "zeb/core/dialogs/colour_edit.h"

#include <cstdlib>

#include "platform/gbk.h"

SRgbParts SplitColor(COLORREF color) {
  if (color == CLR_INVALID) return SRgbParts{};
  return {int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)};
}

COLORREF JoinColor(const SRgbParts& parts) {
  return COLORREF(parts.red + 256 * parts.green + 65536 * parts.blue);
}

bool ReadColorComponent(const std::string& text, int* value) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const size_t last = text.find_last_not_of(' ');
  const std::string digits = text.substr(first, last - first + 1);
  if (digits.empty() || digits.size() > 3 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const int v = std::atoi(digits.c_str());
  if (v > 255) return false;
  *value = v;
  return true;
}

const char* ColorComponentMessage() { return GBK("颜色值应为0到255之间的整数。"); }

int FontStyleOf(const LOGFONT& font) {
  if (font.lfWeight == 700) return 1;
  if (font.lfItalic) return 2;
  if (font.lfUnderline) return 4;
  return 0;
}

SFontEntry FontEntryFromChoice(int id, const LOGFONT& font) {
  SFontEntry entry;
  entry.id = id;
  entry.size = std::abs(font.lfHeight);
  entry.style = FontStyleOf(font);
  platform::GbkCopyCut(entry.face, sizeof entry.face, font.lfFaceName);
  return entry;
}
