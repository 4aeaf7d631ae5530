// Loading and saving the colour and font scheme.
#include "zeb/scheme/sys_style.h"

#include <cstring>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "settings/ini_file.h"

namespace {

// Sizes outside this range in a hand-edited ".FNT" file keep the default:
// a negative or zero height would make a cell-height or default font, a
// huge one an unusable font.
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 200;

// A colour is a plain red-green-blue value; anything else in a ".CLR" file
// keeps the default (the high byte would turn it into a palette index, and
// -1 is the "no such colour" answer).
constexpr int kMaxColor = 0xFFFFFF;

}  // namespace

CSysStyle* CSysStyle::s_pInstance = nullptr;

bool SFontEntry::operator==(const SFontEntry& other) const {
  return std::strcmp(face, other.face) == 0 && size == other.size && style == other.style;
}

CSysStyle::CSysStyle() : m_strFolder(platform::GetProgramDir() + "INTERFACE/") {}

CSysStyle::~CSysStyle() {
  DeleteFonts();
  delete m_pSliderBitmap;
}

CSysStyle* CSysStyle::GetInstance() {
  if (!s_pInstance) s_pInstance = new CSysStyle();
  return s_pInstance;
}

void CSysStyle::ReleaseInstance() {
  delete s_pInstance;
  s_pInstance = nullptr;
}

void CSysStyle::DeleteFonts() {
  for (SFontEntry& e : m_vecFonts) {
    delete e.font;
    e.font = nullptr;
  }
  m_vecFonts.clear();
}

const SSchemeName* CSysStyle::FindScheme(int index) const {
  for (const SSchemeName& s : m_vecSchemeNames) {
    if (s.index == index) return &s;
  }
  return nullptr;
}

int CSysStyle::LoadScheme() {
  m_vecColors.clear();
  DeleteFonts();
  LoadSchemeList();
  const SSchemeName* scheme = FindScheme(m_nCurScheme);
  if (!scheme) return 0;
  std::string basePath = m_strFolder + scheme->name;
  LoadColors(basePath);
  LoadFonts(basePath);
  LoadSliderBitmap(basePath);
  return 1;
}

void CSysStyle::LoadSchemeList() {
  CIniFile ini;
  if (!ini.Open(m_strFolder + "COLORSCHEME.ini", 0)) return;
  m_vecSchemeNames.clear();
  const std::string listSection = GBK("配色方案");
  int count = ini.GetKeyCount(listSection);
  for (int i = 0; i < count; ++i) {
    std::string value;
    ini.GetString(listSection, std::to_string(i), value);
    SSchemeName scheme;
    // A hand-edited name longer than the field is cut on a character
    // boundary.
    platform::GbkCopyCut(scheme.name, sizeof scheme.name, value.c_str());
    scheme.index = i;
    m_vecSchemeNames.push_back(scheme);
  }
  int current = 0;
  if (ini.GetInt(GBK("当前方案"), "001", &current)) m_nCurScheme = current;
}

void CSysStyle::LoadColors(const std::string& basePath) {
  std::vector<SColorEntry> colors = DefaultColors();
  CIniFile ini;
  if (ini.Open(basePath + ".CLR", 0)) {
    for (SColorEntry& e : colors) {
      int value = 0;
      if (ini.GetInt(e.label, "COLOR", &value) && value >= 0 && value <= kMaxColor) {
        e.color = (COLORREF)value;
      }
    }
  }
  SetColors(colors);
}

void CSysStyle::SetColors(const std::vector<SColorEntry>& colors) { m_vecColors = colors; }

void CSysStyle::LoadFonts(const std::string& basePath) {
  std::vector<SFontEntry> fonts = DefaultFonts();
  CIniFile ini;
  if (ini.Open(basePath + ".FNT", 0)) {
    for (SFontEntry& e : fonts) {
      int value = 0;
      if (ini.GetInt(e.label, "FONTSIZE", &value) && value >= kMinFontSize &&
          value <= kMaxFontSize) {
        e.size = value;
      }
      if (ini.GetInt(e.label, "FONTSTYLE", &value)) e.style = value;
      std::string face;
      // Cut to the usable part of the field, on a character boundary.
      if (ini.GetString(e.label, "FONTNAME", face)) {
        platform::GbkCopyCut(e.face, LF_FACESIZE, face.c_str());
      }
    }
  }
  SetFonts(std::move(fonts));
}

void CSysStyle::SetFonts(std::vector<SFontEntry> fonts) {
  DeleteFonts();
  for (SFontEntry& e : fonts) {
    e.font = CreateFont(e.face, e.size, e.style);
    m_vecFonts.push_back(e);
  }
}

void CSysStyle::LoadSliderBitmap(const std::string& basePath) {
  delete m_pSliderBitmap;
  m_pSliderBitmap = nullptr;
  std::string path = basePath + ".BMP";
  auto* bitmap = new CBitmap();
  if (bitmap->LoadFromFile(path)) {
    m_pSliderBitmap = bitmap;
    return;
  }
  delete bitmap;
  std::string text = std::string(GBK("系统执行目录下缺少当前系统风格使用的滚动滑块图片文件:")) + path;
  AfxMessageBox(text.c_str());
}

CFont* CSysStyle::GetFont(int id) const {
  for (const SFontEntry& e : m_vecFonts) {
    if (e.id == id) return e.font;
  }
  return nullptr;
}

COLORREF CSysStyle::GetUpDownColor(float value, float reference) const {
  if (value > reference) return GetColor(2);
  if (value < reference) return GetColor(4);
  return GetColor(3);
}

int CSysStyle::GetSchemeName(int index, std::string& name) const {
  const SSchemeName* scheme = FindScheme(index);
  if (!scheme) return 0;
  name = scheme->name;
  return 1;
}

int CSysStyle::SaveColors(int schemeIndex, const std::vector<SColorEntry>& colors) {
  const SSchemeName* scheme = FindScheme(schemeIndex);
  if (!scheme) return 0;
  for (SColorEntry& e : m_vecColors) {
    for (const SColorEntry& given : colors) {
      if (given.id == e.id) {
        e.color = given.color;
        break;
      }
    }
  }
  CIniFile ini;
  if (ini.Open(m_strFolder + scheme->name + ".CLR", 1)) {
    for (const SColorEntry& e : m_vecColors) {
      int id = e.id;
      int color = (int)e.color;
      ini.SetInt(e.label, "ID", &id, 0);
      ini.SetInt(e.label, "COLOR", &color, 0);
    }
  }
  return 1;
}

int CSysStyle::SaveFonts(int schemeIndex, const std::vector<SFontEntry>& fonts) {
  const SSchemeName* scheme = FindScheme(schemeIndex);
  if (!scheme) return 0;
  for (SFontEntry& e : m_vecFonts) {
    for (const SFontEntry& given : fonts) {
      if (given.id != e.id) continue;
      if (!(given == e)) {
        platform::GbkCopyCut(e.face, LF_FACESIZE, given.face);
        e.size = given.size;
        e.style = given.style;
        // The font object stays: tables and views keep its address, and
        // they show the new face from their next paint.
        CFont* made = CreateFont(e.face, e.size, e.style);
        if (e.font && made) {
          LOGFONT lf;
          made->GetLogFont(&lf);
          e.font->DeleteObject();
          e.font->CreateFontIndirect(&lf);
          delete made;
        } else {
          delete e.font;
          e.font = made;
        }
      }
      break;
    }
  }
  CIniFile ini;
  if (ini.Open(m_strFolder + scheme->name + ".FNT", 1)) {
    for (const SFontEntry& e : m_vecFonts) {
      int id = e.id, size = e.size, style = e.style;
      ini.SetInt(e.label, "ID", &id, 0);
      ini.SetInt(e.label, "FONTSIZE", &size, 0);
      ini.SetInt(e.label, "FONTSTYLE", &style, 0);
      ini.SetString(e.label, "FONTNAME", e.face, 0);
    }
  }
  return 1;
}
