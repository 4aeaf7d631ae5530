// Making the scheme's fonts.
#include <QImage>
#include <cstring>
#include <mutex>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"

namespace {

constexpr BYTE kOutCharacterPrecis = 2;

std::function<int()>& SystemTextHeightProvider() {
  static std::function<int()> provider;
  return provider;
}

// The text height of the system font, as a window's device context shows
// it by default.
int MeasureSystemTextHeight() {
  if (SystemTextHeightProvider()) return SystemTextHeightProvider()();
  QImage image(1, 1, QImage::Format_ARGB32);
  CDC dc(&image);
  dc.SelectObject(GetStockFont(SYSTEM_FONT));
  TEXTMETRIC tm;
  if (!dc.GetTextMetrics(&tm)) return 0;
  return tm.tmHeight;
}

}  // namespace

void CSysStyle::SetSystemTextHeightProvider(std::function<int()> provider) {
  SystemTextHeightProvider() = std::move(provider);
}

CFont* CSysStyle::NewFont(const char* face, int size, int style, int mode) {
  if (!face || !*face) {
    face = GBK("宋体");
    size = 16;
    style = 0;
  }
  auto* font = new CFont();
  BOOL made;
  if (mode == 1) {
    made = font->CreatePointFont(120, face);
  } else {
    LOGFONT lf;
    lf.lfHeight = -size;
    lf.lfWeight = (style & 1) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style & 2) ? 1 : 0;
    lf.lfUnderline = (style & 4) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = kOutCharacterPrecis;
    platform::GbkCopyCut(lf.lfFaceName, sizeof lf.lfFaceName, face);
    made = font->CreateFontIndirect(&lf);
  }
  if (!made) {
    delete font;
    return nullptr;
  }
  return font;
}

CFont* CSysStyle::CreateFont(const char* face, int size, int style) {
  CFont* font = NewFont(face, size, style, 0);
  if (face && std::strcmp(face, "System") == 0 && MeasureSystemTextHeight() > 16) {
    delete font;
    return NewFont("GB321", 15, 0, 0);
  }
  return font;
}
