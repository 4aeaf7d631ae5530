// A fresh program folder, application-data folder and configuration
// folder (where the registry stand-in lives) for one test of the shell,
// pointed to by the platform's overrides and removed afterwards.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"

namespace shell_test {

class TempFolders {
 public:
  TempFolders() {
    char tmpl[] = "/tmp/zebshell_XXXXXX";
    root_ = mkdtemp(tmpl);
    for (const char* sub : {"/prog", "/appdata", "/config"}) std::filesystem::create_directories(root_ + sub);
    platform::SetProgramDirOverride(ProgramDir());
    platform::SetAppDataDirOverride(AppDataDir());
    platform::SetConfigDirOverride(ConfigDir());
  }
  ~TempFolders() {
    platform::SetProgramDirOverride("");
    platform::SetAppDataDirOverride("");
    platform::SetConfigDirOverride("");
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  std::string ProgramDir() const { return root_ + "/prog/"; }
  std::string AppDataDir() const { return root_ + "/appdata/"; }
  std::string ConfigDir() const { return root_ + "/config/"; }

  // Files of the program folder by name.
  std::string Path(const std::string& name) const { return ProgramDir() + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(Path(name)).parent_path());
    std::ofstream(Path(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(Path(name)); }

 private:
  std::string root_;
};

}  // namespace shell_test
