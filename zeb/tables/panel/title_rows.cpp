// The panel's title and valuation rows.
#include "zeb/tables/panel/title_rows.h"

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"

namespace {
constexpr int kTitleFont = 4;
constexpr int kNameColor = 1;
constexpr int kCodeColor = 20;
}  // namespace

CTitleTable::CTitleTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

void CTitleTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  SCodeInfo key = m_item.GetKey();
  if (m_store->RestoreRemappedCode(key)) {
    m_item.code = key.code;
    m_item.market = key.market;
  }
}

int CTitleTable::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  const CSysStyle* style = CSysStyle::GetInstance();
  CFont* font = style->GetFont(kTitleFont);
  CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const int middle = (m_rect.left + m_rect.right) / 2;
  RECT left{m_rect.left + 2, m_rect.top, middle, m_rect.bottom};
  RECT right{middle, m_rect.top, m_rect.right - 2, m_rect.bottom};
  dc->SetTextColor(style->GetColor(kNameColor));
  dc->DrawText(m_item.GetName(), &left, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  dc->SetTextColor(style->GetColor(kCodeColor));
  dc->DrawText(TextPrintf("%06d", m_item.code), &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  dc->SetBkMode(oldMode);
  if (oldFont) dc->SelectObject(oldFont);
  return 1;
}

CValueTable::CValueTable(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

void CValueTable::InitColumns() { m_colors.Load(); }

void CValueTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  m_item = *item;
  ItemPriceUnitAndFormat(m_item.GetKey(), &m_nUnit, &m_strFormat);
  m_feed.Reset();
  RebuildColumns();
}

void CValueTable::RebuildColumns() {
  RemoveAllColumns();
  DeleteAllRows();
  const int w = GetWidth();
  if (Kind() == 1) {
    AddColumn(0, "", 0, w / 2);
    AddColumn(1, "", 1, w / 2);
  } else {
    AddColumn(0, "", 0, w * 2 / 10);
    AddColumn(1, "", 1, w * 3 / 10);
    AddColumn(2, "", 0, w * 2 / 10);
    AddColumn(3, "", 1, w * 3 / 10);
  }
  AddStyle(kTableStyleNoHeader);
  WriteLabels();
}

void CValueTable::WriteLabels() {
  const COLORREF label = m_colors.label;
  switch (Kind()) {
    case 1:
      SetCell(0, 0, "", -1, label, CLR_INVALID, 0x1000);
      SetCell(0, 1, "", -1, label, CLR_INVALID, 0x1000);
      return;
    case 2:
      SetCell(0, 0, GBK("应计息"), -1, label, CLR_INVALID, 0x7000);
      SetCell(0, 1, "-", -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 2, GBK("收益率"), -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 3, "-", -1, label, CLR_INVALID, 0x3000);
      return;
    case 3:
      SetCell(0, 0, GBK("净值"), -1, label, CLR_INVALID, 0x7000);
      SetCell(0, 1, "-", -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 2, "", -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 3, "", -1, label, CLR_INVALID, 0x3000);
      return;
    default:
      SetCell(0, 0, GBK("市净"), -1, label, CLR_INVALID, 0x7000);
      SetCell(0, 1, "-", -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 2, GBK("换手"), -1, label, CLR_INVALID, 0x3000);
      SetCell(0, 3, "-%", -1, label, CLR_INVALID, 0x3000);
  }
}

void CValueTable::Fill(const STickRecord& r) {
  const int64_t perShare = m_item.valuePerShare;
  switch (Kind()) {
    case 1:
      SetCell(0, 0, "", -1, m_colors.label, CLR_INVALID, 0x1000);
      SetCell(0, 1, "", -1, m_colors.label, CLR_INVALID, 0x1000);
      return;
    case 3:
      SetCell(0, 1, PriceText(perShare, m_nUnit, m_strFormat), -1, m_colors.OfSign(perShare),
              CLR_INVALID, 0x3000);
      return;
    default: {
      const double pb =
          perShare != 0 ? static_cast<double>(r.last) / static_cast<double>(perShare) : 0.0;
      SetCell(0, 1, TextPrintf(m_strFormat.c_str(), pb), -1, m_colors.up, CLR_INVALID, 0x3000);
      const double turnover =
          m_item.circulating != 0
              ? (static_cast<double>(r.volume) / CPublic::GetLotSize()) * 100.0 / m_item.circulating
              : 0.0;
      SetCell(0, 3, TextPrintf("%.2f%%", turnover), -1, m_colors.up, CLR_INVALID, 0x3000);
    }
  }
}

int CValueTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CValueTable::UpdatePacket(const CChartPacket& packet) {
  m_feed.Take(
      packet, m_item.GetKey(), [&](const SMinuteTracePacket& trace) { Fill(trace.quote); },
      [&](const STickRecord& r) { Fill(r); });
  return 1;
}
