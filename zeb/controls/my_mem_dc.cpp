// The per-paint off-screen DC: a bitmap of the area, its window origin at
// the area's top-left so drawing keeps the target's coordinates, copied
// back in one call.
#include "zeb/controls/my_mem_dc.h"

CMyMemDC::CMyMemDC(CDC* target, const RECT* rect) : m_target(target) {
  if (rect) m_rect = *rect;
  else if (target) target->GetClipBox(&m_rect);
  CreateCompatibleDC(target);
  const int width = RectWidth(m_rect), height = RectHeight(m_rect);
  if (width > 0 && height > 0 && m_bitmap.CreateCompatibleBitmap(target, width, height))
    m_oldBitmap = SelectObject(&m_bitmap);
  SetWindowOrg(m_rect.left, m_rect.top);
  if (target) FillSolidRect(&m_rect, target->GetBkColor());
}

CMyMemDC::~CMyMemDC() {
  if (m_target && m_oldBitmap)
    m_target->BitBlt(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect), this,
                     m_rect.left, m_rect.top, SRCCOPY);
  if (m_oldBitmap) SelectObject(m_oldBitmap);
  m_bitmap.DeleteObject();
}
