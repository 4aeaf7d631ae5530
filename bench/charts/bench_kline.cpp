// Speed of the K-line chart: the page of 2,000 bars with the VOL, MACD and
// KDJ panes repainted into a 1920 x 1080 memory DC, beside a bare QPainter
// loop drawing the same candles, polylines and sticks into the same
// picture; the recompute of six formula panes over 5,000 bars; a 2,000-bar
// history reply parsed and merged; the ex-rights adjustment of 10,000 bars
// by 30 records; and one pushed tick taken and the page repainted, into a
// fresh DC and, as the chart view does, into a kept back buffer.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "bench/common/kline_bodies.h"
#include "bench/common/side_by_side.h"
#include "formula/face/FormulaFaceAccess.h"
#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/msgbox.h"
#include "platform/paths.h"
#include "sim/market/market_table_builder.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/charts/indicators/standard_indicators.h"
#include "zeb/charts/kline/his_tech_obj.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr uint16_t kMarket = 0x1012;
constexpr int32_t kCode = 602001;

using kline_bodies::Put;
using kline_bodies::PutTickPrice;

std::string History(int n) { return kline_bodies::History(kMarket, kCode, n); }

struct Fixture {
  CFormulaFaceAccess formula;
  CPublic* store = nullptr;
  SStockInfo* item = nullptr;
  platform::ScopedRecordingBoxes boxes;

  Fixture() {
    static int argc = 1;
    static char name[] = "bench_kline";
    static char* argv[] = {name, nullptr};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    new QGuiApplication(argc, argv);
    const std::string dir =
        (std::filesystem::temp_directory_path() / "bench_kline_folder").string();
    std::filesystem::create_directories(dir + "/INTERFACE");
    std::filesystem::create_directories(dir + "/formula");
    std::filesystem::create_directories(dir + "/INDEX");
    platform::WriteFileAtomic(dir + "/INTERFACE/COLORSCHEME.ini",
                              std::string("[") + GBK("配色方案") + "]\r\n0=s\r\n");
    std::ifstream in(std::string(ZEB_SOURCE_DIR) +
                     "/zeb/charts/indicators/standard_indicators.txt");
    std::string dat, error;
    BuildIndicatorStore(std::string(std::istreambuf_iterator<char>(in), {}), &dat, &error);
    platform::WriteFileAtomic(dir + "/formula/ZBFormu.dat", dat);
    platform::WriteFileAtomic(dir + "/INDEX/INDEX.DEX", std::string("[") + GBK("指标个数") +
                                                            "]\r\n001=4\r\n[" + GBK("指标类型") +
                                                            "]\r\n001=KLINE,VOL,MACD,KDJ,\r\n");
    platform::SetProgramDirOverride(dir + "/");
    CSysStyle::GetInstance()->LoadScheme();
    SetFormulaAccess(&formula);
    CFormulaFace::InitDefineTech();
    store = new CPublic;
    const std::string table = sim::BuildOneItemMarketTable(kMarket, kCode, "bench", 20000);
    store->ParseMarketTable(table.data(), int(table.size()));
    const SCodeInfo key{kMarket, kCode};
    item = store->FindStock(&key);
  }
};

Fixture& Setup() {
  static Fixture* fixture = new Fixture();
  return *fixture;
}

// A chart holding bars and showing them all.
std::unique_ptr<CHisTechObj> Chart(int bars, const std::vector<std::string>& panes = {}) {
  auto obj = std::make_unique<CHisTechObj>(Setup().store);
  if (!panes.empty()) obj->SetPaneNames(panes);
  obj->SetRect(0, 0, kWidth, kHeight);
  obj->SetStock(Setup().item);
  obj->RequestKLine();
  const std::string body = History(bars);
  obj->OnData(body.data(), int(body.size()));
  obj->SetRange(0, bars);
  obj->Recompute();
  if (static_cast<int>(obj->Raw().size()) != bars) {
    std::fprintf(stderr, "bench_kline: the chart holds %zu bars, not %d\n", obj->Raw().size(),
                 bars);
    std::abort();
  }
  return obj;
}

struct Canvas {
  CDC dc;
  CBitmap bitmap;
  Canvas() {
    dc.CreateCompatibleDC(nullptr);
    bitmap.CreateBitmap(kWidth, kHeight);
    dc.SelectObject(&bitmap);
  }
};

QColor Q(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

void BM_PageRepaint(benchmark::State& state) {
  auto obj = Chart(2000);
  Canvas ours;
  // The peer: the same primitives with QPainter straight into a picture.
  QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  const std::vector<int>& x = obj->XPositions();
  const int w = obj->CandleWidth();
  const SHistoryUnit* bars = obj->Shown();
  CTechCreator& price = obj->Pane(0);
  std::vector<std::array<int, 4>> candles;
  for (size_t i = 0; i < x.size(); ++i)
    candles.push_back({price.ValueToY(bars[i].fOpen), price.ValueToY(bars[i].fClose),
                       price.ValueToY(bars[i].fHigh), price.ValueToY(bars[i].fLow)});
  struct Line {
    std::vector<QPoint> points;
    bool sticks;
    int base;
  };
  std::vector<Line> lines;
  for (int p = 1; p < obj->GetPaneCount(); ++p) {
    CTechAnalysisBasePic* pic = obj->Pane(p).GetPic();
    for (int j = 0; j < pic->GetOutputCount(); ++j) {
      Line l{{}, pic->GetStyle(j) != kStyleLine, pic->GetPlotRect().bottom};
      for (size_t i = 0; i < x.size(); ++i)
        l.points.emplace_back(x[i] + w / 2, pic->OutputRows(j)[i]);
      lines.push_back(std::move(l));
    }
  }
  const QColor up = Q(CSysStyle::GetInstance()->GetColor(2));
  const QColor down = Q(CSysStyle::GetInstance()->GetColor(24));
  auto bare = [&] {
    QPainter p(&image);
    p.fillRect(0, 0, kWidth, kHeight, Qt::black);
    for (size_t i = 0; i < candles.size(); ++i) {
      const auto& c = candles[i];
      const bool rise = c[1] <= c[0];
      p.setPen(rise ? up : down);
      p.setBrush(rise ? Qt::NoBrush : QBrush(down));
      p.drawRect(x[i], std::min(c[0], c[1]), w, std::abs(c[0] - c[1]));
      p.drawLine(x[i] + w / 2, c[2], x[i] + w / 2, std::min(c[0], c[1]));
      p.drawLine(x[i] + w / 2, c[3], x[i] + w / 2, std::max(c[0], c[1]));
    }
    for (const Line& l : lines) {
      p.setPen(up);
      if (l.sticks)
        for (const QPoint& pt : l.points) p.drawLine(pt.x(), l.base, pt.x(), pt.y());
      else p.drawPolyline(l.points.data(), int(l.points.size()));
    }
  };
  auto page = [&] {
    ours.dc.FillSolidRect(0, 0, kWidth, kHeight, 0);
    obj->Draw(&ours.dc);
    ours.dc.GetImage();  // the picture finished, as a view would blit it
  };
  side_by_side::RunBatches(state, {"ours_ns", 1, 1.0, "qpainter_ns", 1, 1.0}, page, bare);
}
BENCHMARK(BM_PageRepaint)->Unit(benchmark::kMillisecond)->Apply(side_by_side::Repetitions);

void BM_RecomputeSixFormulaPanes(benchmark::State& state) {
  auto obj = Chart(5000, {"KLINE", "VOL", "MACD", "KDJ", "RSI", "WR", "BOLL"});
  for (auto _ : state) obj->Recompute();
}
BENCHMARK(BM_RecomputeSixFormulaPanes)->Unit(benchmark::kMillisecond);

void BM_HistoryReplyParsedAndMerged(benchmark::State& state) {
  const std::string body = History(2000);
  auto obj = Chart(1, {"KLINE"});
  for (auto _ : state) {
    obj->SetStock(nullptr);
    obj->RequestKLine();
    obj->OnData(body.data(), int(body.size()));
  }
}
BENCHMARK(BM_HistoryReplyParsedAndMerged)->Unit(benchmark::kMicrosecond);

void BM_AdjustSeries(benchmark::State& state) {
  auto obj = Chart(10000, {"KLINE"});
  std::string b;
  Put(b, 0, 0x1300, 2);
  Put(b, 2, 1, 2);
  Put(b, 4, 30, 2);
  for (int i = 0; i < 30; ++i) {
    const size_t at = 10 + 16 * size_t(i);
    Put(b, at, uint32_t((1990 + i) * 10000 + 601), 4);
    Put(b, at + 4, 500, 2);
    Put(b, at + 6, i % 2 ? 2000 : 3000, 2);
    Put(b, at + 8, i % 2 ? 0 : 50000, 4);
    Put(b, at + 12, 1, 4);
  }
  obj->OnData(b.data(), int(b.size()));
  obj->BuildPowerReturnList();
  obj->SetExRightsMode(kExRightsForward);
  const SHistoryUnit* raw = obj->Raw().data();
  for (auto _ : state) benchmark::DoNotOptimize(obj->AdjustSeries(raw, 10000));
}
BENCHMARK(BM_AdjustSeries)->Unit(benchmark::kMicrosecond);

std::string Tick() { return kline_bodies::Tick(kMarket, kCode); }

// The chart painting into a fresh memory DC each time: it keeps its own
// copy of the picture and puts it back first.
void BM_TickUpdatesAndRepaints(benchmark::State& state) {
  auto obj = Chart(static_cast<int>(state.range(0)));
  Canvas canvas;
  std::string tick = Tick();
  uint32_t last = 20000;
  for (auto _ : state) {
    last = last == 20000 ? 20010 : 20000;
    PutTickPrice(tick, last);
    obj->OnData(tick.data(), int(tick.size()));
    obj->Draw(&canvas.dc);
    canvas.dc.GetImage();
  }
}
BENCHMARK(BM_TickUpdatesAndRepaints)->Arg(126)->Arg(2000)->Unit(benchmark::kMillisecond);

// As the chart view paints: the chart redraws the areas a tick changed in
// the view's back buffer, and only those are copied to the window's picture
// (what the window layer's paint of the invalidated areas does).
void BM_TickRepaintsChangedAreas(benchmark::State& state) {
  auto obj = Chart(static_cast<int>(state.range(0)));
  Canvas back, window;
  std::string tick = Tick();
  uint32_t last = 20000;
  back.dc.FillSolidRect(0, 0, kWidth, kHeight, 0);
  // Ticks are seen once before the chart keeps what lies under it.
  PutTickPrice(tick, last);
  obj->OnData(tick.data(), int(tick.size()));
  obj->DrawInPlace(&back.dc, false, nullptr);
  size_t areas = 0;
  std::vector<RECT> drawn;
  for (auto _ : state) {
    last = last == 20000 ? 20010 : 20000;
    PutTickPrice(tick, last);
    obj->OnData(tick.data(), int(tick.size()));
    obj->DrawInPlace(&back.dc, true, &drawn);
    for (const RECT& r : drawn) {
      window.dc.BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &back.dc, r.left, r.top,
                       SRCCOPY);
      ++areas;
    }
    window.dc.GetImage();
  }
  // One area a tick would mean every paint fell back to a full one.
  state.counters["areas_per_tick"] = benchmark::Counter(double(areas) / double(state.iterations()));
}
BENCHMARK(BM_TickRepaintsChangedAreas)->Arg(126)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
