// CSpinButtonCtrl: two arrow buttons that step a position within a range,
// optionally kept in a buddy window's text. The stepping itself is
// SpinRange's (plain arithmetic); the control reads the buddy, steps,
// writes the buddy back and tells its window, for a click, a held arrow
// (the repeat timer) or the buddy's Up and Down keys.
#include <QKeyEvent>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/gbk.h"
#include "wnd_internal.h"

using namespace platform::detail;

namespace platform {

int SpinRange::Clamp(int pos) const {
  return std::clamp(pos, std::min(lower, upper), std::max(lower, upper));
}

int SpinRange::Step(int pos, int delta) const {
  // Progress from lower towards upper, in 64 bits: ranges may span all of int.
  const long long direction = upper >= lower ? 1 : -1;
  const long long span = ((long long)upper - lower) * direction;
  long long progress = ((long long)Clamp(pos) - lower) * direction + delta;
  if (progress > span) progress = wrap ? 0 : span;
  if (progress < 0) progress = wrap ? span : 0;
  return (int)(lower + progress * direction);
}

}  // namespace platform

namespace {

constexpr UINT kFirstRepeatMs = 500, kRepeatMs = 50;

// The position as text: groups of three digits with commas unless
// UDS_NOTHOUSANDS; base 16 as 0x....
std::string FormatPos(int pos, int base, bool thousands) {
  if (base == 16) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%04X", (unsigned)pos);
    return hex;
  }
  const std::string digits = std::to_string(pos < 0 ? -(long long)pos : (long long)pos);
  std::string text = pos < 0 ? "-" : "";
  for (size_t i = 0; i < digits.size(); ++i) {
    if (thousands && i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

// The buddy's text as a position: commas and spaces ignored.
bool ParsePos(std::string text, int base, int* pos) {
  text.erase(std::remove(text.begin(), text.end(), ','), text.end());
  if (base == 16) {
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (end == text.c_str() || errno || value > 0xFFFFFFFFul) return false;
    while (*end == ' ') ++end;
    if (*end) return false;
    *pos = (int)(unsigned)value;
    return true;
  }
  long long value = 0;
  if (!ParseInteger(text, true, &value)) return false;
  *pos = (int)value;
  return true;
}

}  // namespace

// Up and Down in the buddy step the control (UDS_ARROWKEYS).
class CSpinButtonCtrl::BuddyKeys : public QObject {
 public:
  explicit BuddyKeys(CSpinButtonCtrl* spin) : QObject(spin), spin_(spin) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !spin_->isEnabled()) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
    spin_->Spin(key == Qt::Key_Up ? 1 : -1);
    spin_->Notify(SB_ENDSCROLL);
    return true;
  }

 private:
  CSpinButtonCtrl* spin_;
};

CSpinButtonCtrl::CSpinButtonCtrl() : keys_(new BuddyKeys(this)) {}

CSpinButtonCtrl::~CSpinButtonCtrl() {
  if (buddy_) buddy_->removeEventFilter(keys_);
}

int CSpinButtonCtrl::OnCreate(LPCREATESTRUCT cs) {
  range_.wrap = (cs->style & UDS_WRAP) != 0;
  if ((cs->style & UDS_AUTOBUDDY) && parentWidget()) {
    // The control made just before this one.
    const QObjectList& siblings = parentWidget()->children();
    for (qsizetype i = siblings.indexOf(this) - 1; i >= 0; --i) {
      if (siblings[i]->isWidgetType()) {
        SetBuddy(FromWidget(static_cast<QWidget*>(siblings[i])));
        break;
      }
    }
  }
  return CWndImpl<QWidget>::OnCreate(cs);
}

void CSpinButtonCtrl::OnDestroy() {
  KillTimer(kRepeatTimer);
  pressed_ = 0;
  CWndImpl<QWidget>::OnDestroy();
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
  CWnd* previous = GetBuddy();
  if (buddy_) buddy_->removeEventFilter(keys_);
  buddy_ = buddy ? buddy->GetWidget() : nullptr;
  if (!buddy_) return previous;
  const DWORD style = GetStyle();
  if (style & UDS_ARROWKEYS) buddy_->installEventFilter(keys_);
  if ((style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) && buddy_->parentWidget() == parentWidget()) {
    // The control takes its width off the buddy's edge and the buddy's height.
    const QRect b = buddy_->geometry();
    const int w = std::min(width(), b.width());
    if (style & UDS_ALIGNRIGHT) {
      buddy_->setGeometry(b.x(), b.y(), b.width() - w, b.height());
      setGeometry(b.right() + 1 - w, b.y(), w, b.height());
    } else {
      buddy_->setGeometry(b.x() + w, b.y(), b.width() - w, b.height());
      setGeometry(b.x(), b.y(), w, b.height());
    }
  }
  return previous;
}

CWnd* CSpinButtonCtrl::GetBuddy() const { return buddy_ ? FromWidget(buddy_) : nullptr; }

void CSpinButtonCtrl::SetRange32(int lower, int upper) {
  range_.lower = lower;
  range_.upper = upper;
  update();
}

DWORD CSpinButtonCtrl::GetRange() const { return (DWORD)MAKELONG(range_.upper, range_.lower); }

void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  lower = range_.lower;
  upper = range_.upper;
}

int CSpinButtonCtrl::SetPos32(int pos) {
  const int previous = GetPos32();
  pos_ = range_.Clamp(pos);
  WriteBuddy();
  return previous;
}

int CSpinButtonCtrl::GetPos32(BOOL* error) const {
  if (error) *error = FALSE;
  if (buddy_ && (GetStyle() & UDS_SETBUDDYINT)) {
    int pos = 0;
    if (!ParsePos(platform::GetWidgetText(buddy_), base_, &pos) || pos != range_.Clamp(pos)) {
      if (error) *error = TRUE;
      return pos_;
    }
    return pos;
  }
  return pos_;
}

DWORD CSpinButtonCtrl::GetPos() const {
  BOOL error = FALSE;
  const int pos = GetPos32(&error);
  return (DWORD)MAKELONG(pos, error ? 1 : 0);
}

int CSpinButtonCtrl::SetBase(int base) {
  if (base != 10 && base != 16) return 0;
  const int previous = base_;
  base_ = base;
  return previous;
}

void CSpinButtonCtrl::WriteBuddy() {
  if (buddy_ && (GetStyle() & UDS_SETBUDDYINT))
    platform::SetWidgetText(buddy_, FormatPos(pos_, base_, !(GetStyle() & UDS_NOTHOUSANDS)));
}

void CSpinButtonCtrl::Spin(int delta) {
  // What the user typed into the buddy counts, when it reads as a number.
  int from = pos_;
  if (buddy_ && (GetStyle() & UDS_SETBUDDYINT)) {
    int typed = 0;
    if (ParsePos(platform::GetWidgetText(buddy_), base_, &typed)) from = typed;
  }
  pos_ = range_.Step(from, delta);
  WriteBuddy();
  Notify(SB_THUMBPOSITION);
}

void CSpinButtonCtrl::Notify(UINT code) {
  CWnd* parent = GetParent();
  if (!parent) return;
  const UINT message = (GetStyle() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  ::SendMessage(parent->GetSafeHwnd(), message, MAKEWPARAM(code, (WORD)(short)pos_),
                reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

int CSpinButtonCtrl::ArrowAt(CPoint point) const {
  if (GetStyle() & UDS_HORZ) return point.x >= width() / 2 ? 1 : -1;
  return point.y < height() / 2 ? 1 : -1;
}

void CSpinButtonCtrl::OnLButtonDown(UINT, CPoint point) {
  if (!isEnabled()) return;
  pressed_ = ArrowAt(point);  // Qt keeps the mouse here until the release
  Spin(pressed_);
  SetTimer(kRepeatTimer, kFirstRepeatMs);
  update();
}

void CSpinButtonCtrl::OnLButtonUp(UINT, CPoint) {
  if (!pressed_) return;
  pressed_ = 0;
  KillTimer(kRepeatTimer);
  Notify(SB_ENDSCROLL);
  update();
}

void CSpinButtonCtrl::OnTimer(UINT_PTR id) {
  if (id != kRepeatTimer) {
    CWndImpl<QWidget>::OnTimer(id);
    return;
  }
  if (!pressed_) {
    KillTimer(kRepeatTimer);
    return;
  }
  SetTimer(kRepeatTimer, kRepeatMs);  // faster once the arrow is held
  Spin(pressed_);
}

void CSpinButtonCtrl::OnPaint() {
  CPaintDC dc(this);
  RECT client;
  GetClientRect(&client);
  const bool horizontal = (GetStyle() & UDS_HORZ) != 0;
  const COLORREF arrow = isEnabled() ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  for (int which : {1, -1}) {
    // Up (or right) first.
    RECT r = client;
    if (horizontal) (which > 0 ? r.left : r.right) = client.left + (client.right - client.left) / 2;
    else (which > 0 ? r.bottom : r.top) = client.top + (client.bottom - client.top) / 2;
    dc.FillSolidRect(&r, GetSysColor(COLOR_BTNFACE));
    const bool down = pressed_ == which;
    dc.Draw3dRect(&r, GetSysColor(down ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT),
                  GetSysColor(down ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW));
    // A small triangle in the middle of the half.
    const int cx = (r.left + r.right) / 2 + (down ? 1 : 0),
              cy = (r.top + r.bottom) / 2 + (down ? 1 : 0);
    const int s = std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4);
    POINT tri[3];
    if (horizontal) {
      const int tip = which > 0 ? cx + s / 2 + 1 : cx - s / 2 - 1;
      const int base = which > 0 ? cx - s / 2 : cx + s / 2;
      tri[0] = POINT{tip, cy};
      tri[1] = POINT{base, cy - s};
      tri[2] = POINT{base, cy + s};
    } else {
      const int tip = which > 0 ? cy - s / 2 - 1 : cy + s / 2 + 1;
      const int base = which > 0 ? cy + s / 2 : cy - s / 2;
      tri[0] = POINT{cx, tip};
      tri[1] = POINT{cx - s, base};
      tri[2] = POINT{cx + s, base};
    }
    CPen pen(PS_SOLID, 1, arrow);
    CBrush brush(arrow);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.Polygon(tri, 3);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
  }
}
