// CIniFile: the file's bytes come from the input, then a few look-ups and
// writes whose section, key and value texts come from the input too.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "settings/ini_file.h"

namespace {

std::string ScratchPath() {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  return std::string(base) + "/fuzz_ui_ini_file." + std::to_string(getpid());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = ScratchPath();
  std::string text(reinterpret_cast<const char*>(data), size);
  // Input layout: file bytes, then after a 0x01 byte the operation words
  // separated by 0x02.
  std::vector<std::string> words;
  size_t split = text.find('\x01');
  if (split != std::string::npos) {
    size_t pos = split + 1;
    while (pos <= text.size() && words.size() < 12) {
      size_t end = text.find('\x02', pos);
      if (end == std::string::npos) end = text.size();
      words.push_back(text.substr(pos, end - pos));
      pos = end + 1;
    }
    text.resize(split);
  }
  while (words.size() < 3) words.push_back("ID");
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  {
    CIniFile ini;
    ini.Open(path, 0);
    std::string value;
    int number = 0;
    std::vector<std::string> names;
    ini.GetSectionNames(names);
    for (size_t i = 0; i + 2 < words.size(); i += 3) {
      ini.GetString(words[i], words[i + 1], value);
      ini.GetInt(words[i], words[i + 1], &number);
      ini.GetKeyCount(words[i]);
      size_t before = ini.GetLines().size();
      ini.SetString(words[i], words[i + 1], words[i + 2], (int)(i / 3) & 1);
      if (ini.GetLines().size() > before + 2) __builtin_trap();
    }
    ini.SetInt(words[0], words[1], &number, 0);
  }
  unlink(path.c_str());
  return 0;
}
