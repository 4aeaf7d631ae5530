// Text encodings of XML documents: the encoding-name table, conversion
// from the GBK text into a declared encoding (through iconv), and the
// detection of the encoding a document declares.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Windows code page of an encoding name: 0 for an empty name (the
// system's code page, GBK), 65005 for names beginning "UTF-32", -1 for an
// unlisted name.
int GetEncodingCodePage(std::string_view name);

// False when either name is unlisted; else true when the code pages
// differ (an empty name stands for GBK, 936).
bool CanConvert(std::string_view fromName, std::string_view toName);

// One conversion request.
struct CXmlConverter {
  std::string strFromEncoding;  // empty: GBK
  std::string strToEncoding;
  const char* pFrom = nullptr;
  int64_t nFromLen = 0;
  int64_t nToCount = 0;  // bytes produced
  int64_t nLost = 0;     // characters the target cannot represent

  // Converts into target (measures only when target is null); returns the
  // byte count, -1 when the machine has no converter for an encoding.
  int64_t ConvertText(std::string* target);
};

// The encoding a document declares (XML declaration at offset 0, or an
// html meta element's charset); empty when none.
std::string GetDeclaredEncoding(std::string_view text);
