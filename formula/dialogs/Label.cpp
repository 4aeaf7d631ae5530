#include "formula/dialogs/Label.h"

#include "platform/desktop.h"

namespace formula {

CLabel::CLabel() : colour_(GetSysColor(COLOR_WINDOWTEXT)), brush_(GetSysColor(COLOR_BTNFACE)) {
  GetStockFont(DEFAULT_GUI_FONT)->GetLogFont(&logFont_);
  font_.CreateFontIndirect(&logFont_);
}

void CLabel::SetLabelColor(COLORREF colour) {
  colour_ = colour;
  Redraw();
}

void CLabel::SetLabelFontSize(int pixels) {
  logFont_.lfHeight = -pixels;
  ApplyFont();
}

void CLabel::SetLabelBold(bool bold) {
  logFont_.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  ApplyFont();
}

HBRUSH CLabel::CtlColor(CDC* dc, UINT) {
  dc->SelectObject(&font_);
  dc->SetTextColor(colour_);
  dc->SetBkMode(TRANSPARENT);
  return &brush_;
}

void CLabel::ApplyFont() {
  font_.DeleteObject();
  font_.CreateFontIndirect(&logFont_);
  SetFont(&font_);
  Redraw();
}

void CLabel::Redraw() {
  if (!IsCreated()) return;
  Invalidate();
  UpdateWindow();
}

}  // namespace formula
