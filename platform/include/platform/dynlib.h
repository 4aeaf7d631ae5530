// Dynamic libraries and processes (addresses open through desktop.h).
#pragma once
#include <string>
#include <vector>

namespace platform {

using LibHandle = void*;
// Loads a shared library by path; nullptr on failure (reason in *error).
LibHandle LoadLibraryPath(const std::string& path, std::string* error = nullptr);
void* GetProcAddress(LibHandle lib, const char* name);
void FreeLibrary(LibHandle lib);
// Platform file name of a library named as the system names it: "Trade"
// gives "libTrade.so".
std::string LibraryFileName(const std::string& name);

// Starts a program with an argument vector (never through a shell);
// returns the process id or -1. newProcessGroup puts it into a process
// group of its own (Win32's CREATE_NEW_PROCESS_GROUP), so it outlives a
// Ctrl-C or hang-up aimed at the program that started it.
long StartProcess(const std::string& program, const std::vector<std::string>& args,
                  bool newProcessGroup = false);

}  // namespace platform
