// "zeb.ini" parse and save: whatever the bytes, parsing never fails hard,
// and what a save writes reads back as the same sections, keys and values.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "settings/config_file.h"

namespace {

void ExpectSame(const CConfigFile& a, const CConfigFile& b) {
  const auto& sa = a.GetSections();
  const auto& sb = b.GetSections();
  if (sa.size() != sb.size()) std::abort();
  for (auto ia = sa.begin(), ib = sb.begin(); ia != sa.end(); ++ia, ++ib) {
    if (ia->second.name != ib->second.name) std::abort();
    if (ia->second.keys.size() != ib->second.keys.size()) std::abort();
    for (auto ka = ia->second.keys.begin(), kb = ib->second.keys.begin();
         ka != ia->second.keys.end(); ++ka, ++kb) {
      if (ka->second.key != kb->second.key || ka->second.value != kb->second.value) std::abort();
    }
  }
}

std::string ScratchPath() {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(base) + "/fuzz_ui_config_file." + std::to_string(getpid()) + ".ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // The last line of the input doubles as a value to set.
  size_t cut = text.rfind('\n');
  std::string newValue = cut == std::string::npos ? std::string() : text.substr(cut + 1);

  static const std::string path = ScratchPath();
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  CConfigFile file(path.c_str(), 0);
  if (!file.IsLoaded()) std::abort();
  std::string value;
  int number = 0;
  file.GetString("SYSTEM", "SYSTEMTITLE", value);
  file.GetInt("UPDATE", "UPDATEPORT", &number);
  if (!file.GetSections().empty() && !file.GetSections().begin()->second.keys.empty()) {
    const std::string key = file.GetSections().begin()->second.keys.begin()->second.key;
    file.SetKeyValue(0, key.c_str(), newValue.c_str(), 0);
  }
  file.SetString("ADDED", "k", "v", -1);

  if (file.Save(1) != 0) std::abort();
  CConfigFile again(path.c_str(), 0);
  // Values that begin or end with white space are trimmed on reading by
  // design; everything else must come back byte for byte.
  bool trimmedValues = false;
  for (const auto& [n, s] : file.GetSections()) {
    for (const auto& [m, k] : s.keys) {
      if (k.value.empty()) continue;
      char f = k.value.front(), l = k.value.back();
      auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
      if (blank(f) || blank(l)) trimmedValues = true;
    }
  }
  if (!trimmedValues) ExpectSame(file, again);
  unlink(path.c_str());
  return 0;
}
