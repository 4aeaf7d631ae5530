#include "platform/dynlib.h"

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

extern char** environ;

namespace platform {

LibHandle LoadLibraryPath(const std::string& path, std::string* error) {
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib && error) {
    const char* e = dlerror();
    *error = e ? e : "cannot load library";
  }
  return lib;
}

void* GetProcAddress(LibHandle lib, const char* name) {
  return lib && name ? dlsym(lib, name) : nullptr;
}

void FreeLibrary(LibHandle lib) {
  if (lib) dlclose(lib);
}

std::string LibraryFileName(const std::string& name) { return "lib" + name + ".so"; }

long StartProcess(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return -1;
  // Nobody waits for a started program, as with CreateProcess: collect its
  // exit so it leaves no zombie behind.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return (long)pid;
}

}  // namespace platform
