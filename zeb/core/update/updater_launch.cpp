// Starting the update program (updater_launch.h).
#include "zeb/core/update/updater_launch.h"

#include <unistd.h>

#include <filesystem>

#include "platform/dynlib.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

std::vector<std::string> UpdaterArguments(const std::string& selfPath, long pid, int flag) {
  return {selfPath, std::to_string(pid), kUpdaterWord, flag ? "1" : "0"};
}

bool LaunchUpdater(int flag) {
  const std::string program = platform::GetProgramDir() + kUpdaterProgram;
  const auto args = UpdaterArguments(platform::GetExecutablePath(), (long)getpid(), flag);
  return platform::StartProcess(program, args, /*newProcessGroup=*/true) > 0;
}

bool InstallPendingUpdater(const std::string& programDir) {
  const fs::path source = programDir + kPendingUpdaterFolder + kUpdaterProgram;
  const fs::path target = programDir + kUpdaterProgram;
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return false;
  const fs::path partial = target.string() + ".new" + std::to_string(getpid());
  // copy_file keeps the permission bits, so the updater stays executable.
  if (!fs::copy_file(source, partial, fs::copy_options::overwrite_existing, ec)) {
    fs::remove(partial, ec);
    return false;
  }
  fs::rename(partial, target, ec);
  if (ec) {
    fs::remove(partial, ec);
    return false;
  }
  fs::remove(source, ec);
  return true;
}
