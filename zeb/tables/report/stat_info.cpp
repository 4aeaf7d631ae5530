// Summing and drawing the quote list's statistics strip.
#include "zeb/tables/report/stat_info.h"

#include <cstdio>

#include "platform/gbk.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/amount_units.h"
#include "zeb/store/public_store.h"

namespace {

constexpr int kColorBackground = 19;
constexpr int kCellWidth = 150;
const COLORREF kTopLineColor = RGB(255, 0, 0);
// Items whose code / 1000 is this are not summed.
constexpr int kExcludedCodeGroup = 100;

}  // namespace

CStatInfo::CStatInfo(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) { Reset(); }

void CStatInfo::Init() {
  Reset();
  m_crBack = CSysStyle::GetInstance()->GetColor(kColorBackground);
  m_crText = RGB(0xFF, 0xF8, 0x50);
  m_font.DeleteObject();
  m_font.CreateFont(16, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
}

void CStatInfo::Reset() {
  const char* none = GBK("——");
  m_figures = {{GBK("成交总量"), none}, {GBK("库存总量"), none}, {GBK("成交金额"), none}};
}

int CStatInfo::Update(const SPacketHead& head, const SQuotePacket* quotes, int listed) {
  if (head.tag != CPublic::GetRequestTag()) return 0;
  if ((listed & 0xFF) == 0) {
    Reset();
    return 1;
  }
  if (PacketGroup(head.type) != PKT_REPORT) return 1;
  if (quotes == nullptr || quotes->count == 0) return 0;

  // 64-bit sums: a market's volume or inventory can pass 2^31.
  long long volume = 0;
  long long inventory = 0;
  double amount = 0;
  for (const SQuoteUnit& quote : quotes->records) {
    if (quote.code.code / 1000 == kExcludedCodeGroup) continue;
    volume += quote.volume;
    amount += CurrencyOfRecordAmount(quote.amount);
    // An item the store does not know has no inventory to add.
    if (const SStockInfo* item = m_store->FindStock(&quote.code)) inventory += item->inventory;
  }
  char text[3][48];
  std::snprintf(text[0], sizeof text[0], "%lld", volume);
  std::snprintf(text[1], sizeof text[1], "%lld", inventory);
  std::snprintf(text[2], sizeof text[2], "%.2f", amount);
  for (size_t i = 0; i < m_figures.size(); ++i) m_figures[i].second = text[i];
  return 1;
}

int CStatInfo::Draw(CDC* dc) {
  if (dc == nullptr || !CPublic::IsValidRect(m_rect)) return 0;
  dc->FillSolidRect(&m_rect, m_crBack);
  CPen pen(PS_SOLID, 1, kTopLineColor);
  CPen* oldPen = dc->SelectObject(&pen);
  dc->MoveTo(m_rect.left, m_rect.top);
  dc->LineTo(m_rect.right, m_rect.top);
  if (oldPen) dc->SelectObject(oldPen);

  CFont* oldFont = m_font.GetSafeHandle() ? dc->SelectObject(&m_font) : nullptr;
  const COLORREF oldText = dc->SetTextColor(m_crText);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  for (size_t i = 0; i < m_figures.size(); ++i) {
    RECT cell{m_rect.left + kCellWidth * static_cast<int>(i), m_rect.top,
              m_rect.left + kCellWidth * static_cast<int>(i + 1), m_rect.bottom};
    dc->DrawText(m_figures[i].first + m_figures[i].second, &cell,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
  }
  dc->SetBkMode(oldMode);
  dc->SetTextColor(oldText);
  if (oldFont) dc->SelectObject(oldFont);
  return 1;
}
