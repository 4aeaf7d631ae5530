// The program folder and the user's application-data folder. Both end in
// "/" and both can be overridden (tests point them at temporary folders).
#pragma once
#include <cstddef>
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

// Who may read a file the program creates: kShared honours the umask (as
// any program's files do), kPrivate is the owner's alone (0600), for a file
// that holds a password or a key. A file that exists keeps its own mode
// either way: the user may have opened or closed it on purpose.
enum class FileAccess { kShared, kPrivate };

// A file replaced whole or not at all. The new content goes into a
// temporary file of its own in the same folder, created exclusively (a link
// planted under its name is never written through) with the old file's
// permissions, or those access gives a new file; Commit syncs it and
// renames it over the file, or over the file a link names (the link
// stays). Dropped without a successful Commit, the temporary file is
// removed and the file is left as it was. Every failure returns false with
// errno telling why.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool Open(const std::string& path, FileAccess access = FileAccess::kShared);
  bool Write(const std::string& data);
  bool Commit();

 private:
  std::string target_, temp_;
  int fd_ = -1;
};

// AtomicFile in one call: a crash or a failure never leaves a truncated
// file. False on any failure (the old file is then untouched).
bool WriteFileAtomic(const std::string& path, const std::string& data,
                     FileAccess access = FileAccess::kShared);

// What reading a whole file found.
enum class FileRead {
  kRead,        // read whole
  kMissing,     // nothing stands at the path, not even a link
  kUnreadable,  // it exists but could not be read whole (permissions, I/O
                // error, a folder or device): never write over it
  kTooLarge,    // above kMaxReadFileSize: refused unread, with a trace line
};
// The program's settings, scheme, profile and store files are small; a file
// larger than this is damaged or hostile, and reading it would cost seconds
// and gigabytes.
inline constexpr size_t kMaxReadFileSize = size_t{16} << 20;
// Reads a whole regular file of at most kMaxReadFileSize bytes; out is empty
// unless kRead.
FileRead ReadWholeFile(const std::string& path, std::string& out);
// ReadWholeFile that only tells whether the file was read.
bool ReadFile(const std::string& path, std::string& out);

}  // namespace platform
