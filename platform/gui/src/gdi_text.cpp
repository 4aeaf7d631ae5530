// Text: TextOut, DrawText, extents and metrics, GBK in.
#include <QFontMetrics>
#include <cstring>

#include "gdi_internal.h"
#include "gdi_text_cache.h"
#include "gdi_text_layout.h"

using namespace platform::gdi_detail;

namespace {

const FontData& FontDataOf(const std::shared_ptr<const FontData>& font) {
  return font ? *font : DefaultFontData();
}

std::string_view Bytes(const char* text, int length) {
  if (!text) return std::string_view();
  return std::string_view(text, length < 0 ? std::strlen(text) : (size_t)length);
}

// The text and its width in the font: kept from the last time, or made
// for this call (into the spare) when shortcuts are off or it is long.
const TextExtent& ExtentOf(const FontData& font, std::string_view bytes, TextExtent& spare) {
  auto make = [&] {
    TextExtent extent;
    extent.text = GbkText(bytes);
    extent.advance = QFontMetrics(font.Resolved()).horizontalAdvance(extent.text);
    return extent;
  };
  if (!ShortcutsEnabled() || bytes.size() > TextCaches::kLongestText) return spare = make();
  return ThreadTextCaches().extents.FindOrMake(TextKey{font.serial, 0, 0, bytes}, make);
}

// What DrawText draws: kept from the last time with the same font, text,
// format and width, or made for this call into the spare. Only format bits
// that change the text or its lines count, and the width only where lines
// wrap at it or the text is elided to it.
const LaidOutText& DrawnTextOf(const FontData& font, std::string_view bytes, UINT format, int width,
                               bool measuring, LaidOutText& spare) {
  const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  const bool elides = (format & DT_END_ELLIPSIS) && width > 0;
  // Measuring wraps at least one pixel wide, as its rectangle is.
  const int lineWidth = measuring ? std::max(width, 1) : std::max(width, 0);
  const bool shortcuts = ShortcutsEnabled() && bytes.size() <= TextCaches::kLongestText;
  auto make = [&] {
    return PrepareDrawnText(bytes, font.Resolved(), format, width, lineWidth, shortcuts);
  };
  if (!shortcuts) return spare = make();
  const UINT kinds = DT_SINGLELINE | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS;
  const int keyWidth = wraps ? lineWidth : elides ? width : -1;
  return ThreadTextCaches().layouts.FindOrMake(
      TextKey{font.serial, format & kinds, keyWidth, bytes}, make);
}

}  // namespace

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
  const FontData& fontData = FontDataOf(state_.font);
  TextExtent spare;
  const TextExtent& extent = ExtentOf(fontData, Bytes(text, length), spare);
  if (extent.text.isEmpty()) return TRUE;
  QFontMetrics metrics(fontData.Resolved());
  const int width = extent.advance;
  int left = x;
  if ((state_.textAlign & TA_CENTER) == TA_CENTER) left = x - width / 2;
  else if (state_.textAlign & TA_RIGHT) left = x - width;
  int top = y;
  if ((state_.textAlign & TA_BASELINE) == TA_BASELINE) top = y - metrics.ascent();
  else if (state_.textAlign & TA_BOTTOM) top = y - metrics.height();
  return Paint([&](Canvas& c) {
    if (state_.bkMode == OPAQUE)
      c.Fill(QRect(left, top, width, metrics.height()), ToQColor(state_.bkColor));
    c.Font(fontData);
    c.TextPen(state_.textColor);
    c.Painter().drawText(QPoint(left, top + metrics.ascent()), extent.text);
  });
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
  if (!rect) return 0;
  const FontData& fontData = FontDataOf(state_.font);
  const QFont& font = fontData.Resolved();
  const int flags = QtTextFlags(format);
  const int width = rect->right - rect->left;
  const bool measuring = format & DT_CALCRECT;
  LaidOutText spare;
  const LaidOutText& drawnText =
      DrawnTextOf(fontData, Bytes(text, length), format, width, measuring, spare);
  const QString& qtext = drawnText.text;
  const bool laidOut = drawnText.layout != nullptr;

  if (measuring) {
    const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    const QRect room(rect->left, rect->top, wraps ? std::max(width, 1) : 1 << 20, 1 << 20);
    const int topLeft =
        flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom);
    const QRect bounds = laidOut ? BoundingBox(drawnText, room, topLeft)
                                 : QFontMetrics(font).boundingRect(room, topLeft, qtext);
    int height = qtext.isEmpty() ? QFontMetrics(font).height() : bounds.height();
    if (!wraps) rect->right = rect->left + bounds.width();
    rect->bottom = rect->top + height;
    return height;
  }
  if (qtext.isEmpty()) return 0;
  const QRect target(rect->left, rect->top, std::max(width, 0),
                     std::max(rect->bottom - rect->top, 0));
  const QRect drawn = laidOut ? BoundingBox(drawnText, target, flags)
                              : QFontMetrics(font).boundingRect(target, flags, qtext);
  const bool clips = !(format & DT_NOCLIP);
  Paint(
      [&](Canvas& c) {
        if (state_.bkMode == OPAQUE) c.Fill(drawn, ToQColor(state_.bkColor));
        c.TextPen(state_.textColor);
        // Laid-out lines are drawn where Qt draws them on a painter that only
        // moves and does not lay out right to left; Qt's own drawing handles the rest.
        if (!laidOut || !c.Unscaled() || c.Painter().layoutDirection() == Qt::RightToLeft) {
          c.Font(fontData);
          c.Painter().drawText(target, flags, qtext);
          return;
        }
        // Qt clips text leaving its rectangle even without DT_NOCLIP, after
        // the background is filled.
        if (!clips && LeavesRect(drawnText, target, flags)) c.ClipTo(target);
        DrawLaidOut(c.Painter(), drawnText, target, flags);
      },
      clips ? &target : nullptr);
  return drawn.height();
}

SIZE CDC::GetTextExtent(const char* text, int length) const {
  const FontData& fontData = FontDataOf(state_.font);
  TextExtent spare;
  const TextExtent& extent = ExtentOf(fontData, Bytes(text, length), spare);
  return SIZE{extent.advance, QFontMetrics(fontData.Resolved()).height()};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* tm) const {
  if (!tm) return FALSE;
  const QFont& font = FontDataOf(state_.font).Resolved();
  QFontMetrics metrics(font);
  tm->tmHeight = metrics.height();
  tm->tmAscent = metrics.ascent();
  tm->tmDescent = metrics.descent();
  tm->tmInternalLeading = std::max(0, metrics.height() - font.pixelSize());
  tm->tmExternalLeading = std::max(0, metrics.leading());
  tm->tmAveCharWidth = metrics.averageCharWidth();
  tm->tmMaxCharWidth = metrics.maxWidth();
  tm->tmWeight = font.weight();
  return TRUE;
}
