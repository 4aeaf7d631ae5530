// Where a simulator program's lines go: request lines to its log file, and
// to the terminal only with --verbose; start, stop and errors always to the
// terminal (and the file); the program's other options left to it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "sim/serve/traffic_log.h"
#include "support/temp_folder.h"

namespace {

using test_support::ReadBytes;
using test_support::TempFolder;

// Everything written to a stream so far.
std::string Contents(std::FILE* stream) {
  std::fflush(stream);
  std::rewind(stream);
  std::string text;
  char buffer[256];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, n);
  return text;
}

struct Streams {
  Streams() : terminal(std::tmpfile()), errors(std::tmpfile()) {}
  ~Streams() {
    std::fclose(terminal);
    std::fclose(errors);
  }
  std::FILE* terminal;
  std::FILE* errors;
};

// A program's argument vector as main gets it, over strings that stay put.
struct CommandLine {
  explicit CommandLine(std::vector<std::string> words) : args(std::move(words)) {
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    argc = static_cast<int>(args.size());
  }
  std::vector<std::string> args;
  std::vector<char*> argv;
  int argc;
};

struct Case {
  const char* name;
  bool withFile;
  bool verbose;
  const char* onTerminal;  // besides the start and stop lines
};

class TrafficLogChoice : public testing::TestWithParam<Case> {};

TEST_P(TrafficLogChoice, SendsEachKindOfLineWhereTheOptionsSay) {
  const Case& c = GetParam();
  TempFolder folder("zeb_traffic_log");
  const std::string path = folder.File("sim_quote.log");
  std::vector<std::string> args = {"sim_quote", "--port", "0"};
  if (c.withFile) args.insert(args.end(), {"--log", path});
  if (c.verbose) args.push_back("--verbose");
  args.push_back("--seed");
  args.push_back("7");
  CommandLine line(args);
  int& argc = line.argc;
  std::vector<char*>& argv = line.argv;

  Streams streams;
  sim::TrafficLog log(streams.terminal, streams.errors);
  ASSERT_TRUE(log.TakeOptions(&argc, argv.data()));
  // The program's own options stay, in their order.
  ASSERT_EQ(argc, 5);
  EXPECT_STREQ(argv[1], "--port");
  EXPECT_STREQ(argv[2], "0");
  EXPECT_STREQ(argv[3], "--seed");
  EXPECT_STREQ(argv[4], "7");
  EXPECT_EQ(argv[5], nullptr);

  log.Started("sim_quote: listening");
  log.Request("request 1");
  log.Error("bad frame");
  log.Request("request 2");
  log.Event("sim_quote: stopped");

  const std::string start = c.withFile ? "sim_quote: listening; request lines in " + path + "\n"
                                       : "sim_quote: listening\n";
  EXPECT_EQ(Contents(streams.terminal), start + c.onTerminal + "sim_quote: stopped\n");
  EXPECT_EQ(Contents(streams.errors), "bad frame\n");
  if (c.withFile) {
    EXPECT_EQ(log.FilePath(), path);
    EXPECT_EQ(ReadBytes(path), start + "request 1\nbad frame\nrequest 2\nsim_quote: stopped\n");
  } else {
    EXPECT_EQ(log.FilePath(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, TrafficLogChoice,
    testing::Values(Case{"FileOnly", true, false, ""},
                    Case{"FileAndVerbose", true, true, "request 1\nrequest 2\n"},
                    Case{"VerboseOnly", false, true, "request 1\nrequest 2\n"},
                    Case{"Neither", false, false, ""}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(TrafficLog, RefusesALogFileItCannotWriteOrThatIsMissing) {
  TempFolder folder("zeb_traffic_log");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"sim_trade", "--log", folder.File("no/such/folder/x.log")},
        std::vector<std::string>{"sim_trade", "--log"}}) {
    CommandLine line(args);
    Streams streams;
    sim::TrafficLog log(streams.terminal, streams.errors);
    EXPECT_FALSE(log.TakeOptions(&line.argc, line.argv.data())) << args.size();
    EXPECT_NE(Contents(streams.errors).find("sim_trade: "), std::string::npos);
    EXPECT_EQ(log.FilePath(), "");
    // With no file, request lines reach nowhere rather than the terminal.
    log.Request("request");
    EXPECT_EQ(Contents(streams.terminal), "");
  }
}

}  // namespace
