// The login's settings file: how many balance servers a "SERVERNUM" gives.
#include <gtest/gtest.h>

#include <string>

#include "support/shell_temp_folders.h"
#include "zeb/core/login/login_settings.h"

namespace {

TEST(LoginSettingsTest, TheServerCountIsCappedNotRefused) {
  shell_test::TempFolders folders;
  const struct {
    const char* number;
    size_t servers;
  } cases[] = {{"3", 3}, {"100", 100}, {"101", 100}, {"100000", 100}, {"-2", 0}, {"x", 0}};
  for (const auto& c : cases) {
    folders.Write("zeb.ini",
                  std::string("[BALANCE]\r\nSERVERNUM=") + c.number + "\r\nSERVERIP1=10.0.0.1\r\n");
    SLoginSettings settings;
    ASSERT_TRUE(LoadLoginSettings(folders.Path("zeb.ini"), &settings));
    EXPECT_EQ(settings.servers.size(), c.servers) << c.number;
    if (c.servers) {
      EXPECT_EQ(settings.servers[0].host, "10.0.0.1");
    }
  }
}

}  // namespace
