// Regions, key selection, reading and assigning values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "vospel/IniParser.h"

namespace {

CIniParser Parsed(const std::string& text) {
  CIniParser ini;
  EXPECT_EQ(ini.ParseText(text.data(), text.size()), 1);
  return ini;
}

TEST(IniInterface, MissingKeyMakesAnUnwrittenPlaceholder) {
  CIniParser ini = Parsed("[a]\r\nk=1\r\n");
  ini.LocateRegion("a", nullptr);
  EXPECT_EQ(ini.ValOf("missing"), nullptr);
  EXPECT_EQ(ini <<= "missing", 0);  // placeholders are never found again
  EXPECT_EQ(ini.DumpText(), "\r\n[a]\r\nk=1\r\n\r\n");
}

TEST(IniInterface, PlaceholderThatReceivesAValueIsWritten) {
  CIniParser ini = Parsed("[a]\r\nk=1\r\n");
  ini.LocateRegion("a", nullptr);
  EXPECT_EQ(ini <<= "new", 0);
  EXPECT_EQ(ini << "v", 1);
  EXPECT_EQ(ini <<= "new", 1);
  EXPECT_STREQ(ini.ValOf("new"), "v");
  EXPECT_EQ(ini.DumpText(), "\r\n[a]\r\nk=1\r\nnew=v\r\n\r\n");
}

TEST(IniInterface, PlaceholderAssignedThroughItsValueIsWritten) {
  // The parameter-description editor: look the name up, select it again,
  // then assign the first value itself.
  CIniParser ini = Parsed("domain<<ZBFormu>>{MA=\"Param#1\";}\r\n");
  ini.LocateRegion(nullptr, "ZBFormu");
  EXPECT_EQ(ini.ValOf("KDJ"), nullptr);
  EXPECT_EQ(ini <<= "KDJ", 0);
  EXPECT_EQ(ini[0] << "\"n Param#1\"", 1);
  EXPECT_EQ(ini <<= "KDJ", 1);
  EXPECT_STREQ(ini.ValOf("kdj"), "\"n Param#1\"");
  EXPECT_EQ(ini.DumpText(),
            "domain<<ZBFormu>>\r\n{\r\n\tMA=\"Param#1\"\r\n\tKDJ=\"n Param#1\"\r\n};\r\n\r\n");
}

TEST(IniInterface, KeyWithoutValues) {
  CIniParser ini = Parsed("k=\r\n");
  EXPECT_EQ(ini <<= "k", 1);
  EXPECT_STREQ(ini.ValOf("k"), "");
  char buf[16] = "untouched";
  EXPECT_EQ(ini >> buf, 0);  // an empty value is not read
  EXPECT_STREQ(buf, "untouched");
  EXPECT_EQ(ini.DumpText(), "k=\r\n\r\n");
}

TEST(IniInterface, ListSelectionAndIndexing) {
  CIniParser ini = Parsed("k={a,b}\r\nm=x,y,{p,q}\r\n");
  ValItor& list = ini["k"];
  ASSERT_EQ(list.size(), 2);
  EXPECT_STREQ(list[0].GetText(), "a");
  EXPECT_STREQ(ini[5].GetText(), "b");  // beyond the end: the last value
  char buf[16];
  EXPECT_EQ(ini >> buf, 1);
  EXPECT_STREQ(buf, "b");
  EXPECT_EQ(list[7].isvalid(), 0);  // outside the list: an invalid value, not memory past it

  ValItor& m = ini["m"];
  ASSERT_EQ(m.size(), 3);
  KeyVals& inner = m[2];
  EXPECT_EQ(inner.GetType(), KeyVals::kList);
  EXPECT_EQ(inner.GetDepth(), 1);
  EXPECT_EQ(inner.size(), 2);
  EXPECT_STREQ(inner[9].GetText(), "q");
  EXPECT_EQ(ini.ValOf("m"), std::string("x"));
  ini[2];
  EXPECT_EQ(ini >> buf, 0);  // a list is not read
  EXPECT_EQ(ini << "z", 0);  // nor assigned
}

TEST(IniInterface, NamesIgnoreCaseAndCompareByText) {
  CIniParser ini = Parsed("Name=first\r\nNAME=second\r\naa=1\r\nb@=2\r\n");
  EXPECT_STREQ(ini.ValOf("name"), "first");
  // "aa" and "b@" share a hash; they are still two keys.
  EXPECT_STREQ(ini.ValOf("aa"), "1");
  EXPECT_STREQ(ini.ValOf("b@"), "2");
}

TEST(IniInterface, RegionsAreFoundOrCreated) {
  CIniParser ini = Parsed(
      "top=0\r\ndomain<<ZBFormu>>{MA=ma;}\r\n[s]\r\nk=1\r\ndomain<<B>>{k=2;domain<<C>>{k=3}}\r\n");
  EXPECT_STREQ(ini.ValOf("top"), "0");
  ini.LocateRegion(nullptr, "ZBFormu");
  EXPECT_STREQ(ini.ValOf("MA"), "ma");
  ini.LocateRegion("S", nullptr);
  EXPECT_STREQ(ini.ValOf("k"), "1");
  ini.LocateRegion("s", "b");
  EXPECT_STREQ(ini.ValOf("k"), "2");
  ini.LocateRegion("s", "C");  // blocks are searched one level deep
  EXPECT_EQ(ini.ValOf("k"), nullptr);
  ini.FreeRegion();
  EXPECT_STREQ(ini.ValOf("top"), "0");

  CIniParser empty = Parsed("");
  EXPECT_EQ(empty.LocateRegion(nullptr, "ZBFormu"), 1);
  EXPECT_EQ(empty.ValOf("MA"), nullptr);
  EXPECT_EQ(empty.LocateRegion("new", "blk"), 1);
  EXPECT_EQ(empty.DumpText(),
            "domain<<ZBFormu>>\r\n{\r\n};\r\n\r\n[new]\r\ndomain<<blk>>\r\n{\r\n};\r\n\r\n");
}

TEST(IniInterface, AssignedValuesAreReadAndWritten) {
  CIniParser ini = Parsed("[s]\r\nk=1,2\r\nn=7\r\n");
  ini.LocateRegion("s", nullptr);
  int v = 0;
  ini <<= "n";
  EXPECT_EQ(ini >> v, 1);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(ini << 42, 1);
  ini["k"];
  ini[1];
  EXPECT_EQ(ini << "two", 1);
  char small[4];
  EXPECT_EQ(ini.Read(small, sizeof small), 1);
  EXPECT_STREQ(small, "two");
  EXPECT_EQ(ini.DumpText(), "\r\n[s]\r\nk=1,two\r\nn=42\r\n\r\n");

  char tiny[2];
  EXPECT_EQ(ini.Read(tiny, sizeof tiny), 0);  // cut: the bounded read says so
  EXPECT_STREQ(tiny, "t");
}

TEST(IniInterface, ValuesCopyByValue) {
  KeyVals a;
  EXPECT_EQ(a.GetType(), KeyVals::kEmpty);
  EXPECT_EQ(a << "text", 1);
  EXPECT_EQ(a.GetType(), KeyVals::kOwned);
  KeyVals b = a;
  EXPECT_EQ(b << 5, 1);
  EXPECT_STREQ(a.GetText(), "text");
  EXPECT_STREQ(b.GetText(), "5");
  int v = 0;
  EXPECT_EQ(b >> v, 1);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(&a[3], &a);  // no nested list: the value itself

  ValItor list;
  EXPECT_EQ(list >> v, 0);
  list.Append(a);
  ValItor copy = list;
  copy[0] << "changed";
  char buf[16];
  EXPECT_EQ(list >> buf, 1);
  EXPECT_STREQ(buf, "text");
}

TEST(IniInterface, CopiesShareOneContext) {
  CIniParser ini = Parsed("k=1\r\n");
  CIniParser copy = ini;
  ini <<= "k";
  ini << "2";
  EXPECT_STREQ(copy.ValOf("k"), "2");
}

TEST(IniInterface, NoSelectionYieldsTheInvalidValue) {
  CIniParser ini;
  EXPECT_EQ(ini[0].isvalid(), 0);
  char buf[8];
  int v;
  EXPECT_EQ(ini >> buf, 0);
  EXPECT_EQ(ini >> v, 0);
  EXPECT_EQ(ini << "x", 0);
}

}  // namespace
