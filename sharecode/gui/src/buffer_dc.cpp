#include "sharecode/buffer_dc.h"

CBufferDC::CBufferDC(HDC target, const RECT* rect) : m_target(target) {
  if (rect && !IsRectEmpty(*rect)) m_rect = *rect;
  else if (target) target->GetClipBox(&m_rect);
  CreateCompatibleDC(target);
  if (m_rect.right > 0 && m_rect.bottom > 0 &&
      m_bitmap.CreateCompatibleBitmap(target, m_rect.right, m_rect.bottom))
    m_oldBitmap = SelectObject(&m_bitmap);
  if (m_rect.top > 0) ExcludeClipRect(0, 0, m_rect.right, m_rect.top);
  if (m_rect.left > 0) ExcludeClipRect(0, m_rect.top, m_rect.left, m_rect.bottom);
}

CBufferDC::~CBufferDC() {
  if (m_target && m_oldBitmap) {
    m_target->BitBlt(m_rect.left, m_rect.top, RectWidth(m_rect), RectHeight(m_rect), this,
                     m_rect.left, m_rect.top, SRCCOPY);
  }
  if (m_oldBitmap) SelectObject(m_oldBitmap);
  m_bitmap.DeleteObject();
}
