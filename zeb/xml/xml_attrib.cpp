#include "xml_attrib.h"

#include <algorithm>

#include "xml_tokenizer.h"

namespace {

bool SameName(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (ignoreCase) {
      if (x >= 'a' && x <= 'z') x = (char)(x - 32);
      if (y >= 'a' && y <= 'z') y = (char)(y - 32);
    }
    if (x != y) return false;
  }
  return true;
}

// Where the tag's closing ">", "/>" or "?>" begins.
int64_t ClosingStart(std::string_view t) {
  int64_t end = (int64_t)t.size();
  if (end > 0 && t[(size_t)(end - 1)] == '>') --end;
  if (end > 1 && (t[(size_t)(end - 1)] == '/' || t[(size_t)(end - 1)] == '?')) --end;
  return end;
}

struct SToken {
  int64_t start = 0, end = 0;  // as written
  bool quoted = false;
};

// Reads one token at i: a quoted string, or a run up to white space or one
// of "/=>?" (after "=", up to white space or ">"). False when none.
bool ReadToken(std::string_view t, int64_t& i, bool afterEquals, SToken& token) {
  const int64_t n = (int64_t)t.size();
  if (i >= n) return false;
  unsigned char c = (unsigned char)t[(size_t)i];
  token.start = i;
  if (c == '"' || c == '\'') {
    int64_t j = i + 1;
    while (j < n && (unsigned char)t[(size_t)j] != c) {
      unsigned char b = (unsigned char)t[(size_t)j];
      j += (b >= 0x81 && b <= 0xFE && j + 1 < n) ? 2 : 1;
    }
    token.quoted = true;
    // A quote that opens no value is a plain character to the scanner, so
    // it may have no partner inside the tag: the token then stops before
    // the tag's closing ">" ("/>", "?>"), never after the end of the tag.
    token.end = j < n ? j + 1 : std::max(ClosingStart(t), i + 1);
    i = token.end;
    return true;
  }
  int64_t j = i;
  while (j < n) {
    unsigned char b = (unsigned char)t[(size_t)j];
    if (XmlIsSpace(b) || b == '>') break;
    if (!afterEquals && (b == '/' || b == '=' || b == '?')) break;
    j += (b >= 0x81 && b <= 0xFE && j + 1 < n) ? 2 : 1;
  }
  if (j > n) j = n;
  if (j == i) return false;
  token.end = j;
  i = j;
  return true;
}

}  // namespace

SXmlAttribMatch FindXmlAttrib(std::string_view tag, std::string_view name, bool ignoreCase) {
  SXmlAttribMatch result;
  const int64_t n = (int64_t)tag.size();
  int64_t i = 1;
  if (i < n && tag[1] == '?') ++i;  // a processing instruction's name follows "<?"
  SToken token;
  if (!ReadToken(tag, i, false, token)) return result;  // the tag name
  result.listEnd = i;
  while (i < n) {
    while (i < n && XmlIsSpace((unsigned char)tag[(size_t)i])) ++i;
    if (i >= n) break;
    char c = tag[(size_t)i];
    if (c == '>' || c == '/' || c == '?') break;
    SToken attr;
    if (!ReadToken(tag, i, false, attr)) {
      ++i;  // a stray "=": step over it
      continue;
    }
    result.listEnd = i;
    std::string_view attrName = tag.substr((size_t)attr.start, (size_t)(attr.end - attr.start));
    int64_t j = i;
    while (j < n && XmlIsSpace((unsigned char)tag[(size_t)j])) ++j;
    SToken value = attr;
    bool hasValue = false;
    if (j < n && tag[(size_t)j] == '=') {
      ++j;
      while (j < n && XmlIsSpace((unsigned char)tag[(size_t)j])) ++j;
      if (ReadToken(tag, j, true, value)) {
        hasValue = true;
        i = j;
        result.listEnd = i;
      } else {
        value = SToken{j, j, false};
        hasValue = true;
        i = j;
      }
    }
    if (SameName(attrName, name, ignoreCase)) {
      result.found = true;
      result.hasValue = hasValue;
      result.tokenStart = value.start;
      result.tokenEnd = value.end;
      result.valueStart = value.start + (value.quoted ? 1 : 0);
      result.valueEnd = value.end;
      if (value.quoted && value.end - value.start >= 2 &&
          tag[(size_t)(value.end - 1)] == tag[(size_t)value.start]) {
        result.valueEnd = value.end - 1;
      }
      if (result.valueEnd < result.valueStart) result.valueEnd = result.valueStart;
      return result;
    }
  }
  return result;
}
