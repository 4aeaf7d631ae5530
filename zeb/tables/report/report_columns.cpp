// The quote list's column table and its order file.
#include "zeb/tables/report/report_columns.h"

#include <algorithm>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "platform/paths.h"

namespace {

// Every head is centred.
constexpr int kCentre = 2;

struct SColumnDefault {
  uint8_t id;
  const char* title;  // UTF-8 here, GBK in the record
  int width;
};

constexpr SColumnDefault kColumns[kReportColumnCount] = {
    {kColSequence, "序", 50},       {kColCode, "藏品代码", 80},    {kColName, "藏品名称", 180},
    {kColOpen, "开盘价", 70},       {kColLast, "最新", 70},        {kColChange, "涨跌", 70},
    {kColChangeRate, "幅度", 70},   {kColHigh, "最高价", 70},      {kColLow, "最低价", 70},
    {kColPreClose, "昨收盘价", 85}, {kColAverage, "均价", 70},     {kColCurVolume, "现量", 70},
    {kColBidPrice, "买价", 70},     {kColBidVolume, "买量", 70},   {kColAskPrice, "卖价", 70},
    {kColAskVolume, "卖量", 70},    {kColVolume, "成交量", 70},    {kColInventory, "库存量", 70},
    {kColAmount, "成交金额", 85},   {kColVolumeRatio, "量比", 70}, {kColOrderRatio, "委比", 70},
    {kColTurnover, "换手率", 70},
};

constexpr ReportOrder kDefaultOrder = {0,  1,  2,  3,  6,  7,  9,  10, 4,  5,  8,
                                       11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21};

// Up to 23 entries are read; the first 22 are used.
constexpr size_t kOrderReadBytes = 92;

bool IsPermutation(const ReportOrder& order) {
  std::array<bool, kReportColumnCount> seen{};
  for (int column : order) {
    if (column < 0 || column >= kReportColumnCount || seen[static_cast<size_t>(column)])
      return false;
    seen[static_cast<size_t>(column)] = true;
  }
  return true;
}

}  // namespace

const std::array<SReportColumn, kReportColumnCount>& ReportColumns() {
  static const std::array<SReportColumn, kReportColumnCount> columns = [] {
    std::array<SReportColumn, kReportColumnCount> list{};
    for (size_t i = 0; i < list.size(); ++i) {
      list[i].id = kColumns[i].id;
      platform::GbkCopyCut(list[i].head.name, sizeof list[i].head.name, GBK(kColumns[i].title));
      list[i].head.align = kCentre;
      list[i].head.width = kColumns[i].width;
    }
    return list;
  }();
  return columns;
}

int ReportColumnIndexOfId(int id) {
  for (int i = 0; i < kReportColumnCount; ++i) {
    if (kColumns[i].id == id) return i;
  }
  return 0;
}

ReportOrder DefaultReportOrder() { return kDefaultOrder; }

ReportOrder LoadReportOrder(const std::string& path) {
  ReportOrder order = kDefaultOrder;
  std::string bytes;
  if (!platform::ReadFile(path, bytes)) return order;
  const size_t usable = std::min(bytes.size(), kOrderReadBytes) / 4;
  for (size_t i = 0; i < usable && i < order.size(); ++i)
    order[i] = static_cast<int32_t>(quotelink::ReadU32(bytes.data() + 4 * i));
  return IsPermutation(order) ? order : kDefaultOrder;
}

bool SaveReportOrder(const std::string& path, const ReportOrder& order) {
  std::string bytes(order.size() * 4, '\0');
  for (size_t i = 0; i < order.size(); ++i)
    quotelink::WriteU32(bytes.data() + 4 * i, static_cast<uint32_t>(order[i]));
  return platform::WriteFileAtomic(path, bytes);
}
