// The settings dialog's property sheet (property_sheet.h).
#include "zeb/shell/dialogs/property_sheet.h"

#include <QWidget>
#include <string>

#include "platform/desktop.h"
#include "platform/gdi.h"

namespace {

constexpr int kTabPadding = 16;
constexpr int kMargin = 4;

}  // namespace

CPropertyPage* CPropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? m_pages[size_t(index)] : nullptr;
}

RECT CPropertySheet::TabRect(int index) const {
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CFont* old = GetFont() ? dc.SelectObject(GetFont()) : nullptr;
  int x = kMargin;
  RECT rect{};
  for (int i = 0; i <= index && i < GetPageCount(); ++i) {
    const char* caption = m_pages[size_t(i)]->GetTemplate().caption;
    const int width = dc.GetTextExtent(caption ? caption : "").cx + kTabPadding;
    rect = RECT{x, 2, x + width, 2 + kTabHeight};
    x += width;
  }
  if (old) dc.SelectObject(old);
  return rect;
}

RECT CPropertySheet::PageRect() const {
  CRect client;
  GetClientRect(&client);
  return RECT{kMargin + 2, kTabHeight + 6, client.right - kMargin - 2, client.bottom - kMargin - 2};
}

int CPropertySheet::HitTestTab(CPoint point) const {
  for (int i = 0; i < GetPageCount(); ++i) {
    const RECT r = TabRect(i);
    if (PtInRect(r, point)) return i;
  }
  return -1;
}

BOOL CPropertySheet::SetActivePage(int index) {
  CPropertyPage* page = GetPage(index);
  if (!page || !GetSafeHwnd()) return FALSE;
  if (!page->GetSafeHwnd()) {
    if (!page->Create(this)) return FALSE;
    const RECT place = PageRect();
    page->MoveWindow(&place);
  }
  for (CPropertyPage* other : m_pages)
    if (other != page && other->GetSafeHwnd()) other->ShowWindow(SW_HIDE);
  page->ShowWindow(SW_SHOW);
  m_active = index;
  page->OnSetActive();
  Invalidate();
  return TRUE;
}

void CPropertySheet::OnLButtonDown(UINT, CPoint point) {
  const int tab = HitTestTab(point);
  if (tab >= 0 && tab != m_active) SetActivePage(tab);
}

void CPropertySheet::OnDestroy() {
  // The pages end with the sheet and may be built again with it. They
  // belong to the sheet's owner: they leave the sheet's widget, which would
  // otherwise delete them with itself.
  for (CPropertyPage* page : m_pages) {
    if (page->GetSafeHwnd()) page->DestroyWindow();
    page->GetWidget()->setParent(nullptr);
  }
  m_active = -1;
  CWndImpl<QWidget>::OnDestroy();
}

CPropertySheet::~CPropertySheet() {
  for (CPropertyPage* page : m_pages)
    if (page->GetWidget()->parentWidget() == GetWidget()) page->GetWidget()->setParent(nullptr);
}

void CPropertySheet::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  const COLORREF edge = RGB(160, 160, 160);
  CPen pen(PS_SOLID, 1, edge);
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  const RECT page = PageRect();
  dc.Rectangle(page.left - 2, kTabHeight + 2, page.right + 2, page.bottom + 2);
  CFont* oldFont = GetFont() ? dc.SelectObject(GetFont()) : nullptr;
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(RGB(0, 0, 0));
  for (int i = 0; i < GetPageCount(); ++i) {
    RECT tab = TabRect(i);
    if (i == m_active) {
      tab.top -= 1;
      dc.FillSolidRect(tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top + 1,
                       RGB(255, 255, 255));
    }
    dc.Rectangle(&tab);
    if (i == m_active)  // the active tab opens into its page
      dc.FillSolidRect(tab.left + 1, tab.bottom - 1, tab.right - tab.left - 2, 2,
                       RGB(255, 255, 255));
    const char* caption = m_pages[size_t(i)]->GetTemplate().caption;
    dc.DrawText(caption ? caption : "", -1, &tab,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  if (oldFont) dc.SelectObject(oldFont);
  dc.SelectObject(oldBrush);
  dc.SelectObject(oldPen);
}
