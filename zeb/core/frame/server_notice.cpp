#include "zeb/core/frame/server_notice.h"

#include <cstdlib>
#include <cstring>

#include "platform/gbk.h"
#include "platform/profile.h"

namespace {

// The index of the next separator at or after from, -1 when none; the
// field is the text from `from` up to it, empty when there is none.
long FindField(const std::string& text, size_t from, std::string* field) {
  const size_t at = from <= text.size() ? text.find(kNoticeSeparator, from) : std::string::npos;
  if (at == std::string::npos) {
    field->clear();
    return -1;
  }
  *field = text.substr(from, at - from);
  return long(at);
}

std::string ReadProfile(const char* section, const char* key, const std::string& path) {
  char value[260] = {};
  GetPrivateProfileString(section, key, "", value, sizeof value, path.c_str());
  return value;
}

}  // namespace

SServerNotice ParseNoticeText(const std::string& raw, const std::string& lastDeployTime) {
  SServerNotice notice;
  const std::string text = raw.substr(0, strnlen(raw.data(), raw.size()));
  std::string field;
  long p = 0;
  long i = FindField(text, 0, &field);
  if (i > 0) {
    notice.updateFlag = std::atoi(field.c_str());
    p = i + 2;
    i = FindField(text, size_t(p), &field);
    if (i > p) {
      notice.deployTime = field;
      if (notice.deployTime.compare(lastDeployTime) <= 0) {
        notice.updateFlag = 0;
        notice.deployTime.clear();
      }
      p = i + 2;
      i = FindField(text, size_t(p), &field);
      if (i > p) notice.title = field;
    }
  }
  long start = p;
  if (i >= start) start = i + 2;
  if (size_t(start) < text.size()) {
    notice.text = text.substr(size_t(start));
    const size_t first = notice.text.find_first_not_of(" \t");
    notice.text.erase(0, first == std::string::npos ? notice.text.size() : first);
  }
  return notice;
}

bool IsNoticeSuppressed(int checked, int checkDate, std::time_t now) {
  if (checked == 0) return false;
  std::tm day{};
  day.tm_year = checkDate / 10000 - 1900;
  day.tm_mon = checkDate / 100 % 100 - 1;
  day.tm_mday = checkDate % 100;
  day.tm_isdst = -1;
  std::tm normalised = day;
  const std::time_t midnight = std::mktime(&normalised);
  // mktime moves a day that does not exist (month 13, day 0 ...).
  if (midnight == std::time_t(-1) || normalised.tm_mday != day.tm_mday ||
      normalised.tm_mon != day.tm_mon || normalised.tm_year != day.tm_year)
    return false;
  const long long wholeDays = (static_cast<long long>(now) - midnight) / 86400;
  return wholeDays <= kNoticeQuietDays;
}

SServerNotice ReadServerNotice(const std::string& text, const std::string& programDir,
                               std::time_t now) {
  const std::string lastDeploy =
      ReadProfile("Operation", "LastUpdateDeployTime", programDir + "Novarel.ini");
  SServerNotice notice = ParseNoticeText(text, lastDeploy);
  if (notice.updateFlag == 0) {
    const std::string sysset = programDir + "sysset.ini";
    const char* section = GBK("通知消息");
    const int checked = std::atoi(ReadProfile(section, "CHECKED", sysset).c_str());
    if (checked != 0) {
      const int date = std::atoi(ReadProfile(section, "CHECKDATE", sysset).c_str());
      if (IsNoticeSuppressed(checked, date, now)) notice.text.clear();
    }
  }
  return notice;
}
