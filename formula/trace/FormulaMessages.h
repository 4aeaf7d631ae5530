// Window messages of the formula library.
#pragma once
#include "platform/types.h"

// A compiler message for the formula editor: wParam is the address of the
// upper-cased GBK text (ending in "\r\n"), lParam 0. Sent, never posted.
constexpr UINT WM_FORMULA_TRACE = 0x8100;
