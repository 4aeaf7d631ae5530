// The channel through which compiler messages reach the formula editor: one
// line per call, sent to the window the editor registered.
#pragma once
#include <functional>
#include "platform/types.h"

namespace formula {

// The formula editor registers its window when it is created and clears it
// (nullptr) when it goes away. Without a window the lines go nowhere.
void SetTraceWindow(HWND editor);
HWND GetTraceWindow();

// Formats one line (at most 1,021 characters, cut on a character boundary),
// appends "\r\n", upper-cases the ASCII letters and sends WM_FORMULA_TRACE.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Builds the line exactly as Trace sends it (for callers and tests that need
// the text without a window). Returns the length.
int FormatTraceLine(char (&buffer)[1024], const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

}  // namespace formula
