// CPictureEx: a static meant for animated pictures. Nothing in the program
// loads a picture into it, so it never leaves its empty state: it paints
// nothing (the update region is simply validated), and Stop and Unload only
// reset that state. Loading and playing pictures are not part of the
// program; the login dialog places the control and may call these.
#pragma once
#include "platform/wnd.h"

class CPictureEx : public CWndImpl<QWidget> {
 public:
  CPictureEx();
  ~CPictureEx() override;

  // Ends playing (nothing plays).
  void Stop();
  // Stop, then forget any picture: white background again.
  void Unload();
  BOOL IsPlaying() const { return playing_; }
  COLORREF GetBkColor() const { return background_; }

  void OnPaint() override;
  void OnDestroy() override;

 private:
  COLORREF background_ = 0xFFFFFF;
  BOOL playing_ = FALSE;
};
