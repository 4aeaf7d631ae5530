#include "xml_tokenizer.h"

namespace {

bool IsNameStart(unsigned char c) {
  return c > 0x60 || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}
bool IsNameEnd(unsigned char c) { return XmlIsSpace(c) || c == '/' || c == '>'; }
bool IsQuote(unsigned char c) { return c == '"' || c == '\''; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 32) : c; }

}  // namespace

int64_t CXmlTokenizer::ScanName(int64_t i) const {
  while (i < m_len && !IsNameEnd(At(i))) i = Next(i);
  return i;
}

int CXmlTokenizer::Finish(SXmlNode& node, int kind, int64_t end) {
  node.nKind = kind;
  node.nLength = end - node.nStart;
  m_nPos = end;
  return kind;
}

// An error node ends after the next ">" or just before the next "<".
int CXmlTokenizer::Error(SXmlNode& node, const char* name, int64_t from) {
  int64_t i = from;
  while (i < m_len) {
    unsigned char c = At(i);
    if (c == '>') {
      ++i;
      break;
    }
    if (c == '<') break;
    i = Next(i);
  }
  node.pszError = name;
  return Finish(node, XML_NODE_ERROR, i);
}

int CXmlTokenizer::Unterminated(SXmlNode& node, const char* type) {
  node.pszError = "unterminated_tag_syntax";
  node.pszErrorType = type;
  return Finish(node, XML_NODE_ERROR, m_len);
}

int CXmlTokenizer::ParseNode(SXmlNode& node) {
  node = SXmlNode();
  node.nStart = m_nPos;
  if (m_nPos >= m_len) {
    node.nKind = XML_NODE_END;
    return XML_NODE_END;
  }
  int64_t i = m_nPos;
  unsigned char c = At(i);
  if (c != '<') {
    // White space run, which turns into text at the first other character.
    int kind = XML_NODE_WHITESPACE;
    while (i < m_len) {
      c = At(i);
      if (c == '<') break;
      if (kind == XML_NODE_WHITESPACE && !XmlIsSpace(c)) kind = XML_NODE_TEXT;
      i = Next(i);
    }
    return Finish(node, kind, i);
  }
  if (i + 1 >= m_len) return Unterminated(node, "tag");
  c = At(i + 1);
  if (IsNameStart(c)) return ScanStartTag(node, i + 1);
  if (c == '/') {
    node.nNameStart = i + 2;
    node.nNameEnd = ScanName(i + 2);
    int64_t j = node.nNameEnd;
    while (j < m_len && At(j) != '>') j = Next(j);
    if (j >= m_len) return Unterminated(node, "end_tag");
    return Finish(node, XML_NODE_END_TAG, j + 1);
  }
  if (c == '?') {
    node.nNameStart = i + 2;
    node.nNameEnd = ScanName(i + 2);
    return ScanUntil(node, XML_NODE_PROCESSING_INSTRUCTION, i + 2, "?>", "processing_instruction");
  }
  if (c != '!') return Error(node, "first_tag_syntax", i + 1);
  if (i + 2 >= m_len) return Unterminated(node, "tag");
  c = At(i + 2);
  if (c == '-') {
    if (i + 3 >= m_len) return Unterminated(node, "tag");
    if (At(i + 3) != '-') return Error(node, "comment_tag_syntax", i + 3);
    return ScanUntil(node, XML_NODE_COMMENT, i + 4, "-->", "comment");
  }
  if (c == '[') {
    if (i + 3 >= m_len) return Unterminated(node, "tag");
    if (At(i + 3) != 'C') return Error(node, "cdata_section_syntax", i + 3);
    // The rest of "CDATA[" is skipped without comparison.
    int64_t j = i + 9 < m_len ? i + 9 : m_len;
    return ScanUntil(node, XML_NODE_CDATA_SECTION, j, "]]>", "cdata_section");
  }
  if (c == 'D') return ScanDocType(node, i + 3);
  return Error(node, "exclamation_tag_syntax", i + 2);
}

int CXmlTokenizer::ScanStartTag(SXmlNode& node, int64_t i) {
  node.nNameStart = i;
  node.nNameEnd = ScanName(i);
  i = node.nNameEnd;
  unsigned char quote = 0;
  bool inUnquoted = false;
  bool slashInUnquoted = false;
  unsigned char prev = 0;
  while (i < m_len) {
    unsigned char c = At(i);
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '>') {
      node.bEmptyElement = prev == '/' && !slashInUnquoted;
      return Finish(node, XML_NODE_ELEMENT, i + 1);
    } else if (inUnquoted) {
      if (XmlIsSpace(c)) inUnquoted = false;
    } else if (c == '=' && prev != '=') {
      // An attribute value follows, after optional white space.
      int64_t j = i + 1;
      while (j < m_len && XmlIsSpace(At(j))) ++j;
      if (j < m_len && IsQuote(At(j))) {
        quote = At(j);
        i = j + 1;
        prev = quote;
        continue;
      }
      if (j < m_len && At(j) != '>') {
        inUnquoted = true;
        prev = '=';
        i = j;
        continue;
      }
    }
    slashInUnquoted = c == '/' && inUnquoted;
    prev = c;
    i = Next(i);
  }
  return Unterminated(node, "start_tag");
}

int CXmlTokenizer::ScanUntil(SXmlNode& node, int kind, int64_t i, std::string_view terminator,
                             const char* openType) {
  // The terminator is found at a ">" whose preceding whole characters
  // complete it (a trail byte never counts).
  const int64_t tail = (int64_t)terminator.size() - 1;
  int64_t before1 = -1, before2 = -1;  // starts of the two previous characters
  while (i < m_len) {
    if (At(i) == '>' && i - tail >= node.nStart + 2 && before1 == i - 1 &&
        (tail < 2 || before2 == i - 2) &&
        m_text.compare((size_t)(i - tail), (size_t)tail, terminator.substr(0, (size_t)tail)) == 0) {
      return Finish(node, kind, i + 1);
    }
    before2 = before1;
    before1 = i;
    i = Next(i);
  }
  return Unterminated(node, openType);
}

int CXmlTokenizer::ScanDocType(SXmlNode& node, int64_t i) {
  while (i < m_len) {
    unsigned char c = At(i);
    if (c == '>') return Finish(node, XML_NODE_DOCUMENT_TYPE, i + 1);
    if (c == '<' && i + 1 < m_len && At(i + 1) == '?') {
      SXmlNode inner;
      inner.nStart = i;
      CXmlTokenizer sub(m_text, m_nFlags, i);
      if (sub.ScanUntil(inner, XML_NODE_PROCESSING_INSTRUCTION, i + 2, "?>", "") < 0) break;
      i = inner.nStart + inner.nLength;
      continue;
    }
    if (c == '<' && i + 2 < m_len && At(i + 1) == '!') {
      unsigned char d = At(i + 2);
      if (d == '-') {
        SXmlNode inner;
        inner.nStart = i;
        CXmlTokenizer sub(m_text, m_nFlags, i);
        if (sub.ScanUntil(inner, XML_NODE_COMMENT, i + 3, "-->", "") < 0) break;
        i = inner.nStart + inner.nLength;
        continue;
      }
      if (d == 'A' || d == 'E' || d == 'N') {
        // A markup declaration runs to its own ">", quotes honoured.
        unsigned char quote = 0;
        int64_t j = i + 3;
        while (j < m_len) {
          unsigned char e = At(j);
          if (quote) {
            if (e == quote) quote = 0;
          } else if (IsQuote(e)) {
            quote = e;
          } else if (e == '>') {
            break;
          }
          j = Next(j);
        }
        if (j >= m_len) break;
        i = j + 1;
        continue;
      }
      // Any other "<!" inside the internal subset is passed over; the
      // document type itself still ends at its outer ">".
    }
    i = Next(i);
  }
  return Unterminated(node, "document_type");
}

bool CXmlTokenizer::Match(const SXmlNode& node, std::string_view name) const {
  std::string_view own = Name(node);
  if (name.size() < own.size()) return false;
  if (m_nFlags & XML_FLAG_IGNORECASE) {
    bool exact = false;
    for (size_t k = 0; k < own.size(); ++k) {
      char a = own[k], b = name[k];
      if (exact) {
        if (a != b) return false;
      } else if (UpperAscii(a) != UpperAscii(b)) {
        return false;
      } else if ((unsigned char)a > 0x7F) {
        exact = true;
      }
    }
  } else if (name.compare(0, own.size(), own) != 0) {
    return false;
  }
  if (name.size() == own.size()) return true;
  char after = name[own.size()];
  return after == '\0' || after == ' ' || after == '/' || after == '=' || after == '[' ||
         after == ']';
}
