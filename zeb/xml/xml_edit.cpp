// Edits: each rewrites a stretch of the text and shifts the index so that
// every position stays valid.
#include <cstdio>

#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_escape.h"
#include "xml_attrib.h"
#include "xml_tokenizer.h"

namespace {

// The element's name as the parser reads it: after "<" up to white
// space, "/" or ">".
std::string_view ParsedTagName(const std::string& doc, const SXmlElem& e) {
  size_t i = (size_t)e.nStart + 1;
  size_t end = (size_t)(e.nStart + e.nStartTagLen);
  size_t j = i;
  while (j < end) {
    unsigned char c = (unsigned char)doc[j];
    if (XmlIsSpace(c) || c == '/' || c == '>') break;
    j += (c >= 0x81 && c <= 0xFE && j + 1 < end) ? 2 : 1;
  }
  if (j > end) j = end;
  return std::string_view(doc).substr(i, j - i);
}

}  // namespace

void CXmlDoc::ReplaceText(int64_t offset, int64_t count, std::string_view with) {
  size_t newLength = m_strDoc.size() - (size_t)count + with.size();
  if (newLength > m_strDoc.capacity()) m_strDoc.reserve(newLength + newLength / 2 + 128);
  m_strDoc.replace((size_t)offset, (size_t)count, with);
}

// Walks the elements after the changed one in document order: later
// elements move by shift, ancestors (up to the document record) grow.
void CXmlDoc::AdjustOffsets(int elem, int64_t shift, bool skipChildren) {
  int pos = elem;
  int depth = 0;  // how far below the level we started at
  bool down = !skipChildren;
  while (true) {
    if (down && m_aElems[(size_t)pos].iElemChild) {
      pos = m_aElems[(size_t)pos].iElemChild;
      ++depth;
      m_aElems[(size_t)pos].nStart += shift;
      continue;
    }
    down = true;
    while (pos != 0 && m_aElems[(size_t)pos].iElemNext == 0) {
      pos = m_aElems[(size_t)pos].iElemParent;
      if (depth > 0) {
        --depth;
      } else {
        m_aElems[(size_t)pos].nLength += shift;
      }
    }
    if (pos == 0) break;
    pos = m_aElems[(size_t)pos].iElemNext;
    m_aElems[(size_t)pos].nStart += shift;
  }
}

bool CXmlDoc::SetDataAt(int position, const char* text, int flags) {
  if (!IsValidPos(position)) return false;
  SXmlElem& e = m_aElems[(size_t)position];
  if (e.iElemChild) return false;
  std::string_view value = text ? text : "";
  std::string content =
      (flags & XML_EDIT_CDATA) ? EncodeCData(value) : EscapeText(value, flags & XML_EDIT_KEEP_REFS);
  int64_t shift;
  if (e.nEndTagLen > 0) {
    int64_t oldLength = e.ContentLen();
    ReplaceText(e.ContentStart(), oldLength, content);
    shift = (int64_t)content.size() - oldLength;
  } else {
    std::string name(ParsedTagName(m_strDoc, e));
    const int64_t tagEnd = e.nStart + e.nStartTagLen;  // after ">"
    bool selfClosed = !(e.nFlags & XML_ELEM_UNENDED) && e.nStartTagLen >= 2 &&
                      m_strDoc[(size_t)(tagEnd - 2)] == '/';
    std::string insert = ">" + content + "</" + name;
    if (selfClosed) {
      ReplaceText(tagEnd - 2, 1, insert);  // "/" becomes ">content</name"
      e.nStartTagLen -= 1;
      shift = (int64_t)insert.size() - 1;
    } else {
      ReplaceText(tagEnd - 1, 0, insert);  // before the ">"
      e.nFlags &= ~XML_ELEM_UNENDED;
      shift = (int64_t)insert.size();
    }
    e.nEndTagLen = (int64_t)name.size() + 3;
  }
  e.nLength += shift;
  e.nFlags &= ~XML_ELEM_ILLFORMED;
  AdjustOffsets(position, shift, false);
  return true;
}

void CXmlDoc::UnlinkElem(int elem) {
  SXmlElem& e = m_aElems[(size_t)elem];
  SXmlElem& parent = m_aElems[(size_t)e.iElemParent];
  if (e.nFlags & XML_ELEM_FIRST) {
    parent.iElemChild = e.iElemNext;
    if (e.iElemNext) {
      SXmlElem& next = m_aElems[(size_t)e.iElemNext];
      next.nFlags |= XML_ELEM_FIRST;
      next.iElemPrev = e.iElemPrev;
    }
  } else {
    m_aElems[(size_t)e.iElemPrev].iElemNext = e.iElemNext;
    if (e.iElemNext) {
      m_aElems[(size_t)e.iElemNext].iElemPrev = e.iElemPrev;
    } else {
      m_aElems[(size_t)parent.iElemChild].iElemPrev = e.iElemPrev;
    }
  }
  e.iElemNext = 0;
  e.iElemPrev = 0;
}

void CXmlDoc::ReleaseSubtree(int elem) {
  std::vector<int> todo{elem};
  std::vector<int> all;
  while (!todo.empty()) {
    int i = todo.back();
    todo.pop_back();
    all.push_back(i);
    for (int c = m_aElems[(size_t)i].iElemChild; c; c = m_aElems[(size_t)c].iElemNext) {
      todo.push_back(c);
    }
  }
  for (int i : all) {
    SXmlElem& e = m_aElems[(size_t)i];
    e.nFlags = XML_ELEM_DELETED;
    e.iElemChild = 0;
    e.iElemNext = m_iPosDeleted;
    m_iPosDeleted = i;
  }
}

bool CXmlDoc::RemoveElement() {
  if (!IsValidPos(m_iPos)) return false;
  const int elem = m_iPos;
  SXmlElem& e = m_aElems[(size_t)elem];
  int64_t start = e.nStart;
  int64_t end = e.nStart + e.nLength;
  // White space after the element goes along when markup or the end of the
  // text follows it.
  int64_t after = end;
  const int64_t textLength = (int64_t)m_strDoc.size();
  while (after < textLength && XmlIsSpace((unsigned char)m_strDoc[(size_t)after])) ++after;
  if (after == textLength || m_strDoc[(size_t)after] == '<') end = after;
  int previous = (e.nFlags & XML_ELEM_FIRST) ? 0 : e.iElemPrev;
  int parent = e.iElemParent;
  ReplaceText(start, end - start, std::string_view());
  AdjustOffsets(elem, start - end, true);
  UnlinkElem(elem);
  ReleaseSubtree(elem);
  SetPos(parent, previous, 0);
  return true;
}

bool CXmlDoc::AddElem(const char* name) {
  if (!name || !*name) return false;
  int parent = m_iPosParent;
  if (parent != 0 && !IsValidPos(parent)) return false;
  if (m_iPos && (!IsValidPos(m_iPos) || m_aElems[(size_t)m_iPos].iElemParent != parent))
    return false;
  int64_t offset;
  if (m_iPos) {
    const SXmlElem& cur = m_aElems[(size_t)m_iPos];
    offset = cur.nStart + cur.nLength;
  } else if (int first = m_aElems[(size_t)parent].iElemChild) {
    const SXmlElem& last = m_aElems[(size_t)m_aElems[(size_t)first].iElemPrev];
    offset = last.nStart + last.nLength;
  } else if (parent == 0) {
    offset = (int64_t)m_strDoc.size();
  } else {
    const SXmlElem& p = m_aElems[(size_t)parent];
    if (p.nEndTagLen == 0) return false;  // "<p/>": no room for content
    offset = p.nStart + p.nLength - p.nEndTagLen;
  }
  std::string tag = std::string("<") + name + "/>";
  int elem = NewElem();
  SXmlElem& e = m_aElems[(size_t)elem];
  e.nStart = offset;
  e.nLength = e.nStartTagLen = (int64_t)tag.size();
  e.nLevel = parent ? m_aElems[(size_t)parent].nLevel + 1 : 0;
  // Link after the current element (or as the last child).
  if (m_iPos && m_aElems[(size_t)m_iPos].iElemNext) {
    SXmlElem& cur = m_aElems[(size_t)m_iPos];
    e.iElemParent = parent;
    e.iElemNext = cur.iElemNext;
    e.iElemPrev = m_iPos;
    m_aElems[(size_t)cur.iElemNext].iElemPrev = elem;
    cur.iElemNext = elem;
  } else {
    LinkAsLastChild(parent, elem);
  }
  ReplaceText(offset, 0, tag);
  AdjustOffsets(elem, (int64_t)tag.size(), true);
  SetPos(parent, elem, 0);
  return true;
}

bool CXmlDoc::SetAttribAt(int position, const char* name, int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  return SetAttribAt(position, name, text);
}

bool CXmlDoc::SetAttribAt(int position, const char* name, const char* value) {
  if (!IsValidPos(position) || !name || !*name) return false;
  SXmlElem& e = m_aElems[(size_t)position];
  std::string_view tag(m_strDoc.data() + e.nStart, (size_t)e.nStartTagLen);
  SXmlAttribMatch m = FindXmlAttrib(tag, name, (m_nDocFlags & XML_FLAG_IGNORECASE) != 0);
  std::string escaped(1, '"');
  escaped += EscapeText(value ? value : "", XML_ESCAPE_ATTRIBUTE);
  escaped += '"';
  int64_t shift;
  if (m.found && m.hasValue) {
    ReplaceText(e.nStart + m.tokenStart, m.tokenEnd - m.tokenStart, escaped);
    shift = (int64_t)escaped.size() - (m.tokenEnd - m.tokenStart);
  } else if (m.found) {
    std::string insert = "=" + escaped;  // a bare attribute gets its value
    ReplaceText(e.nStart + m.tokenEnd, 0, insert);
    shift = (int64_t)insert.size();
  } else {
    std::string insert = std::string(" ") + name + "=" + escaped;
    ReplaceText(e.nStart + m.listEnd, 0, insert);
    shift = (int64_t)insert.size();
  }
  e.nStartTagLen += shift;
  e.nLength += shift;
  AdjustOffsets(position, shift, false);
  return true;
}
