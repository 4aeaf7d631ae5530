// The library's diagnostics: "CFG:  " + message + "\r\n", built in a
// 1,024-byte line, handed to a replaceable sink (standard error by default,
// standing in for the debugger output).
#pragma once

namespace vospel {

using TraceSink = void (*)(const char* line);
// Installs a sink (nullptr: standard error) and returns the previous one.
TraceSink SetTraceSink(TraceSink sink);
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vospel
