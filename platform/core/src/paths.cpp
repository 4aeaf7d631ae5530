#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <mutex>

namespace platform {
namespace {

std::mutex g_mutex;
std::string g_programDir, g_appDataDir, g_configDir;

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

std::string HomeBased(const char* xdgVar, const char* fallback) {
  const char* xdg = std::getenv(xdgVar);
  if (xdg && *xdg) return WithSlash(xdg) + "zeb/";
  const char* home = std::getenv("HOME");
  return WithSlash(home && *home ? home : "/tmp") + fallback;
}

}  // namespace

std::string GetExecutablePath() {
  char buf[PATH_MAX + 1];
  ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
  if (n <= 0) return "";
  return std::string(buf, (size_t)n);
}

std::string GetProgramDir() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_programDir.empty()) return g_programDir;
  }
  std::string exe = GetExecutablePath();
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

bool HasProgramDirOverride() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return !g_programDir.empty();
}

void SetProgramDirOverride(const std::string& dir) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_programDir = dir.empty() ? dir : WithSlash(dir);
}

std::string GetAppDataDir() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_appDataDir.empty()) return g_appDataDir;
  }
  const char* own = std::getenv("ZEB_APPDATA");
  if (own && *own) return WithSlash(own);
  return HomeBased("XDG_DATA_HOME", ".local/share/zeb/");
}

void SetAppDataDirOverride(const std::string& dir) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_appDataDir = dir.empty() ? dir : WithSlash(dir);
}

std::string GetConfigDir() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_configDir.empty()) return g_configDir;
  }
  return HomeBased("XDG_CONFIG_HOME", ".config/zeb/");
}

void SetConfigDirOverride(const std::string& dir) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_configDir = dir.empty() ? dir : WithSlash(dir);
}

std::string ToNativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

bool MakeDirs(const std::string& dir) {
  if (dir.empty()) return false;
  std::string partial;
  for (size_t i = 0; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      if (!partial.empty()) mkdir(partial.c_str(), 0755);
    }
    if (i < dir.size()) partial += dir[i];
  }
  struct stat st;
  return stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

}  // namespace platform
