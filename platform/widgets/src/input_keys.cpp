// Virtual keys, key state, keyboard hooks and the application's keyboard
// filter.
//
// The filter sees every key event once, at the widget Qt delivers it to
// (the focus widget), before that widget does: it records the key state,
// runs the keyboard hooks, and offers the key, then its characters, to
// PreTranslateMessage of each window from the receiver up to the top-level
// window. An eaten key never reaches the widget; eaten characters are left
// out of the window's OnChar calls. Qt re-sends an ignored key event to the parents; those
// repeats are recognised and not offered again.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>
#include <bitset>
#include <vector>

#include "platform/gbk.h"
#include "platform/input.h"
#include "wnd_internal.h"

namespace platform {
namespace {

struct KeyPair {
  int qt;
  UINT vk;
  bool keypad;  // only with Qt::KeypadModifier
};

// One table for both directions: special keys, and the numeric pad.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK, false},
    {Qt::Key_Tab, VK_TAB, false},
    {Qt::Key_Backtab, VK_TAB, false},
    {Qt::Key_Clear, VK_CLEAR, false},
    {Qt::Key_Return, VK_RETURN, false},
    {Qt::Key_Enter, VK_RETURN, false},
    {Qt::Key_Shift, VK_SHIFT, false},
    {Qt::Key_Control, VK_CONTROL, false},
    {Qt::Key_Alt, VK_MENU, false},
    {Qt::Key_Pause, VK_PAUSE, false},
    {Qt::Key_CapsLock, VK_CAPITAL, false},
    {Qt::Key_Escape, VK_ESCAPE, false},
    {Qt::Key_Space, VK_SPACE, false},
    {Qt::Key_PageUp, VK_PRIOR, false},
    {Qt::Key_PageDown, VK_NEXT, false},
    {Qt::Key_End, VK_END, false},
    {Qt::Key_Home, VK_HOME, false},
    {Qt::Key_Left, VK_LEFT, false},
    {Qt::Key_Up, VK_UP, false},
    {Qt::Key_Right, VK_RIGHT, false},
    {Qt::Key_Down, VK_DOWN, false},
    {Qt::Key_Print, VK_SNAPSHOT, false},
    {Qt::Key_Insert, VK_INSERT, false},
    {Qt::Key_Delete, VK_DELETE, false},
    {Qt::Key_Help, VK_HELP, false},
    {Qt::Key_Meta, VK_LWIN, false},
    {Qt::Key_Menu, VK_APPS, false},
    {Qt::Key_NumLock, VK_NUMLOCK, false},
    {Qt::Key_ScrollLock, VK_SCROLL, false},
    {Qt::Key_Semicolon, VK_OEM_1, false},
    {Qt::Key_Equal, VK_OEM_PLUS, false},
    {Qt::Key_Comma, VK_OEM_COMMA, false},
    {Qt::Key_Minus, VK_OEM_MINUS, false},
    {Qt::Key_Period, VK_OEM_PERIOD, false},
    {Qt::Key_Slash, VK_OEM_2, false},
    {Qt::Key_QuoteLeft, VK_OEM_3, false},
    {Qt::Key_BracketLeft, VK_OEM_4, false},
    {Qt::Key_Backslash, VK_OEM_5, false},
    {Qt::Key_BracketRight, VK_OEM_6, false},
    {Qt::Key_Apostrophe, VK_OEM_7, false},
    {Qt::Key_Asterisk, VK_MULTIPLY, true},
    {Qt::Key_Plus, VK_ADD, true},
    {Qt::Key_Minus, VK_SUBTRACT, true},
    {Qt::Key_Period, VK_DECIMAL, true},
    {Qt::Key_Slash, VK_DIVIDE, true},
    {Qt::Key_Enter, VK_RETURN, true},
    {Qt::Key_Comma, VK_SEPARATOR, true},
};

// Shifted symbols of a US layout give the key they sit on.
constexpr KeyPair kShifted[] = {
    {Qt::Key_Exclam, '1', false},
    {Qt::Key_At, '2', false},
    {Qt::Key_NumberSign, '3', false},
    {Qt::Key_Dollar, '4', false},
    {Qt::Key_Percent, '5', false},
    {Qt::Key_AsciiCircum, '6', false},
    {Qt::Key_Ampersand, '7', false},
    {Qt::Key_Asterisk, '8', false},
    {Qt::Key_ParenLeft, '9', false},
    {Qt::Key_ParenRight, '0', false},
    {Qt::Key_Underscore, VK_OEM_MINUS, false},
    {Qt::Key_Plus, VK_OEM_PLUS, false},
    {Qt::Key_BraceLeft, VK_OEM_4, false},
    {Qt::Key_BraceRight, VK_OEM_6, false},
    {Qt::Key_Bar, VK_OEM_5, false},
    {Qt::Key_Colon, VK_OEM_1, false},
    {Qt::Key_QuoteDbl, VK_OEM_7, false},
    {Qt::Key_Less, VK_OEM_COMMA, false},
    {Qt::Key_Greater, VK_OEM_PERIOD, false},
    {Qt::Key_Question, VK_OEM_2, false},
    {Qt::Key_AsciiTilde, VK_OEM_3, false},
};

// Keys held down, and the modifiers of the last input event.
std::bitset<256> g_down;
Qt::KeyboardModifiers g_modifiers;

// The key event being delivered whose characters were eaten.
const QEvent* g_charsEaten = nullptr;
// The widget that took the last mouse event (SetCursor's target).
QPointer<QWidget> g_mouseWidget;

// Keyboard hooks, newest first. A hook is its own handle.
struct KeyboardHook {
  HOOKPROC proc;
};
std::vector<KeyboardHook*> g_hooks;

// Runs the newest hook (which calls on to the next ones); true when the
// event is swallowed.
bool RunKeyboardHooks(UINT vk, LPARAM keyData) {
  if (g_hooks.empty()) return false;
  return g_hooks.front()->proc(HC_ACTION, vk, keyData) != 0;
}

class KeyboardFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  // Every event of the application passes here, also those Qt sends to its
  // own internal objects (the web engine's offscreen Quick window while a
  // view is torn down), whose classes carry no type information the
  // sanitizer can check; the filter only reads QObject's own flags.
  __attribute__((no_sanitize("vptr"))) bool eventFilter(QObject* receiver, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
        type == QEvent::MouseMove || type == QEvent::Wheel) {
      g_modifiers = static_cast<QInputEvent*>(event)->modifiers();
      if (receiver->isWidgetType()) g_mouseWidget = static_cast<QWidget*>(receiver);
      return false;
    }
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !receiver->isWidgetType())
      return false;
    auto* ke = static_cast<QKeyEvent*>(event);
    auto* widget = static_cast<QWidget*>(receiver);
    if (IsRepeatToParent(ke, widget)) return false;
    last_ = ke;
    lastType_ = type;
    lastKey_ = ke->key();
    lastTime_ = ke->timestamp();
    lastReceiver_ = widget;
    const UINT vk = detail::VkOfKeyEvent(ke);
    if (vk && RunKeyboardHooks(vk, detail::KeyData(ke, vk, type == QEvent::KeyPress))) return true;
    return Offer(ke, widget);
  }

 private:
  // Qt hands an ignored key event on to the receiver's parents.
  bool IsRepeatToParent(const QKeyEvent* ke, QWidget* widget) const {
    if (ke != last_ || ke->type() != lastType_ || ke->key() != lastKey_ ||
        ke->timestamp() != lastTime_ || !lastReceiver_)
      return false;
    return widget != lastReceiver_ && widget->isAncestorOf(lastReceiver_);
  }

  bool Offer(QKeyEvent* ke, QWidget* receiver) {
    const bool down = ke->type() == QEvent::KeyPress;
    const UINT vk = detail::VkOfKeyEvent(ke);
    g_modifiers = ke->modifiers();
    if (vk && vk < 256) g_down[vk] = down;
    if (g_charsEaten == ke) g_charsEaten = nullptr;
    if (!vk && ke->text().isEmpty()) return false;
    if (!HasWindowUp(receiver)) return false;
    const bool sys = detail::IsSysKey(ke, vk);
    MSG msg;
    msg.hwnd = CWnd::FromWidget(receiver)->GetSafeHwnd();
    msg.lParam = detail::KeyData(ke, vk, down);
    msg.time = (DWORD)ke->timestamp();
    if (vk) {
      msg.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
      msg.wParam = vk;
      if (OfferUp(&msg, receiver)) return true;
    }
    if (!down) return false;
    const std::string bytes = QStringToGbk(ke->text());
    bool eaten = false;
    for (unsigned char ch : bytes) {
      if (ch == 0x7F) continue;
      msg.message = sys ? WM_SYSCHAR : WM_CHAR;
      msg.wParam = ch;
      eaten = OfferUp(&msg, receiver) || eaten;
    }
    if (!eaten) return false;
    // A window gets the key without the characters; a plain Qt widget
    // cannot take one without the other, so it loses both.
    CWnd* wnd = detail::LookupWnd(receiver);
    if (wnd && wnd->IsCreated()) {
      g_charsEaten = ke;
      return false;
    }
    return true;
  }

  static bool HasWindowUp(QWidget* receiver) {
    for (QWidget* w = receiver; w; w = w->parentWidget()) {
      CWnd* wnd = detail::LookupWnd(w);
      if (wnd && wnd->IsCreated()) return true;
      if (w->isWindow()) break;
    }
    return false;
  }

  static bool OfferUp(MSG* msg, QWidget* receiver) {
    for (QWidget* w = receiver; w; w = w->parentWidget()) {
      CWnd* wnd = detail::LookupWnd(w);
      if (wnd && wnd->IsCreated() && wnd->PreTranslateMessage(msg)) return true;
      if (w->isWindow()) break;
    }
    return false;
  }

  const QKeyEvent* last_ = nullptr;
  QEvent::Type lastType_ = QEvent::None;
  int lastKey_ = 0;
  quint64 lastTime_ = 0;
  QPointer<QWidget> lastReceiver_;
};

QPointer<QCoreApplication> g_filteredApp;

}  // namespace

UINT QtKeyToVk(int qtKey, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return (UINT)qtKey;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return keypad ? VK_NUMPAD0 + (UINT)(qtKey - Qt::Key_0) : (UINT)qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (UINT)(qtKey - Qt::Key_F1);
  for (const KeyPair& k : kKeys)
    if (k.qt == qtKey && k.keypad == keypad) return k.vk;
  for (const KeyPair& k : kKeys)  // keypad navigation keys (Num Lock off)
    if (k.qt == qtKey && !k.keypad) return k.vk;
  for (const KeyPair& k : kShifted)
    if (k.qt == qtKey) return k.vk;
  return 0;
}

int VkToQtKey(UINT vk, Qt::KeyboardModifiers* extra) {
  if (extra) *extra = Qt::NoModifier;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return (int)vk;
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) {
    if (extra) *extra = Qt::KeypadModifier;
    return Qt::Key_0 + (int)(vk - VK_NUMPAD0);
  }
  if (vk >= VK_F1 && vk <= VK_F24) return Qt::Key_F1 + (int)(vk - VK_F1);
  for (const KeyPair& k : kKeys) {
    if (k.vk != vk || (vk == VK_RETURN && k.keypad)) continue;
    if (k.keypad && extra) *extra = Qt::KeypadModifier;
    return k.qt;
  }
  return 0;
}

namespace detail {

UINT VkOfKeyEvent(const QKeyEvent* event) { return QtKeyToVk(event->key(), event->modifiers()); }

bool IsSysKey(const QKeyEvent* event, UINT vk) {
  const Qt::KeyboardModifiers m = event->modifiers();
  if (vk == VK_F10 || vk == VK_MENU) return !(m & Qt::ControlModifier);
  return (m & Qt::AltModifier) && !(m & Qt::ControlModifier);
}

LPARAM KeyData(const QKeyEvent* event, UINT vk, bool down) {
  DWORD data = (DWORD)std::max(1, event->count()) & 0xFFFF;
  data |= (event->nativeScanCode() & 0xFF) << 16;
  const bool keypad = event->modifiers() & Qt::KeypadModifier;
  const bool extended =
      (!keypad && ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE)) ||
      (keypad && (vk == VK_RETURN || vk == VK_DIVIDE));
  if (extended) data |= 1u << 24;
  if (event->modifiers() & Qt::AltModifier) data |= 1u << 29;
  if (!down || event->isAutoRepeat()) data |= 1u << 30;  // the key was down before
  if (!down) data |= 1u << 31;
  return (LPARAM)data;
}

bool CharsEaten(const QEvent* event) { return event == g_charsEaten; }

QWidget* MouseWidget() { return g_mouseWidget; }

void EnsureInputFilter() {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || g_filteredApp == app) return;
  g_filteredApp = app;
  app->installEventFilter(new KeyboardFilter(app));
}

}  // namespace detail
}  // namespace platform

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, void*, DWORD) {
  if (idHook != WH_KEYBOARD || !proc) return nullptr;
  platform::detail::EnsureInputFilter();
  auto* hook = new platform::KeyboardHook{proc};
  platform::g_hooks.insert(platform::g_hooks.begin(), hook);
  return reinterpret_cast<HHOOK>(hook);
}

BOOL UnhookWindowsHookEx(HHOOK handle) {
  auto* hook = reinterpret_cast<platform::KeyboardHook*>(handle);
  auto found = std::find(platform::g_hooks.begin(), platform::g_hooks.end(), hook);
  if (found == platform::g_hooks.end()) return FALSE;
  platform::g_hooks.erase(found);
  delete hook;
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK handle, int code, WPARAM wParam, LPARAM lParam) {
  auto* hook = reinterpret_cast<platform::KeyboardHook*>(handle);
  auto found = std::find(platform::g_hooks.begin(), platform::g_hooks.end(), hook);
  if (found == platform::g_hooks.end() || ++found == platform::g_hooks.end()) return 0;
  return (*found)->proc(code, wParam, lParam);
}

short GetKeyState(int vk) {
  bool down = false;
  switch (vk) {
    case VK_SHIFT: down = platform::g_modifiers & Qt::ShiftModifier; break;
    case VK_CONTROL: down = platform::g_modifiers & Qt::ControlModifier; break;
    case VK_MENU: down = platform::g_modifiers & Qt::AltModifier; break;
    case VK_LBUTTON: down = QGuiApplication::mouseButtons() & Qt::LeftButton; break;
    case VK_RBUTTON: down = QGuiApplication::mouseButtons() & Qt::RightButton; break;
    case VK_MBUTTON: down = QGuiApplication::mouseButtons() & Qt::MiddleButton; break;
    default: down = vk > 0 && vk < 256 && platform::g_down[(size_t)vk]; break;
  }
  return down ? (short)0x8000 : 0;
}

short GetAsyncKeyState(int vk) { return GetKeyState(vk); }
