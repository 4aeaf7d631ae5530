// Trace lines of the link library, in the shared trace-line form:
// "<local time, file, line>0: message".
#pragma once

namespace quotelink {
void TraceLine(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
}

#define LINK_TRACE(...) ::quotelink::TraceLine(__FILE__, __LINE__, __VA_ARGS__)
