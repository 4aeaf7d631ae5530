// XML parse, navigation, edits and the save conversion. The first bytes
// drive the operations, the rest is the document. After every edit the
// index must still agree with the text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_encoding.h"

namespace {

// Every live element lies inside its parent's content and after its
// previous sibling, sits one level below its parent, starts with "<", ends
// its start tag with ">", ends with an end tag when it has one, and its
// links agree with each other.
void CheckTree(const CXmlDoc& doc, int parent, int64_t lo, int64_t hi, int depth) {
  const std::string& text = doc.GetDoc();
  if (depth > kXmlMaxDepth + 2) std::abort();
  int first = doc.GetElem(parent).iElemChild;
  int previous = 0;
  for (int i = first; i; i = doc.GetElem(i).iElemNext) {
    const SXmlElem& e = doc.GetElem(i);
    if (i <= 0 || i >= doc.GetUsedElemCount() || (e.nFlags & XML_ELEM_DELETED)) std::abort();
    if (e.iElemParent != parent) std::abort();
    if (e.nLevel != (parent ? doc.GetElem(parent).nLevel + 1 : 0)) std::abort();
    if (((e.nFlags & XML_ELEM_FIRST) != 0) != (i == first)) std::abort();
    if (i != first && e.iElemPrev != previous) std::abort();
    if (e.nStart < lo || e.nStart + e.nLength > hi) std::abort();
    if (e.nStartTagLen < 2 || e.nStartTagLen + e.nEndTagLen > e.nLength) std::abort();
    if (text[(size_t)e.nStart] != '<') std::abort();
    if (text[(size_t)(e.nStart + e.nStartTagLen - 1)] != '>') std::abort();
    if (e.nEndTagLen) {
      int64_t end = e.nStart + e.nLength;
      if (e.nEndTagLen < 3 || text.compare((size_t)(end - e.nEndTagLen), 2, "</") != 0 ||
          text[(size_t)(end - 1)] != '>') {
        std::abort();
      }
    }
    CheckTree(doc, i, e.ContentStart(), e.nStart + e.nLength - e.nEndTagLen, depth + 1);
    lo = e.nStart + e.nLength;
    previous = i;
  }
  if (first && doc.GetElem(first).iElemPrev != previous) std::abort();
}

void CheckIndex(const CXmlDoc& doc) {
  const std::string& text = doc.GetDoc();
  if (doc.GetElem(0).nLength != (int64_t)text.size() && !text.empty()) std::abort();
  CheckTree(doc, 0, 0, (int64_t)text.size(), 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint8_t* ops = data;
  std::string text(reinterpret_cast<const char*>(data + 8), size - 8);
  CXmlDoc doc;
  doc.SetDocText(text);
  CheckIndex(doc);
  static const char* const kNames[] = {"", "a", "b", "r", "u", "f", "a[1]", "a/b"};
  for (int step = 0; step < 32; ++step) {
    uint8_t op = ops[step % 8] >> (step / 8 % 2 * 4);
    const char* name = kNames[(op + step) % 8];
    switch (op % 11) {
      case 0: doc.FindElement(name); break;
      case 1: doc.EnterElement(); break;
      case 2: doc.LeaveElement(); break;
      case 3: doc.ResetMainPos(); break;
      case 4:
        doc.GetData();
        doc.GetAttrib(name);
        break;
      case 5: doc.SetData("x<&]]>y", (step & 1) ? XML_EDIT_CDATA : XML_EDIT_KEEP_REFS); break;
      case 6: doc.RemoveElement(); break;
      case 7: doc.SetAttrib("n", "v\"'<"); break;
      case 8: doc.AddElem("z"); break;
      case 9: doc.FindElement(""); break;
      case 10: doc.SetPos(op >> 4, (op >> 2) & 7, op & 3); break;
    }
    CheckIndex(doc);
  }
  // The edited text parses again.
  CXmlDoc again(doc.GetDoc().c_str());
  CheckIndex(again);
  // The conversion a save would run.
  std::string encoding = GetDeclaredEncoding(doc.GetDoc());
  if (encoding.empty()) encoding = "UTF-8";
  if (CanConvert("", encoding)) {
    CXmlConverter converter;
    converter.strToEncoding = encoding;
    converter.pFrom = doc.GetDoc().data();
    converter.nFromLen = (int64_t)doc.GetDoc().size();
    std::string out;
    converter.ConvertText(&out);
  }
  return 0;
}
