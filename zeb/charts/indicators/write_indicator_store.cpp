// Build step: writes the standard indicators into the program folder's
// formula store when the folder holds none yet (a user's store is kept).
// usage: write_indicator_store LIST OUT_DAT
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "zeb/charts/indicators/standard_indicators.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LIST OUT_DAT\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  std::string dat, error;
  if (!BuildIndicatorStore(text, &dat, &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  const std::filesystem::path out(argv[2]);
  if (std::filesystem::exists(out)) return 0;
  std::filesystem::create_directories(out.parent_path());
  const std::filesystem::path part = out.string() + ".part";
  std::ofstream(part, std::ios::binary) << dat;
  std::filesystem::rename(part, out);
  return 0;
}
