// The log of a simulator program (traffic_log.h).
#include "sim/serve/traffic_log.h"

#include <cstring>

namespace sim {

TrafficLog::TrafficLog(std::FILE* terminal, std::FILE* errors)
    : terminal_(terminal), errors_(errors) {}

TrafficLog::~TrafficLog() {
  if (file_) std::fclose(file_);
}

bool TrafficLog::TakeOptions(int* argc, char** argv) {
  int kept = 1;
  bool ok = true;
  for (int i = 1; i < *argc; ++i) {
    if (std::strcmp(argv[i], "--verbose") == 0) {
      SetVerbose(true);
    } else if (std::strcmp(argv[i], "--log") == 0) {
      if (i + 1 >= *argc) {
        Error(std::string(argv[0]) + ": --log needs a file");
        ok = false;
      } else if (!OpenFile(argv[++i])) {
        Error(std::string(argv[0]) + ": cannot write the log file " + argv[i]);
        ok = false;
      }
    } else {
      argv[kept++] = argv[i];
    }
  }
  *argc = kept;
  argv[kept] = nullptr;
  return ok;
}

bool TrafficLog::OpenFile(const std::string& path) {
  std::FILE* opened = std::fopen(path.c_str(), "w");
  if (!opened) return false;
  std::setvbuf(opened, nullptr, _IOLBF, 0);  // read while the simulator runs
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = opened;
  path_ = path;
  return true;
}

void TrafficLog::SetVerbose(bool verbose) {
  std::lock_guard<std::mutex> lock(mutex_);
  verbose_ = verbose;
}

void TrafficLog::Request(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) Write(file_, line);
  if (verbose_) Write(terminal_, line);
}

void TrafficLog::Started(const std::string& line) {
  std::string path;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    path = path_;
  }
  Event(path.empty() ? line : line + "; request lines in " + path);
}

void TrafficLog::Event(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) Write(file_, line);
  Write(terminal_, line);
}

void TrafficLog::Error(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) Write(file_, line);
  Write(errors_, line);
}

void TrafficLog::Write(std::FILE* to, const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), to);
  std::fputc('\n', to);
  std::fflush(to);
}

TrafficLog& ProgramLog() {
  static TrafficLog log(stdout, stderr);
  return log;
}

}  // namespace sim
