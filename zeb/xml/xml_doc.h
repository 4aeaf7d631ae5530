// An XML (or loose HTML-like) document held as one GBK text plus an index
// of its elements. Queries read the text through the index; edits rewrite
// a stretch of the text and shift the index. Parsing never stops at an
// error: it repairs the tree, records what it found in a result log (a
// small XML text of empty elements) and reports whether the document is
// well formed. The update check parses, reads, edits and saves the update
// list with it.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One element of the index; record 0 stands for the document itself.
// Offsets, lengths and the level are full-width fields: the text comes
// from the network and may be large or deeply nested.
struct SXmlElem {
  int64_t nStart = 0;        // offset of the element's "<"
  int64_t nLength = 0;       // "<" to the end of the end tag (of the start tag when none)
  int64_t nStartTagLen = 0;  // start tag including "<" and ">"
  int64_t nEndTagLen = 0;    // 0 when the element has no end tag
  int32_t nLevel = 0;        // root elements 0, a child its parent's level + 1
  uint32_t nFlags = 0;       // XML_ELEM_* below
  int32_t iElemParent = 0;
  int32_t iElemChild = 0;  // first child
  int32_t iElemNext = 0;
  int32_t iElemPrev = 0;  // for a first child: the LAST sibling

  int64_t StartTagLen() const { return nStartTagLen; }
  int64_t EndTagLen() const { return nEndTagLen; }
  int64_t ContentStart() const { return nStart + nStartTagLen; }
  int64_t ContentLen() const { return nLength - nStartTagLen - nEndTagLen; }
};

enum : uint32_t {
  XML_ELEM_DELETED = 0x20000,     // released: removed from the tree
  XML_ELEM_FIRST = 0x80000,       // first child of its parent
  XML_ELEM_UNENDED = 0x100000,    // start tag without end tag, closed by the parser
  XML_ELEM_ILLFORMED = 0x200000,  // holds ill-formed markup
  XML_DOC_ILLFORMED = 0x800000,   // on record 0: the document is ill formed
};

// Node kinds of the token scanner.
enum XmlNodeKind : int {
  XML_NODE_END_TAG = 0,
  XML_NODE_ELEMENT = 1,
  XML_NODE_TEXT = 2,
  XML_NODE_WHITESPACE = 4,
  XML_NODE_CDATA_SECTION = 8,
  XML_NODE_PROCESSING_INSTRUCTION = 16,
  XML_NODE_COMMENT = 32,
  XML_NODE_DOCUMENT_TYPE = 64,
  XML_NODE_ERROR = -1,
  XML_NODE_END = -2,
};

// Document flags (none is set by this system).
enum : uint32_t {
  XML_FLAG_IGNORECASE = 0x8,
};

// Edit flags of SetDataAt / SetData and EscapeText.
enum : int {
  XML_EDIT_CDATA = 0x1,
  XML_EDIT_KEEP_REFS = 0x8,
  XML_ESCAPE_ATTRIBUTE = 0x100,  // EscapeText: escape both quotes too
};

// Deeper start tags are not indexed; they are reported as
// "nesting_too_deep" and the document counts as ill formed.
constexpr int kXmlMaxDepth = 256;
// The result log stops growing once it is this long.
constexpr size_t kXmlResultLogLimit = 1000;

class CXmlDoc {
 public:
  CXmlDoc();
  explicit CXmlDoc(const char* text);
  ~CXmlDoc();
  CXmlDoc(const CXmlDoc&) = delete;
  CXmlDoc& operator=(const CXmlDoc&) = delete;

  // Stores the text, empties the result log and parses; true when well
  // formed. A null text is an empty document.
  bool SetDocText(const char* text);
  bool SetDocText(const std::string& text);
  const std::string& GetDoc() const { return m_strDoc; }
  const std::string& GetResult() const { return m_strResult; }
  bool IsWellFormed() const;

  // Positions.
  void SetPos(int parent, int current, int child);
  int GetParentPos() const { return m_iPosParent; }
  int GetCurrentPos() const { return m_iPos; }
  int GetChildPos() const { return m_iPosChild; }

  // Navigation.
  bool FindElement(const char* name);
  bool EnterElement();
  bool LeaveElement();
  void ResetMainPos();

  // Reading.
  std::string GetTagName() const { return GetTagNameAt(m_iPos); }
  std::string GetTagNameAt(int position) const;
  std::string GetAttrib(const char* name) const { return GetAttribAt(m_iPos, name); }
  std::string GetAttribAt(int position, const char* name) const;
  std::string GetData() const { return GetDataAt(m_iPos); }
  std::string GetDataAt(int position) const;

  // Editing.
  bool SetData(const char* text, int flags) { return SetDataAt(m_iPos, text, flags); }
  bool SetDataAt(int position, const char* text, int flags);
  bool RemoveElement();
  bool AddElem(const char* name);
  bool SetAttrib(const char* name, const char* value) { return SetAttribAt(m_iPos, name, value); }
  bool SetAttribAt(int position, const char* name, const char* value);
  bool SetAttribAt(int position, const char* name, int value);

  // Saving (in the declared encoding, UTF-8 when none is declared).
  bool SaveFile(const char* path);

  // The element index (read-only), for callers that inspect the tree.
  const SXmlElem& GetElem(int index) const { return m_aElems[(size_t)index]; }
  int GetElemCount() const { return (int)m_aElems.size(); }
  int GetUsedElemCount() const { return m_iPosFree; }

  // Appends one empty element to a result log (nothing once the log has
  // reached kXmlResultLogLimit). value: nullptr for none; its attribute
  // name comes from the flags (0x2 type, 0x8 encoding, 0x40 msg, else
  // tagname); number: 0x4 n, 0x1 count, 0x10 length, else offset (not
  // written when -1); number2: offset2 (not written when -1).
  static void AddResult(std::string& log, const char* name, const char* value = nullptr,
                        int flags = 0, int64_t number = -1, int64_t number2 = -1);

 private:
  bool ParseDoc();
  int ParseElem(int parent);
  bool IsValidPos(int position) const;
  int NewElem();
  void LinkAsLastChild(int parent, int elem);
  void CloseUnended(int elem, int64_t offset2, std::vector<std::string_view>& names);
  void ReplaceText(int64_t offset, int64_t count, std::string_view with);
  void AdjustOffsets(int elem, int64_t shift, bool skipChildren);
  void UnlinkElem(int elem);
  void ReleaseSubtree(int elem);

  std::string m_strDoc;
  std::string m_strResult;
  int m_iPosParent = 0;
  int m_iPos = 0;
  int m_iPosChild = 0;
  int m_iPosFree = 1;
  int m_iPosDeleted = 0;
  int m_nNodeType = 0;
  uint32_t m_nDocFlags = 0;
  std::vector<SXmlElem> m_aElems;
};
