#include "trade/ui/windows/show_market.h"

#include "platform/desktop.h"
#include "platform/gbk.h"

namespace {
// The strip's own font: every character is laid out 7 pixels wide.
void MakeStripFont(CFont& font) {
  LOGFONT lf;
  lf.lfHeight = 14;
  lf.lfWidth = 7;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  const std::string face = GBK("宋体");
  face.copy(lf.lfFaceName, sizeof lf.lfFaceName - 1);
  font.CreateFontIndirect(&lf);
}
}  // namespace

CShowMarket::CShowMarket() { MakeStripFont(font_); }

SStripLayout CShowMarket::Layout() const {
  CRect client;
  GetClientRect(&client);
  return LayoutQuoteStrip(text_, m_mode, client.Width(), m_referencePrice,
                          static_cast<bool>(m_onPriceClick));
}

void CShowMarket::SetText(const std::string& text) {
  text_ = QuoteStripText(text, m_mode);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CShowMarket::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  CBitmap* oldBitmap = memory.SelectObject(&bitmap);
  // The background a static control of the parent would have.
  HBRUSH brush = nullptr;
  if (CWnd* parent = GetParent())
    brush = reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(&memory),
                                                         reinterpret_cast<LPARAM>(GetSafeHwnd())));
  if (brush && !brush->IsHollow()) memory.FillRect(&client, brush);
  else memory.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));

  CFont* oldFont = memory.SelectObject(&font_);
  memory.SetBkMode(TRANSPARENT);
  for (const SStripCell& cell : Layout().cells) {
    memory.SetTextColor(cell.colour);
    memory.SetTextAlign(cell.rightAligned ? TA_RIGHT | TA_TOP : TA_LEFT | TA_TOP);
    memory.TextOut(cell.x, cell.y, cell.text);
  }
  memory.SetTextAlign(TA_LEFT | TA_TOP);
  memory.SelectObject(oldFont);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(oldBitmap);
}

void CShowMarket::OnLButtonDown(UINT flags, CPoint point) {
  double price = 0;
  if (m_onPriceClick && StripClickPrice(Layout(), text_, point.x, point.y, &price))
    m_onPriceClick(price);
  CWndImpl<QWidget>::OnLButtonDown(flags, point);
}
