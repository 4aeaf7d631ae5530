// The token scanner of the XML document: one node per call, stepping over
// whole GBK characters so that a trail byte is never taken for markup.
#pragma once
#include <cstdint>
#include <string_view>

#include "zeb/xml/xml_doc.h"

struct SXmlNode {
  int nKind = XML_NODE_END;
  int64_t nStart = 0;
  int64_t nLength = 0;
  bool bEmptyElement = false;
  int64_t nNameStart = 0;  // start tags, end tags, processing instructions
  int64_t nNameEnd = 0;
  const char* pszError = nullptr;      // error record name for XML_NODE_ERROR
  const char* pszErrorType = nullptr;  // what was open, for "unterminated_tag_syntax"
};

class CXmlTokenizer {
 public:
  CXmlTokenizer(std::string_view text, uint32_t flags, int64_t pos = 0)
      : m_text(text), m_len((int64_t)text.size()), m_nFlags(flags), m_nPos(pos) {}

  // Scans the node at the scan position and moves past it; returns its kind.
  int ParseNode(SXmlNode& node);

  // The node's name equals name over the node name's length and name ends
  // there (at its end or at one of " /=[]").
  bool Match(const SXmlNode& node, std::string_view name) const;
  std::string_view Name(const SXmlNode& node) const {
    return m_text.substr((size_t)node.nNameStart, (size_t)(node.nNameEnd - node.nNameStart));
  }
  int64_t Pos() const { return m_nPos; }

 private:
  unsigned char At(int64_t i) const { return (unsigned char)m_text[(size_t)i]; }
  int64_t Next(int64_t i) const {
    unsigned char c = At(i);
    return (c >= 0x81 && c <= 0xFE && i + 1 < m_len) ? i + 2 : i + 1;
  }
  int64_t ScanName(int64_t i) const;
  int Finish(SXmlNode& node, int kind, int64_t end);
  int Error(SXmlNode& node, const char* name, int64_t from);
  int Unterminated(SXmlNode& node, const char* type);
  int ScanStartTag(SXmlNode& node, int64_t i);
  int ScanUntil(SXmlNode& node, int kind, int64_t i, std::string_view terminator,
                const char* openType);
  int ScanDocType(SXmlNode& node, int64_t i);

  std::string_view m_text;
  int64_t m_len;
  uint32_t m_nFlags;
  int64_t m_nPos;
};

inline bool XmlIsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
