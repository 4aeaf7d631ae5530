// CShowMarket: the order entry's quote strips (five levels, or the
// summary), drawn from a text of lines, groups and cells. The layout, the
// colours and the click picking are the quote-strip rules; this window
// keeps the text, paints the laid-out cells without flicker and hands a
// clicked price to the owner's action.
#pragma once
#include <functional>
#include <string>

#include "platform/wnd.h"
#include "trade/ui/rules/quote_strip.h"

class CShowMarket : public CWndImpl<QWidget> {
 public:
  CShowMarket();

  // An empty text shows the mode's template; then the strip is redrawn.
  void SetText(const std::string& text);
  const std::string& GetText() const { return text_; }

  // What the owner sets directly: the mode (EQuoteStripMode), the price
  // the colours compare with (0: every price blue), and the action a
  // click on a price runs (none: a click does nothing).
  int m_mode = kStripFiveLevels;
  float m_referencePrice = 0;
  std::function<void(double price)> m_onPriceClick;

  void OnPaint() override;
  BOOL OnEraseBkgnd(CDC* dc) override { return TRUE; }
  void OnLButtonDown(UINT flags, CPoint point) override;

 private:
  SStripLayout Layout() const;

  std::string text_;
  CFont font_;
};
