#include "zeb/xml/xml_escape.h"

#include <iconv.h>

#include <cstring>

namespace {

int64_t CharLen(std::string_view text, size_t i) {
  unsigned char c = (unsigned char)text[i];
  return (c >= 0x81 && c <= 0xFE && i + 1 < text.size()) ? 2 : 1;
}

bool IsRefStart(unsigned char c) {
  return c == '#' || c == ':' || (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') ||
         c > 0x7F;
}
bool IsRefChar(unsigned char c) {
  return c == '-' || c == '.' || (c >= '0' && c <= '9') || c == ':' || (c >= 'A' && c <= 'Z') ||
         c == '_' || (c >= 'a' && c <= 'z') || c > 0x7F;
}

// Length of the reference starting at text[i] ("&" ... ";"), 0 when none.
size_t ReferenceLength(std::string_view text, size_t i) {
  size_t j = i + 1;
  if (j >= text.size() || !IsRefStart((unsigned char)text[j])) return 0;
  for (++j; j < text.size() && IsRefChar((unsigned char)text[j]); ++j) {
  }
  return (j < text.size() && text[j] == ';') ? j - i + 1 : 0;
}

// One converter per thread from UTF-32 code points to GBK.
class CCodePointToGbk {
 public:
  CCodePointToGbk() : m_cd(iconv_open("CP936", "UTF-32LE")) {}
  ~CCodePointToGbk() {
    if (m_cd != (iconv_t)-1) iconv_close(m_cd);
  }
  // GBK bytes of the code point; false when GBK has no form for it.
  bool Convert(uint32_t code, std::string& out) {
    if (m_cd == (iconv_t)-1 || code == 0 || code > 0x10FFFF) return false;
    unsigned char in[4] = {(unsigned char)code, (unsigned char)(code >> 8),
                           (unsigned char)(code >> 16), 0};
    char buf[8];
    char* src = (char*)in;
    size_t srcLeft = 4;
    char* dst = buf;
    size_t dstLeft = 5;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
    if (rc != 0 || srcLeft != 0 || dst == buf) return false;  // no form, or approximated
    out.assign(buf, (size_t)(dst - buf));
    return true;
  }

 private:
  iconv_t m_cd;
};

bool ParseNumber(std::string_view digits, int base, uint32_t& code) {
  if (digits.empty()) return false;
  uint64_t value = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    value = value * (uint64_t)base + (uint64_t)d;
    if (value > 0x10FFFF) return false;
  }
  code = (uint32_t)value;
  return true;
}

}  // namespace

std::string EscapeText(std::string_view text, int flags) {
  const bool attribute = (flags & 0x100) != 0;
  const bool keepRefs = (flags & 0x8) != 0;
  std::string out;
  out.reserve(text.size() + text.size() / 10 + 7);
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    switch (c) {
      case '<':
        out += "&lt;";
        ++i;
        continue;
      case '>':
        out += "&gt;";
        ++i;
        continue;
      case '&':
        if (keepRefs) {
          if (size_t n = ReferenceLength(text, i)) {
            out.append(text.substr(i, n));
            i += n;
            continue;
          }
        }
        out += "&amp;";
        ++i;
        continue;
      case '"':
        if (attribute) {
          out += "&quot;";
          ++i;
          continue;
        }
        break;
      case '\'':
        if (attribute) {
          out += "&apos;";
          ++i;
          continue;
        }
        break;
      default: break;
    }
    size_t n = (size_t)CharLen(text, i);
    out.append(text.substr(i, n));
    i += n;
  }
  return out;
}

std::string UnescapeText(std::string_view text) {
  thread_local CCodePointToGbk converter;
  std::string out;
  out.reserve(text.size());
  std::string bytes;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '&') {
      size_t amp = text.find('&', i);
      if (amp == std::string_view::npos) amp = text.size();
      // Copy whole characters: a lead byte just before "&" takes it along.
      size_t j = i;
      while (j < amp) j += (size_t)CharLen(text, j);
      out.append(text.substr(i, j - i));
      i = j;
      continue;
    }
    // Up to nine bytes of name, stopping at ";" or a byte above 0x7F.
    size_t j = i + 1;
    while (j < text.size() && j - i - 1 < 9 && text[j] != ';' && (unsigned char)text[j] <= 0x7F)
      ++j;
    bool converted = false;
    if (j < text.size() && text[j] == ';' && j > i + 1) {
      std::string_view name = text.substr(i + 1, j - i - 1);
      uint32_t code = 0;
      bool known;
      if (name[0] == '#') {
        if (name.size() > 1 && (name[1] == 'x' || name[1] == 'X')) {
          known = ParseNumber(name.substr(2), 16, code);
        } else {
          known = ParseNumber(name.substr(1), 10, code);
        }
      } else {
        code = (uint32_t)LookupEntityName(name);
        known = code != 0;
      }
      if (known && converter.Convert(code, bytes)) {
        out += bytes;
        i = j + 1;
        converted = true;
      }
    }
    if (!converted) {
      out += '&';
      ++i;
    }
  }
  return out;
}

std::string EncodeCData(std::string_view text) {
  std::string out = "<![CDATA[";
  size_t pos = 0;
  while (true) {
    size_t hit = text.find("]]>", pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out += "]]]]><![CDATA[>";
    pos = hit + 3;
  }
  out.append(text.substr(pos));
  out += "]]>";
  return out;
}
