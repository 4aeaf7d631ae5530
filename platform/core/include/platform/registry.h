// A file-backed stand-in for the registry: keys (paths such as
// "Software\\Oskavel\\KeyInput") holding DWORD and string values. It lives
// in one file under the configuration folder.
#pragma once
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform {

bool RegGetDword(const std::string& key, const std::string& name, DWORD* value);
bool RegSetDword(const std::string& key, const std::string& name, DWORD value);
bool RegGetString(const std::string& key, const std::string& name, std::string* value);
bool RegSetString(const std::string& key, const std::string& name, const std::string& value);
bool RegDeleteValue(const std::string& key, const std::string& name);

// One value of a key as RegEnumValues lists it.
struct SRegValue {
  std::string name;
  bool isDword = false;  // else a string
  DWORD dword = 0;
  std::string text;
};
// The values of a key in the order they were first written; empty when
// the key does not exist. Values of neither kind are left out.
std::vector<SRegValue> RegEnumValues(const std::string& key);
// Removes a key with all its values; true when it no longer exists.
bool RegDeleteKey(const std::string& key);

}  // namespace platform
