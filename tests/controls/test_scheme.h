// A colour scheme for drawing tests and benchmarks: a program folder of
// its own with one scheme ("test", the built-in colours and fonts) and a
// scroll-thumb bitmap made from our resource, loaded into CSysStyle for
// the scope. Needs a QGuiApplication.
#pragma once
#include <QImage>
#include <QString>
#include <filesystem>
#include <string>

#include "platform/gbk.h"
#include "platform/paths.h"
#include "zeb/scheme/sys_style.h"
#include "support/temp_dir.h"

class ScopedTestScheme {
 public:
  ScopedTestScheme() {
    std::filesystem::create_directories(dir_.File("INTERFACE"));
    WriteBytes(dir_.File("INTERFACE/COLORSCHEME.ini"), std::string("[") + GBK("配色方案") +
                                                           "]\r\n0=test\r\n\r\n[" +
                                                           GBK("当前方案") + "]\r\n001=0\r\n");
    QImage(":/skin/scroll_thumb.png")
        .save(QString::fromStdString(dir_.File("INTERFACE/test.BMP")), "BMP");
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
