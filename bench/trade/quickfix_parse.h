// QuickFIX's message parser behind a plain function, so that only one file
// sees its (pre-C++17) headers.
#pragma once
#include <string>

// Parses a FIX message with length and checksum validation; false when it
// is refused. *orderId receives field 37.
bool QuickFixParse(const std::string& message, std::string* orderId);
