#include "zeb/shell/splitter/splitter_wnd.h"

#include "platform/desktop.h"
#include "platform/input.h"
#include "zeb/messages.h"

namespace {
constexpr int kInitialViewSize = 100;
constexpr int kAddedViewSize = 10;
constexpr UINT kPaneFirst = AFX_IDW_PANE_FIRST;
}  // namespace

ST_SplitterWnd::ST_SplitterWnd(int parameter) : m_parameter(parameter) {}

ST_SplitterWnd::~ST_SplitterWnd() {
  // The views are children of this widget: they go before it.
  for (auto& list : m_views) list.clear();
}

UINT ST_SplitterWnd::IdFromRowCol(int row, int col) {
  return kPaneFirst + UINT(row) * 16 + UINT(col);
}

UINT ST_SplitterWnd::PlaceId(int index) const {
  return m_sideBySide ? IdFromRowCol(0, index) : IdFromRowCol(index, 0);
}

// The id one past the last place, where the hidden pane waits.
UINT ST_SplitterWnd::HiddenId() const { return PlaceId(CSplitLayout::kPanes); }

BOOL ST_SplitterWnd::Create(CWnd* parent, const SplitterViewFactory& first,
                            const SplitterViewFactory& second, bool sideBySide, UINT id) {
  m_sideBySide = sideBySide;
  if (!CWnd::Create(parent, CRect(0, 0, 0, 0), id, WS_CHILD | WS_VISIBLE | WS_BORDER)) return FALSE;
  const SplitterViewFactory* factories[2] = {&first, &second};
  for (int i = 0; i < 2; ++i) {
    if (!*factories[i]) continue;
    std::unique_ptr<CWnd> view((*factories[i])());
    if (!view || !view->Create(this, CRect(0, 0, kInitialViewSize, kInitialViewSize), PlaceId(i),
                               WS_CHILD | WS_VISIBLE))
      continue;
    m_views[i].push_back(std::move(view));
    m_current[i] = 0;
  }
  RecalcLayout();
  return TRUE;
}

int ST_SplitterWnd::AddView(int pane, const SplitterViewFactory& factory) {
  if (pane < 0 || pane > 1 || !factory) return -1;
  std::unique_ptr<CWnd> view(factory());
  if (!view) return -1;
  if (!view->Create(this, CRect(0, 0, kAddedViewSize, kAddedViewSize), 0, WS_CHILD)) return -1;
  if (CWnd* old = GetDlgItem(int(PlaceId(pane)))) {
    old->SetDlgCtrlID(0);
    old->ShowWindow(SW_HIDE);
  }
  view->SetDlgCtrlID(int(PlaceId(pane)));
  view->ShowWindow(SW_SHOW);
  m_views[pane].push_back(std::move(view));
  m_current[pane] = int(m_views[pane].size()) - 1;
  RecalcLayout();
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return m_current[pane];
}

void ST_SplitterWnd::SwitchView(int pane, int view) {
  if (pane < 0 || pane > 1 || m_views[pane].empty()) return;
  const int count = int(m_views[pane].size());
  if (view == -1) view = (m_current[pane] + 1) % count;
  if (view < 0 || view >= count) return;
  const UINT place = IsHidden(0) ? PlaceId(0) : PlaceId(pane);
  CWnd* chosen = m_views[pane][size_t(view)].get();
  CWnd* old = GetDlgItem(int(place));
  if (old == chosen) old = nullptr;
  if (old) old->SetDlgCtrlID(0);
  chosen->SetDlgCtrlID(int(place));
  chosen->ShowWindow(SW_SHOW);
  // The view switched in takes the keys: the one put aside may hold the
  // focus, and a hidden window's focus would go to whatever comes next
  // (or nowhere) until the user clicks into the new view.
  chosen->SetFocus();
  if (old) old->ShowWindow(SW_HIDE);
  m_current[pane] = view;
  RecalcLayout();
}

CWnd* ST_SplitterWnd::GetView(int pane, int view) const {
  if (pane < 0 || pane > 1 || view < 0 || view >= int(m_views[pane].size())) return nullptr;
  return m_views[pane][size_t(view)].get();
}

int ST_SplitterWnd::GetViewCount(int pane) const {
  return pane < 0 || pane > 1 ? 0 : int(m_views[pane].size());
}

int ST_SplitterWnd::GetCurrentView(int pane) const {
  return pane < 0 || pane > 1 ? -1 : m_current[pane];
}

CWnd* ST_SplitterWnd::GetPane(int row, int col) const {
  return GetDlgItem(int(IdFromRowCol(row, col)));
}

void ST_SplitterWnd::TogglePane(int index) {
  if (index < 0 || index >= CSplitLayout::kPanes) return;
  const int hidden = m_layout.Hidden();
  if (hidden < 0) {
    SaveSizes();
    if (m_activePane == index) m_activePane = (index + 1) % CSplitLayout::kPanes;
    if (CWnd* pane = GetDlgItem(int(PlaceId(index)))) {
      pane->ShowWindow(SW_HIDE);
      pane->SetDlgCtrlID(int(HiddenId()));
    }
    for (int below = index + 1; below < CSplitLayout::kPanes; ++below)
      if (CWnd* pane = GetDlgItem(int(PlaceId(below)))) pane->SetDlgCtrlID(int(PlaceId(below - 1)));
    m_layout.SetHidden(index);
  } else if (hidden == index) {
    for (int from = CSplitLayout::kPanes - 2; from >= index; --from)
      if (CWnd* pane = GetDlgItem(int(PlaceId(from)))) pane->SetDlgCtrlID(int(PlaceId(from + 1)));
    if (CWnd* pane = GetDlgItem(int(HiddenId()))) {
      pane->SetDlgCtrlID(int(PlaceId(index)));
      pane->ShowWindow(SW_SHOW);
    }
    m_layout.SetHidden(-1);
    RestoreSizes();
    return;
  } else {
    return;
  }
  RecalcLayout();
}

void ST_SplitterWnd::SaveSizes() {
  if (m_layout.Hidden() >= 0) return;
  for (int i = 0; i < CSplitLayout::kPanes; ++i) m_saved[size_t(i)] = m_layout.Get(i);
}

void ST_SplitterWnd::RestoreSizes() {
  for (int i = 0; i < CSplitLayout::kPanes; ++i)
    m_layout.SetSize(i, m_saved[size_t(i)].ideal, m_saved[size_t(i)].min);
  RecalcLayout();
}

void ST_SplitterWnd::SetRowInfo(int index, int ideal, int min) {
  m_layout.SetSize(index, ideal, min);
  if (m_layout.Hidden() < 0) m_saved[size_t(index)] = m_layout.Get(index);
}

void ST_SplitterWnd::GetRowInfo(int index, int* cur, int* min) const {
  if (index < 0 || index >= CSplitLayout::kPanes) return;
  if (cur) *cur = m_layout.Get(index).cur;
  if (min) *min = m_layout.Get(index).min;
}

int ST_SplitterWnd::Length() const {
  CRect client;
  GetClientRect(&client);
  return m_sideBySide ? client.Width() : client.Height();
}

void ST_SplitterWnd::RecalcLayout() {
  if (!IsCreated()) return;
  CRect client;
  GetClientRect(&client);
  m_layout.Layout(m_sideBySide ? client.Width() : client.Height());
  int slot = 0;
  for (int pane = 0; pane < CSplitLayout::kPanes; ++pane) {
    if (IsHidden(pane)) continue;
    CWnd* wnd = GetDlgItem(int(PlaceId(slot++)));
    if (!wnd) continue;
    const int at = m_layout.Offset(pane), size = m_layout.Get(pane).cur;
    if (m_sideBySide) wnd->MoveWindow(at, 0, size, client.Height());
    else wnd->MoveWindow(0, at, client.Width(), size);
  }
  Invalidate(FALSE);
}

RECT ST_SplitterWnd::BarRect() const {
  CRect client;
  GetClientRect(&client);
  if (m_layout.ShownCount() < 2) return CRect(0, 0, 0, 0);
  const int at = m_layout.Get(0).cur;
  return m_sideBySide ? CRect(at, 0, at + kSplitBarSize, client.Height())
                      : CRect(0, at, client.Width(), at + kSplitBarSize);
}

int ST_SplitterWnd::AlongAxis(CPoint point) const { return m_sideBySide ? point.x : point.y; }

void ST_SplitterWnd::OnSize(UINT type, int cx, int cy) {
  CWnd::OnSize(type, cx, cy);
  RecalcLayout();
}

BOOL ST_SplitterWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void ST_SplitterWnd::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  // Views cover their places; what shows through is an empty place.
  dc.FillSolidRect(&client, m_emptyColor);
  const RECT bar = BarRect();
  if (bar.right > bar.left) dc.FillSolidRect(&bar, GetSysColor(COLOR_BTNFACE));
}

void ST_SplitterWnd::OnLButtonDown(UINT flags, CPoint point) {
  if (!m_layout.IsOnBar(AlongAxis(point))) return CWnd::OnLButtonDown(flags, point);
  m_dragging = true;
  SetCapture();
}

void ST_SplitterWnd::OnMouseMove(UINT flags, CPoint point) {
  if (m_dragging || m_layout.IsOnBar(AlongAxis(point)))
    ::SetCursor(LoadCursor(nullptr, m_sideBySide ? IDC_SIZEWE : IDC_SIZENS));
  if (!m_dragging) return;
  m_layout.DragBarTo(AlongAxis(point), Length());
  RecalcLayout();
}

void ST_SplitterWnd::OnLButtonUp(UINT flags, CPoint point) {
  if (!m_dragging) return CWnd::OnLButtonUp(flags, point);
  m_dragging = false;
  ReleaseCapture();
  m_layout.DragBarTo(AlongAxis(point), Length());
  RecalcLayout();
  if (CWnd* parent = GetParent()) ::SendMessage(parent->GetSafeHwnd(), WM_SPLITTER_MOVED, 0, 0);
}

void ST_SplitterWnd::OnDestroy() {
  m_dragging = false;
  CWnd::OnDestroy();
}
