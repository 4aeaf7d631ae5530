// The owner-drawn tab bar: layout, painting of the trapezoid tabs, hit
// testing and selection.
//
// The marker check walks the name character by character, so the marker's
// two bytes are never matched across the boundary of two other GBK
// characters.
#include "zeb/controls/type_ctl_pic.h"

#include <iterator>

#include "platform/gbk.h"
#include "sharecode/gdi_selectors.h"
#include "zeb/scheme/sys_style.h"

namespace {

// Byte offset of the last whole character of the name that is the marker;
// npos when there is none.
size_t FindMarker(const std::string& name, const char* marker) {
  const std::string_view m(marker);
  size_t found = std::string::npos;
  for (size_t i = 0; i < name.size();) {
    const size_t length =
        platform::IsGbkLeadByte((unsigned char)name[i]) && i + 1 < name.size() ? 2 : 1;
    if (std::string_view(name).substr(i, length) == m) found = i;
    i += length;
  }
  return found;
}

// Scheme colours of the bar: 6 lines, 19 background.
constexpr int kLineColorId = 6;
constexpr int kBarColorId = 19;

}  // namespace

const char* CTypeCtlPic::Marker() { return GBK("◢"); }

CTypeCtlPic::CTypeCtlPic() {
  m_font.CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, GBK("宋体"));
  CTypeCtlPic::InitColors();
}

CTypeCtlPic::~CTypeCtlPic() { RemoveAll(); }

void CTypeCtlPic::SetRect(int left, int top, int right, int bottom) {
  m_rcBar = RECT{left, top, right, bottom};
}

int CTypeCtlPic::HitTest(int x, int y) {
  const POINT p{x, y};
  if (!PtInRect(m_rcBar, p)) return -1;
  for (size_t i = 0; i < m_tabs.size(); ++i)
    if (PtInRect(m_tabs[i].rect, p)) return (int)i;
  return -1;
}

void CTypeCtlPic::SetUnitState(int index, int state) {
  if (IsValidIndex(index)) m_tabs[(size_t)index].state = state;
}

int CTypeCtlPic::AddTab(const char* name, int state) {
  if (!name || !*name) return 0;
  m_tabs.push_back(STypeCtlUnit{name, RECT{}, state});
  if (state != 0) m_nCurrent = (int)m_tabs.size() - 1;
  return 1;
}

int CTypeCtlPic::Draw(CDC* dc) {
  if (!dc || RectWidth(m_rcBar) <= 0 || RectHeight(m_rcBar) <= 0) return 0;
  InitColors();
  dc->FillSolidRect(&m_rcBar, m_clrBar);
  {
    CPenSelector pen(dc, m_clrLine);
    dc->MoveTo(m_rcBar.left, m_rcBar.top);
    dc->LineTo(m_rcBar.left, m_rcBar.bottom);
  }
  const int barWidth = RectWidth(m_rcBar);
  int sum = 0;
  for (int i = 0; i < (int)m_tabs.size(); ++i) {
    sum += LayoutTab(dc, i);
    if (sum <= barWidth) PaintTab(dc, i);
  }
  return 1;
}

int CTypeCtlPic::LayoutTab(CDC* dc, int index) {
  if (!dc || !IsValidIndex(index)) return 0;
  STypeCtlUnit& tab = m_tabs[(size_t)index];
  CFont* old = dc->SelectObject(&m_font);
  RECT text{};
  dc->DrawText(tab.name, &text, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  m_sizeMarker = dc->GetTextExtent(Marker());
  dc->SelectObject(old);
  const POINT origin =
      index == 0 ? POINT{m_rcBar.left, m_rcBar.top}
                 : POINT{m_tabs[(size_t)index - 1].rect.right, m_tabs[(size_t)index - 1].rect.top};
  // The slanted ends take the slant on each side; the label keeps its
  // margin inside them.
  const int width = RectWidth(text) + 2 * m_nSlant + 2 * kLabelMargin;
  tab.rect = RECT{origin.x, origin.y, origin.x + width, m_rcBar.bottom};
  return RectWidth(tab.rect);
}

void CTypeCtlPic::PaintTab(CDC* dc, int index) {
  if (!dc || !IsValidIndex(index)) return;
  STypeCtlUnit& tab = m_tabs[(size_t)index];
  if (IsRectEmpty(tab.rect)) return;
  const int L = tab.rect.left, T = tab.rect.top, R = tab.rect.right, B = tab.rect.bottom;
  const int s = m_nSlant, M = T + (B - T) / 2;
  const bool current = tab.state != 0;
  if (current) m_nCurrent = index;
  const bool beforeCurrent = !current && m_nCurrent != kNoTab && index + 1 == m_nCurrent;
  const bool afterCurrent = m_nCurrent != kNoTab && index > m_nCurrent;

  dc->SetBkMode(TRANSPARENT);
  // The shape: filled without an outline, edges drawn after.
  {
    CBrush fill(current ? m_clrCurFill : m_clrTabFill);
    CBrush* oldBrush = dc->SelectObject(&fill);
    CGdiObject* oldPen = dc->SelectStockObject(NULL_PEN);
    if (current && index > 0) {
      const POINT shape[] = {{L - s, T}, {L + s, B}, {R - s, B}, {R + s, T}};
      dc->Polygon(shape, (int)std::size(shape));
    } else if (current) {
      const POINT shape[] = {{L, T}, {L, M}, {L + s, B}, {R - s, B}, {R + s, T}};
      dc->Polygon(shape, (int)std::size(shape));
    } else if (beforeCurrent) {
      const POINT shape[] = {{L + s, T}, {L, M}, {L + s, B}, {R - s, B}, {R, M}, {R - s, T}};
      dc->Polygon(shape, (int)std::size(shape));
    } else {
      const POINT shape[] = {{L + s, T}, {L, M}, {L + s, B}, {R - s, B}, {R + s, T}};
      dc->Polygon(shape, (int)std::size(shape));
    }
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
  }
  {
    CPenSelector pen(dc, m_clrLine);
    auto line = [dc](int x1, int y1, int x2, int y2) {
      dc->MoveTo(x1, y1);
      dc->LineTo(x2, y2);
    };
    if (current) {
      if (index > 0) line(L - s, T, L + s, B);
      else line(L, M, L + s, B);
      line(R - s, B, R, M);
    } else {
      line(L, M, L + s, T);
      line(L, M, L + s, B);
      line(R - s, B, R, M);
      if (afterCurrent) line(L + s, T, R + s, T);
      else line(index == 0 ? L : L - s, T, R - s, T);
    }
    if (index + 1 == (int)m_tabs.size()) {
      const POINT tail[] = {{R, M}, {R + s, T}, {m_rcBar.right, m_rcBar.top}};
      dc->Polyline(tail, (int)std::size(tail));
      line(R - s, T, R + s, T);
    }
  }
  CFont* oldFont = dc->SelectObject(&m_font);
  const COLORREF oldColor = dc->SetTextColor(current ? m_clrCurText : m_clrText);
  RECT text = tab.rect;
  dc->DrawText(tab.name, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc->SetTextColor(oldColor);
  dc->SelectObject(oldFont);
}

int CTypeCtlPic::InitTabs() { return 1; }

int CTypeCtlPic::OnClick(int x, int y) {
  const int index = HitTest(x, y);
  if (index < 0) return 0;
  SetCurSel(index);
  return 1;
}

int CTypeCtlPic::GetCurSel() { return m_nCurrent; }

void CTypeCtlPic::SetCurIndex(int index) { m_nCurrent = index; }

RECT CTypeCtlPic::GetRect() { return m_rcBar; }

POINT CTypeCtlPic::GetTabPos(CDC* dc) {
  int sum = 0;
  for (int i = 0; i < (int)m_tabs.size(); ++i) sum += LayoutTab(dc, i);
  return POINT{m_rcBar.left + m_nSlant + sum, m_rcBar.top};
}

int CTypeCtlPic::GetFittingHeight(CDC* dc) {
  if (!dc) return 0;
  CFont* old = dc->SelectObject(&m_font);
  TEXTMETRIC metrics{};
  const BOOL measured = dc->GetTextMetrics(&metrics);
  dc->SelectObject(old);
  return (measured ? int(metrics.tmHeight) : 0) + 2 * kLabelMargin;
}

void CTypeCtlPic::InitColors() {
  CSysStyle* style = CSysStyle::GetInstance();
  m_clrLine = style->GetColor(kLineColorId);
  m_clrBar = style->GetColor(kBarColorId);
  m_clrText = RGB(0, 0, 0);
  m_clrCurText = RGB(127, 255, 255);
  m_clrCurFill = RGB(128, 0, 0);
  m_clrTabFill = RGB(128, 128, 128);
}

void CTypeCtlPic::SetCurTabText(const char* text) {
  if (IsValidIndex(m_nCurrent)) m_tabs[(size_t)m_nCurrent].name = text ? text : "";
}

void CTypeCtlPic::GetTabText(std::string& out, int x) {
  out.clear();
  if (!IsValidIndex(m_nCurrent)) return;
  const STypeCtlUnit& tab = m_tabs[(size_t)m_nCurrent];
  const size_t marker = FindMarker(tab.name, Marker());
  if (marker == std::string::npos) {
    out = tab.name;
    return;
  }
  // The marker is the label's end, inside the slant and the margin.
  if (tab.rect.right - m_nSlant - kLabelMargin - m_sizeMarker.cx < x) return;
  out = tab.name;
  out.erase(marker, std::string_view(Marker()).size());
}

void CTypeCtlPic::ClearSel() {
  SetUnitState(m_nCurrent, 0);
  m_nCurrent = kNoTab;
}

void CTypeCtlPic::SetCurSel(int index) {
  if (index < 0) {
    ClearSel();
    return;
  }
  SetUnitState(m_nCurrent, 0);
  SetUnitState(index, 1);
  m_nCurrent = index;
}

void CTypeCtlPic::RemoveAll() { m_tabs.clear(); }

const STypeCtlUnit* CTypeCtlPic::GetTab(int index) const {
  return IsValidIndex(index) ? &m_tabs[(size_t)index] : nullptr;
}
