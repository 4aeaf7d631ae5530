// The notice dialog's modes and its recorded choice (notice_choice.h).
#include "zeb/core/dialogs/notice_choice.h"

#include <cstdio>

#include "platform/gbk.h"
#include "platform/profile.h"
#include "settings/file_report.h"

SNoticeLook NoticeLook(int mode) {
  switch (mode) {
    case 1: return {GBK("发布了新的版本，系统可以升级!"), true, GBK("关闭"), true};
    case 2: return {GBK("发布了关键更新的新版本，系统必须进行升级!"), true, GBK("退出"), false};
    default: return {GBK("通知消息"), false, GBK("关闭"), true};
  }
}

bool WriteNoticeChoice(const std::string& syssetPath, bool checked, std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  // Room for any three ints, so the text is never cut (a real date takes 8).
  char date[3 * 12];
  std::snprintf(date, sizeof date, "%04d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday);
  const char* section = GBK("通知消息");
  // Both keys in one save: the file has both or neither.
  if (platform::WriteProfileStrings(
          {{section, "CHECKED", checked ? "1" : "0"}, {section, "CHECKDATE", date}},
          syssetPath.c_str()))
    return true;
  settings::ReportNotSaved(syssetPath);
  return false;
}
