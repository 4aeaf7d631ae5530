#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
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

bool WriteFileAtomic(const std::string& pathGiven, const std::string& data) {
  // A link is followed, so the file it names is replaced, not the link.
  std::string path = pathGiven;
  char resolved[PATH_MAX];
  struct stat linkStat;
  if (lstat(pathGiven.c_str(), &linkStat) == 0 && S_ISLNK(linkStat.st_mode)) {
    if (!realpath(pathGiven.c_str(), resolved)) return false;
    path = resolved;
  }
  // The new file keeps the old one's permissions: a private settings file
  // holding a key password must not become readable by others.
  mode_t mode = 0644;
  struct stat old;
  if (stat(path.c_str(), &old) == 0) mode = old.st_mode & 07777;
  // A temporary name of its own per call: two threads saving the same file
  // must not write into one temporary file.
  static std::atomic<unsigned long> sequence{0};
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    tmp = path + ".tmp" + std::to_string(getpid()) + "." + std::to_string(++sequence);
    fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  if (fchmod(fd, mode) != 0) {
    close(fd);
    unlink(tmp.c_str());
    return false;
  }
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      unlink(tmp.c_str());
      return false;
    }
    done += (size_t)n;
  }
  if (fsync(fd) != 0 || close(fd) != 0) {
    unlink(tmp.c_str());
    return false;
  }
  if (rename(tmp.c_str(), path.c_str()) != 0) {
    unlink(tmp.c_str());
    return false;
  }
  return true;
}

bool ReadFile(const std::string& path, std::string& out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  out.clear();
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace platform
