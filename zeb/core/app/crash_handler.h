// The process-wide handler of invalid memory accesses: it writes
// "由于读取无效的内存缓冲区:0x<address>,程序即将退出" with the faulting address to
// standard error, using only async-signal-safe calls, and then lets the
// signal end the process as it would have without the handler (so the
// exit status and any core dump still tell what happened).
#pragma once
#include <cstddef>

// Installs the handler for SIGSEGV and SIGBUS (on its own signal stack, so a
// stack overflow is reported too).
void InstallCrashHandler();

// The message for an address, as the handler writes it, into buffer (NUL
// ended); returns its length. Async-signal-safe.
size_t FormatCrashMessage(const void* address, char* buffer, size_t size);
