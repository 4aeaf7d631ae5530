// Parameter descriptions: one sentence per parameter of a formula, with the
// marker "Param#" and one more character standing where the value box goes
// ("周期Param#1天" is the prefix "周期", the box, the suffix "天"). They live in
// "ParamsDesc.tch" in the formula folder, in the configuration-file format:
// one top-level block per formula kind (named by its file stem), one key per
// formula, the value a quoted text of lines separated by "\r\n".
//
// CParamsDescParse reads such a value; the file functions read and write it
// through the configuration-file library, which alone parses the file.
// Nothing here reads or writes outside the text it is given.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace formula {

inline constexpr const char kParamsDescFile[] = "ParamsDesc.tch";
inline constexpr const char kParamMarker[] = "Param#";

class CParamsDescParse {
 public:
  // 1 when every line ("\r\n" or "\n" ends one; a final line end is
  // allowed) holds the marker; 0 for null, for a text without the marker
  // and for any line without it (an empty line between lines too).
  static int IsValidDesc(const char* text);

  // When valid: keeps a copy with blanks (and line ends) around it and then
  // double quotes around it stripped; 1. Otherwise 0 and nothing changes.
  int Load(const char* text);
  bool IsLoaded() const { return loaded_; }
  int LineCount() const;

  // Line n (from 0) without its line end; the text before the marker; the
  // text after the marker and its one following character (empty when the
  // marker ends the line). 0 when n is negative, nothing is loaded, there
  // is no line n, the line has no marker (prefix, suffix), or the text and
  // its terminating zero do not fit size (dst then holds an empty text when
  // size is above 0).
  int GetLine(int n, char* dst, size_t size) const;
  int GetLinePrefix(int n, char* dst, size_t size) const;
  int GetLineSuffix(int n, char* dst, size_t size) const;
  // The same as strings; false as above.
  bool Line(int n, std::string& out) const;
  bool LinePrefix(int n, std::string& out) const;
  bool LineSuffix(int n, std::string& out) const;

 private:
  bool LineView(int n, std::string_view& out) const;
  // Line n and the position of its marker; false without either.
  bool MarkedLine(int n, std::string_view& line, size_t& marker) const;

  bool loaded_ = false;
  std::string text_;
};

// The description dialog's text made ready to store: at most size - 1
// bytes (cut on a character boundary), blanks around it stripped, then a
// closing and an opening double quote added where missing and room is left.
std::string QuoteDescText(std::string_view text, size_t size);

// The description dialog's OK: nullptr when it may end, else the refusal
// (GBK): "传入参数错误" without a formula, "不允许中间空行，每行规定1个参数，请检查!"
// for a text that is not a valid description.
const char* CheckParamsDescEntry(const char* formulaName, int kind, const char* text);

// The stored value of the formula's key in the block of its kind, or ""
// when the file, the block or the key is missing (the configuration-file
// library reports a missing or unreadable file itself).
std::string ReadParamsDesc(const std::string& formulaDir, int kind, const char* formulaName);
// Stores value (already quoted) as the key's first value, adding the key
// when the file does not have it yet, and writes the file back. False when
// the file could not be written (or would no longer read back).
bool WriteParamsDesc(const std::string& formulaDir, int kind, const char* formulaName,
                     const std::string& value);

}  // namespace formula
