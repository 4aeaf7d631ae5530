// CLabel: a static control that shows a status text in a colour, size and
// weight of its own (the formula editor's "-->" line). It takes the place
// of its dialog's label (SubclassDlgItem) and answers the label's colour
// request itself: its text colour on its own background brush.
#pragma once
#include "platform/controls.h"
#include "platform/gdi.h"

namespace formula {

class CLabel : public CStatic {
 public:
  // Window text colour, button-face background, the default GUI font.
  CLabel();

  void SetLabelColor(COLORREF colour);
  // Character height in pixels.
  void SetLabelFontSize(int pixels);
  void SetLabelBold(bool bold);

  COLORREF GetLabelColor() const { return colour_; }
  const LOGFONT& GetLabelFont() const { return logFont_; }

  HBRUSH CtlColor(CDC* dc, UINT kind) override;

 private:
  // The font is made again from its description on every change.
  void ApplyFont();
  void Redraw();

  COLORREF colour_;
  CBrush brush_;
  LOGFONT logFont_;
  CFont font_;
};

}  // namespace formula
