// The transparent static's paint for each mode, its hover tracking and
// the busy animation's timer.
#include "zeb/controls/transparent_stat.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/gbk.h"

namespace {

Qt::Alignment HorizontalAlignment(int alignment) {
  switch (alignment) {
    case CTransparentStat::kAlignCenter: return Qt::AlignHCenter;
    case CTransparentStat::kAlignFar: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

constexpr int kBusyDots = 8;

}  // namespace

CTransparentStat::CTransparentStat(QWidget* parent)
    : CWndImpl<QLabel>(parent), m_strFace(GBK("宋体")) {}

CTransparentStat::~CTransparentStat() = default;

QWidget* CTransparentStat::MakeControl(QWidget* parent, const platform::DialogItem& item) {
  auto* label = new CTransparentStat(parent);
  label->setText(platform::GbkToQString(item.text ? item.text : ""));
  return label;
}

void CTransparentStat::SetStyle(ARGB textColor, int fontSize, int fontStyle, int mode,
                                const std::string& imagePath, int alignment) {
  m_clrText = textColor;
  m_nFontSize = fontSize;
  m_nFontStyle = fontStyle;
  m_nMode = mode;
  m_nAlign = alignment;
  m_image = zebui::LoadSkinImage(imagePath);
  if (mode == kModeBusy) SetTimer(kBusyTimer, kBusyPeriodMs);
}

void CTransparentStat::Repaint(BOOL parentArea) {
  CWnd* parent = GetParent();
  if (parentArea && parent) {
    CRect area;
    GetWindowRect(&area);
    parent->ScreenToClient(&area);
    parent->InvalidateRect(&area, TRUE);
  } else {
    Invalidate(TRUE);
  }
}

void CTransparentStat::SetBackground(const QImage* background, int x, int y) {
  m_background = background;
  m_ptBackground = QPoint(x, y);
}

void CTransparentStat::SetProgressImage(const std::string& path) {
  m_progressImage = zebui::LoadSkinImage(path);
}

void CTransparentStat::SetProgress(int percent) { m_nProgress = percent; }

int CTransparentStat::BusyDotGrey(int i, int frameCounter) {
  return 255 - (int)(((long long)i + frameCounter) * 31 % 255);
}

void CTransparentStat::DrawItem(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width(), h = client.Height();
  QImage picture = zebui::NewSkinPicture(w, h);
  if (picture.isNull()) return;
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  if (m_background && !m_background->isNull())
    p.drawImage(QPoint(0, 0), *m_background, QRect(m_ptBackground, QSize(w, h)));
  const QFont font = zebui::SkinFont(m_strFace.c_str(), m_nFontSize, m_nFontStyle);
  p.setFont(font);
  const QString text = platform::GbkToQString(GetWindowTextString());

  if (!m_image.isNull()) {
    if (m_nMode == kModeProgress) p.drawImage(picture.rect(), m_image);
    else p.drawImage(QPoint(0, std::max((h - m_image.height()) / 2, 0)), m_image);
  }
  const int percent = std::clamp(m_nProgress, 0, 100);
  if (m_nMode == kModeBusy) {
    p.setPen(zebui::ArgbColor(m_clrText));
    p.drawText(QRect(3, 12, std::max(w - 3, 0), std::max(h - 12, 0)), Qt::AlignLeft | Qt::AlignTop,
               text);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kBusyDots; ++i) {
      const int g = BusyDotGrey(i, m_nFrame);
      p.setBrush(QColor(g, g, g));
      p.drawEllipse(QRect(w - 35 - 12 * i, (h - 20) / 2 + 20, 10, 10));
    }
  } else if (m_nMode == kModeProgress) {
    const QRect done(0, 0, w * percent / 100, h);
    if (!m_progressImage.isNull()) {
      p.drawImage(m_nProgress > 99 ? picture.rect() : done, m_progressImage);
      p.setPen(Qt::white);
      p.drawText(QPoint(w / 2 - 10, 2 + QFontMetrics(font).ascent()),
                 QString::number(m_nProgress) + "%");
    } else {
      p.fillRect(done, zebui::ArgbColor(MakeARGB(255, 20, 161, 250)));
    }
  } else if (!text.trimmed().isEmpty()) {
    const QString shown = text.trimmed();
    const QFontMetrics metrics(font);
    const int x = m_image.isNull() ? 0 : m_image.width() + 1;
    const QSize bounds(metrics.horizontalAdvance(shown), metrics.height());
    const QRect layout(x, (h - bounds.height()) / 2 - 2, bounds.width() + 50, bounds.height() + 10);
    if (m_nMode == kModeRuled) {
      p.setPen(QPen(zebui::ArgbColor(MakeARGB(255, 186, 186, 186)), 1));
      p.drawLine(QPointF(5, h - 5.5), QPointF(w - 10, h - 5.5));
    }
    p.setPen(m_bHover ? zebui::ArgbColor(MakeARGB(255, 255, 0, 0)) : zebui::ArgbColor(m_clrText));
    p.drawText(layout, HorizontalAlignment(m_nAlign) | Qt::AlignTop | Qt::TextSingleLine, shown);
  }
  p.end();
  zebui::BlendSkinPicture(dc, 0, 0, picture);
}

void CTransparentStat::OnPaint() {
  CPaintDC dc(this);
  DrawItem(&dc);
}

BOOL CTransparentStat::OnEraseBkgnd(CDC*) { return TRUE; }

void CTransparentStat::OnTimer(UINT_PTR id) {
  if (id != kBusyTimer) {
    CWndImpl<QLabel>::OnTimer(id);
    return;
  }
  m_nFrame = (m_nFrame + 1) % 255;  // the greys repeat every 255 frames
  Invalidate(TRUE);
}

void CTransparentStat::OnMouseMove(UINT flags, CPoint point) {
  TRACKMOUSEEVENT track;
  track.dwFlags = TME_HOVER | TME_LEAVE;
  track.hwndTrack = GetSafeHwnd();
  track.dwHoverTime = 50;
  TrackMouseEvent(&track);
  CWndImpl<QLabel>::OnMouseMove(flags, point);
}

void CTransparentStat::OnMouseHover(UINT, CPoint) {
  if (m_bHover) return;
  m_bHover = true;
  Invalidate(TRUE);
}

void CTransparentStat::OnMouseLeave() {
  m_bHover = false;
  Invalidate(TRUE);
}
