// Loading and saving the colour and font scheme.
#include "zeb/scheme/sys_style.h"

#include <cstring>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "settings/file_report.h"
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

// A scheme file that is there but cannot be read leaves the defaults, and
// the user is told which file it was.
void ReportIfUnreadable(const CIniFile& ini, const std::string& path) {
  if (ini.IsUnreadable()) settings::ReportUnreadable(path);
}

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
  const std::string path = basePath + ".CLR";
  CIniFile ini;
  if (!ini.Open(path, 0)) {
    ReportIfUnreadable(ini, path);
  } else {
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
  const std::string path = basePath + ".FNT";
  CIniFile ini;
  if (!ini.Open(path, 0)) {
    ReportIfUnreadable(ini, path);
  } else {
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
  std::string text =
      std::string(GBK("系统执行目录下缺少当前系统风格使用的滚动滑块图片文件:")) + path;
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

namespace {

// A value as one line of the file: a line break would start lines of its own.
std::string OneLine(const char* text) {
  std::string line = text;
  return line.substr(0, line.find_first_of("\r\n"));
}

// Writes a scheme file whole (so a damaged one is replaced by a sound one,
// never added to); a file that is there but cannot be read is the user's
// and is left alone. Says so in a box when the file was not written.
bool WriteSchemeFile(const std::string& path, const std::string& text) {
  std::string old;
  if (platform::ReadWholeFile(path, old) == platform::FileRead::kUnreadable) {
    settings::ReportUnreadable(path);
    return false;
  }
  if (platform::WriteFileAtomic(path, text)) return true;
  settings::ReportNotSaved(path);
  return false;
}

}  // namespace

int CSysStyle::SaveColors(int schemeIndex, const std::vector<SColorEntry>& colors) {
  const SSchemeName* scheme = FindScheme(schemeIndex);
  if (!scheme) return 0;
  std::vector<SColorEntry> saved = m_vecColors;
  for (SColorEntry& e : saved) {
    for (const SColorEntry& given : colors) {
      if (given.id == e.id) {
        e.color = given.color;
        break;
      }
    }
  }
  std::string text;
  for (const SColorEntry& e : saved) {
    text += "[" + OneLine(e.label) + "]\r\nID=" + std::to_string(e.id) +
            "\r\nCOLOR=" + std::to_string(static_cast<int>(e.color)) + "\r\n";
  }
  // The program shows the new colours only once they are on disk.
  if (!WriteSchemeFile(m_strFolder + scheme->name + ".CLR", text)) return 0;
  SetColors(saved);
  return 1;
}

int CSysStyle::SaveFonts(int schemeIndex, const std::vector<SFontEntry>& fonts) {
  const SSchemeName* scheme = FindScheme(schemeIndex);
  if (!scheme) return 0;
  std::vector<SFontEntry> saved = m_vecFonts;
  for (SFontEntry& e : saved) {
    for (const SFontEntry& given : fonts) {
      if (given.id != e.id) continue;
      platform::GbkCopyCut(e.face, LF_FACESIZE, given.face);
      e.size = given.size;
      e.style = given.style;
      break;
    }
  }
  std::string text;
  for (const SFontEntry& e : saved) {
    text += "[" + OneLine(e.label) + "]\r\nID=" + std::to_string(e.id) +
            "\r\nFONTSIZE=" + std::to_string(e.size) + "\r\nFONTSTYLE=" + std::to_string(e.style) +
            "\r\nFONTNAME=" + OneLine(e.face) + "\r\n";
  }
  if (!WriteSchemeFile(m_strFolder + scheme->name + ".FNT", text)) return 0;
  for (size_t i = 0; i < saved.size(); ++i) {
    SFontEntry& e = m_vecFonts[i];
    if (saved[i] == e) continue;
    std::memcpy(e.face, saved[i].face, sizeof e.face);
    e.size = saved[i].size;
    e.style = saved[i].style;
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
  return 1;
}
