#include <gtest/gtest.h>

#include "platform/dynlib.h"
#include "platform/paths.h"

namespace {

TEST(ModuleDir, NamesTheFolderOfTheLibraryHoldingTheCode) {
  // A function of the platform library itself: the folder that holds
  // libplatform.so, which is where the build puts every library.
  std::string dir = platform::GetModuleDir(reinterpret_cast<const void*>(&platform::GetProgramDir));
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_TRUE(platform::FileExists(dir + platform::LibraryFileName("platform"))) << dir;
  // No address: the program folder.
  EXPECT_EQ(platform::GetModuleDir(nullptr), platform::GetProgramDir());
}

}  // namespace
