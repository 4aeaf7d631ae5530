#include "settings/ini_file.h"

#include <cstdio>

#include "platform/paths.h"
#include "settings/text_trim.h"

namespace {

// Lines as a text-mode reader gives them: split at LF, CR LF ends taken
// off; a last line without a line end still counts.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    size_t len = end - pos;
    if (len > 0 && text[pos + len - 1] == '\r' && end != text.size()) --len;
    lines.emplace_back(text, pos, len);
    pos = next;
  }
  return lines;
}

bool Contains(std::string_view text, const std::string& part, size_t from = 0) {
  return text.find(part, from) != std::string_view::npos;
}

}  // namespace

CIniFile::CIniFile() = default;

CIniFile::~CIniFile() {
  Flush();
  m_arrLines.clear();
}

int CIniFile::Open(const std::string& path, int create) {
  m_arrLines.clear();
  m_nLoaded = 0;
  m_bModified = false;
  m_strPath = path;
  std::string text;
  const platform::FileRead read = platform::ReadWholeFile(path, text);
  m_eRead = read;
  if (read == platform::FileRead::kRead) {
    m_arrLines = SplitLines(text);
    m_nLoaded = 1;
  } else if (create && read == platform::FileRead::kMissing &&
             platform::WriteFileAtomic(path, std::string())) {
    // Only when nothing stands there: a file that exists but cannot be read
    // (or is too large) must not be replaced by an empty one.
    m_nLoaded = 1;
  }
  return m_nLoaded;
}

bool CIniFile::Flush() {
  if (!m_nLoaded || !m_bModified) return true;
  std::string text;
  for (const std::string& line : m_arrLines) {
    text += line;
    text += "\r\n";
  }
  if (!platform::WriteFileAtomic(m_strPath, text)) return false;
  m_bModified = false;
  return true;
}

int CIniFile::FindKeyLine(const std::string& section, const std::string& key) const {
  if (m_arrLines.empty()) return -1;
  size_t i = 0;
  for (; i < m_arrLines.size(); ++i) {
    std::string_view line = settings::TrimBlanksLeft(m_arrLines[i]);
    if (Contains(line, "[") && Contains(line, section, 1)) break;
  }
  for (++i; i < m_arrLines.size(); ++i) {
    std::string_view line = settings::TrimBlanksLeft(m_arrLines[i]);
    if (Contains(line, "//")) continue;
    if (Contains(line, key)) return (int)i + 1;
    if (Contains(line, "[")) return -2;
  }
  return -1;
}

int CIniFile::GetString(const std::string& section, const std::string& key,
                        std::string& value) const {
  if (!m_nLoaded) return 0;
  int pos = FindKeyLine(section, key);
  if (pos <= 0) return 0;
  const std::string& line = m_arrLines[pos - 1];
  size_t eq = line.find('=');
  value = eq == std::string::npos ? line : line.substr(eq + 1);
  return 1;
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int* value) const {
  std::string text;
  if (!value || !GetString(section, key, text)) return 0;
  int parsed = 0;
  if (!settings::ParseDecimalInt(text, &parsed)) return 0;
  *value = parsed;
  return 1;
}

int CIniFile::SetString(const std::string& section, const std::string& key,
                        const std::string& value, int existingOnly) {
  return WriteValue(section, key, value, existingOnly);
}

int CIniFile::SetInt(const std::string& section, const std::string& key, const int* value,
                     int existingOnly) {
  if (!value) return 0;
  return WriteValue(section, key, std::to_string(*value), existingOnly);
}

void CIniFile::ReplaceLine(size_t index, std::string line) {
  if (m_arrLines[index] == line) return;
  m_arrLines[index] = std::move(line);
  m_bModified = true;
}

int CIniFile::WriteValue(const std::string& section, const std::string& key,
                         const std::string& value, int existingOnly) {
  if (!m_nLoaded) return 0;
  // A line break would split the new line in two and could add keys or
  // sections that nobody wrote.
  for (const std::string* text : {&section, &key, &value}) {
    if (text->find_first_of("\r\n") != std::string::npos) return 0;
  }
  std::string newLine = key + "=" + value;
  if (m_arrLines.empty()) {
    m_arrLines.push_back("[" + section + "]");
    m_arrLines.push_back(newLine);
    m_bModified = true;
    return 1;
  }
  size_t i = 0;
  for (; i < m_arrLines.size(); ++i) {
    std::string_view line = settings::TrimBlanksLeft(m_arrLines[i]);
    if (Contains(line, "[") && Contains(line, section)) break;
  }
  bool headerFound = i < m_arrLines.size();
  for (++i; i < m_arrLines.size(); ++i) {
    std::string_view line = settings::TrimBlanksLeft(m_arrLines[i]);
    if (Contains(line, "//")) continue;
    if (Contains(line, key)) {
      ReplaceLine(i, newLine);
      return 1;
    }
    if (Contains(line, "[")) {
      if (existingOnly) return 0;
      m_arrLines.insert(m_arrLines.begin() + (std::ptrdiff_t)i, newLine);
      m_bModified = true;
      return 1;
    }
  }
  if (existingOnly) return 1;
  // A section that runs to the end of the file (even one that is only its
  // header, or ends in a "//" line) gets the line at the end; a second
  // header there would hide the key from every later look-up.
  if (!headerFound) m_arrLines.push_back("[" + section + "]");
  m_arrLines.push_back(newLine);
  m_bModified = true;
  return 1;
}

int CIniFile::GetKeyCount(const std::string& section) const {
  std::string header = "[" + section + "]";
  size_t i = 0;
  for (; i < m_arrLines.size(); ++i) {
    if (settings::TrimBlanks(m_arrLines[i]) == header) break;
  }
  if (i == m_arrLines.size()) return 0;
  int count = 0;
  for (++i; i < m_arrLines.size(); ++i) {
    const std::string& line = m_arrLines[i];
    if (line.empty() || Contains(line, "[")) break;
    ++count;
  }
  return count;
}

int CIniFile::GetSectionNames(std::vector<std::string>& names) const {
  names.clear();
  if (!m_nLoaded) return 0;
  for (const std::string& raw : m_arrLines) {
    std::string_view line = settings::TrimBlanks(raw);
    if (line.empty() || line[0] != '[') continue;
    names.emplace_back(line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string_view());
  }
  return 1;
}
