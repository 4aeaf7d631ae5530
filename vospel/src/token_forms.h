// Which texts the lexer reads back as one token of the same text wherever
// the writer puts them, and the form to write for those it would not. A
// name that begins with a quote it never closes runs on, when read back, to
// the next such quote of the file and swallows everything between; a key
// that begins with "#" or "//" starts a written line and reads as a
// comment; the word "domain" is no name at all. Written forms close the
// quote or wrap the text in quotes, and a name stays a name token. No token
// of the written file begins with a quote that nothing closes.
#pragma once
#include <string>

namespace vospel {

enum class TokenPlace {
  kValue,  // a value: a name or a quoted text
  kName,   // a section or block name: a name token
  kKey,    // a key: a name token that also begins a line
};

// The text itself when it reads back unchanged in that place; else a form
// in quotes that does; the text itself when no form can hold it (a file
// holding it would not read, and DumpIniFile then refuses to write).
std::string WritableToken(const std::string& text, TokenPlace place);

// A raw line as written: exactly as read, except that a line of one bare
// name beginning with a lone quote gets the quote closed before its line
// end (as a name would), since read back it would run on to the next quote.
std::string WritableRawLine(const std::string& line);

}  // namespace vospel
