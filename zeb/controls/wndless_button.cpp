// Caption buttons drawn by their dialog: state frames from a strip, or a
// glyph in the state's line colour; the restore button's command swap.
//
// A strip of 4 frames side by side sizes its button to one frame (width /
// 4 by the strip's height), so the frame drawn fills the button; only the
// caption commands' stacked strips size it to width by height / 8.
#include "zeb/controls/wndless_button.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>

#include "zeb/controls/skin_paint.h"
#include "platform/wnd.h"

namespace {

QColor Lighter(QColor c, int by) {
  return QColor(std::min(c.red() + by, 255), std::min(c.green() + by, 255),
                std::min(c.blue() + by, 255), c.alpha());
}

constexpr int kCaptionFrames = 8;
constexpr int kButtonFrames = 4;

// The close button's own glyph: side rules, a warm glow and a white cross.
void DrawCloseGlyph(QPainter& p, int w, int h, bool hover) {
  const QColor sides[] = {zebui::ArgbColor(MakeARGB(188, 211, 211, 211)),
                          zebui::ArgbColor(MakeARGB(188, 142, 142, 142)),
                          zebui::ArgbColor(MakeARGB(188, 211, 211, 211))};
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(sides[i], 1));
    p.drawLine(QPointF(2 + i + 0.5, 0), QPointF(2 + i + 0.5, h));
    p.drawLine(QPointF(w - 3 - i + 0.5, 0), QPointF(w - 3 - i + 0.5, h));
  }
  p.setPen(QPen(zebui::ArgbColor(MakeARGB(188, 222, 222, 222)), 1));
  p.drawLine(QPointF(2, 0.5), QPointF(w - 2, 0.5));

  QColor centre = zebui::ArgbColor(MakeARGB(255, 206, 55, 32)),
         surround = zebui::ArgbColor(MakeARGB(0, 210, 143, 137));
  if (hover) {
    centre = Lighter(centre, 50);
    surround = Lighter(surround, 50);
  }
  QRadialGradient glow(0.5, 0.5, 0.5);
  glow.setCoordinateMode(QGradient::ObjectBoundingMode);
  glow.setColorAt(0, centre);
  glow.setColorAt(1, surround);
  p.fillRect(QRect(0, 0, w, h), glow);

  const QPointF c(w / 2.0, h / 2.0 - 3);
  p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
  p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
}

}  // namespace

WWndLessButton::WWndLessButton() = default;
WWndLessButton::~WWndLessButton() = default;

bool WWndLessButton::IsCaptionCommand() const {
  return m_nID == ID_CAPTION_CLOSE || m_nID == ID_CAPTION_MINIMIZE || m_nID == ID_CAPTION_RESTORE ||
         m_nID == ID_CAPTION_MINIMIZE2;
}

void WWndLessButton::Reset() {
  m_nMode = kModeDark;
  m_nState = kBtnNormal;
  m_nID = 0;
  m_rect = RECT{};
  m_owner = nullptr;
  m_ptLast = POINT{};
  m_image = QImage();
  m_second = QImage();
  m_background = nullptr;
}

void WWndLessButton::Create(const RECT& rect, CWnd* owner, UINT id, const std::string& imagePath,
                            const QImage* background, const std::string& secondPath) {
  Reset();
  m_nID = id;
  m_rect = rect;
  m_owner = owner;
  m_image = zebui::LoadSkinImage(imagePath);
  if (!m_image.isNull()) {
    const QRect frame =
        IsCaptionCommand()
            ? zebui::SkinFrameRect(m_image.size(), kCaptionFrames, zebui::kFramesStacked, 0)
            : zebui::SkinFrameRect(m_image.size(), kButtonFrames, zebui::kFramesSideBySide, 0);
    m_rect = RECT{0, rect.top, frame.width(), rect.top + frame.height()};
  }
  m_second = zebui::LoadSkinImage(secondPath);
  if (background) m_background = background;
}

COLORREF WWndLessButton::LineColor() const {
  switch (m_nState) {
    case kBtnDisabled: return RGB(168, 168, 168);
    case kBtnHover: return RGB(255, 18, 18);
    case kBtnPressed: return RGB(255, 0, 0);
    default: return m_nMode == kModeLight ? RGB(244, 244, 244) : RGB(66, 71, 74);
  }
}

void WWndLessButton::Draw(int x, int y, CDC* dc) {
  if (!m_nID || !dc) return;
  m_ptLast = POINT{x, y};
  const int w = RectWidth(m_rect), h = RectHeight(m_rect);
  QImage picture = zebui::NewSkinPicture(w, h);
  if (picture.isNull()) return;
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  if (m_background && !m_background->isNull())
    p.drawImage(QPoint(0, 0), *m_background, QRect(x, y, w, h));

  const QImage& strip = m_nID == ID_CAPTION_RESTORE ? m_second : m_image;
  const QColor line = zebui::RgbColor(LineColor());
  if (!strip.isNull()) {
    if (IsCaptionCommand()) {
      p.drawImage(
          QRect(0, 0, w, h), strip,
          zebui::SkinFrameRect(strip.size(), kCaptionFrames, zebui::kFramesStacked, m_nState));
    } else {
      const QRect frame =
          zebui::SkinFrameRect(strip.size(), kButtonFrames, zebui::kFramesSideBySide, m_nState);
      p.drawImage(QPoint(0, 0), strip, frame);
    }
  } else {
    p.setRenderHint(QPainter::Antialiasing, false);
    switch (m_nID) {
      case ID_CAPTION_CLOSE:
        p.setRenderHint(QPainter::Antialiasing);
        DrawCloseGlyph(p, w, h, m_nState == kBtnHover);
        break;
      case ID_CAPTION_MINIMIZE: p.fillRect(QRect(QPoint(6, 8), QPoint(13, 9)), line); break;
      case ID_CAPTION_RESTORE:
        p.setPen(QPen(line, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawRect(QRect(QPoint(7, 5), QPoint(14, 12)));
        p.drawRect(QRect(QPoint(5, 7), QPoint(12, 14)));
        break;
      case ID_CAPTION_MINIMIZE2:
        p.setPen(QPen(line, 2));
        p.setBrush(line);
        p.drawRect(QRect(QPoint(6, 8), QPoint(13, 9)));
        break;
      default: p.fillRect(QRect(0, 0, w, h), line); break;
    }
  }
  p.end();
  zebui::BlendSkinPicture(dc, x, y, picture);
}

void WWndLessButton::Redraw(int x, int y) {
  if (!m_nID || !m_owner) return;
  const RECT area{x, y, x + RectWidth(m_rect), y + RectHeight(m_rect)};
  m_owner->InvalidateRect(&area, FALSE);
}

void WRestoreButton::Create(const RECT& rect, CWnd* owner, UINT id, UINT alternateId,
                            const std::string& imagePath, const QImage* background,
                            const std::string& secondPath) {
  m_bMinimized = false;
  m_bMaximized = false;
  m_nAltID = alternateId;
  WWndLessButton::Create(rect, owner, id, imagePath, background, secondPath);
}

void WRestoreButton::SwapIds() { std::swap(m_nID, m_nAltID); }
