// Finding an ASCII character in GBK text. '@' (0x40) and '~' (0x7E) are
// also second bytes of two-byte characters, so a plain byte search could
// cut a character in two; these searches step over whole characters.
#pragma once
#include <string>

// Position of the first c at or after minPos that starts a character;
// std::string::npos when none.
size_t GbkFindChar(const std::string& text, char c, size_t minPos = 0);
