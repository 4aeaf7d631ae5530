// The chart stand-ins: their requests, and a picture simple enough to show
// that data arrive.
#include "zeb/charts/standins/chart_standins.h"

#include <algorithm>
#include <cstring>

#include "link/quote_protocol.h"
#include "platform/gbk.h"
#include "ui/sys_style.h"
#include "zeb/shell/store/public_store.h"
#include "zeb/tables/base/price_colors.h"
#include "zeb/tables/packets/chart_packets.h"

namespace {

std::vector<SCodeInfo> g_traceCodes;
constexpr UINT kCmdVolumePane = 26644;
constexpr int kMenuMain = 130;

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

// ---- CPriceVolObj ----

CPriceVolObj::CPriceVolObj(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

void CPriceVolObj::SetStock(SStockInfo* item) {
  if (!item) return;
  m_item = item;
  m_prices.clear();
  m_nLastVolume = 0;
}

void CPriceVolObj::RequestMinuteTrace() {
  if (!m_item) return;
  const SCodeInfo code = m_item->GetKey();
  if (std::find(g_traceCodes.begin(), g_traceCodes.end(), code) == g_traceCodes.end()) g_traceCodes.push_back(code);
  const std::string request = BuildItemRequest(PKT_MINUTE_TRACE, m_item->market, 1, m_item->market,
                                               static_cast<uint32_t>(m_item->code));
  m_store->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

void CPriceVolObj::AddTraceCode(SCodeInfo code) {
  if (std::find(g_traceCodes.begin(), g_traceCodes.end(), code) == g_traceCodes.end()) g_traceCodes.push_back(code);
  std::string request(12 + 6 * g_traceCodes.size(), '\0');
  quotelink::WriteU16(&request[0], PKT_TRACE_LIST);
  quotelink::WriteU16(&request[4], static_cast<uint16_t>(CPublic::GetRequestTag()));
  quotelink::WriteU16(&request[6], static_cast<uint16_t>(g_traceCodes.size()));
  for (size_t i = 0; i < g_traceCodes.size(); ++i) {
    quotelink::WriteU16(&request[12 + 6 * i], g_traceCodes[i].market);
    quotelink::WriteU32(&request[14 + 6 * i], static_cast<uint32_t>(g_traceCodes[i].code));
  }
  m_store->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

const std::vector<SCodeInfo>& CPriceVolObj::TraceCodes() { return g_traceCodes; }
void CPriceVolObj::ClearTraceCodes() { g_traceCodes.clear(); }

int CPriceVolObj::OnData(const void* body, int length) {
  ++m_nPackets;
  if (!m_item || length < 0) return 1;
  SPacketHead head;
  if (!ReadPacketHead(body, static_cast<size_t>(length), &head)) return 1;
  if (PacketGroup(head.type) == PKT_MINUTE_TRACE) {
    SMinuteTracePacket trace;
    if (!ReadMinuteTrace(body, static_cast<size_t>(length), &trace) || !(trace.quote.code == m_item->GetKey()))
      return 1;
    m_prices.clear();
    for (const SDealRecord& d : trace.ticks) m_prices.push_back(d.price);
    m_nLastVolume = trace.quote.volume;
  } else if (PacketGroup(head.type) == PKT_PUSH_TICK) {
    SPushTickPacket push;
    if (!ReadPushTicks(body, static_cast<size_t>(length), &push)) return 1;
    for (const STickRecord& r : push.records)
      if (r.code == m_item->GetKey() && r.volume != m_nLastVolume) {
        m_prices.push_back(r.last);
        m_nLastVolume = r.volume;
      }
  }
  return 1;
}

BOOL CPriceVolObj::HitTest(int x, int y) { return PtInRect(m_rect, POINT{x, y}); }

int CPriceVolObj::OnCommand(UINT id) {
  if (id != kCmdVolumePane) return 0;
  m_nSubPic = 0;
  return 1;
}

int CPriceVolObj::OnRButtonDown(CDrawOwner* owner, int x, int y) {
  if (!m_item) return 0;
  TrackMenuResource(owner, x, y, kMenuMain, 0);
  return 1;
}

int CPriceVolObj::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  DrawFrame(dc, m_rect);
  if (!m_item) return 1;
  const RECT inner{m_rect.left + 4, m_rect.top + 4, m_rect.right - 4, m_rect.bottom - 4};
  if (m_prices.size() < 2 || inner.right <= inner.left || inner.bottom <= inner.top) {
    DrawNotice(dc, m_rect, GBK("分时走势"));
    return 1;
  }
  // Scaled around the previous close so the centre line is the close.
  uint32_t spread = 1;
  for (uint32_t p : m_prices) {
    const uint32_t d = p > m_item->preClose ? p - m_item->preClose : m_item->preClose - p;
    spread = std::max(spread, d);
  }
  const int middle = (inner.top + inner.bottom) / 2;
  const int half = (inner.bottom - inner.top) / 2;
  const CSysStyle* style = CSysStyle::GetInstance();
  CPen closeLine(PS_SOLID, 1, style->GetColor(6));
  CPen priceLine(PS_SOLID, 1, style->GetColor(1));
  CPen* old = dc->SelectObject(&closeLine);
  dc->MoveTo(inner.left, middle);
  dc->LineTo(inner.right, middle);
  dc->SelectObject(&priceLine);
  const size_t n = m_prices.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = inner.left + static_cast<int>((inner.right - inner.left) * static_cast<int64_t>(i) / static_cast<int64_t>(n - 1));
    const int64_t d = static_cast<int64_t>(m_prices[i]) - m_item->preClose;
    const int y = middle - static_cast<int>(d * half / static_cast<int64_t>(spread));
    if (i == 0) dc->MoveTo(x, y);
    else dc->LineTo(x, y);
  }
  dc->SelectObject(old);
  return 1;
}

// ---- CChipDistribPic ----

int CChipDistribPic::SetRect(int left, int top, int right, int bottom) {
  m_rect = RECT{left, top, right, bottom};
  return 1;
}

int CChipDistribPic::SetCapitalInfo(int shares, const uint8_t* records, int count) {
  m_nShares = shares;
  m_nCapitalRecords = records && count > 0 ? count : 0;
  return 1;
}

int CChipDistribPic::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  if (!m_nTechShown) {
    DrawNotice(dc, m_rect, GBK("筹码分布只能显示\r\n在技术分析视图中"));
    return 0;
  }
  DrawNotice(dc, m_rect, TextPrintf(GBK("筹码分布  股本记录 %d"), m_nCapitalRecords));
  return 0;
}
