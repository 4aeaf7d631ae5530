// What the controls' tests share: rectangles as text for comparisons, and
// a colour scheme for drawing tests and benchmarks: a program folder of
// its own with one scheme ("test", the built-in colours and fonts) and a
// scroll-thumb bitmap made from our resource, loaded into CSysStyle for
// the scope. Needs a QGuiApplication.
#pragma once
#include <QImage>
#include <QRegion>
#include <QString>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "ui/sys_style.h"
#include "ui/temp_dir.h"

inline std::string RectText(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// Every pixel of the image is in the region exactly when it is not the key
// colour (the ARGB value of its top-left pixel); nothing outside the image
// is in it.
inline void ExpectKeyMask(const QImage& image, const QRegion& region) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = argb.pixel(0, 0);
  int kept = 0;
  for (int y = 0; y < argb.height(); ++y)
    for (int x = 0; x < argb.width(); ++x) {
      const bool keep = argb.pixel(x, y) != key;
      kept += keep;
      ASSERT_EQ(region.contains(QPoint(x, y)), keep) << x << "," << y;
    }
  EXPECT_TRUE(QRect(0, 0, argb.width(), argb.height()).contains(region.boundingRect()) || region.isEmpty());
  EXPECT_GT(kept, 0);
}

class ScopedTestScheme {
 public:
  ScopedTestScheme() {
    std::filesystem::create_directories(dir_.File("INTERFACE"));
    WriteBytes(dir_.File("INTERFACE/COLORSCHEME.ini"),
               std::string("[") + GBK("配色方案") + "]\r\n0=test\r\n\r\n[" + GBK("当前方案") + "]\r\n001=0\r\n");
    QImage(":/skin/scroll_thumb.png").save(QString::fromStdString(dir_.File("INTERFACE/test.BMP")), "BMP");
    platform::SetProgramDirOverride(dir_.Path() + "/");
    CSysStyle::ReleaseInstance();
    loaded_ = CSysStyle::GetInstance()->LoadScheme() == 1;
  }
  ~ScopedTestScheme() {
    CSysStyle::ReleaseInstance();
    platform::SetProgramDirOverride("");
  }
  ScopedTestScheme(const ScopedTestScheme&) = delete;
  ScopedTestScheme& operator=(const ScopedTestScheme&) = delete;
  bool Loaded() const { return loaded_; }

 private:
  TempDir dir_;
  bool loaded_ = false;
};
