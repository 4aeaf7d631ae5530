// Filling the quote board from quote records.
#include "zeb/tables/panel/stat_table.h"

#include <cstdlib>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kTitleColor = 40;
constexpr int kSelectionColor = 23;

struct STitleRow {
  const char* left;  // UTF-8, converted once
  const char* right;
  int titleBorders;
  int otherBorders;
  const char* leftValue;
  const char* rightValue;
};

const STitleRow kTitles[kBoardRows] = {
    {"卖⑤", "", 0x5000, 0x1000, "-", "-"},      {"卖④", "", 0x4000, 0, "-", "-"},
    {"卖③", "", 0x4000, 0, "-", "-"},           {"卖②", "", 0x4000, 0, "-", "-"},
    {"卖①", "", 0x4000, 0, "-", "-"},           {"成交", "现量", 0x7000, 0x3000, "-", "-"},
    {"买①", "", 0x4000, 0, "-", "-"},           {"买②", "", 0x4000, 0, "-", "-"},
    {"买③", "", 0x4000, 0, "-", "-"},           {"买④", "", 0x4000, 0, "-", "-"},
    {"买⑤", "", 0x4000, 0, "-", "-"},           {"涨跌", "开盘", 0x5000, 0x1000, "-", "-"},
    {"涨幅", "最高", 0x4000, 0, "-%", "-"},     {"均价", "最低", 0x4000, 0, "-", "-"},
    {"总数", "委比", 0x4000, 0, "-", "-%"},     {"总额", "委差", 0x4000, 0, "-", "-"},
    {"主买", "主卖", 0x4000, 0, "-", "-"},      {"昨收", "量比", 0x6000, 0x2000, "-", "-"},
    {"跌停", "涨停", 0x7000, 0x3000, "-", "-"},
};

std::string VolumeText(uint32_t v) {
  if (v >= 100000000u) return TextPrintf(GBK("%.2f亿"), v / 1e8);
  if (v >= 10000u) return TextPrintf(GBK("%.2f万"), v / 1e4);
  return TextPrintf("%u", v);
}

}  // namespace

CStatTable::CStatTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {
  SetSelectionFill(1, CSysStyle::GetInstance()->GetColor(kSelectionColor));
}

bool CStatTable::IsIndex() const {
  const SCodeInfo key = m_item.GetKey();
  return CPublic::IsIndexMarket(&key);
}

void CStatTable::InitColumns() {
  m_colors.Load();
  m_crTitle = CSysStyle::GetInstance()->GetColor(kTitleColor);
  SetRowHeight(kBoardRowHeight);
}

void CStatTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  ItemPriceUnitAndFormat(m_item.GetKey(), &m_nUnit, &m_strFormat);
  m_feed.Reset();
  m_bHasRecord = false;
  BuildColumns();
}

void CStatTable::BuildColumns() {
  DeleteAllRows();
  RemoveAllColumns();
  const int w = GetWidth();
  if (IsIndex()) {
    AddColumn(0, "", 0, w * 2 / 5);
    AddColumn(1, "", 1, w * 3 / 5);
    RemoveStyle2(0xFF);
  } else {
    AddColumn(0, "", 0, w / 5);
    AddColumn(1, "", 1, w * 3 / 10);
    AddColumn(2, "", 0, w / 5);
    AddColumn(3, "", 1, w * 3 / 10);
    AddStyle2(kTableStyle2HighlightSel);
    SetSelRow(kBoardDealRow);
  }
  AddStyle(kTableStyleNoHeader);
  WriteTitles();
}

void CStatTable::Refill() {
  BuildColumns();
  if (m_bHasRecord) Fill(m_last);
}

void CStatTable::WriteTitles() {
  for (int row = 0; row < kBoardRows; ++row) {
    const STitleRow& t = kTitles[row];
    SetCell(row, 0, GBK(t.left), -1, m_crTitle, CLR_INVALID, t.titleBorders);
    SetCell(row, 1, GBK(t.leftValue), -1, CLR_INVALID, CLR_INVALID, t.otherBorders);
    SetCell(row, 2, GBK(t.right), -1, m_crTitle, CLR_INVALID, t.otherBorders);
    SetCell(row, 3, GBK(t.rightValue), -1, CLR_INVALID, CLR_INVALID, t.otherBorders);
  }
}

std::string CStatTable::FormatValue(int64_t value) const {
  const double f = static_cast<double>(value) / (m_nUnit ? m_nUnit : 1);
  if (f > 1000) return TextPrintf("%lld", static_cast<long long>(f));
  if (f != 0) return TextPrintf(m_strFormat.c_str(), f);
  return "-";
}

void CStatTable::SetValue(int row, int col, const std::string& text, COLORREF color, int borders) {
  SetCell(row, col, text, -1, color, CLR_INVALID, borders);
}

void CStatTable::Fill(const STickRecord& r) {
  m_last = r;
  m_bHasRecord = true;
  const int64_t P = m_item.preClose;
  const auto price = [&](int64_t v) { return m_colors.Of(v, P); };
  // Levels: rows 0-4 entries 0-4 (fifth ask on top), rows 6-10 entries 5-9.
  for (int row = 0; row < 11; ++row) {
    if (row == kBoardDealRow) continue;
    const int entry = row < kBoardDealRow ? row : row - 1;
    const int borders = row == 0 ? 0x1000 : 0;
    if (r.HasLevel(entry)) {
      const SBoardLevel& l = r.levels[static_cast<size_t>(entry)];
      SetValue(row, 1, FormatValue(l.price), price(l.price), borders);
      SetValue(row, 3, TextPrintf("%u", l.volume / static_cast<uint32_t>(CPublic::GetLotSize())),
               m_colors.volume, borders);
    } else {
      SetValue(row, 1, "-", m_colors.level, borders);
      SetValue(row, 3, "-", m_colors.level, borders);
    }
  }
  SetValue(5, 1, FormatValue(r.last), price(r.last), 0x3000);
  SetValue(5, 3, TextPrintf("%u", r.curVolume), m_colors.volume, 0x3000);

  const int64_t d = r.last != 0 ? static_cast<int64_t>(r.last) - P : 0;
  SetValue(11, 1, FormatValue(d), m_colors.OfSign(d), 0x1000);
  SetValue(11, 3, FormatValue(r.open), price(r.open), 0x1000);
  SetValue(12, 1, d == 0 || P == 0 ? "-" : TextPrintf("%.2f%%", d * 100.0 / P), m_colors.OfSign(d),
           0);
  SetValue(12, 3, FormatValue(r.high), price(r.high), 0);
  SetValue(13, 1, FormatValue(r.average), price(r.average), 0);
  SetValue(13, 3, r.high < r.low ? "-" : FormatValue(r.low), price(r.low), 0);

  int64_t bids = 0, asks = 0;
  for (int e = 0; e < kBoardLevels; ++e)
    if (r.HasLevel(e)) (e < kBestBidEntry ? asks : bids) += r.levels[static_cast<size_t>(e)].volume;
  SetValue(14, 1, VolumeText(r.volume), m_colors.volume, 0);
  const int64_t diff = bids - asks;
  SetValue(14, 3,
           diff == 0 || bids + asks == 0 ? "-" : TextPrintf("%.2f%%", diff * 100.0 / (bids + asks)),
           m_colors.OfSign(diff), 0);
  SetValue(15, 1, CPublic::FormatAmount(static_cast<float>(CurrencyOfRecordAmount(r.amount))),
           m_colors.volume, 0);
  SetValue(15, 3, TextPrintf("%lld", static_cast<long long>(std::llabs(diff))),
           m_colors.OfSign(diff), 0);
  SetValue(16, 1, TextPrintf("%u", r.activeBuy), m_colors.up, 0);
  SetValue(16, 3, TextPrintf("%u", r.activeSell), m_colors.down, 0);
  SetValue(17, 1, FormatValue(P), m_colors.level, 0x2000);
  const float ratio = m_store->CalcVolumeRatio(
      m_item.market, m_store->TimeToMinuteIndex(m_item.market, r.time), r.volume, m_item.refVolume);
  SetValue(17, 3, r.volume != 0 && m_item.refVolume != 0 ? TextPrintf("%.2f", ratio) : "0",
           m_colors.volume, 0x2000);
  // The lower limit in the fall colour, the upper in the rise colour.
  SetValue(18, 1, FormatValue(m_item.limitDown), m_colors.down, 0x3000);
  SetValue(18, 3, FormatValue(m_item.limitUp), m_colors.up, 0x3000);
}

int CStatTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CStatTable::UpdatePacket(const CChartPacket& packet) {
  m_feed.Take(
      packet, m_item.GetKey(), [&](const SMinuteTracePacket& trace) { Fill(trace.quote); },
      [&](const STickRecord& r) { Fill(r); });
  return 1;
}
