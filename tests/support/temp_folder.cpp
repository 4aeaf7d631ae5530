// Temporary folders of the tests; see temp_folder.h.
#include "support/temp_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace test_support {

TempFolder::TempFolder(const std::string& prefix) {
  const std::string pattern =
      (std::filesystem::temp_directory_path() / (prefix + "_XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // A test without its folder would write elsewhere: fail it here.
  if (!mkdtemp(name.data())) throw std::runtime_error("cannot make a temporary folder " + pattern);
  path_ = name.data();
}

TempFolder::~TempFolder() {
  namespace fs = std::filesystem;
  std::error_code ec;
  // Entries a test made unreadable or unwritable must not keep the folder.
  for (auto it = fs::recursive_directory_iterator(
           path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace test_support
