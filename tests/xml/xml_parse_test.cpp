#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"
#include "zeb/xml/xml_doc.h"

namespace {

// The tree as "name(child,child)" with an "!" after unended elements.
std::string Tree(const CXmlDoc& doc, int first) {
  std::string out;
  for (int i = first; i; i = doc.GetElem(i).iElemNext) {
    if (!out.empty()) out += ",";
    const SXmlElem& e = doc.GetElem(i);
    std::string tag = doc.GetDoc().substr((size_t)e.nStart, (size_t)e.nStartTagLen);
    size_t end = tag.find_first_of(" />", 1);
    out += tag.substr(1, end - 1);
    if (e.nFlags & XML_ELEM_UNENDED) out += "!";
    if (e.iElemChild) out += "(" + Tree(doc, e.iElemChild) + ")";
  }
  return out;
}
std::string Tree(const CXmlDoc& doc) { return Tree(doc, doc.GetElem(0).iElemChild); }

struct ParseCase {
  const char* text;
  bool wellFormed;
  const char* tree;
  const char* log;
};

TEST(XmlParse, StructureRepairAndResultLog) {
  const std::vector<ParseCase> cases = {
      {"", false, "", ""},
      {"<r><a/><b x='1>2'/></r>", true, "r(a,b)", ""},
      {"<a><b></a>", false, "a(b!)",
       "<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"7\"/>"},
      {"<r><a b=x/></r>", false, "r(a!)",
       "<unended_start_tag tagname=\"a\" offset=\"3\" offset2=\"12\"/>"},
      {"<r></x></r>", false, "r", "<lone_end_tag tagname=\"x\" offset=\"3\"/>"},
      {"<a/><b/>", false, "a,b", "<root_has_sibling/>"},
      {"just text", false, "", "<no_root_element/>"},
      {"<r><!-- open", false, "r!",
       "<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"
       "<unended_start_tag tagname=\"r\" offset=\"0\" offset2=\"12\"/>"},
      {"<r>< x></r>", false, "r", "<first_tag_syntax offset=\"3\"/>"},
      {"<r><!x></r>", false, "r", "<exclamation_tag_syntax offset=\"3\"/>"},
      {"<r><![x[]]></r>", false, "r", "<cdata_section_syntax offset=\"3\"/>"},
      {"<r><!-x></r>", false, "r", "<comment_tag_syntax offset=\"3\"/>"},
      {"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY e \"a>b\"><!-- > -->]><r><![CDATA[<x>]]></r>",
       true, "r", ""},
      // Children of an unended element become its following siblings.
      {"<r><p><a/><b/></r>", false, "r(p!,a,b)",
       "<unended_start_tag tagname=\"p\" offset=\"3\" offset2=\"15\"/>"},
      {"<r a=\"x", false, "",
       "<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
  };
  for (const auto& c : cases) {
    CXmlDoc doc;
    EXPECT_EQ(doc.SetDocText(c.text), c.wellFormed) << c.text;
    EXPECT_EQ(Tree(doc), c.tree) << c.text;
    EXPECT_EQ(doc.GetResult(), c.log) << c.text;
    EXPECT_EQ(doc.GetElem(0).nLength, (int64_t)std::string(c.text).size());
  }
}

TEST(XmlParse, OffsetsLengthsLevelsAndLinks) {
  CXmlDoc doc("<r>\n <a k='v'>x</a>\n <b/>\n</r>");
  ASSERT_TRUE(doc.IsWellFormed());
  int r = doc.GetElem(0).iElemChild;
  const SXmlElem& root = doc.GetElem(r);
  EXPECT_EQ(root.nStart, 0);
  EXPECT_EQ(root.nLength, (int64_t)doc.GetDoc().size());
  EXPECT_EQ(root.nEndTagLen, 4);
  int a = root.iElemChild;
  const SXmlElem& ea = doc.GetElem(a);
  EXPECT_EQ(ea.nStart, 5);
  EXPECT_EQ(ea.nStartTagLen, 9);
  EXPECT_EQ(ea.nLength, 14);
  EXPECT_EQ(ea.nLevel, 1);
  EXPECT_TRUE(ea.nFlags & XML_ELEM_FIRST);
  int b = ea.iElemNext;
  EXPECT_EQ(ea.iElemPrev, b);  // the first child links back to the last
  EXPECT_EQ(doc.GetElem(b).iElemPrev, a);
  EXPECT_EQ(doc.GetElem(b).nLength, 4);
}

// Children lifted out of an unended element take their whole subtrees one
// level up with them.
TEST(XmlParse, LiftedChildrenKeepTheirSubtreesLevels) {
  CXmlDoc doc("<r><p><a><b><c/></b></a></r>");
  ASSERT_EQ(Tree(doc), "r(p!,a(b(c)))");
  std::string levels;
  for (int i = 1; i < doc.GetUsedElemCount(); ++i) levels += std::to_string(doc.GetElem(i).nLevel);
  EXPECT_EQ(levels, "01123");  // r, p, a, b, c
}

TEST(XmlParse, GbkNamesAndTrailBytes) {
  // A GBK element name is a start tag; a trail byte equal to "]" is never
  // taken for the end of a CDATA section.
  std::string name = GBK("更新");
  std::string text = "<" + name + "><v><![CDATA[\x81]]>x]]></v></" + name + ">";
  CXmlDoc doc;
  EXPECT_TRUE(doc.SetDocText(text));
  ASSERT_TRUE(doc.FindElement(name.c_str()));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("v"));
  EXPECT_EQ(doc.GetData(), "\x81]]>x");
}

TEST(XmlParse, ResultLogStopsGrowing) {
  std::string text = "<r>";
  for (int i = 0; i < 500; ++i) text += "</x>";
  text += "</r>";
  CXmlDoc doc;
  EXPECT_FALSE(doc.SetDocText(text));
  EXPECT_GE(doc.GetResult().size(), kXmlResultLogLimit);
  EXPECT_LT(doc.GetResult().size(), kXmlResultLogLimit + 100);
}

// Hostile documents: deep nesting, long names, truncation at every byte.
TEST(XmlParse, DeepNestingIsBounded) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "<d>";
  for (int i = 0; i < 100000; ++i) text += "</d>";
  CXmlDoc doc;
  EXPECT_FALSE(doc.SetDocText(text));
  EXPECT_NE(doc.GetResult().find("nesting_too_deep"), std::string::npos);
  int deepest = 0;
  for (int i = 1; i < doc.GetUsedElemCount(); ++i)
    deepest = std::max(deepest, doc.GetElem(i).nLevel);
  EXPECT_EQ(deepest, kXmlMaxDepth - 1);
  // The bounded part is intact: the outermost element spans everything
  // up to its own end tag.
  EXPECT_TRUE(doc.FindElement("d"));
}

TEST(XmlParse, LongNamesKeepFullLengths) {
  std::string name(5000, 'n');
  std::string value(5000000, 'v');
  std::string text = "<" + name + " a='" + value + "'>x</" + name + ">";
  CXmlDoc doc;
  EXPECT_TRUE(doc.SetDocText(text));
  const SXmlElem& e = doc.GetElem(doc.GetElem(0).iElemChild);
  EXPECT_EQ(e.nEndTagLen, (int64_t)name.size() + 3);
  EXPECT_EQ(e.nStartTagLen, (int64_t)name.size() + value.size() + 7);
  EXPECT_EQ(e.nLength, (int64_t)text.size());
  EXPECT_TRUE(doc.FindElement(name.c_str()));
  EXPECT_EQ(doc.GetData(), "x");
}

TEST(XmlParse, EveryTruncationParsesWithinBounds) {
  const std::string full =
      "<?xml version=\"1.0\" encoding=\"GB2312\"?><!DOCTYPE u [<!ELEMENT u ANY>]>"
      "<u v=\"1\"><f n='a&amp;b' s=x/><!-- c --><![CDATA[d]]><g>&#x4E2D;&lt;</g></u>";
  for (size_t n = 0; n <= full.size(); ++n) {
    CXmlDoc doc;
    doc.SetDocText(full.substr(0, n));
    for (int i = 1; i < doc.GetUsedElemCount(); ++i) {
      const SXmlElem& e = doc.GetElem(i);
      ASSERT_GE(e.nStart, 0);
      ASSERT_LE(e.nStart + e.nLength, (int64_t)n) << n;
      ASSERT_LE(e.nStartTagLen + e.nEndTagLen, e.nLength) << n;
    }
    doc.FindElement("u");
    doc.EnterElement();
    while (doc.FindElement("")) doc.GetData();
  }
}

}  // namespace
