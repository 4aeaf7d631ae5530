// sim_quote: the quote-server simulator on loopback.
//   sim_quote [--port N] [--refuse TEXT] [--notice TEXT] [--version N]
//             [--no-keepalive] [--split] [--delay MS] [--slow-reader MS]
//             [--fault bad-marker|zero-length|drop] [--seed N] [--walk-ms MS]
//             [--push-every N] [--quiet] [--log FILE] [--verbose]
// Quote-list pushes go out every N walk steps (10 unless given; 0: none).
// A line per client and request goes to the --log file, and to standard
// output with --verbose; --quiet writes none.
// Texts are given in UTF-8 and sent in GBK. --port 0 picks a free port.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/gbk.h"
#include "platform/socket.h"
#include "sim/quote-server/quote_server.h"
#include "sim/serve/stop_signal.h"
#include "sim/serve/traffic_log.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: sim_quote [--port N] [--refuse TEXT] [--notice TEXT] [--version N]\n"
               "                 [--no-keepalive] [--split] [--delay MS] [--slow-reader MS]\n"
               "                 [--fault bad-marker|zero-length|drop] [--seed N] [--walk-ms MS]\n"
               "                 [--push-every N] [--quiet] [--log FILE] [--verbose]\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  platform::IgnoreBrokenPipe();
  // The session log is read while the simulator runs.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (!sim::ProgramLog().TakeOptions(&argc, argv)) return Usage();
  sim::QuoteServerOptions options;
  options.verbose = true;
  options.pushEveryWalks = 10;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "sim_quote: %s needs a value\n", name);
        std::exit(Usage());
      }
      return argv[++i];
    };
    if (arg == "--port") options.port = std::atoi(value("--port"));
    else if (arg == "--refuse") options.refuseText = platform::Utf8ToGbk(value("--refuse"));
    else if (arg == "--notice") options.noticeText = platform::Utf8ToGbk(value("--notice"));
    else if (arg == "--version")
      options.dataVersion = (uint32_t)std::strtoul(value("--version"), nullptr, 10);
    else if (arg == "--no-keepalive") options.answerKeepAlive = false;
    else if (arg == "--split") options.splitWrites = true;
    else if (arg == "--delay") options.replyDelayMs = std::atoi(value("--delay"));
    else if (arg == "--slow-reader") options.slowReaderMs = std::atoi(value("--slow-reader"));
    else if (arg == "--fault") options.faultAfterInitData = value("--fault");
    else if (arg == "--seed") options.seed = (uint32_t)std::strtoul(value("--seed"), nullptr, 10);
    else if (arg == "--walk-ms") options.walkIntervalMs = std::atoi(value("--walk-ms"));
    else if (arg == "--push-every") options.pushEveryWalks = std::atoi(value("--push-every"));
    else if (arg == "--quiet") options.verbose = false;
    else return Usage();
  }
  if (options.noticeText.size() > sim::kMaxNoticeText) {
    std::fprintf(stderr, "sim_quote: a notice holds at most %zu bytes\n", sim::kMaxNoticeText);
    return 2;
  }
  sim::QuoteServer server(options);
  if (!server.Start()) {
    sim::ProgramLog().Error("sim_quote: cannot listen on 127.0.0.1:" +
                            std::to_string(options.port));
    return 1;
  }
  sim::ProgramLog().Started("sim_quote: listening on 127.0.0.1:" + std::to_string(server.Port()) +
                            " (" + std::to_string(server.Market().Size()) + " items)");
  sim::WaitForStopSignal();
  server.Stop();
  sim::ProgramLog().Event("sim_quote: stopped");
  return 0;
}
