#include "settings/file_report.h"

#include "platform/gbk.h"
#include "platform/msgbox.h"

namespace settings {

namespace {

void Report(const char* what, const std::string& path) {
  const std::string text = std::string(what) + "\n" + platform::Utf8ToGbk(path);
  AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void ReportNotSaved(const std::string& path) {
  Report(GBK("设置未能保存，原文件保持不变。无法写入文件："), path);
}

void ReportUnreadable(const std::string& path) { Report(GBK("文件存在但无法读取："), path); }

}  // namespace settings
