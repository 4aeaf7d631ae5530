#include "zeb/core/app/crash_handler.h"

#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// UTF-8: standard error is read on a terminal or in a log.
constexpr char kHead[] =
    "\xe7\x94\xb1\xe4\xba\x8e\xe8\xaf\xbb\xe5\x8f\x96\xe6\x97\xa0\xe6\x95\x88"
    "\xe7\x9a\x84\xe5\x86\x85\xe5\xad\x98\xe7\xbc\x93\xe5\x86\xb2\xe5\x8c\xba:0x";
constexpr char kTail[] =
    ",\xe7\xa8\x8b\xe5\xba\x8f\xe5\x8d\xb3\xe5\xb0\x86\xe9\x80\x80\xe5\x87\xba\n";

void OnFault(int signal, siginfo_t* info, void*) {
  char message[160];
  const size_t length = FormatCrashMessage(info ? info->si_addr : nullptr, message, sizeof message);
  ssize_t ignored = write(STDERR_FILENO, message, length);
  (void)ignored;
  // The default action ends the process once the handler returns and the
  // fault happens again; raise it now for faults that do not repeat.
  struct sigaction restore {};
  restore.sa_handler = SIG_DFL;
  sigemptyset(&restore.sa_mask);
  sigaction(signal, &restore, nullptr);
  raise(signal);
}

}  // namespace

size_t FormatCrashMessage(const void* address, char* buffer, size_t size) {
  if (size == 0) return 0;
  char hex[2 * sizeof(uintptr_t) + 1];
  size_t digits = 0;
  uintptr_t value = reinterpret_cast<uintptr_t>(address);
  do {
    hex[digits++] = "0123456789abcdef"[value & 0xF];
    value >>= 4;
  } while (value != 0);
  size_t at = 0;
  auto put = [&](char c) {
    if (at + 1 < size) buffer[at++] = c;
  };
  for (const char* p = kHead; *p; ++p) put(*p);
  while (digits > 0) put(hex[--digits]);
  for (const char* p = kTail; *p; ++p) put(*p);
  buffer[at] = '\0';
  return at;
}

void InstallCrashHandler() {
  static char alternateStack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = alternateStack;
  stack.ss_size = sizeof alternateStack;
  sigaltstack(&stack, nullptr);
  struct sigaction action {};
  action.sa_sigaction = OnFault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, nullptr);
  sigaction(SIGBUS, &action, nullptr);
}
