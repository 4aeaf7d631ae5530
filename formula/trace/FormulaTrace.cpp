#include "formula/trace/FormulaTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "formula/text/GbkText.h"
#include "formula/trace/FormulaMessages.h"
#include "platform/gbk.h"
#include "platform/window.h"

namespace formula {
namespace {

HWND g_traceWindow = nullptr;
constexpr size_t kMaxLineChars = 1021;  // leaves room for "\r\n" and the NUL

int FormatInto(char (&buffer)[1024], const char* format, va_list args) {
  std::memset(buffer, 0, sizeof buffer);
  // Format wide first so a long line is cut on a character boundary.
  char wide[4096];
  std::vsnprintf(wide, sizeof wide, format, args);
  size_t keep = platform::GbkCutLength(wide, kMaxLineChars);
  std::memcpy(buffer, wide, keep);
  std::memcpy(buffer + keep, "\r\n", 2);
  buffer[keep + 2] = '\0';
  FoldUpperAscii(buffer);
  return int(keep + 2);
}

}  // namespace

void SetTraceWindow(HWND editor) { g_traceWindow = editor; }
HWND GetTraceWindow() { return g_traceWindow; }

int FormatTraceLine(char (&buffer)[1024], const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = FormatInto(buffer, format, args);
  va_end(args);
  return n;
}

void Trace(const char* format, ...) {
  if (!g_traceWindow) return;  // nobody listens: skip the formatting work
  static char buffer[1024];
  va_list args;
  va_start(args, format);
  FormatInto(buffer, format, args);
  va_end(args);
  SendMessage(g_traceWindow, WM_FORMULA_TRACE, reinterpret_cast<WPARAM>(buffer), 0);
}

}  // namespace formula
