// The settings page's sample screen (color_def_pic.h).
#include "zeb/shell/dialogs/color_def_pic.h"

void CColorDefPic::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  Paint(&dc, client);
}

void CColorDefPic::OnChanged() {
  if (GetSafeHwnd()) Invalidate();
}
