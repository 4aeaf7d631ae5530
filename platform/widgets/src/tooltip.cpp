// Tooltips for drawn parts of a window: a filter on the owner's widget
// follows the mouse, waits until it rests on one tool for the delay and
// shows that tool's text with Qt's tooltip; the owner's own Qt tooltip
// never shows instead.
#include "platform/tooltip.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <vector>

#include "platform/gbk.h"
#include "wnd_internal.h"

using platform::detail::ToQRect;

namespace {

struct Tool {
  UINT id;
  RECT rect;
  std::string text;  // GBK
};

}  // namespace

struct CToolTipCtrl::Impl : QObject {
  QPointer<QWidget> owner;
  CWnd* ownerWnd = nullptr;
  std::vector<Tool> tools;
  QTimer timer;
  QPoint lastPos;
  UINT shown = 0;    // the tool whose tip shows now
  UINT resting = 0;  // the tool the mouse rests on
  int delayMs = 500;

  Impl() {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, this, [this] { Show(); });
  }

  Tool* Find(UINT id) {
    for (Tool& t : tools)
      if (t.id == id) return &t;
    return nullptr;
  }

  UINT Hit(QPoint p) const {
    for (const Tool& t : tools)
      if (PtInRect(t.rect, POINT{p.x(), p.y()})) return t.id;
    return 0;
  }

  void Show() {
    Tool* tool = Find(resting);
    if (!owner || !tool || tool->text.empty()) return;
    shown = tool->id;
    QToolTip::showText(owner->mapToGlobal(lastPos), platform::GbkToQString(tool->text), owner,
                       ToQRect(tool->rect));
  }

  void Hide() {
    timer.stop();
    resting = 0;
    if (shown) QToolTip::hideText();
    shown = 0;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != owner) return false;
    switch (event->type()) {
      case QEvent::MouseMove: {
        lastPos = static_cast<QMouseEvent*>(event)->position().toPoint();
        const UINT hit = Hit(lastPos);
        if (hit != resting) {
          Hide();
          resting = hit;
          if (hit) timer.start(delayMs);
        }
        return false;
      }
      case QEvent::MouseButtonPress:
      case QEvent::Leave:
      case QEvent::Hide: Hide(); return false;
      case QEvent::ToolTip: return true;  // the tools speak for the window
      default: return false;
    }
  }
};

CToolTipCtrl::CToolTipCtrl() = default;

CToolTipCtrl::~CToolTipCtrl() { DestroyWindow(); }

BOOL CToolTipCtrl::Create(CWnd* owner) {
  if (impl_ || !owner || !owner->GetWidget()) return FALSE;
  impl_ = std::make_unique<Impl>();
  impl_->owner = owner->GetWidget();
  impl_->ownerWnd = owner;
  impl_->owner->installEventFilter(impl_.get());
  return TRUE;
}

void CToolTipCtrl::DestroyWindow() {
  if (!impl_) return;
  impl_->Hide();
  if (impl_->owner) impl_->owner->removeEventFilter(impl_.get());
  impl_.reset();
}

bool CToolTipCtrl::IsCreated() const { return impl_ != nullptr; }

void CToolTipCtrl::SetDelayTime(DWORD kind, int ms) {
  if (impl_ && (kind == TTDT_AUTOMATIC || kind == TTDT_INITIAL) && ms >= 0) impl_->delayMs = ms;
}

int CToolTipCtrl::GetInitialDelay() const { return impl_ ? impl_->delayMs : 0; }

BOOL CToolTipCtrl::AddTool(CWnd* owner, const char* text, const RECT* rect, UINT id) {
  if (!impl_ || owner != impl_->ownerWnd) return FALSE;
  DelTool(owner, id);
  impl_->tools.push_back(Tool{id, rect ? *rect : RECT{}, text ? text : ""});
  return TRUE;
}

void CToolTipCtrl::DelTool(CWnd* owner, UINT id) {
  if (!impl_ || owner != impl_->ownerWnd) return;
  if (impl_->resting == id) impl_->Hide();
  std::erase_if(impl_->tools, [id](const Tool& t) { return t.id == id; });
}

void CToolTipCtrl::SetToolRect(CWnd* owner, UINT id, const RECT* rect) {
  if (!impl_ || owner != impl_->ownerWnd || !rect) return;
  if (Tool* tool = impl_->Find(id)) tool->rect = *rect;
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* owner, UINT id) {
  if (!impl_ || owner != impl_->ownerWnd) return;
  Tool* tool = impl_->Find(id);
  if (!tool) return;
  tool->text = text ? text : "";
  if (impl_->shown == id) impl_->Show();  // a tip on screen reads the new text at once
}

void CToolTipCtrl::GetText(std::string& text, CWnd* owner, UINT id) const {
  text.clear();
  if (!impl_ || owner != impl_->ownerWnd) return;
  for (const Tool& t : impl_->tools)
    if (t.id == id) text = t.text;
}

int CToolTipCtrl::GetToolCount() const { return impl_ ? (int)impl_->tools.size() : 0; }

UINT CToolTipCtrl::HitTool(POINT point) const {
  return impl_ ? impl_->Hit(QPoint(point.x, point.y)) : 0;
}
