// The skinned dialog's behaviour: initialisation, caption buttons and
// their input, commands, the restore state, sizing and the window's shape.
// Painting is in wdialog_paint.cpp.
//
// Sound behaviour where a literal reading would fail: the key-colour mask
// is built once per skin image and only over the image (never reading
// past it), then combined with the window's size on each WM_SIZE; a
// negative band height is refused; centring adds the work area's origin;
// a strip of side-by-side frames sizes its button to one frame.
#include "zeb/controls/wdialog.h"

#include <QWidget>

#include "zeb/controls/key_color_mask.h"
#include "zeb/controls/translucent_btn.h"
#include "zeb/controls/transparent_stat.h"
#include "platform/desktop.h"
#include "platform/gbk.h"
#include "platform/input.h"

namespace {

const ARGB kWhite = MakeARGB(255, 255, 255, 255);

}  // namespace

void RegisterSkinControlKinds() {
  static const bool registered = [] {
    platform::RegisterControlKind(kTranslucentBtn, &CTranslucentBtn::MakeControl);
    platform::RegisterControlKind(kTransparentStat, &CTransparentStat::MakeControl);
    return true;
  }();
  (void)registered;
}

WDialog::WDialog(const platform::DialogTemplate& tpl, const char* name, CWnd* parent)
    : CDialogMultiLan(tpl, name, parent),
      m_clrFrame{MakeARGB(255, 37, 38, 30), MakeARGB(255, 41, 42, 34), MakeARGB(255, 70, 68, 69),
                 MakeARGB(255, 34, 35, 27)} {
  RegisterSkinControlKinds();
  m_hIcon = LoadIconFromImage(":/icons/zeb.png");
  m_brBk.CreateSolidBrush(m_clrBk);
}

WDialog::~WDialog() = default;

void WDialog::SetDialogMode(int mode, int captionStyle) {
  m_nMode = mode;
  m_nCaptionStyle = captionStyle;
}

void WDialog::SetFrameColors(ARGB c1, ARGB c2, ARGB c3, ARGB c4) {
  const ARGB given[] = {c1, c2, c3, c4};
  for (int i = 0; i < 4; ++i)
    if (given[i] != 0) m_clrFrame[i] = given[i];
}

void WDialog::SetCaptionImages(const std::string& close, const std::string& minimise,
                               const std::string& restore, const std::string& settings,
                               const std::string& help, const std::string& back) {
  m_strCloseImage = close;
  m_strMinimizeImage = minimise;
  m_strRestoreImage = restore;
  m_strSettingsImage = settings;
  m_strHelpImage = help;
  m_strBackImage = back;
}

void WDialog::SetTitle(const char* text) {
  SetWindowText(text ? text : "");
  RedrawCaption();
}

int WDialog::SetBkImage(const std::string& path, int topHeight, int bottomHeight) {
  const QImage image = zebui::LoadSkinImage(path);
  if (image.isNull() || topHeight < 0 || bottomHeight < 0 ||
      (long long)image.height() < (long long)topHeight + bottomHeight) {
    m_imgTop = m_imgMiddle = m_imgBottom = QImage();
    m_nTopHeight = m_nBottomHeight = 0;
    return 0;
  }
  m_strBkImage = path;
  m_imgMiddle = image.copy(0, topHeight, image.width(), image.height() - topHeight - bottomHeight);
  m_nTopHeight = topHeight;
  m_nBottomHeight = bottomHeight;
  if (m_strMaskImage != path) {
    m_mask = zebui::KeyColorMask(image);
    m_maskImageSize = image.size();
    m_strMaskImage = path;
  }
  MoveWindow(0, 0, image.width(), image.height());
  return 1;
}

// ---- Initialisation and caption buttons ----------------------------------------

BOOL WDialog::OnInitDialog() {
  CDialogMultiLan::OnInitDialog();
  if (!IsChild()) {
    // The dialog paints its own frame.
    if (!(windowFlags() & Qt::FramelessWindowHint)) setWindowFlag(Qt::FramelessWindowHint, true);
    if (HasCaptionBand() && !m_bControlsBelowBand) {
      // The band lies inside the window: the table's controls go below it,
      // and a window without a skin grows to keep its client size.
      for (QObject* child : children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isWindow())
          control->move(control->pos() + QPoint(0, m_nTopHeight));
      }
      if (m_strBkImage.empty()) resize(width(), height() + m_nTopHeight);
      m_bControlsBelowBand = true;
    }
  }
  if (m_nMode == WDLG_MODE_STANDARD) m_nCaptionStyle = WCB_CLOSE_MINIMIZE | WCB_BACK;
  else if (m_nMode == WDLG_MODE_OWN && IsChild()) m_nCaptionStyle = 0;
  if (!m_toolTip.IsCreated()) CreateCaptionButtons();
  CenterWindow();
  SetFrameColors(MakeARGB(255, 124, 223, 255), kWhite, kWhite, kWhite);
  SetIcon(m_hIcon, TRUE);
  SetIcon(m_hIcon, FALSE);
  return TRUE;
}

void WDialog::CreateCaptionButtons() {
  m_toolTip.Create(this);
  m_toolTip.SetDelayTime(TTDT_AUTOMATIC, 250);
  const QImage* background = m_imgTop.isNull() ? nullptr : &m_imgTop;
  const RECT placeholder{0, 0, 1, 1};
  for (WWndLessButton* b : CaptionButtons()) b->Reset();
  auto addTool = [&](WWndLessButton& button, const char* tip, UINT id) {
    button.SetToolTip(tip);
    m_toolTip.AddTool(this, tip, &placeholder, id);
  };
  if (m_nCaptionStyle & (WCB_CLOSE | WCB_CLOSE_MINIMIZE)) {
    m_btnClose.Create(RECT{0, 0, 50, 22}, this, ID_CAPTION_CLOSE, m_strCloseImage, background, "");
    addTool(m_btnClose, GBK("关闭"), ID_CAPTION_CLOSE);
  }
  if (m_nCaptionStyle & (WCB_MINIMIZE | WCB_CLOSE_MINIMIZE)) {
    m_btnMinimize.Create(RECT{0, 0, 27, 22}, this, ID_CAPTION_MINIMIZE, ID_CAPTION_RESTORE,
                         m_strMinimizeImage, background, m_strRestoreImage);
    addTool(m_btnMinimize, GBK("最小化"), ID_CAPTION_MINIMIZE);
  }
  if (m_nCaptionStyle & WCB_HELP) {
    m_btnHelp.Create(RECT{0, 0, 27, 22}, this, ID_CAPTION_HELP, m_strHelpImage, background, "");
    addTool(m_btnHelp, GBK("帮助"), ID_CAPTION_HELP);
  }
  if (m_nCaptionStyle & WCB_SETTINGS) {
    m_btnSettings.Create(RECT{0, 0, 27, 22}, this, ID_CAPTION_SETTINGS, m_strSettingsImage,
                         background, "");
    addTool(m_btnSettings, GBK("设置"), ID_CAPTION_SETTINGS);
  }
  if (m_nCaptionStyle & WCB_BACK) {
    m_btnBack.Create(m_rcBack, this, ID_CAPTION_BACK, m_strBackImage, background, "");
    addTool(m_btnBack, GBK("返回"), ID_CAPTION_BACK);
  }
  LayoutCaptionButtons();
}

void WDialog::LayoutCaptionButtons() {
  auto place = [this](WWndLessButton& button, int x, int y, UINT toolId) {
    const SIZE size = button.GetSize();
    const RECT rect{x, y, x + size.cx, y + size.cy};
    button.SetRect(rect);
    m_toolTip.SetToolRect(this, toolId, &rect);
  };
  int x = width() - m_btnClose.GetSize().cx - 5;
  int y = m_nBorderTop;
  place(m_btnClose, x, y, ID_CAPTION_CLOSE);
  if (m_nCaptionStyle & (WCB_MINIMIZE | WCB_CLOSE_MINIMIZE)) {
    x -= m_btnMinimize.GetSize().cx + 5;
    place(m_btnMinimize, x, y, ID_CAPTION_MINIMIZE);
  }
  if (m_nCaptionStyle & WCB_HELP) {
    x -= m_btnHelp.GetSize().cx + 43;
    y += 1;
    place(m_btnHelp, x, y, ID_CAPTION_HELP);
  }
  if (m_nCaptionStyle & WCB_SETTINGS) {
    x -= m_btnSettings.GetSize().cx;
    place(m_btnSettings, x, y, ID_CAPTION_SETTINGS);
  }
  if (m_nCaptionStyle & WCB_BACK) place(m_btnBack, m_rcBack.left, m_rcBack.top, ID_CAPTION_BACK);
}

std::array<WWndLessButton*, 5> WDialog::CaptionButtons() {
  return {&m_btnClose, &m_btnMinimize, &m_btnHelp, &m_btnSettings, &m_btnBack};
}

WWndLessButton* WDialog::GetCaptionButton(UINT id) {
  if (id == 0) return nullptr;
  if (m_btnMinimize.GetID() != 0 &&
      (id == m_btnMinimize.GetID() || id == m_btnMinimize.GetAlternateID()))
    return &m_btnMinimize;
  for (WWndLessButton* b : CaptionButtons())
    if (b->GetID() == id) return b;
  return nullptr;
}

WWndLessButton* WDialog::HitCaptionButton(POINT point) {
  if (IsChild()) return nullptr;
  for (WWndLessButton* b : CaptionButtons())
    if (b->GetID() != 0 && PtInRect(b->GetRect(), point)) return b;
  return nullptr;
}

// ---- Caption-button input ----------------------------------------------------------

int WDialog::OnNcHitTest(CPoint screenPoint) {
  if (IsChild()) return CDialogMultiLan::OnNcHitTest(screenPoint);
  POINT p = screenPoint;
  ScreenToClient(&p);
  if (HitCaptionButton(p)) return HTCLIENT;
  if (PtInRect(GetCaptionRect(), p) || PtInRect(GetClientArea(), p)) return HTCAPTION;
  return CDialogMultiLan::OnNcHitTest(screenPoint);
}

void WDialog::OnMouseMove(UINT flags, CPoint point) {
  WWndLessButton* hit = HitCaptionButton(point);
  if (m_pPressed) {
    // Pressed until the button goes up, shown pressed only while over it.
    const int state = hit == m_pPressed ? kBtnPressed : kBtnNormal;
    if (m_pPressed->GetState() != state) {
      m_pPressed->SetState(state);
      m_pPressed->Redraw(m_pPressed->GetRect().left, m_pPressed->GetRect().top);
    }
    return;
  }
  if (hit != m_pHot) {
    if (m_pHot) {
      m_pHot->SetState(kBtnNormal);
      m_pHot->Redraw(m_pHot->GetRect().left, m_pHot->GetRect().top);
    }
    m_pHot = hit;
    if (hit) {
      hit->SetState(kBtnHover);
      hit->Redraw(hit->GetRect().left, hit->GetRect().top);
      TRACKMOUSEEVENT track;
      track.dwFlags = TME_LEAVE;
      track.hwndTrack = GetSafeHwnd();
      TrackMouseEvent(&track);
    }
  }
  if (!hit) CDialogMultiLan::OnMouseMove(flags, point);
}

void WDialog::OnLButtonDown(UINT flags, CPoint point) {
  WWndLessButton* hit = HitCaptionButton(point);
  if (!hit) {
    CDialogMultiLan::OnLButtonDown(flags, point);
    return;
  }
  m_pPressed = hit;
  hit->SetState(kBtnPressed);
  hit->Redraw(hit->GetRect().left, hit->GetRect().top);
}

void WDialog::OnLButtonUp(UINT flags, CPoint point) {
  if (!m_pPressed) {
    CDialogMultiLan::OnLButtonUp(flags, point);
    return;
  }
  WWndLessButton* button = m_pPressed;
  m_pPressed = nullptr;
  const bool over = HitCaptionButton(point) == button;
  button->SetState(over ? kBtnHover : kBtnNormal);
  button->Redraw(button->GetRect().left, button->GetRect().top);
  m_pHot = over ? button : nullptr;
  if (over) SendMessage(WM_COMMAND, MAKEWPARAM(button->GetID(), BN_CLICKED), 0);
}

void WDialog::OnMouseLeave() {
  if (m_pHot && !m_pPressed) {
    m_pHot->SetState(kBtnNormal);
    m_pHot->Redraw(m_pHot->GetRect().left, m_pHot->GetRect().top);
    m_pHot = nullptr;
  }
  CDialogMultiLan::OnMouseLeave();
}

// ---- Commands, keys, colours ------------------------------------------------------------

BOOL WDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case ID_CAPTION_CLOSE:
      ReleaseCapture();
      PostMessage(WM_CLOSE);
      return TRUE;
    case ID_CAPTION_MINIMIZE:
    case ID_CAPTION_MINIMIZE2: ShowWindow(SW_SHOWMINNOACTIVE); return TRUE;
    case ID_CAPTION_RESTORE: ShowWindow(SW_RESTORE); return TRUE;
    case ID_CAPTION_BACK: ReleaseCapture(); return TRUE;
    default: return CDialogMultiLan::OnCommand(wParam, lParam);
  }
}

BOOL WDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1) return TRUE;  // no help
  return CDialogMultiLan::PreTranslateMessage(msg);
}

void WDialog::OnOK() {
  if (!IsChild()) CDialogMultiLan::OnOK();
}

void WDialog::OnCancel() {
  if (!IsChild()) CDialogMultiLan::OnCancel();
}

HBRUSH WDialog::OnCtlColor(CDC* dc, CWnd* child, UINT kind) {
  if (kind != CTLCOLOR_STATIC || !dc) return CDialogMultiLan::OnCtlColor(dc, child, kind);
  dc->SetBkColor(m_clrBk);
  dc->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

// ---- Window state ----------------------------------------------------------------

void WDialog::OnDestroy() {
  CDialogMultiLan::OnDestroy();
  m_toolTip.DestroyWindow();
  m_pHot = m_pPressed = nullptr;
  m_bControlsBelowBand = false;
}

void WDialog::OnActivate(UINT state, CWnd* other, BOOL minimized) {
  CDialogMultiLan::OnActivate(state, other, minimized);
  if (m_toolTip.IsCreated()) RedrawCaption();
}

void WDialog::OnShowWindow(BOOL show, UINT status) {
  CDialogMultiLan::OnShowWindow(show, status);
  if (show && !IsChild() && (m_nMode == WDLG_MODE_CENTRED || m_nMode == WDLG_MODE_STANDARD))
    CenterInWorkArea();
}

void WDialog::OnSize(UINT type, int cx, int cy) {
  CDialogMultiLan::OnSize(type, cx, cy);
  if (IsChild()) return;
  BuildWindowRegion();
  TrackRestoreState(type);
}

void WDialog::TrackRestoreState(UINT sizeType) {
  if (!(m_nCaptionStyle & (WCB_MINIMIZE | WCB_CLOSE_MINIMIZE))) return;
  WRestoreButton& button = m_btnMinimize;
  const char* tip = nullptr;
  if (sizeType == SIZE_MAXIMIZED && !button.m_bMaximized) {
    if (!button.m_bMinimized) button.SwapIds();
    button.m_bMaximized = true;
    button.m_bMinimized = false;
    tip = GBK("还原");
  } else if (sizeType == SIZE_MINIMIZED && !button.m_bMinimized) {
    if (!button.m_bMaximized) button.SwapIds();
    button.m_bMinimized = true;
    button.m_bMaximized = false;
    tip = GBK("还原");
  } else if (sizeType == SIZE_RESTORED && (button.m_bMinimized || button.m_bMaximized)) {
    button.SwapIds();
    button.m_bMinimized = button.m_bMaximized = false;
    tip = GBK("最小化");
  }
  if (!tip) return;
  button.SetToolTip(tip);
  m_toolTip.UpdateTipText(tip, this, ID_CAPTION_MINIMIZE);
  RedrawCaption();
}

void WDialog::BuildWindowRegion() {
  const QSize window = size();
  if (!m_strBkImage.empty() && m_strMaskImage != m_strBkImage) {
    const QImage image = zebui::LoadSkinImage(m_strBkImage);
    m_mask = zebui::KeyColorMask(image);
    m_maskImageSize = image.size();
    m_strMaskImage = m_strBkImage;
  }
  if (!m_strBkImage.empty() && !m_maskImageSize.isEmpty()) {
    m_shape = zebui::WindowShapeFromMask(m_mask, m_maskImageSize, window);
  } else {
    CRgn round;
    round.CreateRoundRectRgn(0, 0, window.width() + 1, window.height() + 1, m_sizeRoundCorner.cx,
                             m_sizeRoundCorner.cy);
    m_shape = round.Region() ? *round.Region() : QRegion();
  }
  CRgn region;
  region.SetRegion(m_shape);
  SetWindowRgn(&region, TRUE);
}

SIZE WDialog::SkinSize() const {
  if (!m_strBkImage.empty() && !m_maskImageSize.isEmpty())
    return SIZE{m_maskImageSize.width(), m_maskImageSize.height()};
  return SIZE{width(), height()};
}

void WDialog::SetSizeMode(int mode, int corner) {
  SIZE size{mode, corner};
  if (mode == 0) size = SIZE{0, 0};
  else if (mode == 1) size = SIZE{900, 550};
  else if (mode == 2) size = SkinSize();
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  if (corner == 1) MoveWindow(work.right - size.cx, work.bottom - size.cy, size.cx, size.cy);
  else
    MoveWindow(work.left + (RectWidth(work) - size.cx) / 2,
               work.top + (RectHeight(work) - size.cy) / 2, size.cx, size.cy);
}

void WDialog::CenterInWorkArea() { SetSizeMode(2, 0); }
