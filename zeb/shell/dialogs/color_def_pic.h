// CColorDefPic: the sample screen at the left of the page "外观设置",
// painted from the working copies of the scheme (CSchemePreview) and
// repainted off screen on every change, so edits show without flicker.
#pragma once
#include "platform/controls.h"
#include "zeb/core/dialogs/scheme_preview.h"

class CColorDefPic : public CStatic, public CSchemePreview {
 public:
  // A window's font and a working font entry: both meanings stay.
  using CSchemePreview::SetFont;
  using CStatic::SetFont;

  void OnPaint() override;

 protected:
  void OnChanged() override;
};
