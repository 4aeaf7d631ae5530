// The trace line for code without a thread object: same head as a thread's.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "sharecode/mythread.h"

namespace {

TEST(TraceLine, FreeFunctionWritesTheThreadHeadWhateverTheLevel) {
  std::vector<std::string> lines;
  CMyThread::SetTraceSink([&](const std::string& line) { lines.push_back(line); });
  WriteTraceLine("/src/trade/comm_thread.cpp", 77, 3, "lost %s after %d ms\n", "link", 12);
  CMyThread::SetTraceSink(nullptr);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(
      lines[0],
      std::regex("<\\d{8} \\d{6}\\.\\d{3},   comm_thread.cpp, 77>3: lost link after 12 ms\n")))
      << lines[0];
}

}  // namespace
