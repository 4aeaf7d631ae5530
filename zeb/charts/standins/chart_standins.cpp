// The K-line stand-in: its request, and a notice naming the item.
#include "zeb/charts/standins/chart_standins.h"

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "ui/sys_style.h"
#include "zeb/shell/store/public_store.h"

namespace {

constexpr int kKLineRequestSize = 30;

void DrawNotice(CDC* dc, const RECT& rect, const std::string& text) {
  const CSysStyle* style = CSysStyle::GetInstance();
  RECT r = rect;
  CFont* font = style->GetFont(2);
  CFont* old = font ? dc->SelectObject(font) : nullptr;
  const int mode = dc->SetBkMode(TRANSPARENT);
  dc->SetTextColor(style->GetColor(3));
  // Several lines: measured first, then centred by hand.
  RECT measured = r;
  dc->DrawText(text, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
  const int height = measured.bottom - measured.top;
  r.top += ((r.bottom - r.top) - height) / 2;
  dc->DrawText(text, &r, DT_CENTER | DT_WORDBREAK);
  dc->SetBkMode(mode);
  if (old) dc->SelectObject(old);
}

void DrawFrame(CDC* dc, const RECT& rect) {
  CPen pen(PS_SOLID, 1, CSysStyle::GetInstance()->GetColor(22));
  CPen* old = dc->SelectObject(&pen);
  CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
  dc->Rectangle(&rect);
  dc->SelectObject(old);
  if (oldBrush) dc->SelectObject(oldBrush);
}

}  // namespace

// ---- CHisTechObj ----

CHisTechObj::CHisTechObj(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

void CHisTechObj::SetStock(SStockInfo* item) {
  m_bHasRecords = false;
  if (item) m_item = item;
}

void CHisTechObj::RequestKLine() {
  if (!m_item) return;
  std::string request(kKLineRequestSize, '\0');
  const uint16_t type = static_cast<uint16_t>((m_bHasRecords ? 0x0600 : 0x0500) + m_nPeriod);
  quotelink::WriteU16(&request[0], type);
  quotelink::WriteU16(&request[2], m_item->market);
  quotelink::WriteU16(&request[4], static_cast<uint16_t>(CPublic::GetRequestTag()));
  quotelink::WriteU16(&request[6], 1);
  quotelink::WriteU16(&request[12], m_item->market);
  quotelink::WriteU32(&request[14], static_cast<uint32_t>(m_item->code));
  m_store->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

BOOL CHisTechObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

int CHisTechObj::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  DrawFrame(dc, m_rect);
  std::string text = GBK("技术分析");
  if (m_item) text = m_item->GetName() + "  " + text;
  if (!m_strLastTech.empty()) text += "  " + m_strLastTech;
  DrawNotice(dc, m_rect, text);
  return 1;
}
