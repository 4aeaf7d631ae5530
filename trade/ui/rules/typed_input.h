// Values the user types travel as plain tag=value fields: a delimiter
// (SOH) or any other control byte in one would split or forge fields on the
// wire. Panels check what was typed before they build anything and tell
// the user instead of sending.
#pragma once
#include <initializer_list>
#include <string>

// The box shown for a refused value.
const char* IllegalInputText();

// True when every value may be sent; otherwise shows the box once and
// returns false.
bool CheckTypedValues(std::initializer_list<const std::string*> values);
