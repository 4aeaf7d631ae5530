// The quote list's 22 columns and their display order.
//
// Columns are addressed two ways: by column index (0..21, the order of the
// table below, which is also the order of a row's cells) and by column id
// (0..22 without 10), the number that item records and formatting use.
// The display order (display position -> column index) is kept in
// "report.sor" in the program folder: 22 little-endian int32 entries.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "zeb/tables/base/base_table.h"

constexpr int kReportColumnCount = 22;
// Sequence number, code and name never scroll.
constexpr int kReportFixedColumns = 3;
// Column indexes 3..21 carry quote figures: the cells of a row record.
constexpr int kReportFirstQuoteColumn = 3;
constexpr int kReportQuoteCellCount = kReportColumnCount - kReportFirstQuoteColumn;

// Column ids of the figures.
enum ReportColumnId : uint8_t {
  kColSequence = 0,
  kColCode = 1,
  kColName = 2,
  kColOpen = 3,
  kColLast = 4,
  kColChange = 5,
  kColChangeRate = 6,
  kColHigh = 7,
  kColLow = 8,
  kColPreClose = 9,
  kColAverage = 11,
  kColCurVolume = 12,
  kColBidPrice = 13,
  kColBidVolume = 14,
  kColAskPrice = 15,
  kColAskVolume = 16,
  kColVolume = 17,
  kColInventory = 18,
  kColAmount = 19,
  kColVolumeRatio = 20,
  kColOrderRatio = 21,
  kColTurnover = 22,
};

struct SReportColumn {
  uint8_t id = 0;
  SColumnHead head;
};

using ReportOrder = std::array<int, kReportColumnCount>;

// The 22 column records in column-index order (titles GBK).
const std::array<SReportColumn, kReportColumnCount>& ReportColumns();

// Column index of a column id; 0 when no column has it.
int ReportColumnIndexOfId(int id);

// The order used when "report.sor" is missing or unusable.
ReportOrder DefaultReportOrder();

// Reads "report.sor" at path: up to 22 entries over the default order
// (a short file leaves the later positions at their defaults). An order
// that is not a permutation of 0..21 - a hand-edited or damaged file -
// would show some columns twice and lose others, so the default order is
// used instead.
ReportOrder LoadReportOrder(const std::string& path);

// Writes the 22 entries (88 bytes); false when the file cannot be written.
bool SaveReportOrder(const std::string& path, const ReportOrder& order);
