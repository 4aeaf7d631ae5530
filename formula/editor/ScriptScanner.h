// The token rules of the formula script editor, apart from any widget: one
// line at a time it finds comments, strings, numbers and words, classes the
// words by the keyword and function lists, and says which words are to be
// rewritten in their listed spelling.
//
// Guarantees:
// - No token and no state crosses a line end: a comment and an unclosed
//   string stop at it. A line's colours therefore depend on that line alone,
//   and after an edit only the lines the edit touched need scanning again
//   (LinesTouchedByEdit).
// - A non-ASCII character is never part of a word, a number or a token start:
//   in GBK text a two-byte character is stepped over whole (its trail byte
//   may look like a letter), in UTF-16 text every unit above 0x7F is one
//   plain character. Chinese text is never coloured as a word nor rewritten.
// - A rewrite only changes the case of ASCII letters: the spelling has the
//   word's length, so no position in the line moves.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/types.h"

namespace formula {

enum class EScriptToken : uint8_t {
  Comment,
  Number,
  String,
  Keyword,
  Function,
  Word,  // a word in neither list: plain text
};

// [start, end) in code units of the scanned line (bytes for GBK, UTF-16
// units for the widget's text).
struct SScriptToken {
  uint32_t start = 0;
  uint32_t end = 0;
  EScriptToken kind = EScriptToken::Word;
};

// Replace the word at start by spelling (same length, ASCII).
struct SScriptRewrite {
  uint32_t start = 0;
  std::string spelling;
};

struct SScriptLineScan {
  std::vector<SScriptToken> tokens;  // in line order, not overlapping
  std::vector<SScriptRewrite> rewrites;
};

struct SScriptStyle {
  COLORREF colour = 0;
  bool bold = false;
};

class CScriptScanner {
 public:
  // Not case-sensitive, auto-case on, comment character 1 (none a user
  // types) with no second character, the double quote as the only string
  // quote, empty lists, the default colours.
  CScriptScanner();

  void SetCaseSensitive(int caseSensitive);
  void SetAutoCase(int autoCase);
  // Each character of quotes opens and closes a string.
  void SetStringQuotes(const char* quotes);
  // A comment starts at first (second 0) or at the pair; it runs to the line end.
  void SetCommentChars(char first, char second);
  // A keyword-list word that starts a comment.
  void SetCommentKeyword(const char* keyword);
  // Append blank-separated names to the lists.
  void SetKeywords(const char* names);
  void SetFunctions(const char* names);

  void SetKeywordColor(COLORREF colour, bool bold) {
    styles_[size_t(EScriptToken::Keyword)] = {colour, bold};
  }
  void SetFunctionColor(COLORREF colour, bool bold) {
    styles_[size_t(EScriptToken::Function)] = {colour, bold};
  }
  void SetCommentColor(COLORREF colour, bool bold) {
    styles_[size_t(EScriptToken::Comment)] = {colour, bold};
  }
  void SetNumberColor(COLORREF colour, bool bold) {
    styles_[size_t(EScriptToken::Number)] = {colour, bold};
  }
  void SetStringColor(COLORREF colour, bool bold) {
    styles_[size_t(EScriptToken::String)] = {colour, bold};
  }
  // The colour of a class; Word is plain text (black, not bold), which is
  // also the format of everything between tokens.
  SScriptStyle Style(EScriptToken kind) const { return styles_[size_t(kind)]; }

  const std::string& Keywords() const { return keywords_; }
  const std::string& Functions() const { return functions_; }

  // Scans one line (a "\r" or "\n" inside it ends comments and strings).
  // GBK bytes, or UTF-16 units as the widget holds its text.
  void ScanLine(std::string_view line, SScriptLineScan& out) const;
  void ScanLine(std::u16string_view line, SScriptLineScan& out) const;
  SScriptLineScan ScanLine(std::string_view line) const;

  // The line with every rewrite of a scan applied.
  static std::string Rewritten(std::string_view line, const SScriptLineScan& scan);

 private:
  template <typename Unit>
  void Scan(const Unit* text, size_t length, SScriptLineScan& out) const;
  void RebuildLookup();
  // The listed spelling of a word and its class; false when in no list.
  bool Lookup(const std::string& word, EScriptToken& kind, const std::string*& spelling) const;

  int caseSensitive_ = 0;
  int autoCase_ = 1;
  char commentFirst_ = 1;
  char commentSecond_ = 0;
  std::string commentKeyword_;
  std::string quotes_ = "\"";
  std::string keywords_;
  std::string functions_;
  // Folded (or exact, when case-sensitive) word -> listed spelling; the
  // first listing of a word wins.
  std::unordered_map<std::string, std::string> keywordLookup_;
  std::unordered_map<std::string, std::string> functionLookup_;
  SScriptStyle styles_[6];
};

// The lines [first, last] (0-based) of text, after an edit, that the edit
// touched: from the line holding position to the line holding
// position + added, where added is the length of the inserted text. A
// removal touches the one line it joins. Lines end at "\n", "\r\n" or "\r".
struct SLineRange {
  int first = 0;
  int last = 0;
};
SLineRange LinesTouchedByEdit(std::string_view text, size_t position, size_t added);

}  // namespace formula
