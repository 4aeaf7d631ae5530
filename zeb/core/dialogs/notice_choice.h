// What the notice dialog (通知消息) shows in each mode and what its
// "一周内不要提醒我" box records, without its window. Mode 1 offers an
// update, mode 2 a forced one (closing it ends the program), any other mode
// is a plain notice. The choice goes to "sysset.ini" [通知消息] CHECKED and
// CHECKDATE, which the main frame reads before it shows the next notice.
#pragma once
#include <ctime>
#include <string>

struct SNoticeLook {
  const char* caption;     // GBK
  bool okShown;            // "系 统 升 级"
  const char* cancelText;  // GBK
  bool checkShown;
};

SNoticeLook NoticeLook(int mode);

// Writes CHECKED = "1" or "0" and CHECKDATE = the local date of now as
// yyyymmdd into the settings file, in one save; false when the file was
// not written: a box names it and the file is left as it was.
bool WriteNoticeChoice(const std::string& syssetPath, bool checked, std::time_t now);
