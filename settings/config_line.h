// The key-line rule of "zeb.ini" and its inverse, kept apart from the file
// class so that saving can check that what it writes reads back the same.
#pragma once
#include <string>
#include <string_view>

namespace settings {

// Parses one line already trimmed of white space. False when it is no key
// line (too short, wrong first byte, no unescaped '=', unclosed quoted
// value).
bool ParseConfigKeyLine(std::string_view line, std::string& key, std::string& value);

// The key line that reads back as key and value: the quoted form
// "key"="value" when it does, else the bare-value form "key"=value (for
// values holding a quote or ending in a backslash). Sets exact to false
// when neither form reads back unchanged (the quoted form is returned).
std::string FormatConfigKeyLine(const std::string& key, const std::string& value, bool& exact);

}  // namespace settings
