#include "trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vospel {

namespace {
std::atomic<TraceSink> g_sink{nullptr};
}

TraceSink SetTraceSink(TraceSink sink) { return g_sink.exchange(sink); }

void Trace(const char* format, ...) {
  char line[1024];
  static const char kPrefix[] = "CFG:  ";
  const size_t prefix = sizeof kPrefix - 1;
  std::memcpy(line, kPrefix, prefix);
  // Room for the message, "\r\n" and the zero.
  const size_t room = sizeof line - prefix - 3;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line + prefix, room + 1, format, args);
  va_end(args);
  size_t length = n < 0 ? 0 : static_cast<size_t>(n) > room ? room : static_cast<size_t>(n);
  std::memcpy(line + prefix + length, "\r\n", 3);
  TraceSink sink = g_sink.load();
  if (sink != nullptr) {
    sink(line);
  } else {
    std::fputs(line, stderr);
  }
}

}  // namespace vospel
