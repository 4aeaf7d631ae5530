#include "formula/editor/ScriptScanner.h"

#include <algorithm>

namespace formula {

namespace {

bool IsAsciiLetter(unsigned c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(unsigned c) { return c >= '0' && c <= '9'; }
bool IsWordChar(unsigned c) { return IsAsciiLetter(c) || IsDigit(c) || c == '_'; }
bool IsLineEnd(unsigned c) { return c == '\r' || c == '\n'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; }

std::string Folded(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

// Only ASCII characters can open comments and strings: anything else could
// be part of a two-byte character.
char AsciiOrNone(char c) { return (static_cast<unsigned char>(c) < 0x80) ? c : '\0'; }

// Code units one plain character takes at p: a whole two-byte character in
// GBK text (lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE), else one unit.
size_t PlainStep(const unsigned char* t, size_t p, size_t n) {
  const unsigned c = t[p];
  if (c >= 0x81 && c <= 0xFE && p + 1 < n) {
    const unsigned d = t[p + 1];
    if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xFE)) return 2;
  }
  return 1;
}
size_t PlainStep(const char16_t*, size_t, size_t) { return 1; }

// The end of the longest decimal number from p: digits, an optional
// fraction, an optional exponent (taken only when digits follow it).
template <typename Unit>
size_t NumberEnd(const Unit* t, size_t p, size_t n) {
  while (p < n && IsDigit(t[p])) ++p;
  if (p < n && t[p] == '.') {
    ++p;
    while (p < n && IsDigit(t[p])) ++p;
  }
  if (p < n && (t[p] == 'e' || t[p] == 'E')) {
    size_t q = p + 1;
    if (q < n && (t[q] == '+' || t[q] == '-')) ++q;
    if (q < n && IsDigit(t[q])) {
      while (q < n && IsDigit(t[q])) ++q;
      p = q;
    }
  }
  return p;
}

}  // namespace

CScriptScanner::CScriptScanner() {
  styles_[size_t(EScriptToken::Keyword)] = {0x0080FF, false};
  styles_[size_t(EScriptToken::Function)] = {0xFF00FF, true};
  styles_[size_t(EScriptToken::Comment)] = {0x008000, false};
  styles_[size_t(EScriptToken::Number)] = {0xFF0000, false};
  styles_[size_t(EScriptToken::String)] = {0x0000FF, false};
  styles_[size_t(EScriptToken::Word)] = {0x000000, false};
}

void CScriptScanner::SetCaseSensitive(int caseSensitive) {
  caseSensitive_ = caseSensitive;
  RebuildLookup();
}

void CScriptScanner::SetAutoCase(int autoCase) { autoCase_ = autoCase; }

void CScriptScanner::SetStringQuotes(const char* quotes) {
  quotes_.clear();
  for (const char* q = quotes; q && *q; ++q)
    if (AsciiOrNone(*q) != '\0' && !IsLineEnd(static_cast<unsigned char>(*q))) quotes_ += *q;
}

void CScriptScanner::SetCommentChars(char first, char second) {
  commentFirst_ = AsciiOrNone(first);
  commentSecond_ = commentFirst_ ? AsciiOrNone(second) : '\0';
}

void CScriptScanner::SetCommentKeyword(const char* keyword) {
  commentKeyword_ = keyword ? keyword : "";
}

void CScriptScanner::SetKeywords(const char* names) {
  if (names) keywords_ += names;
  RebuildLookup();
}

void CScriptScanner::SetFunctions(const char* names) {
  if (names) functions_ += names;
  RebuildLookup();
}

void CScriptScanner::RebuildLookup() {
  auto fill = [this](const std::string& list,
                     std::unordered_map<std::string, std::string>& lookup) {
    lookup.clear();
    size_t i = 0;
    while (i < list.size()) {
      while (i < list.size() && (list[i] == ' ' || list[i] == '\t')) ++i;
      size_t j = i;
      while (j < list.size() && list[j] != ' ' && list[j] != '\t') ++j;
      if (j > i) {
        const std::string name = list.substr(i, j - i);
        lookup.emplace(caseSensitive_ ? name : Folded(name), name);  // the first listing wins
      }
      i = j;
    }
  };
  fill(keywords_, keywordLookup_);
  fill(functions_, functionLookup_);
}

bool CScriptScanner::Lookup(const std::string& word, EScriptToken& kind,
                            const std::string*& spelling) const {
  const std::string key = caseSensitive_ ? word : Folded(word);
  if (auto it = keywordLookup_.find(key); it != keywordLookup_.end()) {
    kind = EScriptToken::Keyword;
    spelling = &it->second;
    return true;
  }
  if (auto it = functionLookup_.find(key); it != functionLookup_.end()) {
    kind = EScriptToken::Function;
    spelling = &it->second;
    return true;
  }
  return false;
}

template <typename Unit>
void CScriptScanner::Scan(const Unit* t, size_t n, SScriptLineScan& out) const {
  out.tokens.clear();
  out.rewrites.clear();
  auto lineEndFrom = [&](size_t i) {
    while (i < n && !IsLineEnd(t[i])) ++i;
    return i;
  };
  auto push = [&](size_t start, size_t end, EScriptToken kind) {
    out.tokens.push_back({uint32_t(start), uint32_t(end), kind});
  };
  const unsigned first = static_cast<unsigned char>(commentFirst_);
  const unsigned second = static_cast<unsigned char>(commentSecond_);
  std::string word;
  size_t p = 0;
  while (p < n) {
    const unsigned c = t[p];
    if (first != 0 && c == first && (second == 0 || (p + 1 < n && t[p + 1] == second))) {
      const size_t end = lineEndFrom(p);
      push(p, end, EScriptToken::Comment);
      p = end;
      continue;
    }
    if (c != 0 && c < 0x80 && quotes_.find(char(c)) != std::string::npos) {
      size_t q = p + 1;
      while (q < n && t[q] != c && !IsLineEnd(t[q])) ++q;
      const size_t end = (q < n && t[q] == c) ? q + 1 : q;  // unclosed: up to the line end
      push(p, end, EScriptToken::String);
      p = end;
      continue;
    }
    if (IsDigit(c)) {
      const size_t end = NumberEnd(t, p, n);
      push(p, end, EScriptToken::Number);
      p = end;
      continue;
    }
    if (IsAsciiLetter(c) || c == '_') {
      size_t end = p;
      while (end < n && IsWordChar(t[end])) ++end;
      word.assign(end - p, '\0');
      for (size_t i = p; i < end; ++i) word[i - p] = char(t[i]);
      EScriptToken kind = EScriptToken::Word;
      const std::string* spelling = nullptr;
      if (Lookup(word, kind, spelling)) {
        if (!caseSensitive_ && autoCase_ && *spelling != word && spelling->size() == word.size())
          out.rewrites.push_back({uint32_t(p), *spelling});
        if (kind == EScriptToken::Keyword && !commentKeyword_.empty() &&
            Folded(word) == Folded(commentKeyword_)) {
          end = lineEndFrom(p);
          kind = EScriptToken::Comment;
        }
      }
      push(p, end, kind);
      p = end;
      continue;
    }
    p += PlainStep(t, p, n);
  }
}

void CScriptScanner::ScanLine(std::string_view line, SScriptLineScan& out) const {
  Scan(reinterpret_cast<const unsigned char*>(line.data()), line.size(), out);
}

void CScriptScanner::ScanLine(std::u16string_view line, SScriptLineScan& out) const {
  Scan(line.data(), line.size(), out);
}

SScriptLineScan CScriptScanner::ScanLine(std::string_view line) const {
  SScriptLineScan scan;
  ScanLine(line, scan);
  return scan;
}

std::string CScriptScanner::Rewritten(std::string_view line, const SScriptLineScan& scan) {
  std::string out(line);
  for (const SScriptRewrite& r : scan.rewrites)
    if (r.start + r.spelling.size() <= out.size())
      out.replace(r.start, r.spelling.size(), r.spelling);
  return out;
}

SLineRange LinesTouchedByEdit(std::string_view text, size_t position, size_t added) {
  const size_t n = text.size();
  position = std::min(position, n);
  const size_t end = std::min(n, position + std::min(added, n));
  // A "\r\n" pair counts once, at its "\n".
  auto breaksIn = [&](size_t from, size_t to) {
    int count = 0;
    for (size_t i = from; i < to; ++i) {
      if (text[i] == '\n') ++count;
      else if (text[i] == '\r' && (i + 1 >= n || text[i + 1] != '\n')) ++count;
    }
    return count;
  };
  SLineRange range;
  range.first = breaksIn(0, position);
  range.last = range.first + breaksIn(position, end);
  return range;
}

}  // namespace formula
