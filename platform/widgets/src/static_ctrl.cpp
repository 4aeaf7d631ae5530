// CStatic: a label window class whose own CtlColor answers before its
// window's OnCtlColor (the reflected request), and which shows a bitmap.
#include <QPixmap>

#include "platform/controls.h"
#include "wnd_internal.h"

using namespace platform::detail;

CStatic::CStatic() {
  setTextFormat(Qt::PlainText);
  platform::InstallCtlColor(this, CTLCOLOR_STATIC);
}

int CStatic::OnCreate(LPCREATESTRUCT cs) {
  ApplyStaticStyle(this, cs ? cs->style : 0);
  return CWndImpl<QLabel>::OnCreate(cs);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
  HBITMAP previous = bitmap_;
  bitmap_ = bitmap;
  const QImage* image = bitmap ? bitmap->Image() : nullptr;
  if (image) setPixmap(QPixmap::fromImage(*image));
  else setPixmap(QPixmap());
  return previous;
}

HBRUSH CStatic::CtlColor(CDC*, UINT) { return nullptr; }

LRESULT CStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= OCM__BASE + WM_CTLCOLORMSGBOX && message <= OCM__BASE + WM_CTLCOLORSTATIC)
    return reinterpret_cast<LRESULT>(
        CtlColor(reinterpret_cast<CDC*>(wParam), message - OCM__BASE - WM_CTLCOLORMSGBOX));
  return CWndImpl<QLabel>::WindowProc(message, wParam, lParam);
}
