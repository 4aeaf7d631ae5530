// The one dispatch: Qt events become the WM_ messages a window would get,
// every message goes through WindowProc, and WindowProc calls the handlers.
//
// Input mapping guarantees: mouse tracking is on; a double click arrives as
// down, up, double click, up (Qt never delivers a second press to a
// widget); Tab reaches the focus window as OnKeyDown and only the base
// handler moves the focus on; keys with Alt held arrive as OnSysKeyDown
// without characters; bit 30 of the key data marks an auto-repeat; wheel
// deltas come in 120 per notch. Input events are accepted whatever the
// handler does, so they never propagate to a Qt parent.
//
// Notifications (size, show, focus, enabling, activation) run Qt's own
// handling before the handler, so a handler that skips the base cannot
// leave a Qt widget half updated; input and paint run it only through
// Default().
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <optional>

#include "platform/gbk.h"
#include "platform/input.h"
#include "wnd_internal.h"

using namespace platform::detail;
using platform::WndFrame;

namespace {

UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  UINT flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (mods & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton button) {
  const int column = button == Qt::RightButton ? 1 : button == Qt::MiddleButton ? 2 : 0;
  static const UINT table[3][3] = {
      {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
      {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK},
      {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK},
  };
  const int row = type == QEvent::MouseButtonPress ? 0 : type == QEvent::MouseButtonRelease ? 1 : 2;
  return table[column][row];
}

CPoint PointOf(LPARAM l) { return CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l)); }

}  // namespace

// ---- WindowProc and Default ----------------------------------------------------

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The Qt event in flight is this call's when its message matches and no
  // other call took it; a message sent from a handler gets its own frame.
  std::optional<WndFrame> own;
  if (frame_ && frame_->event && !frame_->claimed && frame_->message == message)
    frame_->claimed = true;
  else own.emplace(this, nullptr, false, message);
  return Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_SIZE: OnSize((UINT)wParam, (int)LOWORD(lParam), (int)HIWORD(lParam)); return 0;
    case WM_SHOWWINDOW: OnShowWindow((BOOL)wParam, (UINT)lParam); return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam));
      return 0;
    case WM_ENABLE: OnEnable((BOOL)wParam); return 0;
    case WM_PAINT:
      if (!frame_->event || frame_->event->type() != QEvent::Paint) {
        // Sent from code: paint now through Qt, which comes back here.
        if (QWidget* w = Viewport() ? Viewport() : widget_) w->repaint();
        return 0;
      }
      OnPaint();
      return 0;
    case WM_ERASEBKGND: return OnEraseBkgnd(reinterpret_cast<CDC*>(wParam));
    case WM_TIMER: OnTimer((UINT_PTR)wParam); return 0;
    case WM_KEYDOWN: OnKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_KEYUP: OnKeyUp((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_CHAR: OnChar((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SYSKEYDOWN: OnSysKeyDown((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETFOCUS: OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_KILLFOCUS: OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam))); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown((UINT)wParam, PointOf(lParam)); return 0;
    case WM_LBUTTONUP: OnLButtonUp((UINT)wParam, PointOf(lParam)); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk((UINT)wParam, PointOf(lParam)); return 0;
    case WM_RBUTTONDOWN: OnRButtonDown((UINT)wParam, PointOf(lParam)); return 0;
    case WM_RBUTTONUP: OnRButtonUp((UINT)wParam, PointOf(lParam)); return 0;
    case WM_MOUSEMOVE: OnMouseMove((UINT)wParam, PointOf(lParam)); return 0;
    case WM_MOUSEWHEEL:
      return OnMouseWheel(LOWORD(wParam), (short)HIWORD(wParam), PointOf(lParam)) ? 0 : 1;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_MOUSEHOVER: OnMouseHover((UINT)wParam, PointOf(lParam)); return 0;
    // As the framework answers a sent command: 1 when a handler took it, so
    // a sender can tell (a tool bar's drop-down asks its frame this way).
    case WM_COMMAND: return OnCommand(wParam, lParam) ? 1 : Default();
    case WM_SYSCOMMAND: OnSysCommand((UINT)wParam, lParam); return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<CDC*>(wParam),
                                                  FromHandle(reinterpret_cast<HWND>(lParam)),
                                                  message - WM_CTLCOLORMSGBOX));
    case WM_NCHITTEST: return OnNcHitTest(PointOf(lParam));
    case WM_HOTKEY: OnHotKey((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    default: return Default();
  }
}

LRESULT CWnd::Default() {
  WndFrame* frame = frame_;
  if (!frame || !frame->event) return 0;
  if (frame->message == WM_ERASEBKGND) return 1;  // Qt fills the background itself
  if (frame->defaultRan) return frame->defaultResult;
  frame->defaultRan = true;
  // Qt's painting needs the widget to itself.
  if (frame->painter && frame->painter->isActive()) frame->painter->end();
  frame->defaultResult = QtDefault(frame->event, frame->viewport);
  return frame->defaultResult;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
bool CWnd::QtDefault(QEvent*, bool) { return false; }

// ---- Default handlers -----------------------------------------------------------

int CWnd::OnCreate(LPCREATESTRUCT) { return 0; }
void CWnd::OnDestroy() {}
void CWnd::OnClose() { DestroyWindow(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnUpdateCmdUI(CCmdUI*) { return FALSE; }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return nullptr; }
int CWnd::OnNcHitTest(CPoint) { return HTCLIENT; }
void CWnd::OnHotKey(UINT, UINT, UINT) {}

void CWnd::OnSysCommand(UINT id, LPARAM) {
  switch (id & 0xFFF0) {
    case SC_CLOSE: SendMessage(WM_CLOSE); break;
    case SC_MINIMIZE: ShowWindow(SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(SW_RESTORE); break;
    default: Default(); break;
  }
}

// ---- Qt events to messages -------------------------------------------------------

void CWnd::DeliverSize() {
  QWidget* client = Viewport() ? Viewport() : widget_;
  if (!client) return;
  const int type = widget_->isMinimized()   ? SIZE_MINIMIZED
                   : widget_->isMaximized() ? SIZE_MAXIMIZED
                                            : SIZE_RESTORED;
  const QSize size = client->size();
  if (type == lastSizeType_ && size == lastSize_) return;  // Qt repeats sizes on show
  lastSizeType_ = type;
  lastSize_ = size;
  WindowProc(WM_SIZE, (WPARAM)type, MAKELPARAM(size.width(), size.height()));
}

bool CWnd::RouteEvent(QEvent* event, bool viewport) {
  if (dying_ || !routes_) return QtDefault(event, viewport);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      RouteMouse(event, viewport);
      event->accept();
      return true;
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(event);
      const int delta = we->angleDelta().y();
      if (delta != 0) {
        QPoint g = ClampToCursorClip(we->globalPosition().toPoint());
        WndFrame frame(this, event, viewport, WM_MOUSEWHEEL);
        WindowProc(WM_MOUSEWHEEL,
                   MAKEWPARAM(MouseKeyFlags(we->buttons(), we->modifiers()), (WORD)(short)delta),
                   MAKELPARAM(g.x(), g.y()));
      }
      event->accept();
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (viewport) return QtDefault(event, viewport);
      RouteKey(event);
      event->accept();
      return true;
    case QEvent::Paint: RoutePaint(event, viewport); return true;
    case QEvent::Leave: {
      const bool result = QtDefault(event, viewport);
      if (trackFlags_ & TME_LEAVE) {
        trackFlags_ &= ~TME_LEAVE;
        WindowProc(WM_MOUSELEAVE, 0, 0);
      }
      return result;
    }
    case QEvent::ContextMenu:
      QtDefault(event, viewport);
      event->accept();
      return true;
    default: break;
  }
  if (viewport) return QtDefault(event, viewport);

  // Notifications: Qt's handling first, then the handler.
  switch (event->type()) {
    case QEvent::Resize:
    case QEvent::WindowStateChange: {
      const bool result = QtDefault(event, false);
      DeliverSize();
      return result;
    }
    case QEvent::Show:
    case QEvent::Hide: {
      const bool result = QtDefault(event, false);
      WindowProc(WM_SHOWWINDOW, event->type() == QEvent::Show, 0);
      return result;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      const bool result = QtDefault(event, false);
      if (event->type() == QEvent::FocusIn) {
        WindowProc(WM_SETFOCUS, 0, 0);
      } else {
        CWnd* next = FromWidget(QApplication::focusWidget());
        WindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next ? next->GetSafeHwnd() : nullptr), 0);
      }
      return result;
    }
    case QEvent::EnabledChange: {
      const bool result = QtDefault(event, false);
      WindowProc(WM_ENABLE, widget_->isEnabled(), 0);
      return result;
    }
    case QEvent::ActivationChange: {
      const bool result = QtDefault(event, false);
      if (widget_->isWindow())
        WindowProc(
            WM_ACTIVATE,
            MAKEWPARAM(widget_->isActiveWindow() ? WA_ACTIVE : WA_INACTIVE, widget_->isMinimized()),
            0);
      return result;
    }
    case QEvent::Close:
      // The handler decides: OnClose destroys (hides) the window, a dialog
      // ends itself; Qt never closes it behind the handler's back.
      WindowProc(WM_CLOSE, 0, 0);
      event->ignore();
      return true;
    default: return QtDefault(event, false);
  }
}

void CWnd::RouteMouse(QEvent* event, bool viewport) {
  auto* me = static_cast<QMouseEvent*>(event);
  const QEvent::Type type = event->type();
  const QPoint rawGlobal = me->globalPosition().toPoint();
  const QPoint global = ClampToCursorClip(rawGlobal);
  const QPoint local = me->position().toPoint() + (global - rawGlobal);
  const UINT flags = MouseKeyFlags(me->buttons(), me->modifiers());
  const bool frameless =
      !viewport && widget_->isWindow() && (widget_->windowFlags() & Qt::FramelessWindowHint);

  if (dragging_) {
    // A manual caption drag (no window manager move): follow the mouse.
    if (type == QEvent::MouseMove) {
      widget_->move(global.x() - dragOrigin_.x, global.y() - dragOrigin_.y);
      return;
    }
    if (type == QEvent::MouseButtonRelease && me->button() == Qt::LeftButton) {
      dragging_ = false;
      return;
    }
  }
  if (frameless && type == QEvent::MouseButtonPress && me->button() == Qt::LeftButton &&
      WindowProc(WM_NCHITTEST, 0, MAKELPARAM(global.x(), global.y())) == HTCAPTION) {
    QWindow* window = widget_->windowHandle();
    if (!window || !window->startSystemMove()) {
      dragging_ = true;
      dragOrigin_ = POINT{global.x() - widget_->x(), global.y() - widget_->y()};
    }
    return;
  }

  const UINT message = type == QEvent::MouseMove ? WM_MOUSEMOVE : ButtonMessage(type, me->button());
  WndFrame frame(this, event, viewport, message);
  WindowProc(message, flags, MAKELPARAM(local.x(), local.y()));
  if (type == QEvent::MouseMove && (trackFlags_ & TME_HOVER) && hoverTimer_)
    static_cast<QTimer*>(hoverTimer_)->start();
}

void CWnd::RouteKey(QEvent* event) {
  auto* ke = static_cast<QKeyEvent*>(event);
  const bool down = event->type() == QEvent::KeyPress;
  const UINT vk = VkOfKeyEvent(ke);
  const bool sys = IsSysKey(ke, vk);
  const LPARAM data = KeyData(ke, vk, down);
  WndFrame frame(this, event, false, 0);
  bool delivered = false;
  if (vk) {
    frame.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
    WindowProc(frame.message, vk, data);
    delivered = true;
  }
  if (down && !CharsEaten(event)) {
    // Characters follow the key as Win32's TranslateMessage makes them: one
    // message per GBK byte; Delete types nothing.
    const std::string bytes = platform::QStringToGbk(ke->text());
    for (unsigned char ch : bytes) {
      if (ch == 0x7F) continue;
      frame.message = sys ? WM_SYSCHAR : WM_CHAR;
      frame.claimed = false;
      WindowProc(frame.message, ch, data);
      delivered = true;
    }
  }
  if (!delivered) Default();  // a key with no virtual key and no text: Qt's own
}

void CWnd::RoutePaint(QEvent* event, bool viewport) {
  QWidget* device = viewport ? Viewport() : widget_;
  auto* pe = static_cast<QPaintEvent*>(event);
  WndFrame frame(this, event, viewport, WM_ERASEBKGND);
  frame.paintRect = FromQRect(pe->rect());
  frame.painter = std::make_unique<QPainter>(device);
  {
    CDC dc;
    dc.AttachPainter(frame.painter.get());
    WindowProc(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&dc), 0);
  }
  frame.message = WM_PAINT;
  frame.claimed = false;
  WindowProc(WM_PAINT, 0, 0);
}

QPainter* CWnd::PaintPainter(RECT* paintRect) {
  for (WndFrame* f = frame_; f; f = f->prev) {
    if (f->event && f->event->type() == QEvent::Paint) {
      if (paintRect) *paintRect = f->paintRect;
      return f->painter && f->painter->isActive() ? f->painter.get() : nullptr;
    }
  }
  return nullptr;
}

CPaintDC::CPaintDC(CWnd* wnd) {
  m_ps.rcPaint = RECT{};
  if (QPainter* painter = wnd ? wnd->PaintPainter(&m_ps.rcPaint) : nullptr) AttachPainter(painter);
}
