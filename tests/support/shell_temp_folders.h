// A fresh program folder, application-data folder and configuration
// folder (where the registry stand-in lives) for one test of the shell,
// pointed to by the platform's overrides and removed afterwards.
#pragma once
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace shell_test {

class TempFolders {
 public:
  TempFolders() {
    for (const char* sub : {"/prog", "/appdata", "/config"})
      std::filesystem::create_directories(root_.Path() + sub);
    platform::SetProgramDirOverride(ProgramDir());
    platform::SetAppDataDirOverride(AppDataDir());
    platform::SetConfigDirOverride(ConfigDir());
  }
  ~TempFolders() {
    platform::SetProgramDirOverride("");
    platform::SetAppDataDirOverride("");
    platform::SetConfigDirOverride("");
  }
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  std::string ProgramDir() const { return root_.Path() + "/prog/"; }
  std::string AppDataDir() const { return root_.Path() + "/appdata/"; }
  std::string ConfigDir() const { return root_.Path() + "/config/"; }

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
  test_support::TempFolder root_{"zebshell"};
};

}  // namespace shell_test
