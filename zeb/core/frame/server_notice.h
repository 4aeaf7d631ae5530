// The server notice (packet 0x0C00): its text splits into fields at "^~"
// (update flag, deploy time, title, then the notice itself); an update
// already installed (a deploy time not newer than the updater's record) is
// no offer; and a notice the user asked not to see again is dropped for 7
// days after the date recorded in "sysset.ini". "Today" is injected.
#pragma once
#include <ctime>
#include <string>

constexpr const char* kNoticeSeparator = "^~";
// Days after the recorded date during which notices stay hidden.
constexpr int kNoticeQuietDays = 7;

struct SServerNotice {
  std::string text;        // GBK, leading blanks removed
  int updateFlag = 0;      // 1: an update is offered
  std::string deployTime;  // the update's deploy time
  std::string title;
};

// The fields of a notice text (the bytes up to the first NUL).
// lastDeployTime is the updater's [Operation] LastUpdateDeployTime.
SServerNotice ParseNoticeText(const std::string& text, const std::string& lastDeployTime);

// Whether a notice is hidden: checked non-zero and the whole days from
// the local midnight of checkDate (YYYYMMDD) to now at most 7. A date that
// is not a calendar date hides nothing.
bool IsNoticeSuppressed(int checked, int checkDate, std::time_t now);

// The whole notice as the main frame keeps it: the fields, the updater's
// record read from "Novarel.ini" and, for a notice without an update, the
// user's choice in "sysset.ini", both in the program folder.
SServerNotice ReadServerNotice(const std::string& text, const std::string& programDir,
                               std::time_t now);
