// The tests' temporary folders: each is fresh and empty, made under the
// system's temporary folder with a name no other test (or parallel run)
// shares, and removed with everything in it, also entries a test made
// read-only, when the object goes. One implementation for every suite.
#pragma once
#include <string>

namespace test_support {

class TempFolder {
 public:
  // prefix names the folder for whoever finds one left by a crash.
  explicit TempFolder(const std::string& prefix = "zeb_test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, without a trailing separator.
  const std::string& Path() const { return path_; }
  // A file or folder inside it by name.
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A whole file's bytes, written (replaced) or read; "" for a file not read.
void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);

}  // namespace test_support
