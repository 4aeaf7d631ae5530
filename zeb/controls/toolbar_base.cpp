// The tool bar base: buttons on a QToolBar window; see toolbar_base.h.
//
// The bar's own QToolBar layout holds one empty, mouse-transparent widget
// the size of the buttons, so Qt docks, floats and sizes the bar as usual
// while the bar paints the buttons itself and takes their mouse input.
// Button rectangles are kept in the bar's client coordinates and laid out
// again whenever that widget has moved or the bar has turned.
#include "zeb/controls/toolbar_base.h"

#include <QLayout>
#include <QMainWindow>
#include <QToolBar>
#include <algorithm>

#include "zeb/controls/toolbar_resources.h"
#include "platform/desktop.h"
#include "platform/gbk.h"
#include "platform/input.h"
#include "sharecode/buffer_dc.h"

using namespace zebui;

namespace {

bool IsSplit(const ToolButton& b, DWORD exStyle) {
  return (exStyle & TBSTYLE_EX_DRAWDDARROWS) && (b.style & TBSTYLE_DROPDOWN) && !b.IsSeparator();
}

}  // namespace

// ---- Update-UI ------------------------------------------------------------------

CToolCmdUI::CToolCmdUI(CToolBarBase* bar, int index) : bar_(bar) {
  m_nIndex = (UINT)index;
  m_nID = bar->GetItemID(index);
  m_pOther = bar;
}

void CToolCmdUI::Enable(BOOL on) {
  const UINT state = bar_->GetButtonState((int)m_nIndex);
  bar_->SetButtonState((int)m_nIndex, on ? (state | TBSTATE_ENABLED)
                                         : (state & ~(TBSTATE_ENABLED | TBSTATE_PRESSED)));
}

void CToolCmdUI::SetCheck(int check) {
  UINT state = bar_->GetButtonState((int)m_nIndex) & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
  if (check == 1) state |= TBSTATE_CHECKED;
  if (check == 2) state |= TBSTATE_INDETERMINATE;
  bar_->SetButtonState((int)m_nIndex, state);
}

// ---- Creation -----------------------------------------------------------------

CToolBarBase::CToolBarBase() {
  setMovable(false);
  setFloatable(false);
  area_ = new QWidget(this);
  area_->setAttribute(Qt::WA_TransparentForMouseEvents);
  area_->setFixedSize(0, 0);
  addWidget(area_);
  // Turned across a side dock (or back): the buttons move under the mouse.
  QObject::connect(this, &QToolBar::orientationChanged, this, [this] {
    SetHotItem(-1);
    RecalcLayout();
  });
}

CToolBarBase::~CToolBarBase() = default;

BOOL CToolBarBase::Create(CWnd* parent, DWORD style, UINT id) {
  return CreateEx(parent, 0, style, id);
}

BOOL CToolBarBase::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id) {
  barStyle_ = style & CBRS_ALL;
  return CWnd::Create(parent, CRect(0, 0, 0, 0), id, (style & ~CBRS_ALL) | ctrlStyle);
}

int CToolBarBase::OnCreate(LPCREATESTRUCT cs) {
  SetTimer(kUpdateUiTimer, kUpdateUiMs);
  return CWndImpl<QToolBar>::OnCreate(cs);
}

void CToolBarBase::SetBarStyle(DWORD style) {
  barStyle_ = style & CBRS_ALL;
  SetHotItem(hot_);
}

void CToolBarBase::EnableDocking(DWORD align) {
  Qt::ToolBarAreas areas;
  if (align & CBRS_ALIGN_LEFT) areas |= Qt::LeftToolBarArea;
  if (align & CBRS_ALIGN_TOP) areas |= Qt::TopToolBarArea;
  if (align & CBRS_ALIGN_RIGHT) areas |= Qt::RightToolBarArea;
  if (align & CBRS_ALIGN_BOTTOM) areas |= Qt::BottomToolBarArea;
  setAllowedAreas(areas ? areas : Qt::NoToolBarArea);
  setMovable(areas != Qt::ToolBarAreas());
  setFloatable(areas != Qt::ToolBarAreas());
}

void CToolBarBase::Float(POINT screenPoint, bool closeBox) {
  QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
  const bool shown = !isHidden();
  setParent(over, closeBox ? Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                 Qt::WindowCloseButtonHint
                           : Qt::Tool | Qt::FramelessWindowHint);
  setOrientation(Qt::Horizontal);
  move(screenPoint.x, screenPoint.y);
  RecalcLayout();
  layout()->invalidate();
  layout()->activate();
  adjustSize();
  if (shown) show();
}

// ---- Buttons -------------------------------------------------------------------

BOOL CToolBarBase::LoadToolBar(std::span<const ToolBarResource> module, UINT id) {
  const auto res = std::find_if(module.begin(), module.end(),
                                [id](const ToolBarResource& r) { return r.id == id; });
  if (res == module.end() || res->imageWidth <= 0 || res->imageHeight <= 0) return FALSE;
  if (res->bitmap) {
    if (!images_.Create(LoadToolBarImage(res->bitmap), res->imageWidth, res->imageHeight))
      return FALSE;
  }
  std::vector<ToolButton> buttons;
  int next = 0;
  for (const ToolBarItem& item : res->items) {
    ToolButton b;
    b.id = item.id;
    if (item.id == 0) {
      b.style = TBSTYLE_SEP;
      b.image = 0;
    } else {
      b.image = item.image >= 0 ? item.image : next;
      ++next;
    }
    b.text = item.text ? item.text : "";
    buttons.push_back(std::move(b));
  }
  buttons_ = std::move(buttons);
  SetSizes(SIZE{res->imageWidth + 7, res->imageHeight + 7},
           SIZE{res->imageWidth, res->imageHeight});
  ButtonsChanged();
  return TRUE;
}

BOOL CToolBarBase::SetButtons(const UINT* ids, int count) {
  if (count < 0 || (count > 0 && !ids)) return FALSE;
  buttons_.clear();
  int next = 0;
  for (int i = 0; i < count; ++i) {
    ToolButton b;
    b.id = ids[i];
    if (ids[i] == 0) {
      b.style = TBSTYLE_SEP;
      b.image = 0;
    } else {
      b.image = next++;
    }
    buttons_.push_back(std::move(b));
  }
  ButtonsChanged();
  return TRUE;
}

int CToolBarBase::CommandToIndex(UINT id) const {
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i].id == id) return (int)i;
  }
  return -1;
}

UINT CToolBarBase::GetItemID(int index) const {
  const ToolButton* b = GetButton(index);
  return b ? b->id : 0;
}

void CToolBarBase::GetItemRect(int index, RECT* rect) const {
  if (!rect) return;
  const_cast<CToolBarBase*>(this)->EnsureLayout();
  const ToolButton* b = GetButton(index);
  *rect = b ? b->rect : RECT{};
}

const ToolButton* CToolBarBase::GetButton(int index) const {
  return index >= 0 && index < (int)buttons_.size() ? &buttons_[(size_t)index] : nullptr;
}

UINT CToolBarBase::GetButtonStyle(int index) const {
  const ToolButton* b = GetButton(index);
  return b ? b->style : 0;
}

void CToolBarBase::SetButtonStyle(int index, UINT style) {
  if (!GetButton(index) || buttons_[(size_t)index].style == (BYTE)style) return;
  buttons_[(size_t)index].style = (BYTE)style;
  ButtonsChanged();
}

UINT CToolBarBase::GetButtonState(int index) const {
  const ToolButton* b = GetButton(index);
  return b ? b->state : 0;
}

void CToolBarBase::SetButtonState(int index, UINT state) {
  if (!GetButton(index)) return;
  ToolButton& b = buttons_[(size_t)index];
  const BYTE old = b.state;
  if (old == (BYTE)state) return;
  b.state = (BYTE)state;
  if ((old ^ b.state) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) {
    ButtonsChanged();
  } else {
    InvalidateRect(&b.rect, FALSE);
  }
}

void CToolBarBase::SetButtonInfo(int index, UINT id, UINT style, int image) {
  if (!GetButton(index)) return;
  ToolButton& b = buttons_[(size_t)index];
  b.id = id;
  b.style = (BYTE)style;
  b.image = image;
  ButtonsChanged();
}

void CToolBarBase::GetButtonInfo(int index, UINT& id, UINT& style, int& image) const {
  const ToolButton* b = GetButton(index);
  id = b ? b->id : 0;
  style = b ? b->style : 0;
  image = b ? b->image : 0;
}

void CToolBarBase::SetButtonText(int index, const char* text) {
  if (GetButton(index)) buttons_[(size_t)index].text = text ? text : "";
}

void CToolBarBase::SetSizes(SIZE button, SIZE image) {
  buttonSize_ = button;
  imageSize_ = image;
  ButtonsChanged();
}

void CToolBarBase::SetBorders(int left, int top, int right, int bottom) {
  borders_ = RECT{left, top, right, bottom};
  ButtonsChanged();
}

DWORD CToolBarBase::SetExtendedStyle(DWORD exStyle) {
  const DWORD old = exStyle_;
  exStyle_ = exStyle;
  if (old != exStyle) ButtonsChanged();
  return old;
}

bool CToolBarBase::IsVertical() const { return orientation() == Qt::Vertical; }

CWnd* CToolBarBase::GetOwner() const {
  if (owner_) return CWnd::FromWidget(owner_);
  for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
    if (auto* wnd = dynamic_cast<CWnd*>(w)) return wnd;
  }
  return nullptr;
}

void CToolBarBase::UpdateButtons() {
  CWnd* owner = GetOwner();
  if (!owner) return;
  for (int i = 0; i < (int)buttons_.size(); ++i) {
    if (buttons_[(size_t)i].IsSeparator()) continue;
    CToolCmdUI ui(this, i);
    owner->OnUpdateCmdUI(&ui);
  }
}

void CToolBarBase::ButtonsChanged() {
  hot_ = -1;
  pressed_ = -1;
  RecalcLayout();
  Invalidate(FALSE);
}

// ---- Layout --------------------------------------------------------------------

POINT CToolBarBase::ContentOrigin() const {
  return POINT{area_->x() + borders_.left, area_->y() + borders_.top};
}

void CToolBarBase::RecalcLayout() {
  layoutDirty_ = true;
  EnsureLayout();
}

void CToolBarBase::EnsureLayout() {
  const POINT origin = ContentOrigin();
  const bool vertical = IsVertical();
  if (!layoutDirty_ && origin.x == laidOutOrigin_.x && origin.y == laidOutOrigin_.y &&
      vertical == laidOutVertical_)
    return;
  layoutDirty_ = false;
  laidOutOrigin_ = origin;
  laidOutVertical_ = vertical;
  const SIZE covered = LayoutToolButtons(buttons_, origin, buttonSize_,
                                         (exStyle_ & TBSTYLE_EX_DRAWDDARROWS) != 0, vertical);
  const QSize areaSize(covered.cx + borders_.left + borders_.right,
                       covered.cy + borders_.top + borders_.bottom);
  if (area_->size() != areaSize || area_->minimumSize() != areaSize || area_->isHidden()) {
    area_->setFixedSize(areaSize);
    // Qt's bar layout hides what did not fit and then stops hearing the
    // hidden widget's size changes: tell it directly.
    layout()->invalidate();
  }
  PlaceHostedControls();
  Invalidate(FALSE);
}

void CToolBarBase::PlaceHostedControls() {
  const bool vertical = IsVertical();
  for (const ToolButton& b : buttons_) {
    if (!b.HostsControl()) continue;
    CWnd* control = GetDlgItem((int)b.id);
    if (!control || !control->GetWidget()) continue;
    if (vertical) {
      control->ShowWindow(SW_HIDE);
      continue;
    }
    CRect place(b.rect);
    place.DeflateRect(1, 1);
    QWidget* w = control->GetWidget();
    if (w->width() == place.Width()) {
      control->MoveWindow(place.left, place.top, w->width(), w->height(), FALSE);
    } else {
      control->MoveWindow(&place, FALSE);
    }
    w->raise();
    control->ShowWindow(SW_SHOWNOACTIVATE);
  }
}

// ---- Input ---------------------------------------------------------------------

void CToolBarBase::SetHotItem(int index) {
  if (index != hot_) {
    if (const ToolButton* old = GetButton(hot_)) InvalidateRect(&old->rect, FALSE);
    if (const ToolButton* now = GetButton(index)) InvalidateRect(&now->rect, FALSE);
    hot_ = index;
  }
  const bool tips = (barStyle_ & CBRS_TOOLTIPS) || (GetStyle() & TBSTYLE_TOOLTIPS);
  const ToolButton* b = GetButton(hot_);
  setToolTip(tips && b ? platform::GbkToQString(ToolTipOfCommandString(b->text)) : QString());
}

void CToolBarBase::OnMouseMove(UINT flags, CPoint point) {
  cursor_ = point;
  if (!tracking_) {
    TRACKMOUSEEVENT track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = GetSafeHwnd();
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  EnsureLayout();
  const int index = HitTestToolButton(buttons_, point);
  const ToolButton* b = GetButton(index);
  SetHotItem(b && !b->IsSeparator() && b->IsEnabled() ? index : -1);
  if (const ToolButton* down = GetButton(pressed_)) InvalidateRect(&down->rect, FALSE);
  Default();  // the bar's own handle drag
}

void CToolBarBase::OnLButtonDown(UINT flags, CPoint point) {
  cursor_ = point;
  EnsureLayout();
  const int index = HitTestToolButton(buttons_, point);
  const ToolButton* b = GetButton(index);
  if (!b || b->IsSeparator() || !b->IsEnabled()) {
    Default();
    return;
  }
  if (OnDropArrow(*b, point, (exStyle_ & TBSTYLE_EX_DRAWDDARROWS) != 0)) {
    const LRESULT answer = OnDropDown(index);
    if (answer != TBDDRET_TREATPRESSED || !IsCreated()) {
      Invalidate(FALSE);
      return;
    }
  }
  pressed_ = index;
  SetCapture();
  InvalidateRect(&buttons_[(size_t)index].rect, FALSE);
}

void CToolBarBase::OnLButtonDblClk(UINT flags, CPoint point) { OnLButtonDown(flags, point); }

void CToolBarBase::OnLButtonUp(UINT flags, CPoint point) {
  cursor_ = point;
  const int index = pressed_;
  if (!GetButton(index)) {
    Default();
    return;
  }
  pressed_ = -1;
  ReleaseCapture();
  ToolButton& b = buttons_[(size_t)index];
  InvalidateRect(&b.rect, FALSE);
  if (!PtInRect(b.rect, point) || !b.IsEnabled()) return;
  if ((b.style & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP) {
    // The checked button of a run of group buttons.
    for (int i = index - 1;
         i >= 0 && (buttons_[(size_t)i].style & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP; --i)
      SetButtonState(i, buttons_[(size_t)i].state & ~TBSTATE_CHECKED);
    for (size_t i = (size_t)index + 1;
         i < buttons_.size() && (buttons_[i].style & TBSTYLE_CHECKGROUP) == TBSTYLE_CHECKGROUP; ++i)
      SetButtonState((int)i, buttons_[i].state & ~TBSTATE_CHECKED);
    SetButtonState(index, b.state | TBSTATE_CHECKED);
  } else if (b.style & TBSTYLE_CHECK) {
    SetButtonState(index, b.state ^ TBSTATE_CHECKED);
  }
  if (CWnd* owner = GetOwner()) owner->PostMessage(WM_COMMAND, MAKEWPARAM(b.id, BN_CLICKED), 0);
}

void CToolBarBase::OnMouseLeave() {
  tracking_ = false;
  cursor_ = POINT{-1, -1};
  SetHotItem(-1);
  if (const ToolButton* down = GetButton(pressed_)) InvalidateRect(&down->rect, FALSE);
}

int CToolBarBase::OnNcHitTest(CPoint screenPoint) {
  // Asked only while the bar floats as its own window: the space between
  // the buttons moves it, as a caption would.
  CPoint point = screenPoint;
  ScreenToClient(&point);
  const ToolButton* b = GetButton(HitTestToolButton(buttons_, point));
  return b && !b->IsSeparator() ? HTCLIENT : HTCAPTION;
}

LRESULT CToolBarBase::OnDropDown(int) { return TBDDRET_DEFAULT; }

// ---- Messages ------------------------------------------------------------------

void CToolBarBase::OnSize(UINT type, int cx, int cy) {
  CWndImpl<QToolBar>::OnSize(type, cx, cy);
  RecalcLayout();
}

void CToolBarBase::OnShowWindow(BOOL show, UINT status) {
  CWndImpl<QToolBar>::OnShowWindow(show, status);
  if (show) {
    UpdateButtons();
    RecalcLayout();
  }
}

void CToolBarBase::OnTimer(UINT_PTR id) {
  if (id != kUpdateUiTimer) {
    CWndImpl<QToolBar>::OnTimer(id);
    return;
  }
  if (IsWindowVisible()) UpdateButtons();
}

// ---- Painting ------------------------------------------------------------------

void CToolBarBase::OnPaint() {
  CPaintDC paintDC(this);
  EnsureLayout();
  RECT clip;
  paintDC.GetClipBox(&clip);
  CBufferDC dc(&paintDC, &clip);
  PaintBar(&dc, clip);
  PaintGrip(&dc);
}

void CToolBarBase::PaintGrip(CDC* dc) const {
  if (!isMovable() || isWindow()) return;
  // The bar's handle: the strip before the buttons, where Qt takes a drag.
  const bool vertical = IsVertical();
  const int strip = vertical ? area_->y() : area_->x();
  if (strip < 4) return;
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const int mid = strip / 2 - 1;
  const int length = vertical ? width() : height();
  for (int along = 3; along + 1 < length - 3; along += 3) {
    if (vertical) {
      dc->SetPixel(along, mid, dark);
      dc->SetPixel(along + 1, mid + 1, light);
    } else {
      dc->SetPixel(mid, along, dark);
      dc->SetPixel(mid + 1, along + 1, light);
    }
  }
}

void CToolBarBase::PaintBar(CDC* dc, const RECT& clip) {
  dc->FillSolidRect(&clip, GetSysColor(COLOR_BTNFACE));
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  for (int i = 0; i < (int)buttons_.size(); ++i) {
    const ToolButton& b = buttons_[(size_t)i];
    RECT meet;
    if (b.IsHidden() || !IntersectRect(meet, b.rect, clip)) continue;
    if (b.HostsControl()) continue;
    if (b.IsSeparator()) {
      if (b.state & TBSTATE_WRAP) {
        const int y = (b.rect.top + b.rect.bottom) / 2 - 1;
        dc->FillSolidRect(b.rect.left + 2, y, RectWidth(b.rect) - 4, 1, shadow);
        dc->FillSolidRect(b.rect.left + 2, y + 1, RectWidth(b.rect) - 4, 1, light);
      } else {
        const int x = (b.rect.left + b.rect.right) / 2 - 1;
        dc->FillSolidRect(x, b.rect.top + 2, 1, RectHeight(b.rect) - 4, shadow);
        dc->FillSolidRect(x + 1, b.rect.top + 2, 1, RectHeight(b.rect) - 4, light);
      }
      continue;
    }
    const bool hot = i == hot_ && b.IsEnabled();
    const bool split = IsSplit(b, exStyle_);
    const bool pressedHere = i == pressed_ && PtInRect(b.rect, cursor_) &&
                             !(split && cursor_.x >= b.rect.right - kDropArrowHit);
    PaintClassicButton(dc, b, hot, pressedHere || (b.state & TBSTATE_CHECKED));
  }
}

void CToolBarBase::PaintClassicButton(CDC* dc, const ToolButton& b, bool hot, bool down) const {
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const bool flat = (GetStyle() & TBSTYLE_FLAT) != 0;
  CRect face(b.rect), arrow;
  const bool split = IsSplit(b, exStyle_);
  if (split) {
    arrow = CRect(face.right - kDropArrowWidth, face.top, face.right, face.bottom);
    face.right = arrow.left;
  }
  auto edge = [&](const CRect& r) {
    if (down) dc->Draw3dRect(&r, shadow, light);
    else if (!flat || hot) dc->Draw3dRect(&r, light, shadow);
  };
  edge(face);
  if (split) edge(arrow);

  const int shift = down ? 1 : 0;
  const int x = face.left + (face.Width() - imageSize_.cx) / 2 + shift;
  const int y = face.top + (face.Height() - imageSize_.cy) / 2 + shift;
  if (b.IsEnabled() && !(b.state & TBSTATE_INDETERMINATE)) {
    images_.Draw(dc, b.image, x, y);
  } else if (!disabledImages_.IsEmpty()) {
    disabledImages_.Draw(dc, b.image, x, y);
  } else {
    images_.DrawMono(dc, b.image, x + 1, y + 1, light);
    images_.DrawMono(dc, b.image, x, y, shadow);
  }
  if (split) {
    const COLORREF ink = GetSysColor(b.IsEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const int cx = (arrow.left + arrow.right) / 2 + shift,
              cy = (arrow.top + arrow.bottom) / 2 + shift;
    for (int row = 0; row < 3; ++row)
      dc->FillSolidRect(cx - 2 + row, cy - 1 + row, 5 - 2 * row, 1, ink);
  }
}
