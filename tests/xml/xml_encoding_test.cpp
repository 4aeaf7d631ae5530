#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gbk.h"
#include "support/temp_dir.h"
#include "zeb/xml/xml_doc.h"
#include "zeb/xml/xml_encoding.h"

namespace {

TEST(XmlEncoding, NameTable) {
  struct Case {
    const char* name;
    int codePage;
  };
  for (const Case& c : std::vector<Case>{{"", 0},
                                         {"UTF-8", 65001},
                                         {"gb2312", 936},
                                         {"GBK", 936},
                                         {"UTF-32BE", 65005},
                                         {"utf-32be", 12001},
                                         {"cp500", 775},
                                         {"iso-4873:1986", 54936},
                                         {"cp1256 ", 1256},
                                         {"no-such", -1},
                                         {"UTF-16", 1200}}) {
    EXPECT_EQ(GetEncodingCodePage(c.name), c.codePage) << c.name;
  }
  EXPECT_EQ(GetEncodingCodePage(std::string(100, 'a')), -1);
  EXPECT_FALSE(CanConvert("", "gb2312"));
  EXPECT_TRUE(CanConvert("", "utf-8"));
  EXPECT_FALSE(CanConvert("", "no-such"));
  EXPECT_TRUE(CanConvert("big5", "utf-8"));
}

TEST(XmlEncoding, DeclaredEncoding) {
  struct Case {
    const char* text;
    const char* encoding;
  };
  for (const Case& c : std::vector<Case>{
           {"<?xml version=\"1.0\" encoding=\"GB2312\"?><r/>", "GB2312"},
           {"<?xml encoding='utf-16'?><r/>", "utf-16"},
           {"<?xml version=\"1.0\"?><r/>", ""},
           {" <?xml encoding=\"GB2312\"?><r/>", ""},
           {"<?other encoding=\"x\"?><?xml encoding=\"y\"?><r/>", ""},
           {"<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=utf-8\">"
            "</head></html>",
            "utf-8"},
           {"<html><head><meta name=a><meta http-equiv=\"Content-Type\" content=\"text/html\">"
            "<meta http-equiv=\"Content-Type\" content=\"charset=big5\"></head></html>",
            ""},
           {"<body><meta http-equiv=\"Content-Type\" content=\"charset=big5\"></body>", ""},
       }) {
    EXPECT_EQ(GetDeclaredEncoding(c.text), c.encoding) << c.text;
  }
}

class XmlSaveTest : public ::testing::Test {
 protected:
  TempDir dir_;
  std::string path_ = dir_.File("update.xml");
};

TEST_F(XmlSaveTest, DeclaredGb2312IsWrittenByteForByte) {
  std::string text =
      std::string("<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<u n=\"") + GBK("更新") + "\"/>";
  CXmlDoc doc(text.c_str());
  ASSERT_TRUE(doc.SaveFile(path_.c_str()));
  EXPECT_EQ(ReadBytes(path_), text);
  EXPECT_EQ(doc.GetResult(),
            "<write encoding=\"GB2312\" length=\"" + std::to_string(text.size()) + "\"/>");
}

TEST_F(XmlSaveTest, NoDeclarationIsWrittenAsUtf8) {
  std::string text = std::string("<u n=\"") + GBK("更新") + "\"/>";
  CXmlDoc doc(text.c_str());
  ASSERT_TRUE(doc.SaveFile(path_.c_str()));
  std::string utf8 = "<u n=\"\xE6\x9B\xB4\xE6\x96\xB0\"/>";
  EXPECT_EQ(ReadBytes(path_), utf8);
  EXPECT_EQ(doc.GetResult(),
            "<converted_from encoding=\"\" length=\"" + std::to_string(text.size()) +
                "\"/><write encoding=\"UTF-8\" length=\"" + std::to_string(utf8.size()) + "\"/>");
}

TEST_F(XmlSaveTest, UnlistedOrMissingConverterWritesUnchanged) {
  for (const char* encoding : {"x-no-such-thing", "x-iscii-de"}) {
    std::string text = std::string("<?xml encoding=\"") + encoding + "\"?><u>" + GBK("中") + "</u>";
    CXmlDoc doc(text.c_str());
    ASSERT_TRUE(doc.SaveFile(path_.c_str())) << encoding;
    EXPECT_EQ(ReadBytes(path_), text) << encoding;
  }
}

TEST_F(XmlSaveTest, Utf16AndUtf32AreWrittenWide) {
  struct Case {
    const char* encoding;
    size_t unit;
    bool bigEndian;
  };
  for (const Case& c : std::vector<Case>{{"utf-16", 2, false},
                                         {"UTF-16BE", 2, true},
                                         {"utf-32", 4, false},
                                         {"UTF-32BE", 4, true}}) {
    std::string text =
        std::string("<?xml encoding=\"") + c.encoding + "\"?><u>" + GBK("中") + "</u>";
    CXmlDoc doc(text.c_str());
    ASSERT_TRUE(doc.SaveFile(path_.c_str())) << c.encoding;
    std::string bytes = ReadBytes(path_);
    size_t chars = text.size() - 1;  // one two-byte GBK character
    ASSERT_EQ(bytes.size(), chars * c.unit) << c.encoding;
    size_t low = c.bigEndian ? c.unit - 1 : 0;
    EXPECT_EQ(bytes[low], '<') << c.encoding;
    // The Chinese character is U+4E2D, the fifth unit from the end.
    size_t at = bytes.size() - 5 * c.unit;
    unsigned lo = (unsigned char)bytes[at + low],
             hi = (unsigned char)bytes[at + (c.bigEndian ? c.unit - 2 : 1)];
    EXPECT_EQ(lo | hi << 8, 0x4E2Du) << c.encoding;
    EXPECT_NE(doc.GetResult().find("length=\"" + std::to_string(chars) + "\""), std::string::npos)
        << doc.GetResult();
  }
}

TEST_F(XmlSaveTest, LostCharactersAreReported) {
  std::string text = std::string("<?xml encoding=\"iso-8859-1\"?><u>") + GBK("中") + "</u>";
  CXmlDoc doc(text.c_str());
  ASSERT_TRUE(doc.SaveFile(path_.c_str()));
  EXPECT_EQ(ReadBytes(path_), "<?xml encoding=\"iso-8859-1\"?><u>?</u>");
  EXPECT_NE(doc.GetResult().find("<conversion_loss/>"), std::string::npos);
}

TEST_F(XmlSaveTest, EmptyDocumentAndUnwritablePath) {
  CXmlDoc empty;
  ASSERT_TRUE(empty.SaveFile(path_.c_str()));
  EXPECT_EQ(ReadBytes(path_), "");
  EXPECT_EQ(empty.GetResult(), "<write encoding=\"\" length=\"0\"/>");

  WriteBytes(path_, "old");
  CXmlDoc doc("<u/>");
  EXPECT_FALSE(doc.SaveFile((dir_.Path() + "/missing/update.xml").c_str()));
  // Nothing is converted for a file that cannot be created: the log holds
  // the file error alone.
  EXPECT_EQ(doc.GetResult(), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
  EXPECT_EQ(doc.GetDoc(), "<u/>");
  EXPECT_EQ(ReadBytes(path_), "old");
}

}  // namespace
