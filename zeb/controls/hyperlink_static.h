// CHyperlinkStatic: a static that shows its text underlined in blue and
// opens its address when the text itself is clicked; the cursor is a hand
// over the text (from the second mouse move over the control on: the first
// only starts watching for the mouse to leave).
//
// The underlined font is a copy of the parent's font, 15 pixels high,
// made at the first paint; a parent without a font leaves the text in the
// DC's font and clicks then never hit. Only http, https and mailto
// addresses open (link_policy.h), through the platform's OpenUrl sink.
// Texts are GBK.
#pragma once
#include <string>

#include "platform/input.h"
#include "platform/wnd.h"

class CHyperlinkStatic : public CWndImpl<QWidget> {
 public:
  CHyperlinkStatic();
  ~CHyperlinkStatic() override;

  void SetURL(const char* address) { url_ = address ? address : ""; }
  const std::string& GetURL() const { return url_; }
  // The text shown: the window text when the control was created (or
  // took a static's place with SubclassDlgItem).
  const std::string& GetText() const { return text_; }

  int OnCreate(LPCREATESTRUCT cs) override;
  void OnDestroy() override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnMouseLeave() override;

 private:
  void MeasureText();
  bool HitsText(CPoint point) const;

  std::string text_;
  std::string url_;
  CFont font_;
  SIZE extent_{};
  bool fontCreated_ = false;
  bool tracking_ = false;
  bool measured_ = false;
  HCURSOR hand_;
  HCURSOR arrow_;
};
