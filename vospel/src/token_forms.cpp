// The token rules of config_lexer.l, read in the other direction: given a
// text, would the lexer give it back as exactly one token?
#include "token_forms.h"

#include <strings.h>

#include <cstring>
#include <string_view>

namespace vospel {

namespace {

bool IsNameChar(char c) { return c != '\0' && std::strchr(" \t\v\f\r\n,;=[]{}<>", c) == nullptr; }

bool AllNameChars(std::string_view text) {
  for (char c : text)
    if (!IsNameChar(c)) return false;
  return true;
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// A name token: name characters, with at most one bracket group that a name
// character directly precedes or follows. The writer always puts a
// separator after it, so the lexer's longest match ends where the text does.
bool IsNameToken(std::string_view text) {
  const size_t open = text.find('['), close = text.find(']');
  if (open == std::string_view::npos && close == std::string_view::npos)
    return !text.empty() && AllNameChars(text);
  if (open == std::string_view::npos || close == std::string_view::npos || close < open)
    return false;
  const std::string_view before = text.substr(0, open),
                         inside = text.substr(open + 1, close - open - 1),
                         after = text.substr(close + 1);
  return AllNameChars(before) && AllNameChars(inside) && AllNameChars(after) &&
         !(before.empty() && after.empty());
}

// A quoted text: a quote, at least one character that is no name character
// and no quote of that kind, up to the same quote, which ends the text.
bool IsQuotedToken(std::string_view text) {
  if (text.size() < 3 || !IsQuote(text[0]) || text.back() != text[0]) return false;
  const std::string_view inside = text.substr(1, text.size() - 2);
  return inside.find(text[0]) == std::string_view::npos && !AllNameChars(inside);
}

// A quote that no later quote of its kind closes lets the lexer's quoted-text
// rule run past the name's end.
bool HasLoneLeadingQuote(std::string_view text) {
  return !text.empty() && IsQuote(text[0]) && text.find(text[0], 1) == std::string_view::npos;
}

bool IsBlockWord(std::string_view text) {
  return text.size() == 6 && strncasecmp(text.data(), "domain", 6) == 0;
}

// A key begins its written line, where these begin a comment.
bool BeginsComment(std::string_view text) {
  return text.substr(0, 1) == "#" || text.substr(0, 2) == "//";
}

bool ReadsBackAs(std::string_view text, TokenPlace place) {
  if (IsNameToken(text) && !HasLoneLeadingQuote(text) && !IsBlockWord(text))
    return place != TokenPlace::kKey || !BeginsComment(text);
  return place == TokenPlace::kValue && IsQuotedToken(text);
}

}  // namespace

std::string WritableToken(const std::string& text, TokenPlace place) {
  if (ReadsBackAs(text, place)) return text;
  if (HasLoneLeadingQuote(text) && ReadsBackAs(text + text[0], place)) return text + text[0];
  for (char quote : {'"', '\''}) {
    std::string quoted = quote + text + quote;
    if (ReadsBackAs(quoted, place)) return quoted;
  }
  return text;
}

std::string WritableRawLine(const std::string& line) {
  const size_t end = line.find_first_of("\r\n");
  const std::string_view name = std::string_view(line).substr(0, end);
  if (!HasLoneLeadingQuote(name)) return line;
  std::string closed = line;
  closed.insert(name.size(), 1, name[0]);
  return closed;
}

}  // namespace vospel
