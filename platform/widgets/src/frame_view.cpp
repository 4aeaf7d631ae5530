// Views and the main frame. A view paints through OnDraw with the paint
// DC and takes the focus when clicked; the frame is a QMainWindow whose
// central window, bars and minimum size the system sets, and which hands
// the commands and update-UI it does not take to the active view.
#include <QMainWindow>
#include <QToolBar>

#include "platform/menu.h"
#include "wnd_internal.h"

using namespace platform::detail;

CView::CView() { setFocusPolicy(Qt::ClickFocus); }

void CView::OnInitialUpdate() {}

void CView::OnPaint() {
  CPaintDC dc(this);
  OnDraw(&dc);
}

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() { delete menu_; }

void CFrameWnd::AddControlBar(CWnd* bar) {
  if (!bar || !bar->GetWidget()) return;
  if (auto* toolBar = qobject_cast<QToolBar*>(bar->GetWidget())) {
    addToolBar(Qt::TopToolBarArea, toolBar);
    return;
  }
  auto* holder = new QToolBar(this);
  holder->setMovable(false);
  holder->setFloatable(false);
  holder->addWidget(bar->GetWidget());
  addToolBar(Qt::TopToolBarArea, holder);
}

void CFrameWnd::ShowControlBar(CWnd* bar, BOOL show) {
  if (!bar || !bar->GetWidget()) return;
  QWidget* w = bar->GetWidget();
  // A bar made by AddControlBar around a plain window is shown as a whole.
  auto* holder = qobject_cast<QToolBar*>(w) ? w : qobject_cast<QToolBar*>(w->parentWidget());
  (holder ? holder : w)->setVisible(show != FALSE);
  if (holder && holder != w) w->setVisible(show != FALSE);
}

void CFrameWnd::SetCentralWnd(CWnd* wnd) {
  if (wnd && wnd->GetWidget()) {
    setCentralWidget(wnd->GetWidget());
    wnd->SetDlgCtrlID((int)AFX_IDW_PANE_FIRST);
  }
}

CWnd* CFrameWnd::GetCentralWnd() const { return CWnd::FromWidget(centralWidget()); }

void CFrameWnd::SetActiveView(CView* view) { activeView_ = view; }

void CFrameWnd::SetMinimumSize(int cx, int cy) { setMinimumSize(cx, cy); }

void CFrameWnd::InitialUpdateFrame() {
  for (QWidget* w : findChildren<QWidget*>()) {
    auto* view = dynamic_cast<CView*>(LookupWnd(w));
    if (!view || view->initialUpdateDone_ || !view->IsCreated()) continue;
    view->initialUpdateDone_ = true;
    view->OnInitialUpdate();
  }
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  return activeView_ && activeView_->IsCreated() ? activeView_->OnCommand(wParam, lParam) : FALSE;
}

BOOL CFrameWnd::OnUpdateCmdUI(CCmdUI* cmdUI) {
  return activeView_ && activeView_->IsCreated() ? activeView_->OnUpdateCmdUI(cmdUI) : FALSE;
}

BOOL CFrameWnd::DestroyWindow() {
  const BOOL destroyed = CWnd::DestroyWindow();
  activeView_ = nullptr;
  return destroyed;
}
