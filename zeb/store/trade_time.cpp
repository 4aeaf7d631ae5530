// Trading-day arithmetic over the periods of the last market table, and
// the calendar comparisons of the K-line periods.
#include <algorithm>
#include <cstdlib>

#include "zeb/store/public_store.h"

namespace {

int PeriodLength(const SPhase& p) { return std::max(0, p.end - p.begin); }

// Days since 1970-01-01 of a YYYYMMDD date; out-of-range months and days
// roll over as the calendar would.
int64_t DaysFromDate(uint32_t date) {
  int64_t y = date / 10000;
  int64_t m = (date / 100) % 100;
  int64_t d = date % 100;
  int64_t months = y * 12 + (m - 1);
  y = months >= 0 ? months / 12 : (months - 11) / 12;
  m = months - y * 12 + 1;
  // Civil-from-days inverse (proleptic Gregorian).
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + (d - 1);
}

// Sunday 0 ... Saturday 6.
int WeekdayOfDays(int64_t days) {
  int64_t w = (days + 4) % 7;  // 1970-01-01 was a Thursday
  return static_cast<int>(w < 0 ? w + 7 : w);
}

}  // namespace

uint16_t CPublic::GetTradeMinutes(uint16_t) const {
  int total = 0;
  for (const SPhase& p : m_arPhases) total += PeriodLength(p);
  return static_cast<uint16_t>(total);
}

uint16_t CPublic::TimeToMinuteIndex(uint16_t, uint16_t t) const {
  int sum = 0;
  for (size_t i = 0; i < m_arPhases.size(); ++i) {
    const SPhase& p = m_arPhases[i];
    const int joint = i > 0 ? 1 : 0;
    if (p.begin <= t && t <= p.end) return static_cast<uint16_t>(sum + (t - p.begin) + joint);
    if (t > p.end) sum += PeriodLength(p) + joint;
  }
  return static_cast<uint16_t>(sum);
}

uint16_t CPublic::ElapsedToMinuteIndex(uint16_t market, uint16_t elapsed) const {
  if (m_arPhases.empty()) return 0;
  const int total = GetTradeMinutes(market);
  if (m_arPhases.size() < 2)  // one period: no break to skip
    return static_cast<uint16_t>(std::min<int>(elapsed, total));
  const SPhase& p1 = m_arPhases[0];
  const SPhase& p2 = m_arPhases[1];
  const int breakLen = p2.begin - p1.end;
  const int e = elapsed;
  if (e - breakLen > total) return static_cast<uint16_t>(total);
  if (e >= p2.begin - p1.begin) return static_cast<uint16_t>(e - breakLen + 1);
  return elapsed;
}

uint16_t CPublic::OffsetToTime(uint16_t offset) const {
  if (m_arPhases.empty()) return 0;
  return static_cast<uint16_t>(m_arPhases[0].begin + offset);
}

uint16_t CPublic::MinuteIndexToTime(uint16_t, uint16_t index, int inclusive) const {
  if (m_arPhases.empty()) return 0;
  const SPhase& p1 = m_arPhases[0];
  const int len1 = PeriodLength(p1);
  if (index <= len1 || m_arPhases.size() < 2) return static_cast<uint16_t>(p1.begin + index);
  const int t = m_arPhases[1].begin + index - len1 - (inclusive ? 1 : 0);
  return static_cast<uint16_t>(t);
}

float CPublic::CalcVolumeRatio(uint16_t market, uint32_t minuteIndex, uint32_t volume,
                               uint32_t refVolume) const {
  if (refVolume == 0) return 0.0f;
  // Signed: minute index 0 must not wrap to a huge divisor.
  const int64_t elapsed = std::max<int64_t>(static_cast<int64_t>(minuteIndex) - 1, 1);
  const double perMinute =
      static_cast<double>(GetTradeMinutes(market)) / static_cast<double>(elapsed);
  return static_cast<float>(static_cast<double>(volume) * perMinute /
                            static_cast<double>(refVolume));
}

bool CPublic::IsSameWeek(uint32_t date1, uint32_t date2) {
  int64_t d1 = DaysFromDate(date1);
  int64_t d2 = DaysFromDate(date2);
  if (d1 > d2) std::swap(d1, d2);
  if (d2 - d1 >= 7) return false;
  return WeekdayOfDays(d2) >= WeekdayOfDays(d1);
}

bool CPublic::IsSameMonth(uint32_t date1, uint32_t date2) {
  return date1 / 10000 == date2 / 10000 && (date1 % 10000) / 100 == (date2 % 10000) / 100;
}
