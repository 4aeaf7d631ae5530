// Interval statistics and the cursor information box.
#include "zeb/tables/chartinfo/chart_info_tables.h"

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

SIntervalFigures ComputeInterval(const SHistoryInterval& in, int32_t circulating) {
  SIntervalFigures f;
  if (in.count <= 0 || !in.units) return f;
  const SHistoryUnit& first = in.units[0];
  const SHistoryUnit& last = in.units[in.count - 1];
  f.startDate = first.nDate & 0x7FFFFFFF;
  f.endDate = last.nDate & 0x7FFFFFFF;
  f.startPrice = first.fOpen;
  f.endPrice = last.fClose;
  // From the first period: a range whose prices stay below any fixed start
  // still has its real highest and lowest.
  f.highest = first.fHigh;
  f.lowest = first.fLow;
  f.highDate = f.lowDate = f.startDate;
  for (int i = 0; i < in.count; ++i) {
    const SHistoryUnit& p = in.units[i];
    if (f.highest < p.fHigh) {
      f.highest = p.fHigh;
      f.highDate = p.nDate & 0x7FFFFFFF;
    }
    if (f.lowest > p.fLow) {
      f.lowest = p.fLow;
      f.lowDate = p.nDate & 0x7FFFFFFF;
    }
    f.volume += p.nVolume;
    f.amount += p.nAmount;
    if (p.fOpen < p.fClose) ++f.rising;
    else if (p.fOpen > p.fClose) ++f.falling;
    else ++f.unchanged;
  }
  // In currency units to the cent the price format shows (a whole-unit
  // average would print 12.00 for 12.34).
  f.average = f.volume > 0 ? CurrencyOfBarAmount(static_cast<double>(f.amount)) /
                                 static_cast<double>(f.volume)
                           : 0;
  f.change = f.endPrice - f.startPrice;
  if (f.startPrice > 0) {
    f.changeRate = f.change * 100 / f.startPrice;
    f.amplitude = (f.highest - f.lowest) * 100 / f.startPrice;
  }
  if (circulating != 0) f.turnover = static_cast<double>(f.volume) * 100 / circulating;
  return f;
}

std::string IntervalVolumeText(int64_t v) {
  if (v <= 100000000) return TextPrintf(GBK("%.2f万手"), static_cast<double>(v) / 10000);
  return TextPrintf(GBK("%.2f亿手"), static_cast<double>(v) / 100000000);
}

std::string IntervalAmountText(int64_t amount) {
  const double money = CurrencyOfBarAmount(static_cast<double>(amount));
  if (money <= 1e8) return TextPrintf(GBK("%.2f万"), money / 1e4);
  return TextPrintf(GBK("%.2f亿"), money / 1e8);
}

// ---- CDistractStatTable ----

void CDistractStatTable::SetStock(const SStockInfo* item) {
  m_item = item;
  m_strFormat = PriceFormat(CPublic::GetPriceDecimals());
}

CFont* CDistractStatTable::InitColors() {
  const CSysStyle* style = CSysStyle::GetInstance();
  SetBkColor(style->GetColor(19));
  SetTextColor(style->GetColor(25));
  SetSelectionFill(1, style->GetColor(19));
  SetLinePen(style->GetColor(22), 1);
  CFont* font = style->GetFont(1);
  SetFont(font);
  return font;
}

void CDistractStatTable::InitColumns() {
  InitColors();
  RemoveAllColumns();
  static const int kWidths[] = {70, 90, 80, 70, 90};
  for (int i = 0; i < 5; ++i) AddColumn(i, "", 1, kWidths[i]);
  AddStyle(kTableStyleNoHeader);
  AddStyle2(kTableStyle2CellFrames);
  static const char* const kLeft[] = {"起    始", "结    束", "最    高", "最    低",
                                      "成 交 量", "换 手 率", "成交金额"};
  static const char* const kRight[] = {"涨    跌", "幅    度", "均    价", "振    幅",
                                       "上涨天数", "下跌天数", "平盘天数"};
  for (int row = 0; row < 7; ++row) {
    SetCell(row, 0, GBK(kLeft[row]));
    SetCell(row, 3, GBK(kRight[row]));
  }
}

int CDistractStatTable::UpdateData(const void* body, int length) {
  if (!body || length < static_cast<int>(sizeof(SHistoryInterval))) return 0;
  const SHistoryInterval& in = *static_cast<const SHistoryInterval*>(body);
  if (in.count <= 0 || !in.units) return 0;
  const SIntervalFigures f = ComputeInterval(in, m_item ? m_item->circulating : 0);
  const auto price = [&](double v) { return TextPrintf(m_strFormat.c_str(), v); };
  SetCell(0, 1, price(f.startPrice));
  SetCell(0, 2, TextPrintf("%d", f.startDate));
  SetCell(1, 1, price(f.endPrice));
  SetCell(1, 2, TextPrintf("%d", f.endDate));
  SetCell(2, 1, price(f.highest));
  SetCell(2, 2, TextPrintf("%d", f.highDate));
  SetCell(3, 1, price(f.lowest));
  SetCell(3, 2, TextPrintf("%d", f.lowDate));
  SetCell(4, 1, IntervalVolumeText(f.volume));
  SetCell(5, 1, TextPrintf("%.2f%%", f.turnover));
  SetCell(6, 1, IntervalAmountText(f.amount));
  SetCell(0, 4, price(f.change));
  SetCell(1, 4, TextPrintf("%.2f%%", f.changeRate));
  SetCell(2, 4, price(f.average));
  SetCell(3, 4, TextPrintf("%.2f%%", f.amplitude));
  SetCell(4, 4, TextPrintf("%d", f.rising));
  SetCell(5, 4, TextPrintf("%d", f.falling));
  SetCell(6, 4, TextPrintf("%d", f.unchanged));
  return 1;
}

// ---- CInfoTable ----

void CInfoTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  m_strFormat = PriceFormat(CPublic::GetPriceDecimals());
}

int CInfoTable::SetMode(int mode) {
  InitColumns();
  m_nMode = mode;
  return 1;
}

void CInfoTable::InitColumns() {
  m_colors.Load();
  RemoveAllColumns();
  AddColumn(0, "", 0, GetWidth());
  AddStyle(kTableStyleNoHeader);
}

void CInfoTable::Row(int row, const std::string& text, COLORREF color, int align) {
  SSubItem cell;
  cell.text = text;
  cell.textColor = color;
  cell.align = align;
  SetCellItem(row, 0, cell);
}

void CInfoTable::SetTime(int minutes) {
  if (m_nMode != 0) return;
  DeleteAllRows();
  Row(0, GBK("时    间"), m_colors.label, -1);
  Row(1, TextPrintf("%02d:%02d", minutes / 60, minutes % 60), m_colors.level, 1);
}

int CInfoTable::UpdateData(const void* body, int length) {
  if (!body || length < static_cast<int>(sizeof(SInfoCursor))) return 1;
  const SInfoCursor& c = *static_cast<const SInfoCursor*>(body);
  if (m_nMode == 0 && c.minute) ShowMinute(*c.minute, c.reference);
  if (m_nMode == 1 && c.bar) ShowBar(*c.bar, c.reference, c.value);
  return 1;
}

void CInfoTable::ShowMinute(const SMinuteUnit& m, double x) {
  DeleteAllRows();
  const auto color = [&](double v) {
    return x < v ? m_colors.up : (x > v ? m_colors.down : m_colors.level);
  };
  const auto price = [&](double v) { return TextPrintf(m_strFormat.c_str(), v); };
  Row(0, GBK("时    间"), m_colors.label, -1);
  Row(1, TextPrintf("%02d:%02d", m.time / 60, m.time % 60), m_colors.level, 1);
  Row(2, GBK("成    交"), m_colors.label, -1);
  Row(3, price(m.price), color(m.price), 1);
  Row(4, GBK("涨    跌"), m_colors.label, -1);
  Row(5, price(m.price - x), color(m.price), 1);
  Row(6, GBK("均    价"), m_colors.label, -1);
  Row(7, price(m.average), color(m.average), 1);
  Row(8, GBK("成 交 量"), m_colors.label, -1);
  Row(9, CPublic::FormatValue(static_cast<float>(m.volume), 0), m_colors.volume, 1);
}

void CInfoTable::ShowBar(const SHistoryUnit& b, double x, const std::string& value) {
  DeleteAllRows();
  const auto color = [&](double v) {
    return x < v ? m_colors.up : (x > v ? m_colors.down : m_colors.level);
  };
  const auto price = [&](double v) { return TextPrintf(m_strFormat.c_str(), v); };
  Row(0, GBK("时    间"), m_colors.label, -1);
  Row(1, TextPrintf("%08d", b.nDate & 0x7FFFFFFF), m_colors.level, 1);
  const struct {
    const char* label;
    float value;
  } prices[] = {
      {"开    盘", b.fOpen}, {"最    高", b.fHigh}, {"最    低", b.fLow}, {"收    盘", b.fClose}};
  int row = 2;
  for (const auto& p : prices) {
    Row(row++, GBK(p.label), m_colors.label, -1);
    Row(row++, price(p.value), color(p.value), 1);
  }
  Row(10, GBK("成 交 量"), m_colors.label, -1);
  Row(11, CPublic::FormatValue(static_cast<float>(b.nVolume), 0), m_colors.volume, 1);
  Row(12, GBK("涨    幅"), m_colors.label, -1);
  Row(13, x == 0 ? std::string("-") : TextPrintf("%.2f%%", (b.fClose - x) * 100 / x),
      color(b.fClose), 1);
  // The value may be an indicator's, so it has no rise or fall colour.
  Row(14, GBK("数    值"), m_colors.label, -1);
  Row(15, value.empty() ? std::string("-") : value, m_colors.level, 1);
}

void CInfoTable::Paint(CChartPainter& painter) {
  InitColors();
  CFramedChartTable::Paint(painter);
}
