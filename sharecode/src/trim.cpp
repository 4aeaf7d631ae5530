#include <cstring>

#include "sharecode/text_utils.h"

char* TrimLeft(char* text, const char* set) {
  if (!text || !*text || !set) return text;
  size_t skip = std::strspn(text, set);
  if (skip) std::memmove(text, text + skip, std::strlen(text + skip) + 1);
  return text;
}

char* TrimRight(char* text, const char* set) {
  if (!text || !*text || !set) return text;
  size_t length = std::strlen(text);
  while (length > 0 && *set && std::strchr(set, text[length - 1])) --length;
  text[length] = 0;
  return text;
}

char* Trim(char* text, const char* set) { return TrimLeft(TrimRight(text, set), set); }
