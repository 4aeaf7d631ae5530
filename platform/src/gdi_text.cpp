// Text: TextOut, DrawText, extents and metrics, GBK in.
#include <QFontMetrics>
#include <QStringList>
#include <cstring>

#include "gdi_internal.h"
#include "platform/gbk.h"

using namespace platform::gdi_detail;

namespace {

QString ToText(const char* text, int length) {
  if (!text) return QString();
  size_t n = length < 0 ? std::strlen(text) : (size_t)length;
  return platform::GbkToQString(std::string_view(text, n));
}

const QFont& FontOf(const std::shared_ptr<const FontData>& font) {
  return font ? font->Resolved() : DefaultFontData().Resolved();
}

int QtTextFlags(UINT format) {
  int flags = 0;
  if (format & DT_CENTER) flags |= Qt::AlignHCenter;
  else if (format & DT_RIGHT) flags |= Qt::AlignRight;
  else flags |= Qt::AlignLeft;
  // Vertical placement applies to single lines only, as in GDI.
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) flags |= Qt::AlignVCenter;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) flags |= Qt::AlignBottom;
  else flags |= Qt::AlignTop;
  if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
  else if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
  if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
  return flags;
}

// Lines too wide for the rectangle end in "..." (each line of a
// multi-line text on its own).
QString Elide(const QString& text, const QFontMetrics& metrics, int width, UINT format) {
  if (format & DT_SINGLELINE) return metrics.elidedText(text, Qt::ElideRight, width);
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

BOOL CDC::TextOut(int x, int y, const char* text, int length) {
  QString qtext = ToText(text, length);
  if (qtext.isEmpty()) return TRUE;
  const QFont& font = FontOf(state_.font);
  QFontMetrics metrics(font);
  int width = metrics.horizontalAdvance(qtext);
  int left = x;
  if ((state_.textAlign & TA_CENTER) == TA_CENTER) left = x - width / 2;
  else if (state_.textAlign & TA_RIGHT) left = x - width;
  int top = y;
  if ((state_.textAlign & TA_BASELINE) == TA_BASELINE) top = y - metrics.ascent();
  else if (state_.textAlign & TA_BOTTOM) top = y - metrics.height();
  return Paint([&](QPainter& p) {
    if (state_.bkMode == OPAQUE) p.fillRect(QRect(left, top, width, metrics.height()), ToQColor(state_.bkColor));
    p.setFont(font);
    p.setPen(ToQColor(state_.textColor));
    p.drawText(QPoint(left, top + metrics.ascent()), qtext);
  });
}

int CDC::DrawText(const char* text, int length, RECT* rect, UINT format) {
  if (!rect) return 0;
  QString qtext = ToText(text, length);
  const QFont& font = FontOf(state_.font);
  QFontMetrics metrics(font);
  const int flags = QtTextFlags(format);
  const int width = rect->right - rect->left;
  if ((format & DT_END_ELLIPSIS) && width > 0) qtext = Elide(qtext, metrics, width, format);

  if (format & DT_CALCRECT) {
    const bool wraps = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
    QRect bounds = metrics.boundingRect(QRect(rect->left, rect->top, wraps ? std::max(width, 1) : 1 << 20, 1 << 20),
                                        flags & ~(Qt::AlignHCenter | Qt::AlignRight | Qt::AlignVCenter | Qt::AlignBottom),
                                        qtext);
    int height = qtext.isEmpty() ? metrics.height() : bounds.height();
    if (!wraps) rect->right = rect->left + bounds.width();
    rect->bottom = rect->top + height;
    return height;
  }
  if (qtext.isEmpty()) return 0;
  const QRect target(rect->left, rect->top, std::max(width, 0), std::max(rect->bottom - rect->top, 0));
  QRect drawn = metrics.boundingRect(target, flags, qtext);
  Paint([&](QPainter& p) {
    if (!(format & DT_NOCLIP)) p.setClipRect(target, p.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    if (state_.bkMode == OPAQUE) p.fillRect(drawn, ToQColor(state_.bkColor));
    p.setFont(font);
    p.setPen(ToQColor(state_.textColor));
    p.drawText(target, flags, qtext);
  });
  return drawn.height();
}

SIZE CDC::GetTextExtent(const char* text, int length) const {
  QString qtext = ToText(text, length);
  QFontMetrics metrics(FontOf(state_.font));
  return SIZE{metrics.horizontalAdvance(qtext), metrics.height()};
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* tm) const {
  if (!tm) return FALSE;
  const QFont& font = FontOf(state_.font);
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
