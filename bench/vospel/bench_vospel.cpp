// Parsing (and writing) a 1 MB configuration file.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "vospel/IniParser.h"

namespace {

// Formula description files scaled up: blocks of keys with nested lists,
// sections of plain keys, comment lines.
std::string MakeFile(size_t bytes) {
  std::string text = "; generated for the benchmark\r\n";
  int n = 0;
  while (text.size() < bytes) {
    text += "domain<<Formu" + std::to_string(n) + ">>\r\n{\r\n";
    for (int k = 0; k < 20; ++k) {
      text += "\tKEY" + std::to_string(k) + "=\"text with blanks " + std::to_string(n) +
              "\",{5,10,{20,60}},abc,";
      text += std::to_string(k * 7) + "\r\n";
    }
    text += "\t# a comment line inside the block\r\n};\r\n";
    text += "[Section" + std::to_string(n) + "]\r\n";
    for (int k = 0; k < 10; ++k)
      text += "name" + std::to_string(k) + "=value" + std::to_string(k) + "\r\n";
    ++n;
  }
  return text;
}

const std::string& File() {
  static const std::string text = MakeFile(1 << 20);
  return text;
}

void BM_ParseText(benchmark::State& state) {
  const std::string& text = File();
  for (auto _ : state) {
    CIniParser ini;
    int ok = ini.ParseText(text.data(), text.size());
    if (ok != 1) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseText)->Unit(benchmark::kMillisecond);

void BM_SetIniFile(benchmark::State& state) {
  const std::string path = "/tmp/bench_vospel_" + std::to_string(getpid()) + ".ini";
  std::ofstream(path, std::ios::binary) << File();
  for (auto _ : state) {
    CIniParser ini;
    int ok = ini.SetIniFile(path.c_str());
    if (ok != 1) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(ok);
  }
  std::remove(path.c_str());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(File().size()));
}
BENCHMARK(BM_SetIniFile)->Unit(benchmark::kMillisecond);

void BM_DumpText(benchmark::State& state) {
  CIniParser ini;
  ini.ParseText(File().data(), File().size());
  for (auto _ : state) {
    std::string out = ini.DumpText();
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_DumpText)->Unit(benchmark::kMillisecond);

}  // namespace
BENCHMARK_MAIN();
