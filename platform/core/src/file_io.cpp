// Whole-file reading and replacing, the one way every stored file of the
// program is read and written: reads say why they failed, so a reader never
// mistakes an unreadable file for a missing one and writes over it; reads
// refuse files above the size cap; writes replace a file whole or not at all.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/paths.h"

namespace platform {

AtomicFile::~AtomicFile() {
  if (fd_ < 0 && temp_.empty()) return;
  const int saved = errno;  // the caller reports why it gave up, not the clean-up
  if (fd_ >= 0) close(fd_);
  if (!temp_.empty()) unlink(temp_.c_str());
  errno = saved;
}

bool AtomicFile::Open(const std::string& path, FileAccess access) {
  if (fd_ >= 0 || !temp_.empty()) {
    errno = EBUSY;
    return false;
  }
  // A link is followed, so the file it names is replaced, not the link.
  target_ = path;
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (!realpath(path.c_str(), resolved)) return false;
    target_ = resolved;
  }
  // The new file keeps the old one's permissions: a private settings file
  // holding a key password must not become readable by others. A file made
  // anew gets its mode at creation, where the umask applies (a private one
  // never passes through a wider mode).
  const bool exists = stat(target_.c_str(), &st) == 0;
  const mode_t existingMode = exists ? st.st_mode & 07777 : 0;
  const mode_t createMode = exists || access == FileAccess::kPrivate ? 0600 : 0666;
  // A temporary name of its own per call, created exclusively: two threads
  // saving one file never share it, and nothing planted under the name is
  // opened or written through.
  static std::atomic<unsigned long> sequence{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name =
        target_ + ".tmp" + std::to_string(getpid()) + "." + std::to_string(++sequence);
    fd_ = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, createMode);
    if (fd_ >= 0) {
      temp_ = std::move(name);
      break;
    }
    if (errno != EEXIST) return false;
  }
  if (fd_ < 0) return false;
  return !exists || fchmod(fd_, existingMode) == 0;
}

bool AtomicFile::Write(const std::string& data) {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  size_t done = 0;
  while (done < data.size()) {
    ssize_t n = write(fd_, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += (size_t)n;
  }
  return true;
}

bool AtomicFile::Commit() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  const bool synced = fsync(fd_) == 0;
  const int fd = fd_;
  fd_ = -1;
  if (close(fd) != 0 || !synced) return false;
  if (rename(temp_.c_str(), target_.c_str()) != 0) return false;
  temp_.clear();
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& data, FileAccess access) {
  AtomicFile file;
  return file.Open(path, access) && file.Write(data) && file.Commit();
}

FileRead ReadWholeFile(const std::string& path, std::string& out) {
  out.clear();
  // Not blocking on open: a pipe planted under a settings name must not
  // hang the program (it is refused below as no regular file).
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    struct stat st;
    const bool missing = errno == ENOENT && lstat(path.c_str(), &st) != 0 && errno == ENOENT;
    return missing ? FileRead::kMissing : FileRead::kUnreadable;
  }
  FileRead result = FileRead::kRead;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    result = FileRead::kUnreadable;
  } else if ((unsigned long long)st.st_size > kMaxReadFileSize) {
    result = FileRead::kTooLarge;
  } else {
    out.reserve((size_t)st.st_size);
    char buf[65536];
    for (;;) {
      ssize_t n = read(fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        result = FileRead::kUnreadable;
        break;
      }
      if (n == 0) break;
      // A file that grows while it is read (or reports no size, as files
      // of /proc do) is held to the same cap.
      if (out.size() + (size_t)n > kMaxReadFileSize) {
        result = FileRead::kTooLarge;
        break;
      }
      out.append(buf, (size_t)n);
    }
  }
  close(fd);
  if (result == FileRead::kTooLarge)
    std::fprintf(stderr,
                 "file refused: %s is larger than %zu bytes; it is neither read nor changed\n",
                 path.c_str(), kMaxReadFileSize);
  if (result != FileRead::kRead) out.clear();
  return result;
}

bool ReadFile(const std::string& path, std::string& out) {
  return ReadWholeFile(path, out) == FileRead::kRead;
}

}  // namespace platform
