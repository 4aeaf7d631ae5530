// Trace lines of the link library, in the shared trace-line form:
// "<local time, file, line>0: message".
#pragma once
#include <functional>
#include <string>

namespace quotelink {
void TraceLine(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
// Where the library's trace lines go (standard error unless replaced; an
// empty function restores it). The library keeps its own trace sink: the
// process's is not the library's.
void SetTraceSink(std::function<void(const std::string&)> sink);
}  // namespace quotelink

#define LINK_TRACE(...) ::quotelink::TraceLine(__FILE__, __LINE__, __VA_ARGS__)
