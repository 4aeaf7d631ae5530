// A file-backed stand-in for the registry: keys (paths such as
// "Software\\Oskavel\\KeyInput") holding DWORD and string values. It lives
// in one file under the configuration folder.
#pragma once
#include <string>
#include "platform/types.h"

namespace platform {

bool RegGetDword(const std::string& key, const std::string& name, DWORD* value);
bool RegSetDword(const std::string& key, const std::string& name, DWORD value);
bool RegGetString(const std::string& key, const std::string& name, std::string* value);
bool RegSetString(const std::string& key, const std::string& name, const std::string& value);
bool RegDeleteValue(const std::string& key, const std::string& name);

}  // namespace platform
