// Speed of the XML document and the colour look-up.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <filesystem>
#include <string>

#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/xml/xml_doc.h"

namespace {

// An update-list-like document of about the given size.
std::string MakeDocument(size_t bytes, int* count = nullptr) {
  std::string text = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<update version=\"3\">\r\n";
  int n = 0;
  while (text.size() < bytes) {
    text += "  <file name=\"bin/module" + std::to_string(n) +
            ".dll\" size=\"123456\" md5=\"0123456789abcdef0123456789abcdef\">"
            "<desc>Module &amp; resources, part " +
            std::to_string(n) + "</desc></file>\r\n";
    ++n;
  }
  text += "</update>\r\n";
  if (count) *count = n;
  return text;
}

void BM_XmlParse1MB(benchmark::State& state) {
  const std::string text = MakeDocument(1 << 20);
  CXmlDoc doc;
  for (auto _ : state) {
    bool ok = doc.SetDocText(text);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}
BENCHMARK(BM_XmlParse1MB)->Unit(benchmark::kMillisecond);

// Finds and removes 1,000 elements among 2,000, the way the update check
// prunes its list.
void BM_XmlRemove1000(benchmark::State& state) {
  std::string text = "<update>\r\n";
  for (int i = 0; i < 2000; ++i) {
    text += std::string("  <") + (i % 2 ? "keep" : "file") + " n=\"" + std::to_string(i) +
            "\"><desc>d</desc></" + (i % 2 ? "keep" : "file") + ">\r\n";
  }
  text += "</update>\r\n";
  for (auto _ : state) {
    state.PauseTiming();
    CXmlDoc doc(text.c_str());
    state.ResumeTiming();
    doc.FindElement("update");
    doc.EnterElement();
    int removed = 0;
    while (doc.FindElement("file")) {
      doc.RemoveElement();
      ++removed;
    }
    if (removed != 1000) state.SkipWithError("wrong count");
  }
}
BENCHMARK(BM_XmlRemove1000)->Unit(benchmark::kMillisecond);

// The scheme loaded from a scheme list in a scratch program folder.
CSysStyle* LoadedStyle() {
  static CSysStyle* style = [] {
    static int argc = 1;
    static char name[] = "bench_ui";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
    static platform::ScopedRecordingBoxes boxes;  // no thumb bitmap: recorded, not shown
    std::string dir = (std::filesystem::temp_directory_path() / "bench_ui_scheme").string();
    std::filesystem::create_directories(dir + "/INTERFACE");
    std::string list = std::string("[") + GBK("配色方案") + "]\r\n0=s\r\n";
    platform::WriteFileAtomic(dir + "/INTERFACE/COLORSCHEME.ini", list);
    platform::SetProgramDirOverride(dir + "/");
    CSysStyle* s = CSysStyle::GetInstance();
    s->LoadScheme();
    return s;
  }();
  return style;
}

void BM_GetColor(benchmark::State& state) {
  CSysStyle* style = LoadedStyle();
  const int id = (int)state.range(0);
  for (auto _ : state) {
    COLORREF c = style->GetColor(id);
    benchmark::DoNotOptimize(c);
  }
}
// The first entry, the last entry, and an id that is not there.
BENCHMARK(BM_GetColor)->Arg(19)->Arg(55)->Arg(14);

}  // namespace
BENCHMARK_MAIN();
