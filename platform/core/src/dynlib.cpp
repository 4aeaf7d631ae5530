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
  if (!lib) {
    if (error) {
      const char* e = dlerror();
      *error = e ? e : "cannot load library";
    }
    return nullptr;
  }
  // The library's own entry point only (not one of a library it uses).
  auto entry = reinterpret_cast<PFN_DllMain>(dlsym(lib, "DllMain"));
  Dl_info info{};
  if (entry && dladdr(reinterpret_cast<void*>(entry), &info) != 0 && info.dli_fname) {
    void* owner = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
    if (owner) dlclose(owner);
    if (owner != lib) entry = nullptr;
  }
  if (entry && !entry(lib, DLL_PROCESS_ATTACH, nullptr)) {
    dlclose(lib);
    if (error) *error = "the library refused to start";
    return nullptr;
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

long StartProcess(const std::string& program, const std::vector<std::string>& args,
                  bool newProcessGroup) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attr;
  if (posix_spawnattr_init(&attr) != 0) return -1;
  if (newProcessGroup) {
    // Its own group: a Ctrl-C meant for the starting program does not reach it.
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
  }
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (failed != 0) return -1;
  // Nobody waits for a started program, as with CreateProcess: collect its
  // exit so it leaves no zombie behind.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return (long)pid;
}

}  // namespace platform
