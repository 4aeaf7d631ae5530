#include "trade/ui/rules/list_sort.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>

#include "platform/gbk.h"

namespace {

bool AllDigits(const std::string& s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// A text's integer value as atoi reads it (blanks, sign, digits), kept as
// its sign and its digits without leading zeros, so any length compares.
struct SBigInt {
  bool negative = false;
  std::string digits;  // "" is zero
};

SBigInt ReadInteger(const std::string& s) {
  SBigInt v;
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r'))) ++i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) v.negative = s[i++] == '-';
  while (i < s.size() && s[i] == '0') ++i;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') v.digits += s[i++];
  if (v.digits.empty()) v.negative = false;
  return v;
}

int CompareBig(const SBigInt& a, const SBigInt& b) {
  if (a.negative != b.negative) return a.negative ? -1 : 1;
  int magnitude = 0;
  if (a.digits.size() != b.digits.size()) magnitude = a.digits.size() < b.digits.size() ? -1 : 1;
  else magnitude = a.digits.compare(b.digits) < 0 ? -1 : (a.digits == b.digits ? 0 : 1);
  return a.negative ? -magnitude : magnitude;
}

bool IsDayMonthYear(const std::string& s) {
  if (s.size() != 10 || s[2] != '/' || s[5] != '/') return false;
  for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

// The field of a date text as a number; a shorter text gives what it holds.
SBigInt DateField(const std::string& s, size_t from, size_t len) {
  return ReadInteger(from < s.size() ? s.substr(from, len) : std::string());
}

// The Chinese locale's comparison, case-sensitive (pinyin order for the
// names, not the order of their GBK bytes). One per thread: a collator is
// costly to make and not safe to share between threads.
int CompareAsLocaleText(const std::string& a, const std::string& b) {
  thread_local const QCollator collator = [] {
    QCollator c(QLocale(QLocale::Chinese, QLocale::China));
    c.setCaseSensitivity(Qt::CaseSensitive);
    return c;
  }();
  const int c = collator.compare(platform::GbkToQString(a), platform::GbkToQString(b));
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

SRowColours RowColoursOfCode(const std::string& code) {
  constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);
  constexpr COLORREF kWhite = RGB(255, 255, 255), kGrey = 0xE7E7E7;
  if (code == "1") return {kRed, kWhite};
  if (code == "2") return {kRed, kGrey};
  if (code == "3") return {kBlue, kWhite};
  if (code == "4") return {kBlue, kGrey};
  return {kBlack, kWhite};
}

bool NextSortAscending(int sortColumn, bool ascending, int clicked) {
  return clicked != sortColumn || !ascending;
}

int CompareCellTexts(const std::string& a, const std::string& b) {
  if (AllDigits(a)) return CompareBig(ReadInteger(a), ReadInteger(b));
  if (IsDayMonthYear(a)) {
    for (auto [from, len] : {std::pair<size_t, size_t>{6, 4}, {3, 2}, {0, 2}}) {
      const int c = CompareBig(DateField(a, from, len), DateField(b, from, len));
      if (c != 0) return c;
    }
    return 0;
  }
  return CompareAsLocaleText(a, b);
}

void SortRows(std::vector<PanelRow>& rows, int column, bool ascending) {
  static const std::string kEmpty;
  auto cell = [column](const PanelRow& r) -> const std::string& {
    return column >= 0 && static_cast<size_t>(column) < r.size() ? r[column] : kEmpty;
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const PanelRow& x, const PanelRow& y) {
    return ascending ? CompareCellTexts(cell(x), cell(y)) < 0
                     : CompareCellTexts(cell(y), cell(x)) < 0;
  });
}
