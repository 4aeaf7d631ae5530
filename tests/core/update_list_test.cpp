// "lastupdate.dat" and the update list: records, servers, outdated
// components and the addresses handed to the update program.
#include "platform/gbk.h"
#include "update_test_support.h"
#include "zeb/core/update/last_update_file.h"
#include "zeb/core/update/update_list.h"

using namespace update_test;

namespace {

TEST(LastUpdateFile, WholeBoundedRecords) {
  // 130 bytes: two records and a partial one.
  std::string file = LastUpdateRecord("Main", "20261201") + LastUpdateRecord("trade", "20261105");
  file += std::string(12, 'x');
  ASSERT_EQ(file.size(), 130u);
  EXPECT_EQ(ParseLastUpdate(file), (LastUpdateMap{{"main", "20261201"}, {"trade", "20261105"}}));

  // Fields without their NUL stop at their width; a later record wins.
  std::string unended = std::string(50, 'N') + std::string(9, '9');
  EXPECT_EQ(ParseLastUpdate(unended + LastUpdateRecord(std::string(50, 'n'), "1")),
            (LastUpdateMap{{std::string(50, 'n'), "1"}}));
  EXPECT_EQ(ParseLastUpdate(unended), (LastUpdateMap{{std::string(50, 'n'), std::string(9, '9')}}));
  EXPECT_TRUE(ParseLastUpdate(std::string(58, 'a')).empty());
}

TEST(UpdateList, ServersUpToTheFirstMissingNumber) {
  struct Case {
    const char* what;
    std::string list;
    UpdateServerMap servers;
  } cases[] = {
      {"first and third: one server",
       "<Product><ServerList><Server1 Name=\"a\" URL=\"http://a/\"/><Server3 Name=\"c\" URL=\"http://c/\"/>"
       "</ServerList></Product>",
       {{"a", "http://a/"}}},
      {"a repeated name keeps the last address; order in the file does not matter",
       "<Product><ServerList><Server2 Name=\"a\" URL=\"2\"/><Server1 Name=\"a\" URL=\"1\"/>"
       "<Server3 Name=\"b\" URL=\"3\"/></ServerList></Product>",
       {{"a", "2"}, {"b", "3"}}},
      {"no server list", "<Product><Component/></Product>", {}},
  };
  for (const Case& c : cases) {
    CUpdateList list;
    ASSERT_TRUE(list.Parse(c.list)) << c.what;
    EXPECT_EQ(list.Servers(), c.servers) << c.what;
  }
  std::string eleven = "<Product><ServerList>";
  for (int i = 1; i <= 11; ++i)
    eleven +=
        "<Server" + std::to_string(i) + " Name=\"s" + std::to_string(i + 10) + "\" URL=\"u\"/>";
  CUpdateList list;
  ASSERT_TRUE(list.Parse(eleven + "</ServerList></Product>"));
  EXPECT_EQ(list.Servers().size(), 10u);
  EXPECT_FALSE(list.Parse("<List><ServerList/></List>"));
  EXPECT_FALSE(list.Parse("not xml at all"));
}

TEST(UpdateList, OutdatedComponents) {
  const LastUpdateMap recorded = {
      {"main", "20261210"}, {"trade", "20261210"}, {"quotes", "20261210"}};
  struct Case {
    const char* name;
    const char* listed;
    bool outdated;
  } cases[] = {
      {"Main", "20261209", false},   // recorded later; names without case
      {"trade", "20261210", false},  // the same time
      {"quotes", "20261211", true},  // listed later
      {"charts", "20200101", true},  // never installed
  };
  std::vector<Component> components;
  for (const Case& c : cases)
    components.push_back({c.name, c.listed, std::string(c.name) + ".zip"});
  CUpdateList list;
  ASSERT_TRUE(list.Parse(List({{"s", "http://s/"}}, components)));
  EXPECT_EQ(list.DropCurrent(recorded), 2);
  const std::string doc = list.Doc().GetDoc();
  for (const Case& c : cases)
    EXPECT_EQ(doc.find(std::string("<Name>") + c.name + "</Name>") != std::string::npos, c.outdated)
        << c.name;

  list.PrefixDownAddresses("http://s/files/?a=1&b=2/");
  CXmlDoc saved(list.Doc().GetDoc().c_str());
  ASSERT_TRUE(saved.FindElement("Product") && saved.EnterElement());
  std::vector<std::string> addresses;
  while (saved.FindElement("Component")) {
    saved.EnterElement();
    ASSERT_TRUE(saved.FindElement("DownAddress"));
    addresses.push_back(saved.GetData());
    saved.LeaveElement();
  }
  EXPECT_EQ(addresses, (std::vector<std::string>{"http://s/files/?a=1&b=2/quotes.zip",
                                                 "http://s/files/?a=1&b=2/charts.zip"}));
}

// A list in UTF-8 is read as such and saved back as such, names intact.
TEST(UpdateList, KeepsTheEncodingItCameIn) {
  const std::string utf8 =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Product><ServerList>"
      "<Server1 Name=\"本地\" URL=\"http://s/\"/></ServerList>"
      "<Component><Name>行情</Name><DownAddress>行情.zip</DownAddress></Component></Product>";
  shell_test::TempFolders program;
  CUpdateList list;
  ASSERT_TRUE(list.Parse(utf8));
  EXPECT_EQ(list.Servers().begin()->first, GBK("本地"));
  EXPECT_EQ(list.DropCurrent({}), 1);
  list.PrefixDownAddresses("http://s/");
  ASSERT_TRUE(list.Save(program.Path("update.xml")));
  EXPECT_NE(program.Read("update.xml").find("<DownAddress>http://s/行情.zip</DownAddress>"),
            std::string::npos);
}

}  // namespace
