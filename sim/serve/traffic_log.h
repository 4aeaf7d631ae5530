// Where a simulator program's lines go. The terminal that starts the
// simulators stays readable: the request lines (one per request or client)
// go to the log file the program was given, and to the terminal only when
// it was asked to (--verbose); the start and stop lines and the errors
// always reach the terminal, and the file too, so the file reads as the
// whole story of a run. Safe to call from every connection's thread.
#pragma once
#include <cstdio>
#include <mutex>
#include <string>

namespace sim {

class TrafficLog {
 public:
  // terminal takes the start, stop and (when verbose) request lines;
  // errors the errors. Neither is closed by the log.
  TrafficLog(std::FILE* terminal, std::FILE* errors);
  ~TrafficLog();
  TrafficLog(const TrafficLog&) = delete;
  TrafficLog& operator=(const TrafficLog&) = delete;

  // Takes "--log FILE" and "--verbose" out of the program's arguments,
  // leaving the others in their order for the program's own parser. False
  // (with a line on the error stream) when FILE is missing or cannot be
  // written.
  bool TakeOptions(int* argc, char** argv);

  // Request lines go to this file from now on (truncated first: one run,
  // one file). False when it cannot be opened; the log keeps its choice.
  bool OpenFile(const std::string& path);
  void SetVerbose(bool verbose);
  bool Verbose() const { return verbose_; }
  // The file the request lines go to; empty when none.
  const std::string& FilePath() const { return path_; }

  // A line per request or client: the file, and the terminal when verbose.
  void Request(const std::string& line);
  // Start and stop: the terminal and the file. The start line names the
  // file the request lines go to.
  void Started(const std::string& line);
  void Event(const std::string& line);
  // Something went wrong: the error stream and the file.
  void Error(const std::string& line);

 private:
  void Write(std::FILE* to, const std::string& line);

  std::FILE* const terminal_;
  std::FILE* const errors_;
  std::FILE* file_ = nullptr;
  std::string path_;
  bool verbose_ = false;
  std::mutex mutex_;
};

// The running program's log: the simulator programs configure it from their
// arguments; servers run in-process by tests write their request lines to
// it too, and with nothing configured those lines go nowhere.
TrafficLog& ProgramLog();

}  // namespace sim
