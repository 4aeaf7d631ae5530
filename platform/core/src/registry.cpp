// The registry stand-in keeps each key as a section of one profile file,
// so it needs no format of its own: "dword:" and "sz:" prefixes tell the
// value kinds apart.
#include "platform/registry.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/paths.h"
#include "platform/profile.h"

namespace platform {
namespace {

std::string StorePath() {
  std::string dir = GetConfigDir();
  MakeDirs(dir);
  return dir + "registry.ini";
}

bool Read(const std::string& key, const std::string& name, std::string* raw) {
  std::vector<char> buf(65536);
  const char* missing = "\x01";
  GetPrivateProfileString(key.c_str(), name.c_str(), missing, buf.data(), (DWORD)buf.size(),
                          StorePath().c_str());
  if (std::string(buf.data()) == missing) return false;
  *raw = buf.data();
  return true;
}

bool Write(const std::string& key, const std::string& name, const std::string& raw) {
  return WritePrivateProfileString(key.c_str(), name.c_str(), raw.c_str(), StorePath().c_str());
}

}  // namespace

bool RegGetDword(const std::string& key, const std::string& name, DWORD* value) {
  std::string raw;
  if (!Read(key, name, &raw) || raw.rfind("dword:", 0) != 0) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(raw.c_str() + 6, &end, 16);
  if (end == raw.c_str() + 6) return false;
  if (value) *value = (DWORD)v;
  return true;
}

bool RegSetDword(const std::string& key, const std::string& name, DWORD value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "dword:%08x", (unsigned)value);
  return Write(key, name, buf);
}

bool RegGetString(const std::string& key, const std::string& name, std::string* value) {
  std::string raw;
  if (!Read(key, name, &raw) || raw.rfind("sz:", 0) != 0) return false;
  if (value) *value = raw.substr(3);
  return true;
}

bool RegSetString(const std::string& key, const std::string& name, const std::string& value) {
  if (value.find_first_of("\r\n") != std::string::npos) return false;
  return Write(key, name, "sz:" + value);
}

bool RegDeleteValue(const std::string& key, const std::string& name) {
  return WritePrivateProfileString(key.c_str(), name.c_str(), nullptr, StorePath().c_str());
}

std::vector<SRegValue> RegEnumValues(const std::string& key) {
  std::vector<SRegValue> values;
  for (const auto& [name, raw] : ReadProfileSection(key.c_str(), StorePath().c_str())) {
    SRegValue v;
    v.name = name;
    if (raw.rfind("dword:", 0) == 0) {
      char* end = nullptr;
      unsigned long d = std::strtoul(raw.c_str() + 6, &end, 16);
      if (end == raw.c_str() + 6) continue;
      v.isDword = true;
      v.dword = (DWORD)d;
    } else if (raw.rfind("sz:", 0) == 0) {
      v.text = raw.substr(3);
    } else {
      continue;
    }
    values.push_back(std::move(v));
  }
  return values;
}

bool RegDeleteKey(const std::string& key) {
  return WritePrivateProfileString(key.c_str(), nullptr, nullptr, StorePath().c_str());
}

}  // namespace platform
