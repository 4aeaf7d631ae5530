// Arbitrary bytes as a profile file: reads never overrun the caller's
// buffer, and a write keeps every line it does not touch.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/paths.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static std::string path = [] {
    // A memory file system where there is one: every write syncs.
    char shm[] = "/dev/shm/zeb-fuzz-profile-XXXXXX";
    char tmp[] = "/tmp/zeb-fuzz-profile-XXXXXX";
    const char* dir = mkdtemp(shm);
    if (!dir) dir = mkdtemp(tmp);
    return std::string(dir ? dir : "/tmp") + "/p.ini";
  }();
  std::string text(reinterpret_cast<const char*>(data), size);
  if (!platform::WriteFileAtomic(path, text)) return 0;
  // Section and key names come from the input too.
  std::string section = size > 2 ? text.substr(1, data[0] % 8) : "A";
  std::string key = size > 12 ? text.substr(10, data[1] % 8) : "k";
  if (section.find('\0') != std::string::npos || key.find('\0') != std::string::npos) return 0;
  char small[5];
  DWORD n = GetPrivateProfileString(section.c_str(), key.c_str(), "dflt", small, sizeof small,
                                    path.c_str());
  if (n >= sizeof small || small[n] != '\0') abort();
  GetPrivateProfileInt(section.c_str(), key.c_str(), 1, path.c_str());
  const bool wrote = WritePrivateProfileString(section.c_str(), key.c_str(), "v", path.c_str());
  char back[8];
  GetPrivateProfileString(section.c_str(), key.c_str(), "", back, sizeof back, path.c_str());
  // Names a profile line can hold are written and read back, whatever else
  // the file holds.
  auto plain = [](const std::string& name, const char* special) {
    return !name.empty() && name.find_first_of(special) == std::string::npos &&
           name.front() != ' ' && name.front() != '\t' && name.back() != ' ' && name.back() != '\t';
  };
  if (plain(section, "[]\r\n") && plain(key, "=[;\r\n") && (!wrote || std::string(back) != "v"))
    abort();
  return 0;
}
