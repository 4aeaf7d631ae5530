#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"
#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_escape.h"

namespace {

// Every record of the live tree agrees with the text: each start points at
// "<" + its own name, each end tag closes it, lengths nest.
void ExpectIndexMatchesText(const CXmlDoc& doc, int first, int64_t lo, int64_t hi) {
  const std::string& t = doc.GetDoc();
  int64_t cursor = lo;
  for (int i = first; i; i = doc.GetElem(i).iElemNext) {
    const SXmlElem& e = doc.GetElem(i);
    ASSERT_GE(e.nStart, cursor);
    ASSERT_LE(e.nStart + e.nLength, hi);
    ASSERT_EQ(t[(size_t)e.nStart], '<');
    ASSERT_EQ(t[(size_t)(e.nStart + e.nStartTagLen - 1)], '>');
    if (e.nEndTagLen) {
      std::string name = doc.GetTagNameAt(i);
      ASSERT_EQ(t.substr((size_t)(e.nStart + e.nLength - e.nEndTagLen), (size_t)e.nEndTagLen),
                "</" + name + ">");
    }
    ExpectIndexMatchesText(doc, e.iElemChild, e.ContentStart(), e.nStart + e.nLength);
    cursor = e.nStart + e.nLength;
  }
}
void ExpectIndexMatchesText(const CXmlDoc& doc) {
  ASSERT_EQ(doc.GetElem(0).nLength, (int64_t)doc.GetDoc().size());
  ExpectIndexMatchesText(doc, doc.GetElem(0).iElemChild, 0, (int64_t)doc.GetDoc().size());
}

TEST(XmlNavigate, FindEnterLeaveReset) {
  CXmlDoc doc("<r><a i='1'/><b/><a i='2'/></r>");
  EXPECT_FALSE(doc.EnterElement());
  EXPECT_FALSE(doc.LeaveElement());
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttrib("i"), "1");
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttrib("i"), "2");
  EXPECT_FALSE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttrib("i"), "2");
  doc.ResetMainPos();
  EXPECT_TRUE(doc.FindElement("a[2]"));  // the predicate is not evaluated
  EXPECT_EQ(doc.GetAttrib("i"), "1");
  EXPECT_TRUE(doc.FindElement(""));
  EXPECT_EQ(doc.GetTagName(), "b");
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetTagName(), "r");
  EXPECT_TRUE(doc.EnterElement());  // back to the child we left
  EXPECT_EQ(doc.GetTagName(), "b");
}

TEST(XmlNavigate, PathGrammar) {
  CXmlDoc doc("<r><a/></r>");
  for (const char* bad : {"a/", "a[x", "/r", "//r", "r/", "a[0]", "a[@x='y]"}) {
    doc.ResetMainPos();
    EXPECT_FALSE(doc.FindElement(bad)) << bad;
  }
  for (const char* good :
       {"r", "r[1]", "r[@x]", "r[@x='y']", "r[@x=y]", "r/a", "r/@x", "r[name]"}) {
    doc.SetPos(0, 0, 0);
    EXPECT_TRUE(doc.FindElement(good)) << good;
  }
}

TEST(XmlRead, AttributesAndData) {
  CXmlDoc doc(
      "<r><i checked a='1' b=\"x&amp;y\" c=z/>"
      "<v>a &lt; b<!-- c --><![CDATA[<d>]]></v><w><x/></w><e/></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("i");
  EXPECT_EQ(doc.GetAttrib("checked"), "checked");
  EXPECT_EQ(doc.GetAttrib("A"), "");
  EXPECT_EQ(doc.GetAttrib("b"), "x&y");
  EXPECT_EQ(doc.GetAttrib("c"), "z/");
  EXPECT_EQ(doc.GetAttrib("missing"), "");
  doc.FindElement("v");
  EXPECT_EQ(doc.GetData(), "a < b<d>");
  doc.FindElement("w");
  EXPECT_EQ(doc.GetData(), "");  // has a child element
  doc.FindElement("e");
  EXPECT_EQ(doc.GetData(), "");
  EXPECT_EQ(doc.GetAttribAt(0, "a"), "");
  EXPECT_EQ(doc.GetDataAt(9999), "");
}

struct SetDataCase {
  const char* before;
  const char* text;
  int flags;
  const char* after;
  const char* data = nullptr;  // what GetData gives back, when not the text
};

TEST(XmlEdit, SetDataForms) {
  const std::vector<SetDataCase> cases = {
      {"<r><v/><n>1</n></r>", "x<y & z", 0, "<r><v>x&lt;y &amp; z</v><n>1</n></r>"},
      {"<r><v /><n>1</n></r>", "a&amp;b", XML_EDIT_KEEP_REFS, "<r><v >a&amp;b</v><n>1</n></r>",
       "a&b"},
      {"<r><v>old</v><n>1</n></r>", "a]]>b", XML_EDIT_CDATA,
       "<r><v><![CDATA[a]]]]><![CDATA[>b]]></v><n>1</n></r>"},
      {"<r><v x='1'>old text</v><n>1</n></r>", "", 0, "<r><v x='1'></v><n>1</n></r>"},
      {"<r><v><n>1</n></r>", "u", 0, "<r><v>u</v><n>1</n></r>"},  // unended: now ended
  };
  for (const auto& c : cases) {
    CXmlDoc doc(c.before);
    doc.FindElement("r");
    doc.EnterElement();
    ASSERT_TRUE(doc.FindElement("v")) << c.before;
    ASSERT_TRUE(doc.SetData(c.text, c.flags)) << c.before;
    EXPECT_EQ(doc.GetDoc(), c.after) << c.before;
    ExpectIndexMatchesText(doc);
    EXPECT_FALSE(doc.GetElem(doc.GetCurrentPos()).nFlags & XML_ELEM_UNENDED);
    EXPECT_EQ(doc.GetData(), c.data ? c.data : c.text) << c.before;
    ASSERT_TRUE(doc.FindElement("n"));
    EXPECT_EQ(doc.GetData(), "1");
    // The edited text parses to the same tree.
    CXmlDoc again(doc.GetDoc().c_str());
    EXPECT_TRUE(again.IsWellFormed()) << doc.GetDoc();
  }
  CXmlDoc doc("<r><w><x/></w></r>");
  doc.FindElement("r");
  EXPECT_FALSE(doc.SetData("no", 0));
  EXPECT_FALSE(doc.SetDataAt(0, "no", 0));
}

TEST(XmlEdit, RemoveElementsInALoop) {
  CXmlDoc doc("<r>\n  <f n='1'/>\n  <g/>\n  <f n='2'><c/></f>\n  <f n='3'/>text<h/>\n</r>");
  doc.FindElement("r");
  doc.EnterElement();
  EXPECT_FALSE(doc.RemoveElement());  // no current element
  int removed = 0;
  while (doc.FindElement("f")) {
    if (doc.GetAttrib("n") != "2") {
      ASSERT_TRUE(doc.RemoveElement());
      ++removed;
    }
  }
  EXPECT_EQ(removed, 2);
  EXPECT_EQ(doc.GetDoc(), "<r>\n  <g/>\n  <f n='2'><c/></f>\n  text<h/>\n</r>");
  ExpectIndexMatchesText(doc);
  // After removing a first child nothing is current, and the next search
  // starts again at the new first child.
  doc.ResetMainPos();
  ASSERT_TRUE(doc.FindElement("g"));
  ASSERT_TRUE(doc.RemoveElement());
  EXPECT_EQ(doc.GetCurrentPos(), 0);
  ASSERT_TRUE(doc.FindElement(""));
  EXPECT_EQ(doc.GetTagName(), "f");
  EXPECT_EQ(doc.GetAttrib("n"), "2");
  ExpectIndexMatchesText(doc);
  EXPECT_TRUE(CXmlDoc(doc.GetDoc().c_str()).IsWellFormed());
}

TEST(XmlEdit, SetAttribAndAddElem) {
  CXmlDoc doc("<r><a x='1' /><b/></r>");
  doc.FindElement("r");
  doc.EnterElement();
  doc.FindElement("a");
  ASSERT_TRUE(doc.SetAttrib("x", "<\"2\">"));
  ASSERT_TRUE(doc.SetAttrib("y", "3"));
  EXPECT_EQ(doc.GetDoc(), "<r><a x=\"&lt;&quot;2&quot;&gt;\" y=\"3\" /><b/></r>");
  EXPECT_EQ(doc.GetAttrib("x"), "<\"2\">");
  ASSERT_TRUE(doc.AddElem("n"));
  EXPECT_EQ(doc.GetDoc(), "<r><a x=\"&lt;&quot;2&quot;&gt;\" y=\"3\" /><n/><b/></r>");
  ExpectIndexMatchesText(doc);
  EXPECT_TRUE(doc.FindElement("b"));
}

// A quote that opens no value has no partner inside the tag; a new
// attribute still goes inside the start tag, before its closing.
TEST(XmlEdit, SetAttribBehindAStrayQuote) {
  struct Case {
    const char* before;
    const char* after;
  };
  for (const Case& c : {Case{"<r><f \"x></r>", "<r><f \"x n=\"v\"></r>"},
                        Case{"<r><f 'x/><g/></r>", "<r><f 'x n=\"v\"/><g/></r>"}}) {
    CXmlDoc doc(c.before);
    doc.FindElement("r");
    doc.EnterElement();
    ASSERT_TRUE(doc.FindElement("f"));
    ASSERT_TRUE(doc.SetAttrib("n", "v"));
    EXPECT_EQ(doc.GetDoc(), c.after);
    ExpectIndexMatchesText(doc);
  }
}

TEST(XmlEscape, EscapeAndUnescape) {
  EXPECT_EQ(EscapeText("<a & 'b' \"c\">", 0), "&lt;a &amp; 'b' \"c\"&gt;");
  EXPECT_EQ(EscapeText("<a & 'b' \"c\">", XML_ESCAPE_ATTRIBUTE),
            "&lt;a &amp; &apos;b&apos; &quot;c&quot;&gt;");
  EXPECT_EQ(EscapeText("&amp; &#38; & &x", XML_EDIT_KEEP_REFS), "&amp; &#38; &amp; &amp;x");
  struct Case {
    const char* in;
    std::string out;
  };
  const std::vector<Case> cases = {
      {"&#x4E2D;&#20013;", std::string(GBK("中")) + GBK("中")},
      {"&delta;&Delta;", std::string(GBK("δ")) + GBK("Δ")},
      {"&AMP;&Amp;&apos;", "&&'"},
      {"&DELTA;", "&DELTA;"},  // spelled in two cases: exact only
      {"&nosuch; &#0; &#xD800; &#x1F600; &#99999999999;",
       "&nosuch; &#0; &#xD800; &#x1F600; &#99999999999;"},
      {"&#x0E01;", "&#x0E01;"},  // Thai: GBK has no form
      {"&lt", "&lt"},
      {"&averyveryverylongname;", "&averyveryverylongname;"},
  };
  for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.in), c.out) << c.in;
}

TEST(XmlEscape, FloodOfReferences) {
  std::string text;
  for (int i = 0; i < 200000; ++i)
    text += (i % 3 == 0) ? "&#x4E2D;" : (i % 3 == 1) ? "&amp;" : "&bad;";
  std::string out = UnescapeText(text);
  EXPECT_EQ(out.size(), 66667u * 2 + 66667u + 66666u * 5);
}

}  // namespace
