// Construction, parsing into the element index, well-formedness and the
// result log.
#include "zeb/xml/xml_doc.h"

#include <cstdio>

#include "zeb/xml/xml_escape.h"
#include "xml_tokenizer.h"

namespace {

// Moves a subtree one level up: its root and every element below it.
void RaiseSubtree(std::vector<SXmlElem>& elems, int root) {
  int i = root;
  while (true) {
    --elems[(size_t)i].nLevel;
    if (elems[(size_t)i].iElemChild) {
      i = elems[(size_t)i].iElemChild;
      continue;
    }
    while (i != root && !elems[(size_t)i].iElemNext) i = elems[(size_t)i].iElemParent;
    if (i == root) return;
    i = elems[(size_t)i].iElemNext;
  }
}

}  // namespace

CXmlDoc::CXmlDoc() { m_aElems.resize(8); }

CXmlDoc::CXmlDoc(const char* text) : CXmlDoc() { SetDocText(text); }

CXmlDoc::~CXmlDoc() = default;

bool CXmlDoc::SetDocText(const char* text) {
  if (!text) {
    m_strDoc.clear();
    m_aElems.assign(8, SXmlElem());
  } else {
    m_strDoc = text;
  }
  m_strResult.clear();
  return ParseDoc();
}

bool CXmlDoc::SetDocText(const std::string& text) {
  m_strDoc = text;
  m_strResult.clear();
  return ParseDoc();
}

void CXmlDoc::SetPos(int parent, int current, int child) {
  m_iPosParent = parent;
  m_iPos = current;
  m_iPosChild = child;
  m_nNodeType = current ? 1 : 0;
}

bool CXmlDoc::IsValidPos(int position) const {
  return position > 0 && position < m_iPosFree &&
         !(m_aElems[(size_t)position].nFlags & XML_ELEM_DELETED);
}

bool CXmlDoc::IsWellFormed() const {
  if (m_aElems.empty() || m_iPosFree <= 1) return false;
  const SXmlElem& doc = m_aElems[0];
  if (doc.nFlags & XML_DOC_ILLFORMED) return false;
  if (!doc.iElemChild) return false;
  return m_aElems[(size_t)doc.iElemChild].iElemNext == 0;
}

int CXmlDoc::NewElem() {
  if ((size_t)m_iPosFree >= m_aElems.size()) {
    size_t grown = (size_t)m_iPosFree + (size_t)m_iPosFree / 2 + 8;
    m_aElems.resize(grown);
  }
  int index = m_iPosFree++;
  m_aElems[(size_t)index] = SXmlElem();
  return index;
}

void CXmlDoc::LinkAsLastChild(int parent, int elem) {
  SXmlElem& p = m_aElems[(size_t)parent];
  SXmlElem& e = m_aElems[(size_t)elem];
  e.iElemParent = parent;
  e.iElemNext = 0;
  if (p.iElemChild) {
    SXmlElem& first = m_aElems[(size_t)p.iElemChild];
    int last = first.iElemPrev;
    m_aElems[(size_t)last].iElemNext = elem;
    e.iElemPrev = last;
    first.iElemPrev = elem;
    e.nFlags &= ~XML_ELEM_FIRST;
  } else {
    p.iElemChild = elem;
    e.iElemPrev = elem;
    e.nFlags |= XML_ELEM_FIRST;
  }
}

bool CXmlDoc::ParseDoc() {
  SetPos(0, 0, 0);
  m_iPosFree = 1;
  m_iPosDeleted = 0;
  size_t wanted = m_strDoc.size() / 64 + 8;
  if (m_aElems.size() < wanted) m_aElems.resize(wanted);
  m_aElems[0] = SXmlElem();
  if (m_strDoc.empty()) return false;
  int root = ParseElem(0);
  m_aElems[0].nLength = (int64_t)m_strDoc.size();
  if (!root) {
    AddResult(m_strResult, "no_root_element");
  } else {
    m_aElems[0].iElemChild = root;
    if (m_aElems[(size_t)root].iElemNext) AddResult(m_strResult, "root_has_sibling");
  }
  return IsWellFormed();
}

// Closes an element that has no end tag: it keeps only its start tag and
// its children become its following siblings.
void CXmlDoc::CloseUnended(int elem, int64_t offset2, std::vector<std::string_view>& names) {
  SXmlElem& e = m_aElems[(size_t)elem];
  e.nEndTagLen = 0;
  e.nFlags |= XML_ELEM_UNENDED;
  e.nLength = e.nStartTagLen;
  int parent = e.iElemParent;
  if (e.nFlags & XML_ELEM_ILLFORMED) {
    e.nFlags &= ~XML_ELEM_ILLFORMED;
    m_aElems[(size_t)parent].nFlags |= XML_ELEM_ILLFORMED;
  }
  if (int child = e.iElemChild) {
    // An open element is always the last child of its parent.
    SXmlElem& first = m_aElems[(size_t)child];
    int last = first.iElemPrev;
    first.nFlags &= ~XML_ELEM_FIRST;
    first.iElemPrev = elem;
    e.iElemNext = child;
    e.iElemChild = 0;
    for (int c = child; c; c = m_aElems[(size_t)c].iElemNext) {
      m_aElems[(size_t)c].iElemParent = parent;
      RaiseSubtree(m_aElems, c);
    }
    int parentFirst = m_aElems[(size_t)parent].iElemChild;
    m_aElems[(size_t)parentFirst].iElemPrev = last;
  }
  std::string name(names.back());
  names.pop_back();
  AddResult(m_strResult, "unended_start_tag", name.c_str(), 0, e.nStart, offset2);
}

int CXmlDoc::ParseElem(int parent) {
  CXmlTokenizer tokenizer(m_strDoc, m_nDocFlags);
  std::vector<int> open;                // open elements, innermost last
  std::vector<std::string_view> names;  // their names
  open.reserve(8);
  names.reserve(8);
  int current = parent;
  const int parentLevel = m_aElems[(size_t)parent].nLevel;
  const std::string_view text(m_strDoc);
  SXmlNode node;
  auto markIllFormed = [&]() {
    m_aElems[(size_t)parent].nFlags |= XML_DOC_ILLFORMED;
    m_aElems[(size_t)current].nFlags |= XML_ELEM_ILLFORMED;
  };
  while (true) {
    int kind = tokenizer.ParseNode(node);
    if (kind == XML_NODE_END) break;
    if (kind == XML_NODE_ELEMENT) {
      if (!node.bEmptyElement && (int)open.size() >= kXmlMaxDepth) {
        markIllFormed();
        AddResult(m_strResult, "nesting_too_deep", nullptr, 0, node.nStart);
        continue;
      }
      int elem = NewElem();
      LinkAsLastChild(current, elem);
      SXmlElem& e = m_aElems[(size_t)elem];
      e.nLevel = parentLevel + (int)open.size();
      e.nStart = node.nStart;
      e.nStartTagLen = node.nLength;
      if (node.bEmptyElement) {
        e.nLength = node.nLength;
      } else {
        open.push_back(elem);
        names.push_back(tokenizer.Name(node));
        current = elem;
      }
    } else if (kind == XML_NODE_END_TAG) {
      std::string_view endName = tokenizer.Name(node);
      int match = (int)names.size() - 1;
      while (match >= 0 && !tokenizer.Match(node, names[(size_t)match])) --match;
      if (match < 0) {
        markIllFormed();
        std::string name(endName);
        AddResult(m_strResult, "lone_end_tag", name.c_str(), 0, node.nStart);
        continue;
      }
      if ((int)open.size() - 1 > match) m_aElems[(size_t)parent].nFlags |= XML_DOC_ILLFORMED;
      while ((int)open.size() - 1 > match) {
        CloseUnended(open.back(), node.nStart + 1, names);
        open.pop_back();
      }
      SXmlElem& e = m_aElems[(size_t)open.back()];
      e.nLength = node.nStart + node.nLength - e.nStart;
      e.nEndTagLen = node.nLength;
      open.pop_back();
      names.pop_back();
      current = e.iElemParent;
    } else if (kind == XML_NODE_ERROR) {
      markIllFormed();
      if (node.pszErrorType) {
        AddResult(m_strResult, node.pszError, node.pszErrorType, 0x2, node.nStart);
      } else {
        AddResult(m_strResult, node.pszError, nullptr, 0, node.nStart);
      }
    }
  }
  if (!open.empty()) m_aElems[(size_t)parent].nFlags |= XML_DOC_ILLFORMED;
  while (!open.empty()) {
    CloseUnended(open.back(), (int64_t)text.size(), names);
    open.pop_back();
  }
  return m_aElems[(size_t)parent].iElemChild;
}

void CXmlDoc::AddResult(std::string& log, const char* name, const char* value, int flags,
                        int64_t number, int64_t number2) {
  if (log.size() >= kXmlResultLogLimit) return;
  std::string record = "<";
  record += name;
  if (value) {
    const char* attr = (flags & 0x2)    ? "type"
                       : (flags & 0x8)  ? "encoding"
                       : (flags & 0x40) ? "msg"
                                        : "tagname";
    record += std::string(" ") + attr + "=\"" + EscapeText(value, XML_ESCAPE_ATTRIBUTE) + "\"";
  }
  const char* numberAttr = (flags & 0x4)    ? "n"
                           : (flags & 0x1)  ? "count"
                           : (flags & 0x10) ? "length"
                                            : nullptr;
  if (numberAttr || number != -1) {
    record += std::string(" ") + (numberAttr ? numberAttr : "offset") + "=\"" +
              std::to_string(number) + "\"";
  }
  if (number2 != -1) record += " offset2=\"" + std::to_string(number2) + "\"";
  record += "/>";
  log += record;
}
