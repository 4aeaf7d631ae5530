// The process-wide colour and font scheme. Every self-drawn window, table
// and chart asks it for colours and fonts by a small integer id, so one
// pair of scheme files decides the look of the whole program. Schemes live
// in "INTERFACE/" under the program folder: the list in "COLORSCHEME.ini",
// and per scheme a ".CLR", a ".FNT" and a ".BMP" (scroll-bar thumbs).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "platform/types.h"

struct SSchemeName {
  char name[12] = {};  // at most 11 bytes of GBK text
  int index = 0;
};

struct SColorEntry {
  char label[24] = {};  // also the section name in the ".CLR" file
  int id = 0;
  COLORREF color = 0;
};

struct SFontEntry {
  char label[24] = {};  // also the section name in the ".FNT" file
  int id = 0;
  int size = 0;           // character height in pixels
  int style = 0;          // bit 0 bold, bit 1 italic, bit 2 underline
  char face[36] = {};     // at most 31 bytes are used
  CFont* font = nullptr;  // owned by the list that holds the entry

  // Face, size and style decide equality; label, id and font do not.
  bool operator==(const SFontEntry& other) const;
};

class CSysStyle {
 public:
  static CSysStyle* GetInstance();
  static void ReleaseInstance();

  // (Re)loads the current scheme; 1, or 0 when no scheme has the current
  // index (the lists then stay empty).
  int LoadScheme();

  // Colour of the first entry with the id; CLR_INVALID (-1) when none.
  COLORREF GetColor(int id) const {
    for (const SColorEntry& e : m_vecColors) {
      if (e.id == id) return e.color;
    }
    return CLR_INVALID;
  }
  // Font of the first entry with the id; nullptr when none. Shared: users
  // must not delete it.
  CFont* GetFont(int id) const;
  // Rise (2), fall (4) or level (3) colour of a value against a reference.
  COLORREF GetUpDownColor(float value, float reference) const;
  CBitmap* GetSliderBitmap() const { return m_pSliderBitmap; }
  std::vector<SColorEntry>* GetColorList() { return &m_vecColors; }
  std::vector<SFontEntry>* GetFontList() { return &m_vecFonts; }
  int GetSchemeName(int index, std::string& name) const;
  int GetCurrentScheme() const { return m_nCurScheme; }
  const std::string& GetFolder() const { return m_strFolder; }

  // Write the current lists with the given entries (matched by id) in
  // place into the scheme's ".CLR" / ".FNT" file, whole (a damaged file is
  // replaced, never added to), then take them. 0 when no scheme has the
  // index, or when the file is unreadable or could not be written: a box
  // names it, and the file and the lists stay as they were. Else 1.
  int SaveColors(int scheme, const std::vector<SColorEntry>& colors);
  int SaveFonts(int scheme, const std::vector<SFontEntry>& fonts);

  // New fonts; the caller owns them. The face "System" becomes "GB321" at
  // 15 pixels when the system text is taller than 16 pixels.
  static CFont* CreateFont(const char* face, int size, int style);
  // mode 0: pixel height -size; mode 1: a 12-point font of the face.
  static CFont* NewFont(const char* face, int size, int style, int mode);

  // Height of the system font's text; replaceable so tests can stand in
  // for a large-font display. An empty function restores the measurement.
  static void SetSystemTextHeightProvider(std::function<int()> provider);

  // The built-in entries, in list and file order.
  static std::vector<SColorEntry> DefaultColors();
  static std::vector<SFontEntry> DefaultFonts();  // fonts not created

 private:
  CSysStyle();
  ~CSysStyle();
  void LoadSchemeList();
  void LoadColors(const std::string& basePath);
  void LoadFonts(const std::string& basePath);
  void LoadSliderBitmap(const std::string& basePath);
  void SetColors(const std::vector<SColorEntry>& colors);
  void SetFonts(std::vector<SFontEntry> fonts);
  void DeleteFonts();
  const SSchemeName* FindScheme(int index) const;

  int m_nCurScheme = 0;
  std::vector<SSchemeName> m_vecSchemeNames;
  std::vector<SColorEntry> m_vecColors;
  std::vector<SFontEntry> m_vecFonts;
  CBitmap* m_pSliderBitmap = nullptr;
  std::string m_strFolder;

  static CSysStyle* s_pInstance;
};
