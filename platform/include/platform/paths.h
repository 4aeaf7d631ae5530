// The program folder and the user's application-data folder. Both end in
// "/" and both can be overridden (tests point them at temporary folders).
#pragma once
#include <string>

namespace platform {

// Folder of the running executable, or the override.
std::string GetProgramDir();
void SetProgramDirOverride(const std::string& dir);  // "" removes the override
bool HasProgramDirOverride();

// $ZEB_APPDATA, else $XDG_DATA_HOME/zeb, else ~/.local/share/zeb; or the override.
std::string GetAppDataDir();
void SetAppDataDirOverride(const std::string& dir);

// $XDG_CONFIG_HOME/zeb or ~/.config/zeb (the registry stand-in lives there); or the override.
std::string GetConfigDir();
void SetConfigDirOverride(const std::string& dir);

// Full path of the running executable; "" when it cannot be read.
std::string GetExecutablePath();

// Folder (ending in "/") of the shared library or program that holds the
// given code address, so a library finds the files installed beside it;
// the program folder when it cannot be told or when that is overridden.
std::string GetModuleDir(const void* addressInModule);

// Turns the system's "\" separators into "/".
std::string ToNativePath(std::string path);

// Creates the folder and its parents; true when it exists afterwards.
bool MakeDirs(const std::string& dir);
bool FileExists(const std::string& path);

// Writes data to path through a temporary file in the same folder and a
// rename, so a crash never leaves a truncated file. False on any failure
// (the old file is then untouched).
bool WriteFileAtomic(const std::string& path, const std::string& data);
// Reads a whole file; false when it cannot be opened.
bool ReadFile(const std::string& path, std::string& out);

}  // namespace platform
