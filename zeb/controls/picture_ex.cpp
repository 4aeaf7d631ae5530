// CPictureEx; see picture_ex.h.
#include "zeb/controls/picture_ex.h"

CPictureEx::CPictureEx() = default;

CPictureEx::~CPictureEx() { Unload(); }

void CPictureEx::Stop() { playing_ = FALSE; }

void CPictureEx::Unload() {
  Stop();
  background_ = 0xFFFFFF;
}

void CPictureEx::OnPaint() {
  CPaintDC dc(this);  // validates; there is no picture to copy
}

void CPictureEx::OnDestroy() {
  Stop();
  CWndImpl<QWidget>::OnDestroy();
}
