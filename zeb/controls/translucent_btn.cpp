// The state-image push button: which frame shows for which state, how the
// mouse, the focus and enabling move the state, and the paint.
#include "zeb/controls/translucent_btn.h"

#include <QPainter>

#include "platform/gbk.h"
#include "platform/input.h"

CTranslucentBtn::CTranslucentBtn(QWidget* parent) : CWndImpl<QPushButton>(parent) {
  connect(this, &QPushButton::clicked, this, [this] { platform::NotifyParent(this, BN_CLICKED); });
}

CTranslucentBtn::~CTranslucentBtn() = default;

QWidget* CTranslucentBtn::MakeControl(QWidget* parent, const platform::DialogItem& item) {
  auto* button = new CTranslucentBtn(parent);
  button->setText(platform::GbkToQString(item.text ? item.text : ""));
  return button;
}

void CTranslucentBtn::SetImage(int kind, const std::string& path, int frameCount, int layout) {
  if (kind < 0 || kind > kKindLast) {
    m_nKind = kKindText;
    return;
  }
  m_nKind = kind;
  if (path.empty()) return;
  m_nFrames = frameCount;
  m_nLayout = layout;
  m_image = zebui::LoadSkinImage(path);
}

void CTranslucentBtn::SetState(int state) {
  m_nState = state;
  Refresh();
}

void CTranslucentBtn::Refresh() { Invalidate(TRUE); }

void CTranslucentBtn::SetTextStyle(ARGB color, int pixelSize, int fontStyle) {
  m_clrText = color;
  m_nFontSize = pixelSize;
  m_nFontStyle = fontStyle;
}

int CTranslucentBtn::GetFrameWidth() const {
  if (m_image.isNull() || m_nFrames <= 0) return 80;
  if (m_nLayout == zebui::kFramesSideBySide) return m_image.width() / m_nFrames;
  if (m_nLayout == zebui::kFramesStacked) return m_image.width();
  return 80;
}

int CTranslucentBtn::GetFrameHeight() const {
  if (m_image.isNull() || m_nFrames <= 0) return 27;
  if (m_nLayout == zebui::kFramesSideBySide) return m_image.height();
  if (m_nLayout == zebui::kFramesStacked) return m_image.height() / m_nFrames;
  return 27;
}

int CTranslucentBtn::PaintedState() const {
  if (!IsWindowEnabled()) return kBtnDisabled;
  return m_nState == kBtnDisabled ? kBtnNormal : m_nState;
}

int CTranslucentBtn::GetShownFrame() const {
  if (m_image.isNull() || m_nKind == kKindNothing) return -1;
  return zebui::SkinFrameIndex(PaintedState(), m_nFrames);
}

void CTranslucentBtn::DrawItem(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  QImage picture = zebui::NewSkinPicture(client.Width(), client.Height());
  if (picture.isNull()) return;
  const int frame = GetShownFrame();
  if (frame >= 0) {
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRect source = zebui::SkinFrameRect(m_image.size(), m_nFrames, m_nLayout, frame);
    if (m_nLayout == zebui::kFramesStacked) p.drawImage(picture.rect(), m_image, source);
    else p.drawImage(QPoint(0, 0), m_image, source);
    const std::string text = GetWindowTextString();
    if (m_nKind == kKindText && !text.empty()) {
      p.setFont(zebui::SkinFont(GBK("宋体"), m_nFontSize, m_nFontStyle));
      p.setPen(zebui::ArgbColor(m_clrText));
      p.drawText(QRect(m_ptText, picture.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                 platform::GbkToQString(text));
    }
  }
  zebui::BlendSkinPicture(dc, 0, 0, picture);
}

void CTranslucentBtn::OnPaint() {
  CPaintDC dc(this);
  DrawItem(&dc);
}

BOOL CTranslucentBtn::OnEraseBkgnd(CDC*) { return TRUE; }

void CTranslucentBtn::ChangeState(int state) {
  if (m_nState == state) return;
  m_nState = state;
  Refresh();
}

void CTranslucentBtn::OnMouseMove(UINT flags, CPoint point) {
  if (m_nState == kBtnDisabled || m_bNoHover) return;
  ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
  TRACKMOUSEEVENT track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = GetSafeHwnd();
  TrackMouseEvent(&track);
  if (m_nState == kBtnNormal) ChangeState(kBtnHover);
  CWndImpl<QPushButton>::OnMouseMove(flags, point);
}

void CTranslucentBtn::OnMouseLeave() {
  if (m_nState == kBtnDisabled || m_bNoHover) return;
  ChangeState(kBtnNormal);
  CWndImpl<QPushButton>::OnMouseLeave();
}

void CTranslucentBtn::OnLButtonDown(UINT flags, CPoint point) {
  if (m_nState == kBtnDisabled) return;
  ChangeState(kBtnPressed);
  CWndImpl<QPushButton>::OnLButtonDown(flags, point);
}

void CTranslucentBtn::OnLButtonUp(UINT flags, CPoint point) {
  if (m_nState == kBtnDisabled) return;
  ChangeState(kBtnHover);
  CWndImpl<QPushButton>::OnLButtonUp(flags, point);
}

void CTranslucentBtn::OnEnable(BOOL enable) {
  CWndImpl<QPushButton>::OnEnable(enable);
  ChangeState(enable ? kBtnNormal : kBtnDisabled);
}

void CTranslucentBtn::OnSetFocus(CWnd* oldWnd) {
  CWndImpl<QPushButton>::OnSetFocus(oldWnd);
  if (m_nState == kBtnNormal && !m_bNoHover) ChangeState(kBtnHover);
}

void CTranslucentBtn::OnKillFocus(CWnd* newWnd) {
  CWndImpl<QPushButton>::OnKillFocus(newWnd);
  if ((m_nState == kBtnHover || m_nState == kBtnPressed) && !m_bNoHover) ChangeState(kBtnNormal);
}
