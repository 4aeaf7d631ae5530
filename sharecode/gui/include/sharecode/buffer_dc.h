// Double-buffered drawing: paint into an off-screen bitmap with the
// target's coordinates, copied to the target in one go on destruction.
#pragma once
#include "platform/gdi.h"

class CBufferDC : public CDC {
 public:
  // An empty (or NULL) rectangle means the target's clip box. The bitmap
  // covers (0, 0) to (right, bottom); the strips above and left of the
  // rectangle are clipped out.
  CBufferDC(HDC target, const RECT* rect);
  ~CBufferDC() override;

 private:
  HDC m_target;
  CBitmap m_bitmap;
  RECT m_rect{};  // stays empty without a rectangle or a target
  CBitmap* m_oldBitmap = nullptr;
};
