// The codes a user types into the keyboard-input box to run a command:
// "1".."9" open market lists, "01".."10" are the function keys F1..F10,
// "71".."76" the chart periods. Decided by the text's length and its
// number alone.
#pragma once
#include "platform/types.h"

struct STypedCommand {
  enum Kind { kNone, kCommand, kKey } kind = kNone;
  UINT value = 0;  // a command id, or a virtual key
};

STypedCommand ParseTypedCommand(const char* text);
