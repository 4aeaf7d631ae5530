#include <dlfcn.h>

#include "platform/paths.h"

namespace platform {

std::string GetModuleDir(const void* addressInModule) {
  // Libraries are installed in the program folder, so an overridden program
  // folder (tests) stands for theirs too.
  if (HasProgramDirOverride()) return GetProgramDir();
  Dl_info info{};
  if (addressInModule && dladdr(addressInModule, &info) != 0 && info.dli_fname) {
    std::string path = info.dli_fname;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos) return path.substr(0, slash + 1);
  }
  return GetProgramDir();
}

}  // namespace platform
