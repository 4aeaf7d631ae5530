// Building web addresses from values the trade server or the user gave:
// values are percent-encoded so they cannot add path segments or query
// fields of their own, and only web addresses are ever handed on.
#pragma once
#include <string>

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX (upper-case hex); GBK
// bytes are encoded as they are.
std::string PercentEncode(const std::string& bytes);

// True when the address starts with http:// or https:// (scheme in any
// case) and holds no blank or control byte.
bool IsWebAddress(const std::string& url);
