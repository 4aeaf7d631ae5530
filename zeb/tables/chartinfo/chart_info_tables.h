// The two small tables the charts place over themselves: CDistractStatTable,
// the interval statistics "区间统计" of a marked range of K-line periods
// (14 labelled figures in 7 rows), and CInfoTable, the floating cursor box
// of the time-share and K-line charts (labels and values of the minute or
// period under the cursor). Both draw through the chart painter, framed, as
// the charts they lie over.
//
// Amounts of a period are taken in hundredths of the currency unit (the
// unit the formula library reads them in: its AMOUNT series is the field
// divided by 100), so the interval's amount prints as money / 1e4 "万" up
// to 1e8 of money and as money / 1e8 "亿" above. The interval's highest and
// lowest start from its first period and compare whole prices.
#pragma once
#include <cstdint>
#include <string>

#include "formula/functions/formula_types.h"
#include "zeb/store/store_records.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/chartinfo/framed_chart_table.h"

// A marked range of periods, oldest first (not owned).
struct SHistoryInterval {
  int count = 0;
  const SHistoryUnit* units = nullptr;
};

// The figures of an interval, before they become texts.
struct SIntervalFigures {
  int32_t startDate = 0, endDate = 0, highDate = 0, lowDate = 0;
  double startPrice = 0, endPrice = 0, highest = 0, lowest = 0;
  double change = 0, changeRate = 0, amplitude = 0, average = 0, turnover = 0;
  int64_t volume = 0, amount = 0;
  int rising = 0, falling = 0, unchanged = 0;
};

// Computes the figures; circulating shares 0 gives a turnover of 0.
SIntervalFigures ComputeInterval(const SHistoryInterval& interval, int32_t circulating);
// "%.2f万手" of v / 1e4 up to 1e8, else "%.2f亿手" of v / 1e8.
std::string IntervalVolumeText(int64_t volume);
// The amount (hundredths of the currency unit) in 万 or 亿.
std::string IntervalAmountText(int64_t amount);

class CDistractStatTable : public CFramedChartTable {
 public:
  void SetStock(const SStockInfo* item);
  void InitColumns() override;
  // body: an SHistoryInterval; 0 without one or with no periods.
  int UpdateData(const void* body, int length) override;
  CFont* InitColors() override;

 private:
  const SStockInfo* m_item = nullptr;
  std::string m_strFormat = "%.2f";
};

// The minute record as the time-share chart keeps it.
struct SMinuteUnit {
  uint16_t time = 0;  // minutes of the day
  float price = 0;
  uint32_t volume = 0;
  float average = 0;
};

// What the charts hand the cursor box: the record under the cursor and the
// reference price (the previous close in currency units, or the K-line
// chart's reference), and from the K-line chart the value at the cursor's
// height, formatted by the pane it lies in ("-" or empty: none).
struct SInfoCursor {
  const SMinuteUnit* minute = nullptr;  // mode 0
  const SHistoryUnit* bar = nullptr;    // mode 1
  double reference = 0;
  std::string value;  // mode 1
};

class CInfoTable : public CFramedChartTable {
 public:
  void SetStock(const SStockInfo* item);
  int SetMode(int mode);
  int GetMode() const { return m_nMode; }
  void InitColumns() override;
  void SetTime(int minutes);
  // body: an SInfoCursor; 1.
  int UpdateData(const void* body, int length) override;
  void ShowMinute(const SMinuteUnit& minute, double reference);
  // The bar's rows, then "数    值" and the value at the cursor's height.
  void ShowBar(const SHistoryUnit& bar, double reference, const std::string& value);
  // With the scheme's table colours and font of the moment.
  void Paint(CChartPainter& painter) override;

 private:
  void Row(int row, const std::string& text, COLORREF color, int align);

  int m_nMode = 0;
  std::string m_strFormat = "%.2f";
  SStockInfo m_item;
  SPriceColors m_colors;
};
