#include "sharecode/time_text.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

struct Fields {
  int year, month, day, hour, minute, second, weekday;
};

bool Split(int64_t seconds, bool local, Fields& f) {
  time_t t = (time_t)seconds;
  if ((int64_t)t != seconds) return false;
  struct tm tm;
  if (!(local ? localtime_r(&t, &tm) : gmtime_r(&t, &tm))) return false;
  f = Fields{tm.tm_year + 1900,
             tm.tm_mon + 1,
             tm.tm_mday,
             tm.tm_hour,
             tm.tm_min,
             tm.tm_sec,
             tm.tm_wday == 0 ? 7 : tm.tm_wday};
  return true;
}

bool SplitTo(int64_t seconds, bool local, int* year, int* month, int* day, int* hour, int* minute,
             int* second, int* weekday) {
  Fields f;
  if (!Split(seconds, local, f)) return false;
  if (year) *year = f.year;
  if (month) *month = f.month;
  if (day) *day = f.day;
  if (hour) *hour = f.hour;
  if (minute) *minute = f.minute;
  if (second) *second = f.second;
  if (weekday) *weekday = f.weekday;
  return true;
}

STimeStamp Now() {
  STimeStamp stamp;
  GetTimeStamp(&stamp, nullptr);
  return stamp;
}

}  // namespace

void GetTimeStamp(STimeStamp* stamp, int* milliseconds) {
  using namespace std::chrono;
  int64_t ms =
      duration_cast<std::chrono::milliseconds>(system_clock::now().time_since_epoch()).count();
  int64_t seconds = ms / 1000;
  int32_t rest = (int32_t)(ms % 1000);
  if (rest < 0) {  // before 1970
    rest += 1000;
    --seconds;
  }
  if (stamp) *stamp = STimeStamp{seconds, rest};
  if (milliseconds) *milliseconds = rest;
}

bool SplitLocalTime(int64_t seconds, int* year, int* month, int* day, int* hour, int* minute,
                    int* second, int* weekday) {
  return SplitTo(seconds, true, year, month, day, hour, minute, second, weekday);
}

bool SplitUtcTime(int64_t seconds, int* year, int* month, int* day, int* hour, int* minute,
                  int* second, int* weekday) {
  return SplitTo(seconds, false, year, month, day, hour, minute, second, weekday);
}

std::string FormatLocalTime(int type, const STimeStamp& stamp) {
  Fields f{};
  Split(stamp.seconds, true, f);
  const int ms = stamp.milliseconds;
  char text[96];
  switch (type) {
    case 0:
      std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d%02d.%03d", f.year, f.month, f.day,
                    f.hour, f.minute, f.second, ms);
      break;
    case 1:
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                    f.hour, f.minute, f.second);
      break;
    case 3:
      std::snprintf(text, sizeof text, "%04d%02d%02d %02d%02d%02d", f.year, f.month, f.day, f.hour,
                    f.minute, f.second);
      break;
    case 4:
      std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", f.year, f.month, f.day, f.hour,
                    f.minute, f.second);
      break;
    case 5: std::snprintf(text, sizeof text, "%04d%02d%02d", f.year, f.month, f.day); break;
    default:
      std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", f.year, f.month, f.day,
                    f.hour, f.minute, f.second, ms);
      break;
  }
  return text;
}

std::string GetLocalTimeString(int type) { return FormatLocalTime(type, Now()); }

std::string TimeStampText(const STimeStamp& stamp) { return FormatLocalTime(2, stamp); }

std::string GetUtcTimeStamp() {
  STimeStamp stamp = Now();
  Fields f{};
  Split(stamp.seconds, false, f);
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d:%02d:%02d.%03d", f.year, f.month, f.day,
                f.hour, f.minute, f.second, (int)stamp.milliseconds);
  return text;
}
