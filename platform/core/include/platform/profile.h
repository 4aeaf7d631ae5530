// The platform's private-profile files: "[section]" and "key=value" lines,
// GBK text, CR LF on disk. Section and key names compare without case
// (ASCII letters only, so GBK names compare byte for byte).
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/types.h"

// Copies the value (or the default) into out, cut to size - 1 bytes;
// returns the number of bytes copied.
DWORD GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                              char* out, DWORD size, const char* path);
UINT GetPrivateProfileInt(const char* section, const char* key, int defaultValue, const char* path);
// Writes or replaces a key (a null value deletes the key, a null key the
// section); the file is rewritten atomically. FALSE on failure, and FALSE
// without writing when the file exists but cannot be read whole.
BOOL WritePrivateProfileString(const char* section, const char* key, const char* value,
                               const char* path);

namespace platform {

// One change of WriteProfileStrings, as WritePrivateProfileString takes it.
struct ProfileWrite {
  const char* section;
  const char* key;    // null: the section goes
  const char* value;  // null: the key goes
};
// Several changes of one file saved together: the file is read once and
// rewritten once, atomically, with all of them or none (FALSE, the file as
// it was).
BOOL WriteProfileStrings(const std::vector<ProfileWrite>& writes, const char* path);

// The key=value lines of one section in file order, names as written and
// values as GetPrivateProfileString gives them; empty when the section or
// the file does not exist.
std::vector<std::pair<std::string, std::string>> ReadProfileSection(const char* section,
                                                                    const char* path);

}  // namespace platform
