// Current-time stamps and the system's time texts.
#pragma once
#include <cstdint>
#include <string>

struct STimeStamp {
  int64_t seconds = 0;  // since 1970-01-01 UTC
  int32_t milliseconds = 0;
};

// The current time; either output may be NULL.
void GetTimeStamp(STimeStamp* stamp, int* milliseconds);

// Calendar fields of a time (month 1-12, weekday 1-7 with Sunday 7); each
// output may be NULL. False, and nothing written, when the time cannot be
// converted.
bool SplitLocalTime(int64_t seconds, int* year, int* month, int* day, int* hour, int* minute,
                    int* second, int* weekday);
bool SplitUtcTime(int64_t seconds, int* year, int* month, int* day, int* hour, int* minute,
                  int* second, int* weekday);

// The current local time by type:
// 0 "%04d%02d%02d %02d%02d%02d.%03d"   1 "%04d-%02d-%02d %02d:%02d:%02d"
// 2 "%04d-%02d-%02d %02d:%02d:%02d.%03d" (also any unknown type)
// 3 "%04d%02d%02d %02d%02d%02d"   4 "%04d%02d%02d%02d%02d%02d"   5 "%04d%02d%02d"
std::string GetLocalTimeString(int type);
// The same for a given stamp.
std::string FormatLocalTime(int type, const STimeStamp& stamp);
// "%04d%02d%02d-%02d:%02d:%02d.%03d" of the current UTC time.
std::string GetUtcTimeStamp();
// "%04d-%02d-%02d %02d:%02d:%02d.%03d" of the stamp in local time.
std::string TimeStampText(const STimeStamp& stamp);
