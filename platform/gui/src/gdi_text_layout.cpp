// Preparing DrawText's text and drawing it from a layout made once.
#include "gdi_text_layout.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QStringList>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "platform/gbk.h"

namespace platform::gdi_detail {

namespace {

// Lines too wide for the rectangle end in "..." (each line of a
// multi-line text on its own).
QString Elide(const QString& text, const QFontMetrics& metrics, int width, UINT format) {
  if (format & DT_SINGLELINE) return metrics.elidedText(text, Qt::ElideRight, width);
  QStringList lines = text.split(QLatin1Char('\n'));
  for (QString& line : lines) line = metrics.elidedText(line, Qt::ElideRight, width);
  return lines.join(QLatin1Char('\n'));
}

bool RightToLeft(QChar c) {
  switch (c.direction()) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI:
    case QChar::DirFSI: return true;
    default: return false;
  }
}

// The text as Qt's formatting lays it out (line ends and returns turned
// into what it draws), or a null string when only Qt's formatting can draw
// it: mnemonics, tab stops, decorated fonts, right-to-left text.
QString LayoutText(const QString& text, const QFont& font, int flags) {
  if (text.isEmpty() || font.underline() || font.strikeOut() || font.overline()) return QString();
  const bool singleLine = flags & Qt::TextSingleLine;
  QString laid = text;
  for (QChar& c : laid) {
    if (c == u'\r' || (singleLine && c == u'\n')) c = u' ';
    else if (c == u'\n') c = QChar::LineSeparator;
    else if (c == u'\t' || c == QChar(0x9C) || RightToLeft(c)) return QString();
    else if (c == u'&' && (flags & Qt::TextShowMnemonic)) return QString();
  }
  return laid;
}

// Lays out as Qt's text formatting does: left to right, lines as wide as
// the wrap width (or unbounded), each line starting on a whole pixel below
// the last plus the font's leading.
void LayOut(LaidOutText& out, const QString& text, const QFont& font, bool wraps, int lineWidth) {
  auto layout = std::make_unique<QTextLayout>(text, font);
  QTextOption option;
  option.setTextDirection(Qt::LeftToRight);
  option.setAlignment(Qt::AlignLeft);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);
  const qreal leading = QFontMetricsF(font).leading();
  qreal height = -leading;
  qreal widest = 0;
  layout->beginLayout();
  for (;;) {
    QTextLine line = layout->createLine();
    if (!line.isValid()) break;
    line.setLineWidth(wraps ? std::max<qreal>(0, lineWidth) : qreal(0x01000000));
    height = std::ceil(height + leading);
    line.setPosition(QPointF(0, height));
    height += line.ascent() + line.descent();
    widest = std::max(widest, line.naturalTextWidth());
    out.lines.push_back(LaidOutText::Line{height, widest});
  }
  layout->endLayout();
  out.layout = std::move(layout);
}

// Where the text's box sits in the rectangle for the alignment flags.
QRectF PlacedBox(const QRectF& r, qreal width, qreal height, int flags) {
  qreal x = 0, y = 0;
  if (flags & Qt::AlignBottom) y = r.height() - height;
  else if (flags & Qt::AlignVCenter) y = (r.height() - height) / 2;
  if (flags & Qt::AlignRight) x = r.width() - width;
  else if (flags & Qt::AlignHCenter) x = (r.width() - width) / 2;
  return QRectF(r.x() + x, r.y() + y, width, height);
}

// How many lines the drawing pass draws: it stops after the first line
// that fills the rectangle's height.
size_t DrawnLines(const LaidOutText& text, qreal height) {
  for (size_t i = 0; i < text.lines.size(); ++i)
    if (text.lines[i].bottom >= height) return i + 1;
  return text.lines.size();
}

}  // namespace

size_t LaidOutText::Cost() const {
  // Measured: about 800 bytes for a layout and 40 for each character laid out.
  return sizeof(LaidOutText) + size_t(text.size()) * 2 +
         (layout ? 1024 + size_t(text.size()) * 48 : 0);
}

QString GbkText(std::string_view gbk) {
  // The code page keeps ASCII as it is.
  if (std::all_of(gbk.begin(), gbk.end(), [](char c) { return (unsigned char)c < 0x80; }))
    return QString::fromLatin1(gbk.data(), (qsizetype)gbk.size());
  return platform::GbkToQString(gbk);
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

LaidOutText PrepareDrawnText(std::string_view gbk, const QFont& font, UINT format, int width,
                             int lineWidth, bool layOut) {
  LaidOutText out;
  out.text = GbkText(gbk);
  if ((format & DT_END_ELLIPSIS) && width > 0)
    out.text = Elide(out.text, QFontMetrics(font), width, format);
  if (!layOut) return out;
  const int flags = QtTextFlags(format);
  const QString laid = LayoutText(out.text, font, flags);
  if (!laid.isNull()) LayOut(out, laid, font, flags & Qt::TextWordWrap, lineWidth);
  return out;
}

QRect BoundingBox(const LaidOutText& text, const QRect& rect, int flags) {
  // The measuring pass lays out every line.
  const LaidOutText::Line& all = text.lines.back();
  return PlacedBox(QRectF(rect), all.widest, all.bottom, flags).toAlignedRect();
}

bool LeavesRect(const LaidOutText& text, const QRect& rect, int flags) {
  const QRectF r(rect);
  const LaidOutText::Line& drawn = text.lines[DrawnLines(text, r.height()) - 1];
  return !r.contains(PlacedBox(r, drawn.widest, drawn.bottom, flags));
}

void DrawLaidOut(QPainter& painter, const LaidOutText& text, const QRect& rect, int flags) {
  const QRectF r(rect);
  const size_t count = DrawnLines(text, r.height());
  // The block is placed by the lines drawn, each line across on its own.
  const qreal top = PlacedBox(r, 0, text.lines[count - 1].bottom, flags).y();
  for (size_t i = 0; i < count; ++i) {
    const QTextLine line = text.layout->lineAt((int)i);
    const qreal advance = line.horizontalAdvance();
    qreal x = 0;
    if (flags & Qt::AlignRight) x = r.width() - advance;
    else if (flags & Qt::AlignHCenter) x = (r.width() - advance) / 2;
    line.draw(&painter, QPointF(r.x() + x, top));
  }
}

}  // namespace platform::gdi_detail
