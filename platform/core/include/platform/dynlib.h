// Dynamic libraries and processes (addresses open through desktop.h).
#pragma once
#include <string>
#include <type_traits>
#include <vector>

// A library's entry point, as a Win32 library has one: a library that
// defines extern "C" DllMain hears DLL_PROCESS_ATTACH when it is loaded and
// may refuse the load by answering FALSE. (The entry point hears no
// detach: a library's exit runs with its static objects.)
constexpr unsigned long DLL_PROCESS_DETACH = 0, DLL_PROCESS_ATTACH = 1;
extern "C" {
using PFN_DllMain = int (*)(void* module, unsigned long reason, void* reserved);
}

namespace platform {

using LibHandle = void*;
// Loads a shared library by path and runs its entry point; nullptr on
// failure (reason in *error), also when the entry point refused the load.
LibHandle LoadLibraryPath(const std::string& path, std::string* error = nullptr);
void* GetProcAddress(LibHandle lib, const char* name);
void FreeLibrary(LibHandle lib);
// Platform file name of a library named as the system names it: "Trade"
// gives "libTrade.so".
std::string LibraryFileName(const std::string& name);

// One named entry point of a library and the function-pointer slot it fills.
template <class Fn>
struct LibEntry {
  const char* name;
  Fn* slot;
};
// Spelled out for compilers without class template argument deduction for
// aggregates (clang before 17).
template <class Fn>
LibEntry(const char*, Fn*) -> LibEntry<Fn>;

// Fills every slot with its entry of lib (null when lib lacks it, or when
// lib is null). True when lib has them all; else *missing (when given) is
// the first name it lacks. The loaders bind through this one place:
//   BindEntries(lib, &missing, LibEntry{"SockInit", &SockInit}, ...);
template <class... Fn>
bool BindEntries(LibHandle lib, std::string* missing, LibEntry<Fn>... entries) {
  bool all = true;
  auto bind = [&](auto entry) {
    using Slot = std::remove_pointer_t<decltype(entry.slot)>;
    *entry.slot = lib ? reinterpret_cast<Slot>(GetProcAddress(lib, entry.name)) : nullptr;
    if (!*entry.slot && all) {
      all = false;
      if (missing) *missing = entry.name;
    }
  };
  (bind(entries), ...);
  return all;
}

// Starts a program with an argument vector (never through a shell);
// returns the process id or -1. newProcessGroup puts it into a process
// group of its own (Win32's CREATE_NEW_PROCESS_GROUP), so it outlives a
// Ctrl-C or hang-up aimed at the program that started it.
long StartProcess(const std::string& program, const std::vector<std::string>& args,
                  bool newProcessGroup = false);

}  // namespace platform
