// Speed of the skinned controls where it counts: the window shape cut out
// of a skin (once per image; target under 10 ms for 800 x 600) and a tab
// bar plus a scroll bar painted into a memory DC on every repaint of a
// table (target under 0.5 ms).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "zeb/controls/key_color_mask.h"
#include "zeb/controls/scroll_ctl_pic.h"
#include "zeb/controls/type_ctl_pic.h"
#include "platform/gbk.h"
#include "test_scheme.h"

namespace {

QGuiApplication* App() {
  static int argc = 1;
  static char name[] = "bench_controls";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  return app;
}

// A skin of the size: rounded corners and a notch of key colour around a
// painted body.
QImage Skin(int width, int height) {
  QImage skin(width, height, QImage::Format_ARGB32);
  skin.fill(QColor(255, 0, 255));
  QPainter p(&skin);
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 0, width, height), 12, 12);
  QLinearGradient g(0, 0, 0, height);
  g.setColorAt(0, QColor(40, 110, 190));
  g.setColorAt(1, QColor(220, 235, 250));
  p.fillPath(body, g);
  p.fillRect(QRect(width / 2 - 40, 0, 80, 6), QColor(255, 0, 255));
  return skin;
}

void BM_SkinMask800x600(benchmark::State& state) {
  App();
  const QImage skin = Skin(800, 600);
  for (auto _ : state) {
    QRegion shape =
        zebui::WindowShapeFromMask(zebui::KeyColorMask(skin), skin.size(), QSize(800, 600));
    benchmark::DoNotOptimize(shape);
  }
}
BENCHMARK(BM_SkinMask800x600)->Unit(benchmark::kMillisecond);

// The worst case: every other pixel key-coloured, no two rows alike.
void BM_SkinMaskNoise800x600(benchmark::State& state) {
  App();
  QImage skin(800, 600, QImage::Format_ARGB32);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      skin.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 255) : qRgb(x % 256, y % 256, 9));
  skin.setPixel(0, 0, qRgb(255, 0, 255));
  for (auto _ : state) {
    QRegion mask = zebui::KeyColorMask(skin);
    benchmark::DoNotOptimize(mask);
  }
}
BENCHMARK(BM_SkinMaskNoise800x600)->Unit(benchmark::kMillisecond);

void BM_TabBarAndScrollBarPaint(benchmark::State& state) {
  App();
  ScopedTestScheme scheme;
  QImage screen(800, 420, QImage::Format_ARGB32_Premultiplied);
  CDC target(&screen);
  CDC memory;
  memory.CreateCompatibleDC(&target);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&target, 800, 420);
  memory.SelectObject(&bitmap);
  CTypeCtlPic tabs;
  for (const char* name :
       {"沪深A股", "上证指数", "深证成指", "中小板", "创业板", "自选股", "板块◢", "综合排名"})
    tabs.AddTab(GBK(name), 0);
  tabs.SetCurSel(2);
  tabs.SetRect(0, 400, 780, 420);
  CScrollCtlPic bar;
  const RECT rect{784, 0, 800, 400};
  bar.SetRect(CScrollCtlPic::kVertical, &rect);
  bar.SetRange(3000);
  bar.SetPage(25);
  bar.SetPos(1200);
  for (auto _ : state) {
    tabs.Draw(&memory);
    bar.Draw(&memory);
  }
}
BENCHMARK(BM_TabBarAndScrollBarPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
