// Private-profile files, kept as their lines so that a write changes only
// the line it must and leaves comments and layout alone.
#include "platform/profile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gbk.h"
#include "platform/paths.h"

namespace {

// Section and key names ignore ASCII case only: the trail byte of a Chinese
// name is never a letter, so two names differing there stay two names.
bool SameName(const std::string& a, const char* b) { return platform::GbkCompareNoCase(a, b) == 0; }

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The file's lines; false when it exists but was not read whole (then it
// must not be written: its other lines would be lost).
bool ReadLines(const char* path, std::vector<std::string>& lines) {
  lines.clear();
  std::string data;
  const platform::FileRead read =
      path ? platform::ReadWholeFile(path, data) : platform::FileRead::kMissing;
  if (read != platform::FileRead::kRead) return read == platform::FileRead::kMissing;
  // Lines end in CR LF, LF or a lone CR.
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find_first_of("\r\n", start);
    if (end == std::string::npos) end = data.size();
    lines.push_back(data.substr(start, end - start));
    start = end + 1;
    if (end < data.size() && data[end] == '\r' && start < data.size() && data[start] == '\n')
      ++start;
  }
  return true;
}

bool IsSectionLine(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (name) *name = t.substr(1, close - 1);
  return true;
}

bool KeyOfLine(const std::string& line, std::string* key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  *key = Trim(line.substr(0, eq));
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

// Index of the section line, or -1.
long FindSection(const std::vector<std::string>& lines, const char* section) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i)
    if (IsSectionLine(lines[i], &name) && SameName(name, section)) return (long)i;
  return -1;
}

// End (exclusive) of the section that starts at index s.
size_t SectionEnd(const std::vector<std::string>& lines, size_t s) {
  size_t i = s + 1;
  while (i < lines.size() && !IsSectionLine(lines[i], nullptr)) ++i;
  return i;
}

long FindKey(const std::vector<std::string>& lines, size_t s, const char* key, std::string* value) {
  std::string k;
  for (size_t i = s + 1, e = SectionEnd(lines, s); i < e; ++i)
    if (KeyOfLine(lines[i], &k, value) && SameName(k, key)) return (long)i;
  return -1;
}

// A value in matching single or double quotes loses them.
std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

bool WriteLines(const char* path, const std::vector<std::string>& lines) {
  std::string data;
  for (const std::string& l : lines) data += l + "\r\n";
  return platform::WriteFileAtomic(path, data);
}

}  // namespace

DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* out, DWORD size, const char* path) {
  if (!out || size == 0) return 0;
  std::string value = defaultValue ? defaultValue : "";
  if (section && key) {
    std::vector<std::string> lines;
    ReadLines(path, lines);
    long s = FindSection(lines, section);
    std::string found;
    if (s >= 0 && FindKey(lines, (size_t)s, key, &found) >= 0) value = Unquote(found);
  }
  size_t n = std::min<size_t>(value.size(), size - 1);
  std::memcpy(out, value.data(), n);
  out[n] = '\0';
  return (DWORD)n;
}

UINT GetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                          const char* path) {
  char buf[64];
  if (GetPrivateProfileString(section, key, "", buf, sizeof buf, path) == 0)
    return (UINT)defaultValue;
  char* end = nullptr;
  long v = std::strtol(buf, &end, 10);
  if (end == buf) return (UINT)defaultValue;
  return (UINT)v;
}

namespace {

bool HasLineBreak(const char* text) { return text && std::strpbrk(text, "\r\n"); }

// One write applied to the lines in memory.
void ApplyWrite(std::vector<std::string>& lines, const char* section, const char* key,
                const char* value) {
  long s = FindSection(lines, section);
  if (!key) {
    if (s >= 0) lines.erase(lines.begin() + s, lines.begin() + (long)SectionEnd(lines, (size_t)s));
    return;
  }
  if (s < 0) {
    if (!value) return;
    lines.push_back(std::string("[") + section + "]");
    lines.push_back(std::string(key) + "=" + value);
    return;
  }
  long k = FindKey(lines, (size_t)s, key, nullptr);
  if (k >= 0) {
    if (value) lines[(size_t)k] = std::string(key) + "=" + value;
    else lines.erase(lines.begin() + k);
  } else if (value) {
    // After the section's last non-blank line.
    size_t at = SectionEnd(lines, (size_t)s);
    while (at > (size_t)s + 1 && Trim(lines[at - 1]).empty()) --at;
    lines.insert(lines.begin() + (long)at, std::string(key) + "=" + value);
  }
}

}  // namespace

BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* path) {
  return platform::WriteProfileStrings({{section, key, value}}, path);
}

namespace platform {

BOOL WriteProfileStrings(const std::vector<ProfileWrite>& writes, const char* path) {
  if (!path) return FALSE;
  // A line break inside a name or value would write lines of its own
  // (another section, another key): refused, the file stays as it is.
  for (const ProfileWrite& w : writes) {
    if (!w.section || HasLineBreak(w.section) || HasLineBreak(w.key) || HasLineBreak(w.value))
      return FALSE;
  }
  // Read, change and write back as one step, or two threads writing
  // different keys of one file lose one of them.
  static std::mutex writing;
  std::lock_guard<std::mutex> lock(writing);
  std::vector<std::string> lines;
  if (!ReadLines(path, lines)) return FALSE;
  const std::vector<std::string> before = lines;
  for (const ProfileWrite& w : writes) ApplyWrite(lines, w.section, w.key, w.value);
  // Nothing to change (a key or section to delete that is not there).
  if (lines == before) return TRUE;
  return WriteLines(path, lines) ? TRUE : FALSE;
}

std::vector<std::pair<std::string, std::string>> ReadProfileSection(const char* section,
                                                                    const char* path) {
  std::vector<std::pair<std::string, std::string>> pairs;
  if (!section) return pairs;
  std::vector<std::string> lines;
  ReadLines(path, lines);
  long s = FindSection(lines, section);
  if (s < 0) return pairs;
  std::string key, value;
  for (size_t i = (size_t)s + 1, e = SectionEnd(lines, (size_t)s); i < e; ++i)
    if (KeyOfLine(lines[i], &key, &value)) pairs.emplace_back(key, Unquote(value));
  return pairs;
}

}  // namespace platform
