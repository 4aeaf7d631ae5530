// A stand-in for the separate update program that the main program starts
// (installed beside it as "Novarel"). It downloads nothing: it records the
// arguments it was started with and the "update.xml" it finds in its own
// folder into "novarel-record.txt" there (or the file named by
// $ZEB_UPDATER_RECORD), so tests and demonstrations can see what was
// handed over. Self-contained, so it runs from any folder it is copied to.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  // The real updater downloads; a server that hangs up must cost a failed
  // write, not the process.
  std::signal(SIGPIPE, SIG_IGN);
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  const fs::path folder = ec ? fs::current_path() : self.parent_path();
  const char* named = std::getenv("ZEB_UPDATER_RECORD");
  const fs::path record = named && *named ? fs::path(named) : folder / "novarel-record.txt";

  std::string text = "argc " + std::to_string(argc - 1) + "\n";
  for (int i = 1; i < argc; ++i) text += "arg" + std::to_string(i) + " " + argv[i] + "\n";
  std::ifstream list(folder / "update.xml", std::ios::binary);
  if (list) {
    text += "update.xml\n";
    text.append(std::istreambuf_iterator<char>(list), std::istreambuf_iterator<char>());
  } else {
    text += "update.xml missing\n";
  }

  // Written beside and renamed, so a reader never sees half a record.
  const fs::path partial = record.string() + ".part" + std::to_string(getpid());
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out) return 1;
  }
  fs::rename(partial, record, ec);
  if (ec) return 1;
  std::fprintf(stderr, "Novarel stand-in: recorded %d arguments in %s\n", argc - 1, record.c_str());
  return 0;
}
