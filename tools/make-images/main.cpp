// make_images: draws every picture under resources/ (our own drawings,
// made with QPainter) and writes them there, or checks the committed files:
//   make_images <resources folder>          writes every image below the folder
//   make_images --check <resources folder>  compares each drawn image with the
//                                           file there, pixel for pixel
// The PNGs are committed and built into the program; run this after
// changing a picture, and --check after changing drawing code that should
// leave the pictures alone. Text is drawn with the fonts-wqy-microhei face.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "families.h"

namespace {

bool Write(const QString& path, const QImage& image) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  if (image.save(path)) return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

// Differing pixels between the drawn image and the file; -1 when the file
// is missing or its size differs.
long long DifferingPixels(const QString& path, const QImage& drawn) {
  QImage file(path);
  if (file.isNull() || file.size() != drawn.size()) return -1;
  file = file.convertToFormat(QImage::Format_ARGB32);
  const QImage mine = drawn.convertToFormat(QImage::Format_ARGB32);
  long long differ = 0;
  for (int y = 0; y < mine.height(); ++y) {
    const auto* a = reinterpret_cast<const QRgb*>(mine.constScanLine(y));
    const auto* b = reinterpret_cast<const QRgb*>(file.constScanLine(y));
    for (int x = 0; x < mine.width(); ++x) differ += a[x] != b[x];
  }
  return differ;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::strcmp(argv[1], "--check") == 0;
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: make_images [--check] <resources folder>\n");
    return 2;
  }
  // The same pictures whatever the desktop: no display, no screen DPI.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[argc - 1]) + "/";

  images::ImageList all;
  for (auto family :
       {images::IconImages, images::SkinImages, images::ToolbarImages, images::LoginImages,
        images::SchemeImages, images::FormulaImages, images::TradeImages, images::InputImages})
    for (auto& named : family()) all.push_back(std::move(named));

  int failed = 0;
  for (const auto& [path, image] : all) {
    if (!check) {
      failed += !Write(root + path, image);
      continue;
    }
    const long long differ = DifferingPixels(root + path, image);
    if (differ == 0) continue;
    ++failed;
    if (differ < 0)
      std::printf("%s: missing, or not %dx%d\n", qPrintable(path), image.width(), image.height());
    else std::printf("%s: %lld pixels differ\n", qPrintable(path), differ);
  }
  if (check) std::printf("%zu images, %d differ\n", all.size(), failed);
  return failed ? 1 : 0;
}
