// DrawText's text prepared once (GBK converted, ends elided) and, where
// possible, laid out once, then drawn again and again from that layout.
//
// Laid-out text lands on exactly the pixels QPainter::drawText(rect,
// flags, text) paints, and measures exactly what QFontMetrics::
// boundingRect(rect, flags, text) gives: the lines are made and placed by
// the rules Qt's own text formatting follows (lines on whole pixels, the
// drawing pass stopping at the first line that fills the rectangle, Qt's
// clip to the rectangle when the text leaves it) and drawn with the same
// QTextLine::draw. Text needing what only Qt's formatting does (mnemonic
// underlines, tab stops, underlined or struck-out fonts, right-to-left
// runs) is left unlaid and drawn by QPainter::drawText as before.
#pragma once
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QTextLayout>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/gdi.h"

namespace platform::gdi_detail {

struct LaidOutText {
  // What Qt draws: converted from GBK and elided when asked.
  QString text;
  // Null when the text is drawn by QPainter::drawText.
  std::unique_ptr<QTextLayout> layout;
  // After each line: the height so far and the widest line so far, as Qt's
  // formatting counts them (not rounded to pixels).
  struct Line {
    qreal bottom;
    qreal widest;
  };
  std::vector<Line> lines;

  // About what the text and its layout take in memory.
  size_t Cost() const;
};

// GBK to Qt text (ASCII directly, the rest through the GBK table).
QString GbkText(std::string_view gbk);

// The Qt flags of a DrawText format.
int QtTextFlags(UINT format);

// The text DrawText draws for the bytes in a rectangle this wide: elided
// when the format asks and the width is positive. Laid out when layOut is
// true and the text allows it; lineWidth is the width lines wrap at, used
// with Qt::TextWordWrap.
LaidOutText PrepareDrawnText(std::string_view gbk, const QFont& font, UINT format, int width,
                             int lineWidth, bool layOut);

// The box QFontMetrics::boundingRect(rect, flags, text) gives.
QRect BoundingBox(const LaidOutText& text, const QRect& rect, int flags);

// True when QPainter::drawText clips to the rectangle itself: the lines it
// draws leave it.
bool LeavesRect(const LaidOutText& text, const QRect& rect, int flags);

// Draws the lines QPainter::drawText(rect, flags, text) draws, where it
// draws them, with the painter's pen; the caller clips.
void DrawLaidOut(QPainter& painter, const LaidOutText& text, const QRect& rect, int flags);

}  // namespace platform::gdi_detail
