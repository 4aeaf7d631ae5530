// The skinned dialog's paint: the caption band with its buttons and text,
// the client background (skin middle part or gradients) and the bottom
// band. Each part is painted into an off-screen ARGB picture and put on
// the window in one call.
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "zeb/controls/wdialog.h"
#include "platform/gbk.h"

namespace {

// A vertical gradient over [top, top + height) of the picture's width.
QLinearGradient Vertical(int top, int height, ARGB from, ARGB to) {
  QLinearGradient gradient(0, top, 0, top + std::max(height, 1));
  gradient.setColorAt(0, zebui::ArgbColor(from));
  gradient.setColorAt(1, zebui::ArgbColor(to));
  return gradient;
}

const ARGB kBottomBand = MakeARGB(255, 236, 236, 236);

}  // namespace

bool WDialog::HasCaptionBand() const {
  return !IsChild() && (GetStyle() & WS_CAPTION) && m_nTopHeight > 0;
}

RECT WDialog::GetCaptionRect() const {
  if (!HasCaptionBand()) return RECT{};
  return RECT{m_nBorderLeft, m_nBorderTop, width() - m_nBorderRight, m_nBorderTop + m_nTopHeight};
}

RECT WDialog::GetClientArea() const {
  const int top = HasCaptionBand() ? m_nBorderTop + m_nTopHeight : 0;
  return RECT{0, top, width(), std::max(height(), top)};
}

void WDialog::RedrawCaption() {
  const RECT band = GetCaptionRect();
  if (!IsRectEmpty(band)) InvalidateRect(&band, FALSE);
  for (WWndLessButton* b : CaptionButtons())
    if (b->GetID() != 0) InvalidateRect(&b->GetRect(), FALSE);
}

BOOL WDialog::OnEraseBkgnd(CDC* dc) {
  if (!dc) return TRUE;
  const RECT client = GetClientArea();
  const int w = RectWidth(client), h = RectHeight(client);
  QImage picture = zebui::NewSkinPicture(w, h);
  if (picture.isNull()) return TRUE;
  QPainter p(&picture);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!m_imgMiddle.isNull()) {
    p.drawImage(QRect(0, 0, w, h - m_nBottomHeight), m_imgMiddle);
  } else {
    p.fillRect(QRect(0, 0, w, h), Vertical(0, h / 2, m_clrFrame[1], m_clrFrame[2]));
    p.fillRect(QRect(0, h / 2, w, h - h / 2),
               Vertical(h / 2 - 1, h / 2, m_clrFrame[2], m_clrFrame[3]));
  }
  const int bandTop = h - m_nBottomHeight;
  if (!m_imgBottom.isNull()) p.drawImage(QPoint(0, bandTop), m_imgBottom);
  else if (m_nBottomHeight > 0)
    p.fillRect(QRect(0, bandTop, w, h - bandTop), zebui::ArgbColor(kBottomBand));
  p.end();
  zebui::BlendSkinPicture(dc, client.left, client.top, picture);
  return TRUE;
}

void WDialog::OnPaint() {
  CPaintDC dc(this);
  if (IsChild()) return;
  if (GetStyle() & WS_CAPTION) {
    DrawCaption(&dc);
    DrawCaptionButtons(&dc);
  }
  if (GetStyle() & WS_BORDER) DrawBorder(&dc);
}

void WDialog::DrawCaption(CDC* dc) {
  const RECT band = GetCaptionRect();
  QImage picture = zebui::NewSkinPicture(RectWidth(band), RectHeight(band));
  if (picture.isNull()) return;
  QPainter p(&picture);
  if (!m_imgTop.isNull()) p.drawImage(picture.rect(), m_imgTop);
  else p.fillRect(picture.rect(), Vertical(0, picture.height(), m_clrFrame[0], m_clrFrame[1]));
  if (m_bCaptionText) DrawCaptionText(p, picture.rect());
  p.end();
  zebui::BlendSkinPicture(dc, band.left, band.top, picture);
}

void WDialog::DrawCaptionText(QPainter& graphics, const QRect& band) {
  // Left-aligned, vertically centred, cut before the leftmost caption
  // button in the band.
  int right = band.right() - 8;
  for (WWndLessButton* b : CaptionButtons())
    if (b->GetID() != 0 && b->GetRect().top < band.bottom())
      right = std::min(right, (int)b->GetRect().left - 4);
  const QRect area(band.left() + 8, band.top(), std::max(right - band.left() - 8, 0),
                   band.height());
  const QFont font = zebui::SkinFont(GBK("宋体"), m_nCaptionFontSize, m_nCaptionFontStyle);
  graphics.setFont(font);
  graphics.setPen(zebui::ArgbColor(m_clrCaptionText));
  const QString text = QFontMetrics(font).elidedText(platform::GbkToQString(GetWindowTextString()),
                                                     Qt::ElideRight, area.width());
  graphics.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void WDialog::DrawCaptionButtons(CDC* dc) {
  LayoutCaptionButtons();
  for (WWndLessButton* b : CaptionButtons())
    if (b->GetID() != 0) b->Draw(b->GetRect().left, b->GetRect().top, dc);
}

// The frame strips are empty pictures of the border widths (0 here), so
// nothing shows; a dialog with a drawn border paints it in an override.
void WDialog::DrawBorder(CDC*) {}
