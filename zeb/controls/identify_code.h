// CIdentifyCode: the login dialog's verification code, four digits drawn
// as dotted glyphs on a white box with random noise dots; a click draws a
// new code. The dialog compares what the user typed with GetCode().
//
// Each control draws from a random source of its own (by default a
// generator seeded from the system's entropy; tests pass their own), so
// controls made in the same second never share their codes, and nothing
// else in the program changes its sequence.
#pragma once
#include <cstdint>
#include <functional>

#include "platform/wnd.h"

namespace zebui {

// Uniform 32-bit draws.
using CodeRandom = std::function<uint32_t()>;

// The code's picture on dc, in a client of width x height: a white box in
// a black frame, the glyph of each digit index (0-9) in black dots two
// pixels wide with a light shadow, and noise dots where a glyph has none.
void DrawIdentifyCode(CDC* dc, const int glyphs[4], int width, int height,
                      const CodeRandom& random);

}  // namespace zebui

class CIdentifyCode : public CWndImpl<QWidget> {
 public:
  // A code is drawn at once. Null: a generator of the control's own.
  explicit CIdentifyCode(zebui::CodeRandom random = nullptr);

  // Four new digits.
  void MakeCode();
  // The four digits, NUL-terminated.
  const char* GetCode() const { return code_; }

  void OnPaint() override;
  void OnLButtonUp(UINT flags, CPoint point) override;

 private:
  zebui::CodeRandom random_;
  char code_[5] = {};
  int glyphs_[4] = {};
};
