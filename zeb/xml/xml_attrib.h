// Attribute scanning over a start tag (or a processing instruction): the
// first token is the tag name; then names, "=" and values, quoted or not.
#pragma once
#include <cstdint>
#include <string_view>

struct SXmlAttribMatch {
  bool found = false;
  bool hasValue = false;   // written with "="
  int64_t tokenStart = 0;  // the value as written, quotes included
  int64_t tokenEnd = 0;
  int64_t valueStart = 0;  // the value without its quotes
  int64_t valueEnd = 0;
  int64_t listEnd = 0;  // after the last attribute token
};

// tag: the start tag from its "<"; offsets in the result are relative to it.
SXmlAttribMatch FindXmlAttrib(std::string_view tag, std::string_view name, bool ignoreCase);
