// CWnd's members: identity (the widget and handle registries), creation and
// destruction, geometry, state, text and the small calls around them.
//
// A window has a handle only between Create and DestroyWindow, so posts to
// a destroyed window are dropped and a window may be created again. The
// registries map widgets and handles to windows on the user-interface
// thread; a widget's window is found without dynamic_cast, so lookups stay
// safe while a widget is being torn down.
#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QComboBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/gbk.h"
#include "wnd_internal.h"

namespace platform::detail {
namespace {

std::unordered_map<const QWidget*, CWnd*>& WidgetMap() {
  static auto* map = new std::unordered_map<const QWidget*, CWnd*>();
  return *map;
}
std::unordered_map<HWND, CWnd*>& HandleMap() {
  static auto* map = new std::unordered_map<HWND, CWnd*>();
  return *map;
}

const char kStyleProperty[] = "zebStyle";
const char kOwnedProperty[] = "zebLayerOwned";
const char kSubclassedProperty[] = "zebSubclassed";
const char kFontProperty[] = "zebFont";

CWnd* g_mainWnd = nullptr;

}  // namespace

CWnd* LookupWnd(const QWidget* widget) {
  auto& map = WidgetMap();
  auto it = map.find(widget);
  return it == map.end() ? nullptr : it->second;
}

DWORD StoredStyle(const QWidget* widget) { return widget->property(kStyleProperty).toUInt(); }
void SetStoredStyle(QWidget* widget, DWORD style) {
  widget->setProperty(kStyleProperty, (uint)style);
}
void MarkLayerOwned(QWidget* widget) { widget->setProperty(kOwnedProperty, true); }
bool IsLayerOwned(const QWidget* widget) { return widget->property(kOwnedProperty).toBool(); }
void MarkSubclassed(QWidget* widget) { widget->setProperty(kSubclassedProperty, true); }
bool IsSubclassed(const QWidget* widget) { return widget->property(kSubclassedProperty).toBool(); }

// Registers the handle of a window that was (re)created.
void RegisterHandle(CWnd* wnd) { HandleMap()[wnd->GetSafeHwnd()] = wnd; }
void UnregisterHandle(CWnd* wnd) {
  if (wnd->GetSafeHwnd()) HandleMap().erase(wnd->GetSafeHwnd());
}

}  // namespace platform::detail

using namespace platform::detail;

CWnd::CWnd() {
  // No handle until Create: `if (m_wnd.GetSafeHwnd())` tells a created window.
  DetachHandle();
  EnsureInputFilter();
}

CWnd::~CWnd() {
  UnregisterHandle(this);
  DetachHandle();
  if (g_mainWnd == this) g_mainWnd = nullptr;
}

void CWnd::BindWidget(QWidget* widget, bool routesEvents) {
  widget_ = widget;
  routes_ = routesEvents;
  WidgetMap()[widget] = this;
  if (!routesEvents) {
    // An attached window lives as long as its widget's handle does.
    AttachNewHandle();
    RegisterHandle(this);
    created_ = true;
  }
}

void CWnd::UnbindWidget() {
  dying_ = true;
  if (widget_) {
    auto& map = WidgetMap();
    auto it = map.find(widget_);
    if (it != map.end() && it->second == this) map.erase(it);
  }
  UnregisterHandle(this);
  DetachHandle();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  auto& map = HandleMap();
  auto it = map.find(hwnd);
  return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromWidget(QWidget* widget) {
  if (!widget) return nullptr;
  if (CWnd* wnd = LookupWnd(widget)) return wnd;
  return AttachWindow(widget);  // deletes itself with the widget
}

CWnd* CWnd::GetParent() const { return widget_ ? FromWidget(widget_->parentWidget()) : nullptr; }

CWnd* CWnd::GetTopLevelParent() const { return widget_ ? FromWidget(widget_->window()) : nullptr; }

int CWnd::GetDlgCtrlID() const {
  bool ok = false;
  int id = widget_ ? widget_->objectName().toInt(&ok) : 0;
  return ok ? id : 0;
}

void CWnd::SetDlgCtrlID(int id) {
  if (widget_) widget_->setObjectName(QString::number(id));
}

QWidget* CWnd::GetDlgItemWidget(int id) const {
  if (!widget_) return nullptr;
  const QString name = QString::number(id);
  for (QObject* child : widget_->children()) {
    if (child->isWidgetType() && child->objectName() == name) return static_cast<QWidget*>(child);
  }
  return nullptr;
}

CWnd* CWnd::GetDlgItem(int id) const { return FromWidget(GetDlgItemWidget(id)); }

// ---- Lifetime ---------------------------------------------------------------

BOOL CWnd::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style) {
  if (created_ || !widget_ || !routes_) return FALSE;
  QWidget* parentWidget = parent ? parent->widget_ : nullptr;
  const bool child = parentWidget && !(style & WS_POPUP);
  if (child) {
    if (widget_->parentWidget() != parentWidget || widget_->isWindow())
      widget_->setParent(parentWidget);
  } else {
    Qt::WindowFlags flags = widget_->windowFlags() | Qt::Window;
    if ((style & WS_POPUP) && !HasCaption(style)) flags |= Qt::FramelessWindowHint;
    widget_->setParent(parentWidget, flags);
  }
  SetStoredStyle(widget_, style);
  widget_->setGeometry(ToQRect(rect));
  widget_->setEnabled(!(style & WS_DISABLED));
  SetDlgCtrlID((int)id);
  AttachCreatedHandle();
  CREATESTRUCT cs;
  cs.parent = parent;
  cs.rect = rect;
  cs.id = id;
  cs.style = style;
  if (WindowProc(WM_CREATE, 0, (LPARAM)&cs) == -1) {
    DestroyWindow();
    return FALSE;
  }
  DeliverSize();
  if (style & WS_VISIBLE) ShowWindow((style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : SW_SHOW);
  return TRUE;
}

void CWnd::AttachCreatedHandle() {
  AttachNewHandle();
  RegisterHandle(this);
  created_ = true;
}

// Pre-order: a window's OnDestroy runs before its children's. The widget
// tree is walked afresh after each handler, which may delete children.
void CWnd::DestroyTree() {
  if (routes_ && created_) {
    created_ = false;
    WindowProc(WM_DESTROY, 0, 0);
  }
  if (widget_) DestroyChildren(widget_);
}

void CWnd::DestroyChildren(QWidget* parent) {
  std::vector<QPointer<QWidget>> children;
  for (QObject* c : parent->children())
    if (c->isWidgetType()) children.emplace_back(static_cast<QWidget*>(c));
  for (auto& c : children) {
    if (!c) continue;
    CWnd* wnd = LookupWnd(c);
    if (wnd && wnd->routes_) {
      if (wnd->created_) wnd->DestroyTree();
      continue;
    }
    delete wnd;                 // an attached window ends with its parent; made again on demand
    if (c) DestroyChildren(c);  // a plain container may hold windows
  }
}

void CWnd::EndHandles() {
  if (widget_) EndChildHandles(widget_);
  if (widget_ && QWidget::mouseGrabber() == widget_) widget_->releaseMouse();
  trackFlags_ = 0;
  UnregisterHandle(this);
  DetachHandle();
}

void CWnd::EndChildHandles(QWidget* parent) {
  for (QObject* c : parent->children()) {
    if (!c->isWidgetType()) continue;
    CWnd* wnd = LookupWnd(static_cast<QWidget*>(c));
    if (wnd && wnd->routes_) {
      if (!wnd->created_ && wnd->GetSafeHwnd()) wnd->EndHandles();
    } else {
      EndChildHandles(static_cast<QWidget*>(c));
    }
  }
}

BOOL CWnd::DestroyWindow() {
  if (!created_ || !routes_) return FALSE;
  DestroyTree();
  EndHandles();
  if (widget_) {
    widget_->hide();
    // The controls a table made die with the window; made again on the next
    // creation. Later, because a control's own signal may be running.
    // A window that took a table control's place (SubclassDlgItem) leaves
    // with it but belongs to its owner, which deletes it.
    const QObjectList children = widget_->children();
    for (QObject* c : children) {
      if (!c->isWidgetType()) continue;
      auto* w = static_cast<QWidget*>(c);
      const bool owned = IsLayerOwned(w);
      if (!owned && !IsSubclassed(w)) continue;
      w->hide();
      w->setParent(nullptr);
      if (owned) w->deleteLater();
    }
  }
  lastSizeType_ = -1;
  if (g_mainWnd == this) {
    g_mainWnd = nullptr;
    PostQuitMessage(0);
  }
  return TRUE;
}

// ---- Geometry ---------------------------------------------------------------

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  MoveWindow(CRect(x, y, x + width, y + height), repaint);
}

void CWnd::MoveWindow(const RECT* rect, BOOL) {
  if (widget_ && rect) SetControlGeometry(widget_, *rect);
}

void CWnd::GetClientRect(RECT* rect) const {
  if (!rect) return;
  QWidget* client = Viewport() ? Viewport() : widget_;
  *rect = client ? RECT{0, 0, client->width(), client->height()} : RECT{};
}

void CWnd::GetWindowRect(RECT* rect) const {
  if (!rect || !widget_) return;
  if (widget_->isWindow()) {
    *rect = FromQRect(widget_->frameGeometry());
  } else {
    QPoint p = widget_->mapToGlobal(QPoint(0, 0));
    *rect = RECT{p.x(), p.y(), p.x() + widget_->width(), p.y() + widget_->height()};
  }
}

// Client (the viewport of a scroll area) to screen coordinates, or back.
static void MapClientPoint(QWidget* client, POINT* point, bool toScreen) {
  if (!point || !client) return;
  const QPoint p(point->x, point->y);
  const QPoint mapped = toScreen ? client->mapToGlobal(p) : client->mapFromGlobal(p);
  *point = POINT{mapped.x(), mapped.y()};
}

static void MapClientRect(QWidget* client, RECT* rect, bool toScreen) {
  if (!rect) return;
  POINT corner{rect->left, rect->top};
  MapClientPoint(client, &corner, toScreen);
  OffsetRect(*rect, corner.x - rect->left, corner.y - rect->top);
}

void CWnd::ClientToScreen(POINT* point) const {
  MapClientPoint(Viewport() ? Viewport() : widget_, point, true);
}
void CWnd::ClientToScreen(RECT* rect) const {
  MapClientRect(Viewport() ? Viewport() : widget_, rect, true);
}
void CWnd::ScreenToClient(POINT* point) const {
  MapClientPoint(Viewport() ? Viewport() : widget_, point, false);
}
void CWnd::ScreenToClient(RECT* rect) const {
  MapClientRect(Viewport() ? Viewport() : widget_, rect, false);
}

void CWnd::CenterWindow(CWnd* alternateOwner) {
  if (!widget_) return;
  QRect area;
  if (widget_->isWindow()) {
    QWidget* owner = alternateOwner ? alternateOwner->widget_ : widget_->parentWidget();
    if (owner && owner->isVisible()) {
      area = owner->window()->frameGeometry();
    } else {
      QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
      if (screen) area = screen->availableGeometry();
    }
  } else if (widget_->parentWidget()) {
    area = widget_->parentWidget()->rect();
  }
  if (area.isEmpty()) return;
  widget_->move(area.x() + (area.width() - widget_->width()) / 2,
                area.y() + (area.height() - widget_->height()) / 2);
}

// ---- State ------------------------------------------------------------------

BOOL CWnd::ShowWindow(int command) {
  if (!widget_) return FALSE;
  const BOOL wasVisible = (GetStyle() & WS_VISIBLE) != 0;
  if (command == SW_HIDE && widget_->property(kMinimiseForHide).toBool()) command = SW_MINIMIZE;
  const bool window = widget_->isWindow();
  switch (command) {
    case SW_HIDE: widget_->hide(); break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      if (window) widget_->showNormal();
      else widget_->show();
      break;
    case SW_SHOWMAXIMIZED:
      if (window) widget_->showMaximized();
      else widget_->show();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      if (window) widget_->showMinimized();
      else widget_->show();
      break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
      widget_->setAttribute(Qt::WA_ShowWithoutActivating, true);
      widget_->show();
      widget_->setAttribute(Qt::WA_ShowWithoutActivating, false);
      break;
    default: widget_->show(); break;
  }
  return wasVisible;
}

BOOL CWnd::EnableWindow(BOOL enable) {
  if (!widget_) return FALSE;
  const BOOL wasDisabled = widget_->testAttribute(Qt::WA_ForceDisabled);
  widget_->setEnabled(enable != FALSE);
  return wasDisabled;
}

BOOL CWnd::IsWindowVisible() const { return widget_ && widget_->isVisible(); }
BOOL CWnd::IsWindowEnabled() const { return widget_ && widget_->isEnabled(); }
BOOL CWnd::IsIconic() const { return widget_ && widget_->isMinimized(); }
BOOL CWnd::IsZoomed() const { return widget_ && widget_->isMaximized(); }

DWORD CWnd::GetStyle() const {
  if (!widget_) return 0;
  DWORD style = StoredStyle(widget_) & ~(WS_VISIBLE | WS_DISABLED | WS_CHILD);
  const bool visible =
      widget_->isWindow() ? widget_->isVisible() : widget_->isVisibleTo(widget_->parentWidget());
  if (visible) style |= WS_VISIBLE;
  if (widget_->testAttribute(Qt::WA_ForceDisabled)) style |= WS_DISABLED;
  if (!widget_->isWindow()) style |= WS_CHILD;
  return style;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  if (!widget_) return FALSE;
  const DWORD old = GetStyle();
  const DWORD now = (old & ~remove) | add;
  if (now == old) return FALSE;
  SetStoredStyle(widget_, now);
  if ((old ^ now) & WS_DISABLED) widget_->setEnabled(!(now & WS_DISABLED));
  if (widget_->isWindow() && HasCaption(old) != HasCaption(now)) {
    const bool visible = widget_->isVisible();
    widget_->setWindowFlag(Qt::FramelessWindowHint, !HasCaption(now));
    if (visible) widget_->show();  // changing the flags hides a window
  }
  if ((old ^ now) & WS_VISIBLE) widget_->setVisible((now & WS_VISIBLE) != 0);
  return TRUE;
}

// ---- Text -------------------------------------------------------------------

void CWnd::SetWindowText(const char* text) {
  if (widget_) platform::SetWidgetText(widget_, text ? text : "");
}

int CWnd::GetWindowText(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  const std::string text = GetWindowTextString();
  platform::GbkCopyCut(buffer, (size_t)size, text.c_str());
  return (int)std::strlen(buffer);
}

void CWnd::GetWindowText(std::string& text) const { text = GetWindowTextString(); }

std::string CWnd::GetWindowTextString() const {
  return widget_ ? platform::GetWidgetText(widget_) : std::string();
}

int CWnd::GetWindowTextLength() const { return (int)GetWindowTextString().size(); }

void CWnd::SetDlgItemText(int id, const char* text) {
  if (QWidget* w = GetDlgItemWidget(id)) platform::SetWidgetText(w, text ? text : "");
}

int CWnd::GetDlgItemText(int id, char* buffer, int size) const {
  CWnd* item = GetDlgItem(id);
  if (!item) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  return item->GetWindowText(buffer, size);
}

int CWnd::GetDlgItemText(int id, std::string& text) const {
  QWidget* w = GetDlgItemWidget(id);
  text = w ? platform::GetWidgetText(w) : std::string();
  return (int)text.size();
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) {
  const std::string text = isSigned ? std::to_string((int)value) : std::to_string(value);
  SetDlgItemText(id, text.c_str());
}

UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const {
  if (translated) *translated = FALSE;
  std::string text;
  if (!GetDlgItemWidget(id)) return 0;
  GetDlgItemText(id, text);
  long long value = 0;
  if (!ParseInteger(text, isSigned != FALSE, &value)) return 0;
  if (translated) *translated = TRUE;
  return (UINT)(int64_t)value;
}

void CWnd::CheckDlgButton(int id, UINT check) {
  if (auto* b = qobject_cast<QAbstractButton*>(GetDlgItemWidget(id))) SetButtonCheck(b, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
  auto* b = qobject_cast<QAbstractButton*>(GetDlgItemWidget(id));
  return b ? GetButtonCheck(b) : BST_UNCHECKED;
}

void CWnd::CheckRadioButton(int firstId, int lastId, int check) {
  if (!widget_) return;
  for (QObject* c : widget_->children()) {
    auto* b = qobject_cast<QAbstractButton*>(c);
    if (!b) continue;
    bool ok = false;
    const int id = b->objectName().toInt(&ok);
    if (ok && id >= firstId && id <= lastId)
      SetButtonCheck(b, id == check ? BST_CHECKED : BST_UNCHECKED);
  }
}

// ---- Painting -----------------------------------------------------------------

void CWnd::Invalidate(BOOL) {
  if (QWidget* w = Viewport() ? Viewport() : widget_) w->update();
}

void CWnd::InvalidateRect(const RECT* rect, BOOL erase) {
  QWidget* w = Viewport() ? Viewport() : widget_;
  if (!w) return;
  if (rect) w->update(ToQRect(*rect));
  else Invalidate(erase);
}

void CWnd::UpdateWindow() {
  if (QWidget* w = Viewport() ? Viewport() : widget_) w->repaint();
}

BOOL CWnd::RedrawWindow(const RECT* rect, CRgn* region, UINT flags) {
  QWidget* w = Viewport() ? Viewport() : widget_;
  if (!w) return FALSE;
  QRegion area = rect ? QRegion(ToQRect(*rect))
                      : (region && region->Region() ? *region->Region() : QRegion(w->rect()));
  if (flags & RDW_INVALIDATE) w->update(area);
  if (flags & RDW_UPDATENOW) w->repaint(area);
  return TRUE;
}

BOOL CWnd::LockWindowUpdate() {
  if (!widget_) return FALSE;
  widget_->setUpdatesEnabled(false);
  return TRUE;
}

void CWnd::UnlockWindowUpdate() {
  if (widget_) widget_->setUpdatesEnabled(true);
}

int CWnd::SetWindowRgn(CRgn* region, BOOL redraw) {
  if (!widget_) return 0;
  if (region && region->Region()) widget_->setMask(*region->Region());
  else widget_->clearMask();
  if (redraw) widget_->update();
  return 1;
}

// ---- Input ------------------------------------------------------------------

CWnd* CWnd::SetFocus() {
  CWnd* previous = GetFocus();
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
  return previous;
}

CWnd* CWnd::GetFocus() { return FromWidget(QApplication::focusWidget()); }

CWnd* CWnd::SetCapture() {
  CWnd* previous = GetCapture();
  if (widget_) widget_->grabMouse();
  return previous;
}

CWnd* CWnd::GetCapture() { return FromWidget(QWidget::mouseGrabber()); }

BOOL ReleaseCapture() {
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  return TRUE;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track) return FALSE;
  CWnd* wnd = CWnd::FromHandle(track->hwndTrack);
  if (!wnd || !wnd->widget_) return FALSE;
  const DWORD kinds = track->dwFlags & (TME_HOVER | TME_LEAVE);
  if (track->dwFlags & TME_CANCEL) {
    wnd->trackFlags_ &= ~kinds;
    return TRUE;
  }
  wnd->trackFlags_ |= kinds;
  if (kinds & TME_HOVER) {
    // One single-shot timer per window, restarted by every mouse move.
    auto* timer = static_cast<QTimer*>(wnd->hoverTimer_);
    if (!timer) {
      timer = new QTimer(wnd->widget_);
      timer->setSingleShot(true);
      QObject::connect(timer, &QTimer::timeout, timer, [wnd] {
        QWidget* client = wnd->Viewport() ? wnd->Viewport() : wnd->widget_;
        if (!(wnd->trackFlags_ & TME_HOVER) || !client->underMouse()) return;
        wnd->trackFlags_ &= ~TME_HOVER;
        QPoint p = client->mapFromGlobal(QCursor::pos());
        wnd->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(p.x(), p.y()));
      });
      wnd->hoverTimer_ = timer;
    }
    timer->start(track->dwHoverTime == HOVER_DEFAULT || track->dwHoverTime == 0
                     ? 400
                     : (int)track->dwHoverTime);
  }
  return TRUE;
}

// ---- Messages, timers, font ---------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(GetSafeHwnd(), message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(GetSafeHwnd(), message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  return GetSafeHwnd() ? ::SetTimer(GetSafeHwnd(), id, elapseMs, proc) : 0;
}

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(GetSafeHwnd(), id); }

void CWnd::SetIcon(HICON icon, BOOL) {
  // An HICON is the QIcon that LoadIconFromImage keeps for the process.
  if (widget_) widget_->setWindowIcon(icon ? *reinterpret_cast<QIcon*>(icon) : QIcon());
}

void CWnd::SetFont(CFont* font, BOOL) {
  if (!widget_) return;
  widget_->setProperty(kFontProperty, QVariant::fromValue((quintptr)font));
  if (font && font->Data()) widget_->setFont(font->Data()->Resolved());
}

CFont* CWnd::GetFont() const {
  return widget_ ? reinterpret_cast<CFont*>(widget_->property(kFontProperty).value<quintptr>())
                 : nullptr;
}

// ---- The main window ------------------------------------------------------------

CWnd* AfxGetMainWnd() { return g_mainWnd; }
void SetMainWnd(CWnd* wnd) { g_mainWnd = wnd; }

void PostQuitMessage(int exitCode) {
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(
        app, [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}
