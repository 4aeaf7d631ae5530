#include "link/link_trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace quotelink {

void TraceLine(const char* file, int line, const char* format, ...) {
  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  const char* base = std::strrchr(file, '/');
  base = base ? base + 1 : file;
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  std::fprintf(stderr, "<%s, %17s, %d>0: %s\n", stamp, base, line, message);
}

}  // namespace quotelink
