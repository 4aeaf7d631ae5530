// Walking the element tree and reading tag names, attributes and data.
#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_escape.h"
#include "xml_attrib.h"
#include "xml_tokenizer.h"

namespace {

bool IsStepEnd(char c) { return c == ' ' || c == '/' || c == '=' || c == '[' || c == ']'; }

// Checks a simple path: optional "/" or "//", steps of a name with at most
// one predicate ("[n]", "[@attr]", "[@attr=value]", "[name]"), an optional
// last step "/@attr". An anywhere path has one step; no trailing "/".
bool CheckPath(std::string_view p, bool& absolute, bool& anywhere) {
  size_t i = 0;
  absolute = anywhere = false;
  if (p.compare(0, 2, "//") == 0) {
    anywhere = true;
    i = 2;
  } else if (!p.empty() && p[0] == '/') {
    absolute = true;
    i = 1;
  }
  int steps = 0;
  while (true) {
    while (i < p.size() && !IsStepEnd(p[i])) ++i;  // the name, possibly empty
    ++steps;
    if (i < p.size() && p[i] == '[') {
      ++i;
      if (i < p.size() && p[i] >= '1' && p[i] <= '9') {
        while (i < p.size() && p[i] >= '0' && p[i] <= '9') ++i;
      } else if (i < p.size() && p[i] == '@') {
        ++i;
        while (i < p.size() && !IsStepEnd(p[i])) ++i;
        if (i < p.size() && p[i] == '=') {
          ++i;
          if (i < p.size() && (p[i] == '"' || p[i] == '\'')) {
            size_t close = p.find(p[i], i + 1);
            if (close == std::string_view::npos) return false;
            i = close + 1;
          } else {
            while (i < p.size() && p[i] != ']') ++i;
          }
        }
      } else {
        while (i < p.size() && !IsStepEnd(p[i])) ++i;
      }
      if (i >= p.size() || p[i] != ']') return false;
      ++i;
    }
    if (i == p.size()) return true;
    if (p[i] != '/') return false;
    ++i;
    if (i < p.size() && p[i] == '@') {
      ++i;
      while (i < p.size() && !IsStepEnd(p[i])) ++i;
      return i == p.size();
    }
    if (i == p.size() || anywhere) return false;
    (void)steps;
  }
}

bool IsTagNameEnd(unsigned char c) {
  return XmlIsSpace(c) || c == '!' || c == '"' || c == '\'' || c == '/' || c == ';' || c == '<' ||
         c == '=' || c == '>' || c == '?' || c == '\\';
}

}  // namespace

std::string CXmlDoc::GetTagNameAt(int position) const {
  if (!IsValidPos(position)) return std::string();
  const SXmlElem& e = m_aElems[(size_t)position];
  size_t i = (size_t)e.nStart + 1;
  const size_t end = (size_t)(e.nStart + e.nStartTagLen);
  while (i < end && XmlIsSpace((unsigned char)m_strDoc[i])) ++i;
  size_t j = i;
  while (j < end && !IsTagNameEnd((unsigned char)m_strDoc[j])) {
    unsigned char b = (unsigned char)m_strDoc[j];
    j += (b >= 0x81 && b <= 0xFE && j + 1 < end) ? 2 : 1;
  }
  if (j > end) j = end;
  return m_strDoc.substr(i, j - i);
}

bool CXmlDoc::FindElement(const char* name) {
  std::string_view path = name ? name : "";
  bool absolute = false, anywhere = false;
  if (!CheckPath(path, absolute, anywhere) || absolute || anywhere) return false;
  // Positions set from outside may name no live element.
  if (m_iPos ? !IsValidPos(m_iPos) : (m_iPosParent != 0 && !IsValidPos(m_iPosParent))) return false;
  int candidate =
      m_iPos ? m_aElems[(size_t)m_iPos].iElemNext : m_aElems[(size_t)m_iPosParent].iElemChild;
  // The given name may go on with a predicate or later steps, which are
  // not evaluated.
  size_t nameLen = 0;
  while (nameLen < path.size() && !IsStepEnd(path[nameLen])) ++nameLen;
  for (; candidate; candidate = m_aElems[(size_t)candidate].iElemNext) {
    if (nameLen == 0) break;
    std::string tag = GetTagNameAt(candidate);
    bool same;
    if (m_nDocFlags & XML_FLAG_IGNORECASE) {
      SXmlNode node;
      node.nNameStart = 0;
      node.nNameEnd = (int64_t)tag.size();
      same = CXmlTokenizer(tag, m_nDocFlags).Match(node, path);
    } else {
      same = tag.size() == nameLen && path.compare(0, nameLen, tag) == 0;
    }
    if (same) break;
  }
  if (!candidate) return false;
  SetPos(m_aElems[(size_t)candidate].iElemParent, candidate, 0);
  return true;
}

bool CXmlDoc::EnterElement() {
  if (!IsValidPos(m_iPos)) return false;
  int child = IsValidPos(m_iPosChild) && m_aElems[(size_t)m_iPosChild].iElemParent == m_iPos
                  ? m_iPosChild
                  : 0;
  SetPos(m_iPos, child, 0);
  return true;
}

bool CXmlDoc::LeaveElement() {
  if (!IsValidPos(m_iPosParent)) return false;
  int parent = m_iPosParent;
  SetPos(m_aElems[(size_t)parent].iElemParent, parent, m_iPos);
  return true;
}

void CXmlDoc::ResetMainPos() { SetPos(m_iPosParent, 0, 0); }

std::string CXmlDoc::GetAttribAt(int position, const char* name) const {
  if (!IsValidPos(position) || !name) return std::string();
  const SXmlElem& e = m_aElems[(size_t)position];
  std::string_view tag(m_strDoc.data() + e.nStart, (size_t)e.nStartTagLen);
  SXmlAttribMatch m = FindXmlAttrib(tag, name, (m_nDocFlags & XML_FLAG_IGNORECASE) != 0);
  if (!m.found) return std::string();
  return UnescapeText(tag.substr((size_t)m.valueStart, (size_t)(m.valueEnd - m.valueStart)));
}

std::string CXmlDoc::GetDataAt(int position) const {
  if (!IsValidPos(position)) return std::string();
  const SXmlElem& e = m_aElems[(size_t)position];
  if (e.nEndTagLen == 0 || e.iElemChild) return std::string();
  std::string_view content(m_strDoc.data() + e.ContentStart(), (size_t)e.ContentLen());
  if (content.find('<') == std::string_view::npos) return UnescapeText(content);
  std::string out;
  CXmlTokenizer tokenizer(content, m_nDocFlags);
  SXmlNode node;
  while (tokenizer.ParseNode(node) != XML_NODE_END) {
    std::string_view piece = content.substr((size_t)node.nStart, (size_t)node.nLength);
    if (node.nKind == XML_NODE_TEXT) {
      out += UnescapeText(piece);
    } else if (node.nKind == XML_NODE_CDATA_SECTION && piece.size() >= 12) {
      out.append(piece.substr(9, piece.size() - 12));
    }
  }
  return out;
}
