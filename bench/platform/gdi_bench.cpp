// The device context's cost per grid cell: a cell's text through DrawText
// (the same texts every paint, or new ones every time), its border through
// Polyline, and GetTextExtent; each the plain way (a painter per call, Qt
// laying the text out) and with the shortcuts (painter kept open, layouts
// kept, runs filled). Times are per cell.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "gdi_internal.h"
#include "platform/gbk.h"
#include "platform/gdi.h"

namespace {

constexpr int kColumns = 22, kRows = 37, kCellWidth = 80, kRowHeight = 24;

void EnsureApplication() {
  static QGuiApplication* app = [] {
    static int argc = 1;
    static char name[] = "bench_platform_gdi";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

// A full-screen memory DC with the quote list's font selected.
struct Page {
  CDC dc;
  CBitmap bitmap;
  CFont font;
  std::vector<std::string> texts;
  Page() {
    EnsureApplication();
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(kColumns * kCellWidth, (kRows + 1) * kRowHeight);
    dc.SelectObject(&bitmap);
    font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < kColumns * kRows; ++i) {
      if (i % kColumns == 2) texts.push_back(std::string(GBK("纪念钞精品")) + std::to_string(i));
      else texts.push_back(std::to_string(10 + i % 90) + "." + std::to_string(10 + i % 83));
    }
  }
  RECT Cell(int i) const {
    const int left = (i % kColumns) * kCellWidth, top = (i / kColumns) * kRowHeight;
    return RECT{left + 2, top, left + kCellWidth - 2, top + kRowHeight};
  }
};

struct ShortcutsFor {
  explicit ShortcutsFor(const benchmark::State& state) {
    platform::gdi_detail::SetShortcutsEnabled(state.range(0) != 0);
  }
  ~ShortcutsFor() { platform::gdi_detail::SetShortcutsEnabled(true); }
};

const COLORREF kColours[] = {RGB(255, 80, 80), RGB(0, 230, 0), RGB(230, 230, 230)};

void BM_CellTextSameEveryPaint(benchmark::State& state) {
  ShortcutsFor shortcuts(state);
  Page page;
  for (auto _ : state) {
    for (size_t i = 0; i < page.texts.size(); ++i) {
      RECT r = page.Cell((int)i);
      page.dc.SetTextColor(kColours[i % 3]);
      page.dc.DrawText(page.texts[i], &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
  }
  state.SetItemsProcessed(state.iterations() * (int64_t)page.texts.size());
}
BENCHMARK(BM_CellTextSameEveryPaint)->Arg(0)->Arg(1)->ArgName("shortcuts");

void BM_CellTextNewEveryPaint(benchmark::State& state) {
  ShortcutsFor shortcuts(state);
  Page page;
  long paint = 0;
  for (auto _ : state) {
    ++paint;
    for (size_t i = 0; i < page.texts.size(); ++i) {
      RECT r = page.Cell((int)i);
      const std::string text = std::to_string(paint) + "." + std::to_string(i);
      page.dc.DrawText(text, &r, DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
  }
  state.SetItemsProcessed(state.iterations() * (int64_t)page.texts.size());
}
BENCHMARK(BM_CellTextNewEveryPaint)->Arg(0)->Arg(1)->ArgName("shortcuts");

void BM_CellBorder(benchmark::State& state) {
  ShortcutsFor shortcuts(state);
  Page page;
  CPen pen(PS_SOLID, 1, RGB(60, 60, 90));
  page.dc.SelectObject(&pen);
  for (auto _ : state) {
    for (int i = 0; i < kColumns * kRows; ++i) {
      const RECT r = page.Cell(i);
      const POINT corner[] = {
          {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}};
      page.dc.Polyline(corner, 3);
    }
  }
  state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_CellBorder)->Arg(0)->Arg(1)->ArgName("shortcuts");

void BM_TextExtent(benchmark::State& state) {
  ShortcutsFor shortcuts(state);
  Page page;
  for (auto _ : state)
    for (const std::string& text : page.texts)
      benchmark::DoNotOptimize(page.dc.GetTextExtent(text));
  state.SetItemsProcessed(state.iterations() * (int64_t)page.texts.size());
}
BENCHMARK(BM_TextExtent)->Arg(0)->Arg(1)->ArgName("shortcuts");

}  // namespace

BENCHMARK_MAIN();
