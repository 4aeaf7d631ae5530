// The big-order title and list.
#include "zeb/tables/bigorder/large_vol_table.h"

#include <algorithm>

#include "platform/gbk.h"
#include "platform/window.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/messages.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"

namespace {
// The settings' floor of the threshold.
constexpr int kDefaultThreshold = 400;
int Threshold(const SBigOrderHooks* hooks) {
  return hooks && hooks->threshold ? hooks->threshold() : kDefaultThreshold;
}
}  // namespace

int CLargeTitleTable::Draw(CDC* dc) {
  if (!dc || !CPublic::IsValidRect(m_rect)) return 0;
  const CSysStyle* style = CSysStyle::GetInstance();
  CFont* font = style->GetFont(1);
  CFont* oldFont = font ? dc->SelectObject(font) : nullptr;
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const char* caption = GBK("主力大单  双击修改");
  dc->SetTextColor(style->GetColor(20));
  dc->TextOut(m_rect.left + 4, m_rect.top + 2, caption);
  dc->SetTextColor(style->GetColor(3));
  dc->TextOut(m_rect.left + dc->GetTextExtent(caption).cx + 6, m_rect.top + 2,
              TextPrintf(">=%d", Threshold(m_hooks)));
  dc->SetBkMode(oldMode);
  if (oldFont) dc->SelectObject(oldFont);
  return 1;
}

int CLargeTitleTable::HitTestRow(int x, int y) const {
  return PtInRect(m_rect, POINT{x, y}) ? 1 : 0;
}

int CLargeTitleTable::OnLButtonDblClk(int x, int y) {
  if (!HitTestRow(x, y)) return 0;
  if (m_hooks && m_hooks->openSettings) m_hooks->openSettings();
  return 1;
}

CLargeVolTable::CLargeVolTable(CPublic* store, const SBigOrderHooks* hooks)
    : m_store(store ? store : CPublic::GetInstance()), m_hooks(hooks) {}

void CLargeVolTable::InitColumns() {
  RemoveAllColumns();
  const int w = GetWidth();
  AddColumn(0, GBK("时间"), 1, w / 4 - 8);
  AddColumn(1, GBK("名    称"), 1, w / 4 + 25);
  AddColumn(2, GBK("成交"), 1, w / 4 - 7);
  AddColumn(3, GBK("现量"), 1, w / 4 - 10);
  AddStyle2(kTableStyle2HighlightSel);
}

void CLargeVolTable::SetStock(const SStockInfo* item) {
  if (!item) return;
  if (!m_item || m_item->market != item->market) m_item = item;
  ItemPriceUnitAndFormat(item->GetKey(), &m_nUnit, &m_strFormat);
}

void CLargeVolTable::Request() {
  if (!m_item) return;
  const std::string request = BuildItemRequest(
      PKT_BIG_ORDER, m_item->market, static_cast<uint16_t>(CPublic::GetRequestTag()),
      m_item->market, static_cast<uint32_t>(Threshold(m_hooks)));
  m_store->SendRequest(request.data(), static_cast<int>(request.size()), 1);
}

int CLargeVolTable::UpdateData(const void* body, int length) {
  return UpdatePacket(CChartPacket(body, length));
}

int CLargeVolTable::UpdatePacket(const CChartPacket& packet) {
  const SBigOrderPacket* orders = packet.BigOrders();
  if (!orders) return 0;
  if (packet.Group() == PKT_BIG_ORDER_ADD) {
    // Additions: the list so far stays below them.
    m_orders.insert(m_orders.begin(), orders->orders.begin(), orders->orders.end());
  } else {
    m_orders = orders->orders;
  }
  if (m_orders.size() > kBigOrderRows) m_orders.resize(kBigOrderRows);
  Fill(m_orders);
  return 1;
}

int CLargeVolTable::OnKey(UINT key) {
  using namespace table_keys;
  const int page = std::max(GetRowsPerPage(), 1);
  const int lastTop = std::max(GetRowCount() - page, 0);
  int top = GetTopRow();
  switch (key) {
    case kUp: top -= 1; break;
    case kDown: top += 1; break;
    case kPrior: top -= page; break;
    case kNext: top += page; break;
    default: return 0;
  }
  SetTopRow(std::clamp(top, 0, lastTop));
  return 1;
}

void CLargeVolTable::Fill(const std::vector<SBigOrder>& orders) {
  DeleteAllRows();
  m_colors.Load();
  m_codes.clear();
  for (const SBigOrder& o : orders) {
    const SStockInfo* item = m_store->FindStock(&o.code);
    if (!item) continue;
    const int row = GetRowCount();
    m_codes.push_back(o.code);
    const uint16_t time = m_store->OffsetToTime(o.time);
    const auto cell = [&](int col, const std::string& text, COLORREF color) {
      SSubItem c;
      c.text = text;
      c.textColor = color;
      c.align = 1;
      SetCellItem(row, col, c);
    };
    cell(0, TextPrintf("%02d:%02d", time / 60, time % 60), m_colors.level);
    cell(1, item->GetName(), m_colors.volume);
    cell(2, PriceText(o.price, m_nUnit, m_strFormat), m_colors.Of(o.price, item->preClose));
    cell(3, TextPrintf("%u", o.volume), m_colors.volume);
  }
}

int CLargeVolTable::OnLButtonDblClk(int x, int y) {
  const int row = HitTestRow(x, y);
  if (row < 0) return 0;
  const size_t index = static_cast<size_t>(GetTopRow() + row);
  if (index >= m_codes.size()) return 0;
  SCodeInfo code = m_codes[index];
  if (HWND main = m_store->GetMainWnd())
    ::SendMessage(main, WM_QUOTE_REQUEST, kRequestItem, LPARAM(&code));
  return 1;
}
