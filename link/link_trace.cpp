#include "link/link_trace.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#include "sharecode/mythread.h"

namespace quotelink {

void TraceLine(const char* file, int line, const char* format, ...) {
  char message[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(message, sizeof message, format, args);
  va_end(args);
  WriteTraceLine(file, line, 0, "%s\n", message);
}

void SetTraceSink(std::function<void(const std::string&)> sink) {
  CMyThread::SetTraceSink(std::move(sink));
}

}  // namespace quotelink
