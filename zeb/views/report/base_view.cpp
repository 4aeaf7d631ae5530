// The market pane views' shared handling: layout on size, keys to the main
// window, wheel to page keys, and the owner side of tables and drawn objects.
#include "zeb/views/report/base_view.h"

#include <cstring>

#include "platform/input.h"
#include "zeb/scheme/sys_style.h"
#include "zeb/store/public_store.h"
#include "zeb/tables/base/table_keys.h"
#include "zeb/views/report/popup_menu.h"

namespace {

// The document's string; its first line names the views' parent window.
constexpr const char* kDocumentString = "ZEB\n\nZEB\n\n\nZEB.Document\nZEB.Document";
// Keys and characters handed on to the main window carry this key data.
constexpr LPARAM kForwardedKeyData = LPARAM(0xFFFF0000u);
// The page keys a wheel turn becomes carry these flags.
constexpr UINT kWheelKeyFlags = 0xFFFF;
constexpr int kColorBackground = 19;

}  // namespace

CBaseView::CBaseView(CPublic* store) : m_store(store ? store : CPublic::GetInstance()) {}

CBaseView::~CBaseView() = default;

HWND CBaseView::MainWnd() const { return m_store->GetMainWnd(); }

void CBaseView::UpdateTitle() {
  CWnd* parent = GetParent();
  if (!parent) return;
  const char* end = std::strchr(kDocumentString, '\n');
  parent->SetWindowText(std::string(kDocumentString, end ? size_t(end - kDocumentString)
                                                         : std::strlen(kDocumentString))
                            .c_str());
}

int CBaseView::TrackMenu(CDrawOwner* owner, int x, int y, int menuId, int subMenu) {
  return TrackMenuResource(owner, x, y, menuId, subMenu);
}

// ---- Owner of tables and drawn objects ----

void CBaseView::Repaint() { Invalidate(FALSE); }

void CBaseView::SetCursor(Cursor cursor) {
  int shape = IDC_ARROW;
  switch (cursor) {
    case Cursor::kSizeWE: shape = IDC_SIZEWE; break;
    case Cursor::kSizeNS: shape = IDC_SIZENS; break;
    case Cursor::kSizeAll: shape = IDC_SIZEALL; break;
    case Cursor::kHand: shape = IDC_HAND; break;
    default: break;
  }
  ::SetCursor(LoadCursor(nullptr, shape));
}

void CBaseView::CaptureMouse() { SetCapture(); }

void CBaseView::ReleaseMouse() { ::ReleaseCapture(); }

void CBaseView::MovePointer(int x, int y) {
  POINT at{x, y};
  ClientToScreen(&at);
  ::SetCursorPos(at.x, at.y);
}

bool CBaseView::IsKeyDown(UINT vk) const { return GetKeyState(int(vk)) < 0; }

int CBaseView::TrackPopup(const SPopupMenu& menu, int x, int y) {
  POINT at{x, y};
  ClientToScreen(&at);
  // The main window takes the chosen command, as every menu command.
  CWnd* owner = CWnd::FromHandle(MainWnd());
  return TrackPopupAt(menu, at.x, at.y, owner ? owner : this);
}

// ---- Handlers ----

void CBaseView::OnDraw(CDC* dc) {
  dc->SetBkColor(CSysStyle::GetInstance()->GetColor(kColorBackground));
}

void CBaseView::OnSize(UINT type, int cx, int cy) {
  CRoutedView::OnSize(type, cx, cy);
  m_rcLayout = RECT{0, 0, cx, cy};
  if (cx > 0 && cy > 0) RecalcLayout();
}

// The views paint their whole area.
BOOL CBaseView::OnEraseBkgnd(CDC* dc) { return TRUE; }

void CBaseView::OnKeyDown(UINT vk, UINT repeat, UINT flags) {
  if (HWND main = MainWnd()) ::SendMessage(main, WM_KEYDOWN, vk, kForwardedKeyData);
}

void CBaseView::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (HWND main = MainWnd()) ::SendMessage(main, WM_CHAR, ch, kForwardedKeyData);
}

BOOL CBaseView::OnMouseWheel(UINT flags, short delta, CPoint screenPoint) {
  const table_keys::SWheelKey page = table_keys::WheelToPageKey(delta);
  OnKey(page.key, UINT(page.steps), kWheelKeyFlags);
  return TRUE;
}
