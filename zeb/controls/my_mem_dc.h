// An off-screen DC for one paint: views make one on the stack over their
// paint DC, draw into it with the target's own coordinates, and the whole
// area is copied to the target in one go when it goes out of scope, so the
// screen never shows a half-drawn picture.
#pragma once
#include "platform/gdi.h"

class CMyMemDC : public CDC {
 public:
  // rect (logical, the target's coordinates) or, when null, the target's
  // clip box. The area starts filled with the target's background colour.
  explicit CMyMemDC(CDC* target, const RECT* rect = nullptr);
  ~CMyMemDC() override;
  CMyMemDC(const CMyMemDC&) = delete;
  CMyMemDC& operator=(const CMyMemDC&) = delete;

  CMyMemDC* operator->() { return this; }
  operator CMyMemDC*() { return this; }
  const RECT& GetRect() const { return m_rect; }

 private:
  CBitmap m_bitmap;
  CBitmap* m_oldBitmap = nullptr;
  CDC* m_target;
  RECT m_rect{};
};
