// What the window layer's own files share: the frame of the message a
// window handles now, the widget-to-window registry and the properties the
// layer keeps on widgets. Not part of the layer's interface.
#pragma once
#include <QPainter>
#include <QPointer>
#include <memory>

#include "gdi_internal.h"
#include "platform/wnd.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QKeyEvent;

namespace platform {

// The frame links itself into its window for the length of its scope and
// unlinks in its destructor; GCC cannot see that and warns.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
#endif

// One message a window is handling, with the Qt event it came from (null
// for a sent or posted message). Frames nest as handlers send messages;
// Default() reads the innermost one.
struct WndFrame {
  WndFrame(CWnd* wnd, QEvent* event, bool viewport, UINT message)
      : wnd(wnd), event(event), viewport(viewport), message(message), prev(wnd->frame_) {
    wnd->frame_ = this;
  }
  ~WndFrame() {
    if (painter && painter->isActive()) painter->end();
    wnd->frame_ = prev;
  }
  WndFrame(const WndFrame&) = delete;
  WndFrame& operator=(const WndFrame&) = delete;

  CWnd* wnd;
  QEvent* event;
  bool viewport;
  UINT message;
  bool claimed = false;     // WindowProc took this frame for its message
  bool defaultRan = false;  // Qt's handling ran (once per event)
  bool defaultResult = false;
  std::unique_ptr<QPainter> painter;  // the paint in flight
  RECT paintRect;
  WndFrame* prev;
};

#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic pop
#endif

namespace detail {

using gdi_detail::FromQRect;
using gdi_detail::ToQRect;

// The window of a widget (routing or attached) without attaching one.
CWnd* LookupWnd(const QWidget* widget);
// The style bits the layer keeps on a widget.
DWORD StoredStyle(const QWidget* widget);
void SetStoredStyle(QWidget* widget, DWORD style);
// Controls the layer made from a table (deleted when their window is destroyed).
void MarkLayerOwned(QWidget* widget);
bool IsLayerOwned(const QWidget* widget);
// Windows that took a table control's place: they leave their parent when
// it is destroyed, and their owner deletes them.
void MarkSubclassed(QWidget* widget);
bool IsSubclassed(const QWidget* widget);

// A handle-only window on a plain Qt widget: the members of Base work on
// the widget, no handler runs for its events; it deletes itself with the
// widget (and when its parent window is destroyed: made again on demand).
template <class Base>
class AttachedWindow final : public Base {
 public:
  explicit AttachedWindow(QWidget* widget) {
    this->BindWidget(widget, false);
    widgetGone_ = QObject::connect(widget, &QObject::destroyed, [this] { delete this; });
  }
  ~AttachedWindow() override {
    QObject::disconnect(widgetGone_);
    this->UnbindWidget();
  }

 private:
  QMetaObject::Connection widgetGone_;
};
// dialog_controls.cpp: a label's SS_ alignment, wrapping and frame.
void ApplyStaticStyle(QLabel* label, DWORD style);
// dialog_controls.cpp: gives `to` the OnCtlColor colouring `from` has.
void CopyCtlColor(QWidget* from, QWidget* to);

// The attached window for a plain widget, typed by its kind (a QComboBox
// is reached as a CComboBox, an edit as a CEdit ...: control_windows.cpp).
CWnd* AttachWindow(QWidget* widget);
// Checks, unchecks (also the last radio button of an exclusive group) or
// half-checks a button without notifying.
void SetButtonCheck(QAbstractButton* button, UINT state);
UINT GetButtonCheck(const QAbstractButton* button);
// An integer as Win32 reads one from a control: surrounding spaces, an
// optional minus sign when signed, digits; in the range of int (signed) or
// unsigned int. False for anything else.
bool ParseInteger(std::string_view text, bool isSigned, long long* value);
// Places a control; a combo box keeps its edit height and shows the rest
// of the height as its drop-down list.
void SetControlGeometry(QWidget* widget, const RECT& rect);
// The height it was last given, edit and list together.
constexpr char kDroppedHeightProperty[] = "zebDroppedHeight";
int DroppedHeight(const QComboBox* combo);

// input.cpp: the application's keyboard filter (installed once per
// application object); whether the filter ate the characters of a key
// event that goes on to its window; the virtual key and key data of an event.
void EnsureInputFilter();
bool CharsEaten(const QEvent* event);
// The widget that took the last mouse event.
QWidget* MouseWidget();
UINT VkOfKeyEvent(const QKeyEvent* event);
// Whether a key event is a system key (Alt held without Ctrl, or F10).
bool IsSysKey(const QKeyEvent* event, UINT vk);
LPARAM KeyData(const QKeyEvent* event, UINT vk, bool down);
// cursor.cpp: a screen point kept inside the ClipCursor rectangle.
QPoint ClampToCursorClip(QPoint global);
// Set on a window whose tray icon has no tray to sit in: ShowWindow
// minimises it where it would hide it, so the user can bring it back.
constexpr char kMinimiseForHide[] = "zebMinimiseForHide";
}  // namespace detail
}  // namespace platform
