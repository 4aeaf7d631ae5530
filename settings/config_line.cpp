#include "settings/config_line.h"

#include "settings/text_trim.h"

namespace settings {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlankOrQuote(char c) { return IsBlank(c) || c == '"'; }

// First position >= from holding ch whose preceding byte is not a backslash.
size_t FindUnescaped(std::string_view text, char ch, size_t from) {
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == ch && text[i - 1] != '\\') return i;
  }
  return std::string_view::npos;
}

bool ReadsBackAs(const std::string& line, const std::string& key, const std::string& value) {
  std::string k, v;
  return ParseConfigKeyLine(TrimBlanks(line), k, v) && k == key && v == value;
}

}  // namespace

bool ParseConfigKeyLine(std::string_view line, std::string& key, std::string& value) {
  if (line.size() < 3) return false;
  char first = line[0];
  if (first != '"' && !IsDigit(first) && !IsAsciiLetter(first)) return false;
  size_t eq = FindUnescaped(line, '=', 1);
  if (eq == std::string_view::npos) return false;
  std::string_view k = TrimIf(line.substr(0, eq), IsBlankOrQuote);
  std::string_view rest = TrimBlanks(line.substr(eq + 1));
  std::string_view v;
  if (!rest.empty() && rest[0] == '"') {
    size_t close = FindUnescaped(rest, '"', 1);
    if (close == std::string_view::npos) return false;
    v = TrimIf(rest.substr(1, close - 1), IsBlankOrQuote);
  } else {
    v = rest;
  }
  key.assign(k);
  value.assign(v);
  return true;
}

std::string FormatConfigKeyLine(const std::string& key, const std::string& value, bool& exact) {
  std::string quoted = "\"" + key + "\"=\"" + value + "\"";
  exact = true;
  if (ReadsBackAs(quoted, key, value)) return quoted;
  std::string bare = "\"" + key + "\"=" + value;
  if (ReadsBackAs(bare, key, value)) return bare;
  exact = false;
  return quoted;
}

}  // namespace settings
