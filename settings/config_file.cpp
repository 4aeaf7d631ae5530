#include "settings/config_file.h"

#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "settings/config_line.h"
#include "settings/text_trim.h"
#include "sharecode/time_text.h"

namespace {

// A value is refused when writing it would break the file: a line break
// would start a new line (and could inject keys or sections), and a value
// holding a quote that no key-line form reads back would change on reload.
bool CanStoreValue(const std::string& key, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) return false;
  if (value.find('"') == std::string::npos) return true;
  bool exact = false;
  settings::FormatConfigKeyLine(key, value, exact);
  return exact;
}

}  // namespace

CConfigFile::CConfigFile(const char* path, int saveOnClose)
    : m_strPath(path ? path : ""), m_nSaveOnClose(saveOnClose) {
  std::string text;
  if (!m_strPath.empty() && platform::ReadFile(m_strPath, text)) ParseText(text);
}

CConfigFile::~CConfigFile() {
  if (m_nSaveOnClose) Save(1);
}

void CConfigFile::ParseText(const std::string& text) {
  m_mapSections.clear();
  int section = -1;
  int keyNumber = -1;
  size_t pos = 0;
  // Every physical line is one line, whatever its length.
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string_view line = settings::TrimBlanks(std::string_view(text).substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    char first = line[0];
    if (first == '[') {
      size_t close = line.find(']');
      if (close == std::string_view::npos) continue;
      ++section;
      keyNumber = -1;
      SConfigSection& s = m_mapSections[section];
      s.number = section;
      s.name.assign(line.substr(1, close - 1));
      continue;
    }
    std::string key, value;
    if (!settings::ParseConfigKeyLine(line, key, value)) continue;
    ++keyNumber;
    auto it = m_mapSections.find(section);
    if (it == m_mapSections.end()) continue;  // keys before the first section
    SConfigKey& k = it->second.keys[keyNumber];
    k.number = keyNumber;
    k.key = std::move(key);
    k.value = std::move(value);
  }
  m_nLoaded = 1;
}

const std::string* CConfigFile::FindValue(const char* section, const char* key) const {
  if (!m_nLoaded || !section || !key) return nullptr;
  for (const auto& [number, s] : m_mapSections) {
    if (s.name != section) continue;
    for (const auto& [n, k] : s.keys) {
      if (k.key == key) return &k.value;
    }
  }
  return nullptr;
}

int CConfigFile::GetString(const char* section, const char* key, std::string& value) const {
  const std::string* found = FindValue(section, key);
  if (!found) return -1;
  value = *found;
  return 0;
}

int CConfigFile::GetInt(const char* section, const char* key, int* value) const {
  const std::string* found = FindValue(section, key);
  if (!found || !value) return -1;
  int parsed = 0;
  if (!settings::ParseDecimalInt(*found, &parsed)) return -1;
  *value = parsed;
  return 0;
}

int CConfigFile::GetIntInRange(const char* section, const char* key, int* value, int minValue,
                               int maxValue) const {
  int parsed = 0;
  if (!value || GetInt(section, key, &parsed) != 0) return -1;
  if (parsed < minValue || parsed > maxValue) return -1;
  *value = parsed;
  return 0;
}

int CConfigFile::FindSection(const char* name) const {
  if (!m_nLoaded) return -1;
  if (!name) return -2;
  for (const auto& [number, s] : m_mapSections) {
    if (s.name == name) return number;
  }
  return -2;
}

int CConfigFile::AddSection(const char* name) {
  if (!name || FindSection(name) != -2) return -1;
  // A name that the file cannot hold as a section line would come back
  // different (or as several lines) after a save.
  if (std::strpbrk(name, "]\r\n")) return -1;
  int number = (int)m_mapSections.size();
  SConfigSection& s = m_mapSections[number];
  s.number = number;
  s.name = name;
  return 0;
}

int CConfigFile::SetKeyValue(int section, const char* key, const char* value, int occurrence) {
  if (!m_nLoaded || section < 0 || occurrence < -1 || !key || !value) return -1;
  auto it = m_mapSections.find(section);
  if (it == m_mapSections.end()) return -1;
  if (!CanStoreValue(key, value)) return -1;
  int seen = 0;
  int replaced = 0;
  for (auto& [n, k] : it->second.keys) {
    if (k.key != key) continue;
    if (occurrence == -1) {
      k.value = value;
      ++replaced;
    } else if (seen++ == occurrence) {
      k.value = value;
      ++replaced;
      break;
    }
  }
  return replaced ? 0 : -1;
}

int CConfigFile::SetString(const char* section, const char* key, const char* value,
                           int occurrence) {
  if (!m_nLoaded || !section) return -1;
  if (FindSection(section) == -2) AddSection(section);
  int number = FindSection(section);
  if (number < 0) return -1;
  return SetKeyValue(number, key, value, occurrence);
}

std::string CConfigFile::FormatText(int withHeader) const {
  std::string out;
  if (withHeader)
    out += "# This ini was modified by system on " + GetLocalTimeString(1) + ".\r\n\r\n";
  for (const auto& [number, s] : m_mapSections) {
    out += "[" + s.name + "]\r\n";
    for (const auto& [n, k] : s.keys) {
      bool exact = false;
      out += settings::FormatConfigKeyLine(k.key, k.value, exact);
      out += "\r\n";
    }
    out += "\r\n";
  }
  return out;
}

int CConfigFile::Save(int withHeader) {
  if (!m_nLoaded) return -1;
  // It holds the client key's password: a file made here is the user's alone.
  return platform::WriteFileAtomic(m_strPath, FormatText(withHeader),
                                   platform::FileAccess::kPrivate)
             ? 0
             : -1;
}
